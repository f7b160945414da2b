// SPDX-License-Identifier: GPL-3.0-or-later
// The verify command of CliCommands.
#include "cli/CliCommands.h"

#include <cstdio>

#include <QFileInfo>

#include "cli/CliArguments.h"
#include "core/dispense/Arrival.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "core/plan/DispenseRoad.h"

const char* const CliCommands::s_verifyHelp =
    R"TXT(Usage: quillmarch-cli verify PROJECT [--target PATH]

Checks that every entry of the project's "Dispensed" group arrived on the
target, as the window's "Delete the files" does before anything goes to the
trash: an item of the entry's name directly in PATH (the project's target
when no --target is given), that is a file of the original's size, or a folder
holding every file of the original at the same relative path with the same
size. Entries with the same name on the target share one copy, so none of
them counts as arrived. Prints one line for each entry that did not arrive,
fields separated by a tab, names escaped as in every line of text:
  missing    PATH
  different  PATH  WHAT DIFFERS

Exit status: 0 every dispensed entry arrived, 1 some did not (or nothing is
dispensed), 2 usage error, 3 project or target error.
)TXT";

int CliCommands::verify(const QStringList& words)
{
    CliArguments args({QStringLiteral("--help"), QStringLiteral("-h")},
                      {QStringLiteral("--target")});
    int exitCode = Success;
    if (!parseArguments(args, words, &exitCode))
        return exitCode;
    if (args.plain().size() != 1)
        return usage(args.plain().isEmpty() ? QStringLiteral("a PROJECT is needed")
                                            : QStringLiteral("only one PROJECT is taken"));
    const QString given = args.plain().first();
    const QString project = absolute(given);
    DM* model = dataModel();
    if (!QFileInfo(project).isFile() || !model->load(project, project)) {
        fail(QStringLiteral("%1: cannot be read as a project: %2")
                 .arg(given, QFileInfo(project).isFile() ? model->lastError()
                                                         : QStringLiteral("No such file")));
        return TargetOrFileError;
    }
    QString place = model->hasTarget() ? model->target().Path : QString();
    if (args.isSet(QStringLiteral("--target")))
        place = absolute(args.value(QStringLiteral("--target")));
    if (!QFileInfo(place).isDir()) {
        fail(place.isEmpty()
                 ? QStringLiteral("%1: the project has no target; give --target PATH").arg(given)
                 : QStringLiteral("%1: not a folder").arg(place));
        return TargetOrFileError;
    }

    int count = 0, notArrived = 0;
    // Entries with one name on the target have one copy between them.
    const std::vector<int> sameName = DispenseRoad(model).dispensedSameNames();
    for (EntryPos pos = model->groupBegin(Dispensed); model->isValidPos(pos); ++pos.index) {
        const Entry& e = model->entryAt(pos);
        const int other = sameName[std::size_t(pos.index)];
        const ArrivalCheck check =
            other < 0 ? checkArrival(e, {place})
                      : ArrivalCheck{Arrival::Different,
                                     QStringLiteral("%1: the same name on the target as %2")
                                         .arg(e.Name, model->entryAt({Dispensed, other}).Ident)};
        ++count;
        if (check.state == Arrival::Arrived)
            continue;
        ++notArrived;
        writeLine(check.state == Arrival::NotFound
                      ? QStringLiteral("missing\t") + escapedText(e.Ident)
                      : QStringLiteral("different\t%1\t%2")
                            .arg(escapedText(e.Ident), escapedText(check.detail)));
    }
    std::fflush(stdout);
    if (count == 0) {
        fail(QStringLiteral("%1: the project holds no dispensed entries").arg(given));
        return NoResult;
    }
    if (notArrived > 0) {
        fail(QStringLiteral("%1 of %2 dispensed entries did not arrive in %3")
                 .arg(notArrived)
                 .arg(count)
                 .arg(place));
        return NoResult;
    }
    return Success;
}
