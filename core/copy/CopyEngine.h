// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "core/copy/CopyDestination.h"
#include "core/model/NameKey.h"

// Copies entries (files and folders, each at the top of the destination) onto
// the target in the order the plan's costs assume (see CopyList), writing
// every file in place, hashing the original while it is read, flushing and
// closing with checks, keeping modification times. Once all are written,
// every copy is read back past the page cache and its hash compared, so that
// a medium that drops or wraps writes is caught; then the manifest is
// written. A journal outside the target makes it resumable. Nothing outside
// the destination is changed, no original is ever written to, and a file cut
// short by a cancel or a failure is removed again.
// run() is meant for a worker thread; cancel() and the progress callback are
// safe across threads.
class CopyEngine
{
    Q_DECLARE_TR_FUNCTIONS(CopyEngine)

public:
    enum Phase
    {
        Listing,
        Copying,
        Verifying,
        Finishing
    };
    struct Progress
    {
        Phase phase = Listing;
        quint64 bytesDone = 0, bytesTotal = 0; // of the phase
        int filesDone = 0, filesTotal = 0;     // of the phase
        QString current;                       // below the destination
        double bytesPerSecond = 0;             // written or read back
        qint64 secondsLeft = -1;               // of the whole copy; -1 not known yet
    };
    enum Outcome
    {
        Complete,   // every file copied and read back equal
        Incomplete, // ran through, but problems() lists files that were not
        Stopped,    // cancelled; run again to resume
        TargetFull, // stopped: no room left on the target
        TargetGone, // stopped: the target vanished or failed
        Failed      // could not start or go on; message() says why
    };
    struct Problem
    {
        QString path; // below the destination
        QString reason;
    };

    // names: how the destination's file system tells names apart; two entries
    // that it takes for one name refuse the copy.
    CopyEngine(const QStringList& entries, const CopyDestination& destination,
               NameRule names = NameRule::Windows);
    ~CopyEngine();

    // Called on run()'s thread at most about ten times a second, and at once
    // when the phase changes.
    void setProgress(std::function<void(const Progress&)> progress)
    {
        m_progress = std::move(progress);
    }
    // Runs the copy; true for Complete.
    bool run();
    // Stops after the current block.
    void cancel() { m_cancel = true; }

    Outcome outcome() const { return m_outcome; }
    const QString& message() const { return m_message; }
    const std::vector<Problem>& problems() const { return m_problems; }
    // Items not copied by nature (devices, FIFOs, a folder reached twice).
    const std::vector<Problem>& notes() const { return m_notes; }
    int filesCopied() const { return m_copied; }
    int filesSkipped() const { return m_skipped; } // read back equal before
    int filesVerified() const { return m_verified; }
    quint64 bytesCopied() const { return m_bytesCopied; }
    QString manifestPath() const { return m_manifestPath; }
    QString journalPath() const { return m_journalPath; }

private:
    class Run;
    friend class Run;

    QStringList m_entries;
    CopyDestination m_destination;
    NameRule m_names;
    std::function<void(const Progress&)> m_progress;
    std::atomic_bool m_cancel{false};
    Outcome m_outcome = Failed;
    QString m_message;
    std::vector<Problem> m_problems, m_notes;
    int m_copied = 0, m_skipped = 0, m_verified = 0;
    quint64 m_bytesCopied = 0;
    QString m_manifestPath, m_journalPath;
};
