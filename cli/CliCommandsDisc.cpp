// SPDX-License-Identifier: GPL-3.0-or-later
// The burn and image commands of CliCommands.
#include "cli/CliCommands.h"

#include <cstdio>
#include <mutex>

#include <QCoreApplication>
#include <QFileInfo>

#include "cli/CliArguments.h"
#include "cli/InterruptNotifier.h"
#include "cli/JsonWriter.h"
#include "cli/WorkerRun.h"
#include "core/disc/DiscRun.h"
#include "core/model/DM.h"
#include "core/model/SizeText.h"
#include "core/plan/DispenseRoad.h"

namespace {

QString clock(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString progressText(const DiscProgress& p)
{
    QString line;
    switch (p.phase) {
    case DiscProgress::Preparing:
        return QCoreApplication::translate("CliCommands", "Preparing the image...");
    case DiscProgress::Closing:
        return QCoreApplication::translate("CliCommands", "Closing the disc...");
    case DiscProgress::Writing:
        line = QCoreApplication::translate("CliCommands", "Writing %1% of %2")
                   .arg(p.total ? int(100 * p.done / p.total) : 0);
        break;
    case DiscProgress::Verifying:
        line = QCoreApplication::translate("CliCommands", "Reading back %1% of %2")
                   .arg(p.total ? int(100 * p.done / p.total) : 0);
        break;
    }
    line = line.arg(sizeText(p.total));
    if (p.bytesPerSecond > 0)
        line += QStringLiteral(", ") + QCoreApplication::translate("CliCommands", "%1/s")
                                           .arg(sizeText(quint64(p.bytesPerSecond)));
    if (p.bufferPercent >= 0)
        line += QStringLiteral(", ") +
                QCoreApplication::translate("CliCommands", "buffer %1%").arg(p.bufferPercent);
    if (p.secondsLeft >= 0)
        line += QStringLiteral(", ") +
                QCoreApplication::translate("CliCommands", "%1 left").arg(clock(p.secondsLeft));
    return line;
}

} // namespace

const char* const CliCommands::s_burnHelp = QT_TRANSLATE_NOOP(
    "CliCommands", R"TXT(Usage: quillmarch-cli burn PROJECT [--drive DRIVE] [--overwrite] [--json]

Writes the entries of the project's "Dispensed" group onto the disc in the
recorder DRIVE (the project's target when no --drive is given): a device
such as /dev/sr0, or a libburn pseudo-drive stdio:PATH over a file. The disc
is written as ISO 9660 with Rock Ridge (for Linux) and Joliet (for Windows),
each entry at its root under its own name, names and times kept, in the
write mode the medium needs (blank or appendable DVD-R/+R, DVD-RW/+RW, BD-R,
BD-RE, CD-R/RW).

Before anything is written, each entry is measured again and held against
the plan, and the image's exact size, as libisofs lays it out, against the
plan and against the room on the disc: a source changed since planning, an
image larger than planned or a disc too small stops it with the reason. A
rewritable disc that holds files is written over only with --overwrite.
After writing, every file is read back from the disc and compared with its
original (XXH3-128); only a disc read back equal counts as arrived for
'quillmarch-cli verify' and the window's "Delete the files".

Prints "Written: BLOCKS blocks to DRIVE" and "Read back equal: N files",
or one line for each file that did not read back equal, fields separated by
a tab:
  different  PATH  WHY

Options:
  --drive DRIVE   the recorder, or stdio:PATH
  --overwrite     write over a rewritable disc that already holds files
  --json          print one JSON object instead (drive, outcome: written,
                  refused, cancelled, failed or different, message, blocks,
                  volume_id, files, different: [path, reason])
  -h, --help      show this help

Progress (percent, speed, the drive's buffer, time left) goes to standard
error when it is a terminal. Ctrl+C (or SIGTERM) cancels; a write-once disc
cancelled while it is written is spoilt.

Exit status: 0 written and read back equal, 1 nothing is dispensed, 2 usage
error, 3 project error, 8 nothing was written (the reason on standard
error), 9 writing or reading back failed, or files read back different,
130 cancelled by Ctrl+C (SIGINT), 143 by SIGTERM.
)TXT");

const char* const CliCommands::s_imageHelp = QT_TRANSLATE_NOOP(
    "CliCommands", R"TXT(Usage: quillmarch-cli image PROJECT --out FILE.iso [--json]

Writes the ISO 9660 image (Rock Ridge and Joliet) of the entries of the
project's "Dispensed" group to FILE.iso, the image 'quillmarch-cli burn'
would write to a disc, for a burn later or elsewhere. FILE.iso appears only
once it is whole. When the plan was made for an ISO 9660 disc, the image's
exact size is held against the plan first, as for burn; the room where the
file goes is checked in any case. The image is read back and compared with
the originals.

Prints "Written: BLOCKS blocks to FILE.iso" and "Read back equal: N files",
or the files that did not read back equal as burn does.

Options:
  --out FILE.iso  the image file to write
  --json          print one JSON object instead (image, outcome, message,
                  blocks, volume_id, files, different)
  -h, --help      show this help

Exit status: as for burn.
)TXT");

int CliCommands::burn(const QStringList& words)
{
    return writeDisc(words, true);
}

int CliCommands::image(const QStringList& words)
{
    return writeDisc(words, false);
}

int CliCommands::writeDisc(const QStringList& words, bool toDrive)
{
    const QString place = toDrive ? QStringLiteral("--drive") : QStringLiteral("--out");
    QStringList switches{QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--json")};
    if (toDrive)
        switches << QStringLiteral("--overwrite");
    CliArguments args(switches, {place});
    int exitCode = Success;
    if (!parseArguments(args, words, &exitCode))
        return exitCode;
    if (args.plain().size() != 1)
        return usage(args.plain().isEmpty() ? tr("a PROJECT is needed")
                                            : tr("only one PROJECT is taken"));
    if (!toDrive && args.value(place).isEmpty())
        return usage(tr("--out FILE.iso is needed"));
    const QString given = args.plain().first();
    const QString project = absolute(given);
    DM* model = dataModel();
    if (!QFileInfo(project).isFile() || !model->load(project, project)) {
        fail(
            tr("%1: cannot be read as a project: %2")
                .arg(given, QFileInfo(project).isFile() ? model->lastError() : tr("No such file")));
        return TargetOrFileError;
    }
    if (!model->isDispensed()) {
        fail(tr("%1: the project holds no dispensed entries").arg(given));
        return NoResult;
    }
    DispenseRoad road(model);
    road.holdLoaded();
    const HeldPlan& plan = road.plan();
    QString where = toDrive ? args.value(place) : absolute(args.value(place));
    if (toDrive && where.isEmpty()) {
        const int fs = model->hasTarget() ? model->target().FileSystem : -1;
        if (fs != ISO9660 && fs != UDF)
            return usage(tr("the project's target is no recorder: give --drive DRIVE"));
        where = model->target().Path;
    }
    const QString refusal = DiscRun::refusal(plan);
    if (!refusal.isEmpty()) {
        fail(tr("%1: %2").arg(given, refusal));
        return TargetOrFileError;
    }

    const std::unique_ptr<DiscWriter> writer = createDiscWriter();
    DiscRun run(plan, *writer);
    if (toDrive)
        run.toDrive(where, args.isSet(QStringLiteral("--overwrite")));
    else
        run.toImage(where);
    std::mutex mutex;
    DiscProgress latest; // guarded by mutex
    std::atomic_bool cancel{false};
    DiscResult r;
    InterruptNotifier interrupt;
    const bool started = WorkerRun::run(
        [&] {
            r = run.run(
                [&](const DiscProgress& p) {
                    std::lock_guard<std::mutex> lock(mutex);
                    latest = p;
                },
                cancel);
        },
        interrupt, [&] { cancel = true; },
        [&] {
            std::lock_guard<std::mutex> lock(mutex);
            return progressText(latest);
        });
    if (!started) {
        fail(tr("The writing could not be started: out of memory"));
        return TargetOrFileError;
    }

    const bool differs = r.status == DiscResult::Differs;
    if (args.isSet(QStringLiteral("--json"))) {
        static const char* const outcomes[] = {"written", "cancelled", "refused", "failed",
                                               "different"};
        JsonWriter json;
        json.beginObject();
        json.key(toDrive ? "drive" : "image").string(where);
        json.key("outcome").string(QLatin1String(outcomes[r.status]));
        json.key("message").string(r.message);
        json.key("blocks").number(r.imageBlocks);
        json.key("volume_id").string(r.volumeId);
        json.key("files").number(quint64(r.files.size()));
        json.key("different").beginArray();
        for (const QString& d : r.differing) {
            json.beginObject();
            json.key("path").string(d.section(QStringLiteral(": "), 0, -2));
            json.key("reason").string(d.section(QStringLiteral(": "), -1));
            json.endObject();
        }
        json.endArray().endObject();
        write(json.finish());
    } else {
        for (const QString& d : r.differing)
            writeLine(QStringLiteral("different\t%1\t%2") // untranslated
                          .arg(d.section(QStringLiteral(": "), 0, -2),
                               d.section(QStringLiteral(": "), -1)));
        if (r.status == DiscResult::Written || differs)
            writeLine(tr("Written: %1 blocks to %2").arg(r.imageBlocks).arg(where));
        if (r.verified)
            writeLine(tr("Read back equal: %n files", nullptr, int(r.files.size())));
    }
    std::fflush(stdout);
    switch (r.status) {
    case DiscResult::Written:
        if (r.verified && r.message.isEmpty())
            return Success;
        fail(r.message);
        return interrupt.wasInterrupted() ? signalExit() : r.verified ? Success : WriteFailed;
    case DiscResult::Cancelled:
        fail(r.message);
        return interrupt.wasInterrupted() ? signalExit() : NoResult;
    case DiscResult::Refused:
        fail(r.message);
        return NotWritten;
    case DiscResult::Failed:
    case DiscResult::Differs:
        fail(r.message);
        return WriteFailed;
    }
    return WriteFailed;
}
