// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "core/model/Entry.h"

class MediumPlanner;

// One entry to place, as the series sees it.
struct SeriesEntry
{
    EntryPos pos; // its group is its priority: Required, Main or Background
    QString path;
};

// One medium of a series.
struct SeriesMedium
{
    std::vector<EntryPos> entries; // in list order
    quint64 usedBytes = 0;         // data and the file system's own needs
    quint64 wastedBytes = 0;       // left free
    bool proven = true;            // no level's search was cut short
};

// An entry that no medium of the kind can ever hold.
struct SeriesApart
{
    EntryPos pos;
    int reason = 0; // SeriesPlanner::Apart
};

struct SeriesResult
{
    std::vector<SeriesMedium> media;
    std::vector<SeriesApart> apart;  // in list order
    quint64 mediumBytes = 0;         // what one medium can be filled with
    quint64 totalBytes = 0;          // the placeable entries together
    quint64 lowerBound = 0;          // no series can use fewer media
};

// Plans a whole series of media of one kind: medium 1 is filled with the
// Dispense search level by level (Required, Main, Background) from all the
// entries, medium 2 from what is left, and so on until every entry that fits a
// medium is placed. Every entry is measured once; the media reuse its costs.
// run() is meant for a worker thread; cancel() and the progress callback are
// safe across threads.
class SeriesPlanner
{
public:
    // Why an entry was set apart.
    enum Apart
    {
        ApartUnreadable = Unreadable,
        ApartVanished = Vanished,
        ApartOutOfMemory = OutOfMemory,
        ApartLarger = 10,   // larger than a medium
        ApartFatFile,       // holds a file of 4 GiB or more
        ApartFatFolder,     // holds a folder of more than 65,536 entries
        ApartNotCopyable,   // a device, pipe or socket
        ApartExfatName,     // a name exFAT cannot store
        ApartExfatFolder,   // a folder past exFAT's 256 MiB of entries
        ApartExt4Folder,    // a folder too large for ext4's index
        ApartInodes,        // more files and folders than a medium's free inodes
    };
    // The reason for an FsCost::Refusal other than SizeUnknown and WalkCut.
    static int apartOf(int refusal);
    static QString apartText(int reason);

    struct Progress
    {
        bool measuring = true;
        bool repacking = false; // a second packing, tried for fewer media
        int done = 0;  // entries measured, or placed
        int total = 0; // entries to measure, or to place
        int media = 0; // media planned so far
    };

    // target: the medium's file system, block size and capacity
    // (AvailableBlocks). entries: in list order.
    SeriesPlanner(const Target& target, std::vector<SeriesEntry> entries);
    ~SeriesPlanner();

    // The search of one medium may take this long; then its best so far is
    // taken. Shared among the medium's levels. Negative: no limit. A few
    // media in a long series can take minutes to prove; the default keeps a
    // plan of 100,000 files within seconds.
    static constexpr qint64 DefaultMediumTimeLimitMs = 2000;
    void setMediumTimeLimit(qint64 ms) { m_limitMs = ms; }
    // Keeps the first count media of the series (0: all of them); the
    // entries of the others are then on none.
    void setMediaLimit(int count) { m_mediaLimit = count; }
    // Called on run()'s thread, at most ten times a second.
    void setProgress(std::function<void(const Progress&)> progress)
    {
        m_progress = std::move(progress);
    }

    // Plans the series. False when cancelled or when the target has no usable
    // figures or the memory ran out (failure() says which).
    bool run();
    void cancel();

    const SeriesResult& result() const { return m_result; }
    const QString& failure() const { return m_failure; }

    // Writes each medium's list into folder: medium-NN.txt, the paths one per
    // line, and medium-NN.nul, NUL-separated. A path holding a line break
    // goes into the .nul list only. The new set is written beside the old
    // one and then takes its place: lists of another series written there
    // before are removed, and on a failure the old set stays as it was. Only
    // regular files of exactly those names are replaced or removed; a link
    // or anything else at a name the new set needs fails the export. pathOf:
    // an entry's path by position. Returns false with error set on failure.
    static bool exportLists(const SeriesResult& result,
                            const std::function<QString(const EntryPos&)>& pathOf,
                            const QString& folder, QString& error, int* lineBreaks = nullptr);
    // The file names exportLists uses for medium number (1-based) of count.
    static QString listName(int number, int count, bool nul);

private:
    struct Measured;
    void plan();
    // Fills media from left until it is empty; largestFirst: every level's
    // fill starts with its largest entry. False when cancelled.
    bool fill(MediumPlanner& planner, std::vector<Measured> left, bool largestFirst,
              std::vector<SeriesMedium>& media);
    void measure(std::vector<Measured>& out);
    void report(const Progress& p, bool now);

    Target m_target;
    std::vector<SeriesEntry> m_entries;
    SeriesResult m_result;
    QString m_failure;
    qint64 m_limitMs = DefaultMediumTimeLimitMs;
    int m_mediaLimit = 0;
    std::function<void(const Progress&)> m_progress;
    qint64 m_lastReport = -1;

    std::atomic_bool m_cancel{false}; // stops the walks too
    // The request and stop flag of each medium's plan.
    std::atomic_int m_request{0};
    std::atomic_bool m_levelStop{false};
};
