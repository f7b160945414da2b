// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QString>

#include "core/copy/CopyDestination.h"
#include "core/dispense/Arrival.h"

class CopyJournal;
class CopyManifest;

// Whether a dispensed entry's copy in a place on the target holds the
// original's content, file by file, before the original may go. A file of a
// verified copy counts when the place's manifest and the copy's journal agree
// on its hash and neither it nor its original changed size or time since it
// was read back; any other file (a copy made by hand, or one changed since)
// is read on both sides now and compared. The copy must be a copy all the
// way down: a link where the original has a file, anything that is the
// original's own inode, or a mount inside the copy never counts. Items the
// copy leaves out by nature (devices, FIFOs, a folder reached twice) are
// left out here too.
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

    // Called while files are read, at most about ten times a second.
    void setProgress(std::function<void(const Progress&)> progress)
    {
        m_progress = std::move(progress);
    }
    // Stops a check between blocks; the entry then counts as not arrived.
    void setStop(const std::atomic_bool* stop) { m_stop = stop; }

    // Checks the entry (its full path); detail names the first file that
    // differs and why, as "NAME/PATH: why".
    ArrivalCheck check(const QString& entry);
    bool stopped() const { return m_stopped; }
    // Files of the last check taken from the verified copy without reading.
    int filesTrusted() const { return m_trusted; }
    int filesRead() const { return m_read; }

private:
    bool stopRequested() const { return m_stop && m_stop->load(std::memory_order_relaxed); }
    // Compares the contents of two open files; false with why set.
    bool sameContent(int a, int b, QString& why);

    CopyDestination m_place;
    int m_folder = -1;
    quint64 m_device = 0;
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
