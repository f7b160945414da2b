// SPDX-License-Identifier: GPL-3.0-or-later
// The copy command of CliCommands.
#include "cli/CliCommands.h"

#include <cstdio>
#include <mutex>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "cli/CliArguments.h"
#include "cli/InterruptNotifier.h"
#include "cli/JsonWriter.h"
#include "cli/WorkerRun.h"
#include "core/copy/CopyEngine.h"
#include "core/copy/TargetArrival.h"
#include "core/copy/VolumeIdentity.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"

namespace {

QString tr(const char* text, int n = -1)
{
    return QCoreApplication::translate("quillmarch-cli", text, nullptr, n);
}

QString clock(qint64 seconds)
{
    return seconds >= 3600 ? QStringLiteral("%1:%2:%3")
                                 .arg(seconds / 3600)
                                 .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                           : QStringLiteral("%1:%2")
                                 .arg(seconds / 60)
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString progressText(const CopyEngine::Progress& p)
{
    if (p.phase == CopyEngine::Listing)
        return tr("Listing the entries...");
    if (p.phase == CopyEngine::Finishing)
        return tr("Writing the manifest...");
    QString line = (p.phase == CopyEngine::Copying ? tr("Copying %1 of %2, %3 of %4 files")
                                                   : tr("Reading back %1 of %2, %3 of %4 files"))
                       .arg(sizeText(p.bytesDone), sizeText(p.bytesTotal))
                       .arg(p.filesDone)
                       .arg(p.filesTotal);
    if (p.bytesPerSecond > 0)
        line += QStringLiteral(", ") + tr("%1/s").arg(sizeText(quint64(p.bytesPerSecond)));
    if (p.secondsLeft >= 0)
        line += QStringLiteral(", ") + tr("%1 left").arg(clock(p.secondsLeft));
    if (!p.current.isEmpty())
        line += QStringLiteral(": ") + p.current;
    return line;
}

// How the file system at folder tells names apart, as probed, and for the
// project's own target also as it was planned: two names either takes for one
// are one (the stricter rule; an unknown folder gets the Windows rule).
NameRule namesAt(const QString& folder, const Target* projectTarget)
{
    NameRule rule = NameRule::Windows;
    Target probed{folder};
    try {
        if (probeTarget(false, probed))
            rule = nameRuleOf(probed.FileSystem);
    } catch (const TargetError&) {
    }
    if (projectTarget && nameRuleOf(projectTarget->FileSystem) == NameRule::Windows)
        rule = NameRule::Windows;
    return rule;
}

} // namespace

const char* const CliCommands::s_copyHelp =
    R"TXT(Usage: quillmarch-cli copy PROJECT [--target PATH] [--into FOLDER] [--json]

Copies the entries of the project's "Dispensed" group onto the target, each
at the top of the target's root (the project's target, or --target PATH) or
of FOLDER on it. This is the copy the plan is exact for: files are written in
place, in the order the plan's file-system costs assume. The original of each
file is hashed (XXH3-128) while it is read; once all are written, every copy
is read back from the medium, past the system's cache, and compared, so that
a stick that loses what is written to it is caught. The hashes of the copies
that read back equal go into XXH128SUMS in that folder, which
'xxh128sum -c XXH128SUMS' checks there without Quillmarch.

Running it again after a cancel, a crash or a pulled stick goes on where it
stopped: files already read back equal and unchanged are skipped, a file cut
short is written again. The journal of that is kept outside the target, in
$XDG_STATE_HOME/quillmarch/copies (~/.local/state when unset). Nothing is
ever deleted or overwritten outside what this copy made: a name that is in
the folder already is refused, and so are two entries whose names the
target's file system takes for one (letter case aside, or trailing dots and
spaces, on FAT32, exFAT and NTFS). The project's target must still be the
volume it was picked as: when that volume is not mounted, or another is
mounted in its place, nothing is written (exit status 3); a PATH given with
--target is taken as it is.

Prints one line for each file that could not be copied or did not read back
equal, fields separated by a tab,
  failed  PATH  WHY
then "Copied: N files (BYTES bytes), M read back equal before" and
"Manifest: PATH". Items that cannot be copied by nature (devices, FIFOs) are
named on standard error.

Options:
  --target PATH   the target volume (or a folder on it)
  --into FOLDER   a folder below the target's root; made when missing
  --json          print one JSON object instead (target, files, bytes,
                  copied, skipped, verified, outcome, message, manifest,
                  failed: [path, reason])
  -h, --help      show this help

Progress goes to standard error when it is a terminal. Ctrl+C (or SIGTERM)
stops after the current block and removes the file being written.

Exit status: 0 every file copied and read back equal, 1 nothing is
dispensed, 2 usage error, 3 project or target error (also a target that
vanished or failed while copying), 6 some files were not copied or did not
read back equal (listed), 7 the target is full, 130 cancelled by Ctrl+C
(SIGINT), 143 by SIGTERM; run the copy again to go on.
)TXT";

