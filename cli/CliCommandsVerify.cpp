// SPDX-License-Identifier: GPL-3.0-or-later
// The verify command of CliCommands.
#include "cli/CliCommands.h"

#include <cstdio>

#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QVector>

#include "cli/CliArguments.h"
#include "cli/InterruptNotifier.h"
#include "cli/JsonWriter.h"
#include "cli/WorkerRun.h"
#include "core/copy/TargetArrival.h"
#include "core/disc/DiscArrival.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"
#include "core/plan/DispenseRoad.h"

const char* const CliCommands::s_verifyHelp = QT_TRANSLATE_NOOP(
    "CliCommands",
    R"TXT(Usage: quillmarch-cli verify PROJECT [--target PATH] [--into FOLDER] [--json]

Checks that every entry of the project's "Dispensed" group arrived on the
target with the original's content, as the window's "Delete the files" does
before anything goes to the trash: an item of the entry's name directly in
PATH (the project's target when no --target is given; FOLDER below it with
--into) whose every file holds what the original holds. On the disc in a
recorder (PATH /dev/sr0, or stdio:PATH), an entry arrived when the disc is
one 'quillmarch-cli burn' or the window wrote and read back equal, and none
of the entry's files changed since. A file of a copy
made by 'quillmarch-cli copy' counts when its manifest (XXH128SUMS) and the
copy's journal agree on it and neither side changed size or time since it was
read back; every other file is read on both sides and compared, which takes
as long as reading them. A link where the original has a file, the original
itself (a bind mount, a link back, the same inode), a hard link the original
does not have, or another volume mounted inside the copy never counts. Entries
with the same name on the target share one copy, so none of them counts as
arrived. The project's target must still be the volume it was picked as: when
that volume is not mounted, or another is mounted in its place, nothing is
checked (exit status 3); a PATH given with --target is taken as it is. Prints
one line for each entry that did not arrive, fields separated by a tab, names
escaped as in every line of text:
  missing    PATH
  different  PATH  WHAT DIFFERS

Options:
  --target PATH   the target volume (or a folder on it)
  --into FOLDER   where below the target's root the entries were copied
  --json          print one JSON array instead, an object for each entry
                  (path, state: arrived, missing or different, detail)
  -h, --help      show this help

Progress goes to standard error when it is a terminal; Ctrl+C stops.

Exit status: 0 every dispensed entry arrived, 1 some did not (or nothing is
dispensed), 2 usage error, 3 project or target error, 130 stopped by Ctrl+C
(SIGINT), 143 by SIGTERM.
)TXT");

int CliCommands::verify(const QStringList& words)
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
    // target must still be the volume it was picked as. A recorder's disc (a
    // device or a libburn pseudo-drive) counts by the record of its reading back.
    const bool named = args.isSet(QStringLiteral("--target"));
    QString place = named                ? args.value(QStringLiteral("--target"))
                    : model->hasTarget() ? model->target().Path
                                         : QString();
    const bool disc = DiscArrival::isDrive(place);
    if (named && !disc)
        place = absolute(place);
    if (args.isSet(QStringLiteral("--into")) && !place.isEmpty() && !disc)
        place = QDir::cleanPath(QDir(place).filePath(args.value(QStringLiteral("--into"))));
    if (place.isEmpty()) {
        fail(tr("%1: the project has no target; give --target PATH").arg(given));
        return TargetOrFileError;
    }
    if (named && !disc && !QFileInfo(place).isDir()) {
        fail(tr("%1: not a folder").arg(place));
        return TargetOrFileError;
    }

    // Entries with one name on the target have one copy between them.
    const std::vector<int> sameName = DispenseRoad(model).dispensedSameNames();
    std::vector<TargetArrival::Original> originals;
    QVector<Entry> entries;
    for (EntryPos pos = model->groupBegin(Dispensed); model->isValidPos(pos); ++pos.index) {
        entries << model->entryAt(pos);
        originals.push_back(
            {entries.last().Ident, entries.last().Size, sameName[std::size_t(pos.index)]});
    }
    if (entries.isEmpty()) {
        fail(tr("%1: the project holds no dispensed entries").arg(given));
        return NoResult;
    }
    TargetArrival arrival(std::move(originals));
    const bool found = disc && named ? arrival.lookOnTarget(Target{place, ISO9660, 2048, 0}, {})
                       : named       ? arrival.lookIn(place)
                                     : arrival.lookOnTarget(model->target(), {place});
    if (!found) {
        fail(arrival.problem());
        return TargetOrFileError;
    }
    if (!arrival.note().isEmpty())
        fail(tr("warning: %1").arg(arrival.note()));
    InterruptNotifier interrupt;
    WorkerRun::run([&] { arrival.run(); }, interrupt, [&] { arrival.stop(); },
                   [&] {
                       const TargetArrival::Progress p = arrival.progress();
                       return QCoreApplication::translate("CliCommands", "Comparing: %1 read: %2")
                           .arg(sizeText(p.bytesDone), p.current);
                   });
    if (arrival.stopped())
        return signalExit();

    int notArrived = 0;
    JsonWriter json;
    const bool asJson = args.isSet(QStringLiteral("--json"));
    json.beginArray();
    for (int i = 0; i < entries.size(); ++i) {
        const Entry& e = entries.at(i);
        const ArrivalCheck& check = arrival.results().at(std::size_t(i));
        if (asJson) {
            json.beginObject();
            json.key("path").string(e.Ident);
            json.key("state").string(QLatin1String(check.state == Arrival::Arrived ? "arrived"
                                                   : check.state == Arrival::Missing
                                                       ? "missing"
                                                       : "different"));
            json.key("detail").string(check.state == Arrival::Missing ? QString() : check.detail());
            json.endObject();
        }
        if (check.state == Arrival::Arrived)
            continue;
        ++notArrived;
        if (!asJson)
            writeLine(check.state == Arrival::Missing
                          ? QStringLiteral("missing\t") + escapedText(e.Ident)
                          : QStringLiteral("different\t%1\t%2")
                                .arg(escapedText(e.Ident), escapedText(check.detail())));
    }
    json.endArray();
    if (asJson)
        write(json.finish());
    std::fflush(stdout);
    if (notArrived > 0) {
        fail(tr("%1 of %2 dispensed entries did not arrive in %3")
                 .arg(notArrived)
                 .arg(entries.size())
                 .arg(place));
        return NoResult;
    }
    return Success;
}
