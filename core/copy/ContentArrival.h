// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QString>

#include "core/copy/ContentHash.h"
#include "core/copy/CopyDestination.h"

class CopyJournal;
class CopyList;
class CopyManifest;

// Where a dispensed entry's copy stands on the target.
enum class Arrival
{
    Arrived,   // every file holds the original's content
    Missing,   // nothing of its name is there
    Differs,   // something of its name is there, but not a copy of it
    NotChecked // the check could not be made, or was stopped
};

// What the check found for one entry.
struct ArrivalCheck
{
    Arrival state = Arrival::NotChecked;
    QString where; // the item that differs, from the entry's own name down
    QString why;   // what differs, or why it was not checked
    Hash128 seen;  // Arrived: both sides as they were when found equal

    // "WHERE: why", as verify prints it.
    QString detail() const;
    // The same below the entry's own name ("IMG_1.jpg: why", or just why),
    // for a table whose row names the entry.
    QString reason() const;
};

// Whether a dispensed entry's copy in a place on the target holds the
// original's content, file by file, before the original may go. A file of a
// verified copy counts when the place's manifest and the copy's journal agree
// on its hash and neither it nor its original changed size or time since it
// was read back; any other file (a copy made by hand, or one changed since)
// is read on both sides now and compared. The copy must be a copy all the way
// down: a link where the original has a file, anything that is the original's
// own inode, a hard link the original does not have, or a mount inside the
// copy never counts. Items the copy leaves out by nature (devices, FIFOs, a
// folder reached twice) are left out here too.
class ContentArrival
{
    Q_DECLARE_TR_FUNCTIONS(ContentArrival)

public:
    struct Progress
    {
        quint64 bytesDone = 0; // read on either side
        QString current;       // the original being compared
    };

    explicit ContentArrival(const CopyDestination& place);
    ~ContentArrival();
    ContentArrival(const ContentArrival&) = delete;
    ContentArrival& operator=(const ContentArrival&) = delete;

    // Called while files are read, at most about ten times a second.
    void setProgress(std::function<void(const Progress&)> progress)
    {
        m_progress = std::move(progress);
    }
    // Stops a check between blocks; the entry then counts as not checked.
    void setStop(const std::atomic_bool* stop) { m_stop = stop; }

    // Checks the entry (its full path).
    ArrivalCheck check(const QString& entry);
    // Just before the original goes: true when the place is still the folder
    // that was checked and every item on both sides is as it was when check()
    // found it arrived; else why says what changed. Reads no content.
    bool unchanged(const QString& entry, const ArrivalCheck& arrived, QString& why);

    bool stopped() const { return m_stopped; }
    // Bytes read on either side, or taken from the verified copy, so far.
    quint64 bytesDone() const { return m_p.bytesDone; }
    // Files of the last check taken from the verified copy without reading.
    int filesTrusted() const { return m_trusted; }
    int filesRead() const { return m_read; }

private:
    bool stopRequested() const { return m_stop && m_stop->load(std::memory_order_relaxed); }
    // Compares what list holds with the place, item by item, adding each
    // one's state on both sides to seen; with read, the content of the files
    // the verified copy does not vouch for is compared too.
    ArrivalCheck compare(const CopyList& list, bool read, ContentHash& seen);
    // Compares the contents of two open files: false with differsAt, the
    // first byte that differs, or why they could not be compared.
    bool sameContent(int a, int b, quint64& differsAt, QString& why);

    CopyDestination m_place;
    int m_folder = -1;
    std::unique_ptr<CopyManifest> m_manifest;
    std::unique_ptr<CopyJournal> m_journal;
    std::function<void(const Progress&)> m_progress;
    const std::atomic_bool* m_stop = nullptr;
    std::vector<char> m_buffers;
    Progress m_p;
    qint64 m_lastReport = -1;
    bool m_stopped = false;
    int m_trusted = 0, m_read = 0;
};