int CliCommands::copy(const QStringList& words)
{
    CliArguments args({QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--json")},
                      {QStringLiteral("--target"), QStringLiteral("--into")});
    int exitCode = Success;
    if (!parseArguments(args, words, &exitCode))
        return exitCode;
    if (args.plain().size() != 1)
        return usage(args.plain().isEmpty() ? tr("a PROJECT is needed")
                                            : tr("only one PROJECT is taken"));
    const QString given = args.plain().first();
    const QString project = absolute(given);
    DM* model = dataModel();
    if (!QFileInfo(project).isFile() || !model->load(project, project)) {
        fail(
            tr("%1: cannot be read as a project: %2")
                .arg(given, QFileInfo(project).isFile() ? model->lastError() : tr("No such file")));
        return TargetOrFileError;
    }
    // A place named on the command line is taken as it is; the project's own
    // target must still be the volume it was picked as, as for verify: never
    // the folder an unmounted volume leaves behind.
    const bool named = args.isSet(QStringLiteral("--target"));
    QString target = named                ? absolute(args.value(QStringLiteral("--target")))
                     : model->hasTarget() ? model->target().Path
                                          : QString();
    if (target.isEmpty()) {
        fail(tr("%1: the project has no target; give --target PATH").arg(given));
        return TargetOrFileError;
    }
    if (!QFileInfo(target).isDir() && (named || model->target().Volume.isEmpty())) {
        fail(
            tr("%1: not a mounted volume (an optical disc is burnt, not copied onto)").arg(target));
        return TargetOrFileError;
    }
    if (!named) {
        const TargetArrival::Location on = TargetArrival::locate(model->target(), QString());
        if (on.at.folder.isEmpty()) {
            fail(on.problem);
            return TargetOrFileError;
        }
        if (!on.note.isEmpty())
            fail(QStringLiteral("warning: ") + on.note);
    }
    QString folder = target;
    if (args.isSet(QStringLiteral("--into"))) {
        const QString into = args.value(QStringLiteral("--into"));
        folder = QDir::cleanPath(QDir(target).filePath(into));
        const QString root = QDir::cleanPath(target);
        if (into.isEmpty() || !(folder == root || folder.startsWith(root + QLatin1Char('/')))) {
            return usage(tr("--into takes a folder below the target"));
        }
        if (!QDir().mkpath(folder)) {
            fail(tr("%1: cannot be made").arg(folder));
            return TargetOrFileError;
        }
    }
    QStringList entries;
    for (EntryPos pos = model->groupBegin(Dispensed); model->isValidPos(pos); ++pos.index)
        entries << model->entryAt(pos).Ident;
    if (entries.isEmpty()) {
        fail(tr("%1: the project holds no dispensed entries").arg(given));
        return NoResult;
    }

    CopyEngine engine(entries, VolumeIdentity::of(folder),
                      namesAt(folder, named ? nullptr : &model->target()));
    std::mutex mutex;
    CopyEngine::Progress latest; // guarded by mutex
    engine.setProgress([&](const CopyEngine::Progress& p) {
        std::lock_guard<std::mutex> lock(mutex);
        latest = p;
    });
    InterruptNotifier interrupt;
    const bool started = WorkerRun::run([&] { engine.run(); }, interrupt, [&] { engine.cancel(); },
                                        [&] {
                                            std::lock_guard<std::mutex> lock(mutex);
                                            return progressText(latest);
                                        });
    if (!started) {
        fail(tr("The copy could not be started: out of memory"));
        return TargetOrFileError;
    }
    for (const CopyEngine::Problem& n : engine.notes())
        fail(tr("%1: not copied: %2").arg(QDir(folder).filePath(n.path), n.reason));

    const CopyEngine::Outcome outcome = engine.outcome();
    const quint64 files = quint64(engine.filesCopied()) + quint64(engine.filesSkipped());
    if (args.isSet(QStringLiteral("--json"))) {
        static const char* const names[] = {"complete",    "incomplete",  "stopped",
                                            "target_full", "target_gone", "failed"};
        JsonWriter json;
        json.beginObject();
        json.key("target").string(folder);
        json.key("outcome").string(QLatin1String(names[outcome]));
        json.key("message").string(engine.message());
        json.key("files").number(files);
        json.key("copied").number(quint64(engine.filesCopied()));
        json.key("bytes").number(engine.bytesCopied());
        json.key("skipped").number(quint64(engine.filesSkipped()));
        json.key("verified").number(quint64(engine.filesVerified()));
        json.key("manifest");
        if (engine.manifestPath().isEmpty())
            json.null();
        else
            json.string(engine.manifestPath());
        json.key("failed").beginArray();
        for (const CopyEngine::Problem& p : engine.problems()) {
            json.beginObject();
            json.key("path").string(QDir(folder).filePath(p.path));
            json.key("reason").string(p.reason);
            json.endObject();
        }
        json.endArray().endObject();
        write(json.finish());
    } else {
        for (const CopyEngine::Problem& p : engine.problems())
            writeLine(QStringLiteral("failed\t%1\t%2")
                          .arg(escapedText(QDir(folder).filePath(p.path)), escapedText(p.reason)));
        if (outcome == CopyEngine::Complete || outcome == CopyEngine::Incomplete) {
            const int copied = engine.filesCopied(), skipped = engine.filesSkipped();
            writeLine((copied == 1 ? tr("Copied: 1 file (%1 bytes), %2")
                                   : tr("Copied: %n files (%1 bytes), %2", copied))
                          .arg(engine.bytesCopied())
                          .arg(skipped == 1 ? tr("1 read back equal before")
                                            : tr("%n read back equal before", skipped)));
            if (!engine.manifestPath().isEmpty())
                writeLine(tr("Manifest: %1").arg(escapedText(engine.manifestPath())));
        }
    }
    std::fflush(stdout);
    switch (outcome) {
    case CopyEngine::Complete:
        return Success;
    case CopyEngine::Incomplete:
        fail(engine.problems().size() == 1
                 ? tr("1 file was not copied or did not read back equal")
                 : tr("%n files were not copied or did not read back equal",
                      int(engine.problems().size())));
        return CopyIncomplete;
    case CopyEngine::Stopped:
        fail(engine.message());
        return interrupt.wasInterrupted() ? signalExit() : NoResult;
    case CopyEngine::TargetFull:
        fail(engine.message());
        return TargetFull;
    default:
        fail(engine.message());
        return TargetOrFileError;
    }
}
