// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>

#include <QCoreApplication>
#include <QString>

#include "core/disc/DiscWriter.h"
#include "core/plan/HeldPlan.h"

// Writes the plan that is held onto a disc or into an image file, as the
// window's "Write Disc" and "Write Image..." and quillmarch-cli's burn and
// image do: the chosen entries are measured again and held against the plan
// (a source that changed since planning stops it), the disc writer checks
// the image's exact size against the plan and the room, writes and reads
// back, and a disc read back equal is recorded for the arrival check
// (DiscRecord). Nothing but the recorder, or the image file, is written.
class DiscRun
{
    Q_DECLARE_TR_FUNCTIONS(DiscRun)

public:
    DiscRun(const HeldPlan& plan, DiscWriter& writer);

    // Writes to the recorder or pseudo-drive at drive ("/dev/sr0",
    // "stdio:/path"); overwrite: over a rewritable disc that holds files.
    void toDrive(const QString& drive, bool overwrite);
    // Writes the image to file.
    void toImage(const QString& file);

    // Why the plan cannot be written at all (nothing dispensed, an entry of
    // unknown cost); empty when it can.
    static QString refusal(const HeldPlan& plan);
    // The blocks of the image the plan counted, or 0 where it was not
    // planned as ISO 9660.
    static quint64 plannedBlocks(const HeldPlan& plan);

    // Runs it all on the calling thread, calling progress there and polling
    // cancel.
    DiscResult run(const std::function<void(const DiscProgress&)>& progress,
                   const std::atomic_bool& cancel);

private:
    const HeldPlan& m_plan;
    DiscWriter& m_writer;
    DiscJob m_job;
};
