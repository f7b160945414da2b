// SPDX-License-Identifier: GPL-3.0-or-later
// The verify command of CliCommands.
#include "cli/CliCommands.h"

#include <cstdio>

#include <atomic>
#include <mutex>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QVector>

#include "cli/CliArguments.h"
#include "cli/InterruptNotifier.h"
#include "cli/JsonWriter.h"
#include "cli/WorkerRun.h"
#include "core/copy/ContentArrival.h"
#include "core/disc/DiscArrival.h"
#include "core/disc/DiscIdentity.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"
#include "core/plan/DispenseRoad.h"
#include "platform/VolumeIdentity.h"

const char* const CliCommands::s_verifyHelp =
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
itself (a bind mount, a link back, the same inode) or another volume mounted
inside the copy never counts. Entries with the same name on the target share
one copy, so none of them counts as arrived. Prints one line for each entry
that did not arrive, fields separated by a tab, names escaped as in every
line of text:
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
)TXT";

int CliCommands::verify(const QStringList& words)
{
    CliArguments args({QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--json")},
                      {QStringLiteral("--target"), QStringLiteral("--into")});
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
    if (args.isSet(QStringLiteral("--target"))) {
        place = args.value(QStringLiteral("--target"));
        if (!place.startsWith(QLatin1String("stdio:")))
            place = absolute(place);
    }
    if (args.isSet(QStringLiteral("--into")) && !place.isEmpty())
        place = QDir::cleanPath(QDir(place).filePath(args.value(QStringLiteral("--into"))));
    // A recorder's disc, by the record of its writing and reading back.
    const bool disc = !QFileInfo(place).isDir() && (place.startsWith(QLatin1String("stdio:")) ||
                                                    place.startsWith(QLatin1String("/dev/")));
    if (!disc && !QFileInfo(place).isDir()) {
        fail(place.isEmpty()
                 ? QStringLiteral("%1: the project has no target; give --target PATH").arg(given)
                 : QStringLiteral("%1: not a folder").arg(place));
        return TargetOrFileError;
    }

    QVector<Entry> entries;
    for (EntryPos pos = model->groupBegin(Dispensed); model->isValidPos(pos); ++pos.index)
        entries << model->entryAt(pos);
    if (entries.isEmpty()) {
        fail(QStringLiteral("%1: the project holds no dispensed entries").arg(given));
        return NoResult;
    }
    QVector<ArrivalCheck> checks;
    if (disc) {
        QString why;
        const QString id = discVolumeId(place, &why);
        const DiscArrival onDisc(place, id, why);
        if (!onDisc.problem().isEmpty())
            fail(onDisc.problem());
        for (const Entry& e : qAsConst(entries))
            checks << onDisc.check(e.Ident);
    }
    // Entries with one name on the target have one copy between them.
    const std::vector<int> sameName = DispenseRoad(model).dispensedSameNames();
    ContentArrival arrival(VolumeIdentity::of(disc ? QString() : place));
    std::atomic_bool stop{false};
    std::mutex mutex;
    ContentArrival::Progress latest; // guarded by mutex
    arrival.setStop(&stop);
    arrival.setProgress([&](const ContentArrival::Progress& p) {
        std::lock_guard<std::mutex> lock(mutex);
        latest = p;
    });
    InterruptNotifier interrupt;
    WorkerRun::run(
        [&] {
            for (int i = 0; !disc && i < entries.size(); ++i) {
                const int other = sameName[std::size_t(i)];
                if (other < 0)
                    checks << arrival.check(entries.at(i).Ident);
                else
                    checks << ArrivalCheck{Arrival::Different,
                                           QStringLiteral("%1: the same name on the target as %2")
                                               .arg(entries.at(i).Name, entries.at(other).Ident)};
                if (arrival.stopped())
                    break;
            }
        },
        interrupt, [&] { stop = true; },
        [&] {
            std::lock_guard<std::mutex> lock(mutex);
            return QCoreApplication::translate("quillmarch-cli", "Comparing: %1 read: %2")
                .arg(sizeText(latest.bytesDone), latest.current);
        });
    if (arrival.stopped() || checks.size() < entries.size())
        return signalExit();

    int notArrived = 0;
    JsonWriter json;
    const bool asJson = args.isSet(QStringLiteral("--json"));
    json.beginArray();
    for (int i = 0; i < entries.size(); ++i) {
        const Entry& e = entries.at(i);
        const ArrivalCheck& check = checks.at(i);
        if (asJson) {
            json.beginObject();
            json.key("path").string(e.Ident);
            json.key("state").string(QLatin1String(check.state == Arrival::Arrived ? "arrived"
                                                   : check.state == Arrival::NotFound
                                                       ? "missing"
                                                       : "different"));
            json.key("detail").string(check.detail);
            json.endObject();
        }
        if (check.state == Arrival::Arrived)
            continue;
        ++notArrived;
        if (!asJson)
            writeLine(check.state == Arrival::NotFound
                          ? QStringLiteral("missing\t") + escapedText(e.Ident)
                          : QStringLiteral("different\t%1\t%2")
                                .arg(escapedText(e.Ident), escapedText(check.detail)));
    }
    json.endArray();
    if (asJson)
        write(json.finish());
    std::fflush(stdout);
    if (notArrived > 0) {
        fail(QStringLiteral("%1 of %2 dispensed entries did not arrive in %3")
                 .arg(notArrived)
                 .arg(entries.size())
                 .arg(place));
        return NoResult;
    }
    return Success;
}
