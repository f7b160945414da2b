// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "core/copy/ContentArrival.h"

class DiscArrival;
struct Target;

// The one check of whether dispensed entries arrived on the target, made by
// "Delete the files" before anything goes to the trash and by verify: where
// to look (the project's target volume, and no other volume at its path),
// each entry compared by content there (ContentArrival), and each checked
// again just before its original goes.
class TargetArrival
{
    Q_DECLARE_TR_FUNCTIONS(TargetArrival)

public:
    struct Original
    {
        QString path;
        quint64 size = 0; // for the progress only
        // Another original with the same name on the target, or -1: one copy
        // cannot stand for both, so neither is checked nor ever approved.
        int sameNameAs = -1;
    };
    struct Progress
    {
        quint64 bytesDone = 0, bytesTotal = 0; // read on both sides
        int entriesDone = 0;
        QString current; // the original being compared
    };

    explicit TargetArrival(std::vector<Original> originals);
    ~TargetArrival();

    // Where folder (empty: the target's root) lies, as the check and the copy
    // onto the target take it: at, when it is on the volume the target names;
    // else problem says why (the volume is not mounted, another volume is
    // mounted in its place, the folder is not on it or is no folder). A target
    // that names no volume is taken to be whatever is mounted at its path, but
    // never the system's own volume; note says so.
    struct Location
    {
        CopyDestination at; // no folder: none
        QString problem, note;
    };
    static Location locate(const Target& target, const QString& folder);

    // Looks in each of folders in turn (empty: the target's root), each of
    // which must be on the volume the target names. False, with problem(),
    // when none can be checked: the volume is not mounted, another volume is
    // mounted in its place, or a folder is not on it. A target that does not
    // name its volume is taken to be whatever is mounted at its path, but
    // never the system's own volume; note() says so. A target in a recorder
    // is looked for on the disc in it, by the record of its reading back
    // (DiscArrival), and folders do not apply.
    bool lookOnTarget(const Target& target, const QStringList& folders);
    // Looks in a folder the user names, taken as it is.
    bool lookIn(const QString& folder);
    QString problem() const { return m_problem; }
    QString note() const { return m_note; }
    QStringList places() const;

    // Checks every original; on any thread.
    void run();
    // From any thread: the check stops between blocks, and what it had not
    // finished counts as not checked.
    void stop() { m_stop = true; }
    bool stopped() const { return m_stopped; }
    Progress progress() const;

    // One for each original, in order; before run() (or where nothing can be
    // checked) every one is not checked.
    const std::vector<ArrivalCheck>& results() const { return m_results; }
    // Just before original i goes to the trash: still arrived as it was found.
    bool stillArrived(int i, QString& why);

private:
    struct Place
    {
        QString folder;
        std::unique_ptr<ContentArrival> check;
        quint64 bytesDone = 0;
    };
    void addPlace(const CopyDestination& at);
    void notChecked(const QString& why);

    std::vector<Original> m_originals;
    std::vector<Place> m_places;
    std::unique_ptr<DiscArrival> m_disc; // a target in a recorder: the only place
    std::vector<ArrivalCheck> m_results;
    std::vector<int> m_foundIn; // the place of each result
    QString m_problem, m_note;
    std::atomic_bool m_stop{false};
    bool m_stopped = false;
    mutable std::mutex m_mutex; // guards m_progress and the places' bytesDone
    Progress m_progress;
};
