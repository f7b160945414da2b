// SPDX-License-Identifier: GPL-3.0-or-later
// The series command of CliCommands.
#include "cli/CliCommands.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include <QEventLoop>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include "cli/CliArguments.h"
#include "cli/DispenseOptions.h"
#include "cli/FolderSizeJobs.h"
#include "cli/InterruptNotifier.h"
#include "cli/JsonWriter.h"
#include "cli/ProgressLine.h"
#include "core/dispense/SeriesPlanner.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"
#include "core/plan/DispenseRoad.h"

const char* const CliCommands::s_seriesHelp =
    QT_TRANSLATE_NOOP("CliCommands", R"TXT(Usage: quillmarch-cli series PROJECT [TARGET] [OPTIONS]
       quillmarch-cli series [--required PATH...] [--main PATH...]
                             [--background PATH...] TARGET [OPTIONS]

Plans a whole series of media of the target's kind for the entries of the
groups Required, Main and Background: medium 1 is filled as "Dispense" would
fill it, level by level, from all the entries, medium 2 from what is left, and
so on until every entry that fits a medium is placed. Required entries land
on the earliest media, Background on the last. Prints each medium as
  Medium N: COUNT entries, BYTES bytes used, BYTES bytes wasted (BLOCKS blocks)
followed by its entries' paths, one a line, then
  Media: COUNT (lower bound BOUND)
where no series can use fewer media than BOUND. Entries that no medium can
hold (larger than one, a file of 4 GiB or more on FAT32, no longer there or
not readable) are named on standard error with the reason, and so are those
left out because an entry before them has the same name on the target.

Target (the project's own target when none is given): the capacity of one
medium is its free space.
  --target PATH         the volume or recorder holding PATH
  --fs FS --block-size N --free-blocks N
                        a medium given by its figures; FS is NTFS, FAT32,
                        exFAT, ext4, UDF or ISO9660 (or the type mount
                        prints)

Paths from a list, added to those of the group's option ("-": standard
input), one a line, or each ended by a NUL when the list holds any:
  --required-from FILE, --main-from FILE, --background-from FILE

Options:
  --media N             show only the first N media of the series; the
                        entries of the others are counted as "Not planned"
  --time-limit SECONDS  the search of each medium takes the best fill found
                        in this time (default 2); that medium is then not
                        proven best
  --out-dir DIR         write each medium's list into DIR: medium-NN.txt, one
                        path a line, and medium-NN.nul, NUL-separated (lists
                        of an earlier, longer series there are removed; on a
                        failure the earlier lists stay as they were)
  --json                print one JSON object instead
  -h, --help            show this help

Progress goes to standard error when it is a terminal. Ctrl+C (or SIGTERM)
cancels; the lists of --out-dir are either all written or none.

Exit status: 0 every entry is on a medium (or left for --media), 1 some
entries fit no medium or share a name (the plan of the others is printed), 2 usage error, 3
target, project or file error, 4 entries that could not be measured were
left out, 5 the plan ran out of memory, 130 cancelled by Ctrl+C (SIGINT),
143 by SIGTERM.
)TXT");

namespace {

bool unmeasured(int reason)
{
    return reason == SeriesPlanner::ApartUnreadable || reason == SeriesPlanner::ApartVanished ||
           reason == SeriesPlanner::ApartOutOfMemory;
}

// Runs the plan on its own thread while this one shows the progress and
// takes Ctrl+C; false when it ended without a plan (why: empty when cancelled).
bool runPlanner(SeriesPlanner& planner, InterruptNotifier& interrupt, QString& why)
{
    std::mutex mutex;
    SeriesPlanner::Progress latest; // guarded by mutex
    planner.setProgress([&](const SeriesPlanner::Progress& p) {
        std::lock_guard<std::mutex> lock(mutex);
        latest = p;
    });
    ProgressLine progress;
    bool cancelling = false;
    const auto show = [&] {
        SeriesPlanner::Progress p;
        {
            std::lock_guard<std::mutex> lock(mutex);
            p = latest;
        }
        if (cancelling)
            progress.show(CliCommands::tr("Cancelling..."));
        else if (p.measuring && p.total == 0)
            progress.show(CliCommands::tr("Measuring..."));
        else if (p.measuring)
            progress.show(CliCommands::tr("Measuring: %1 of %2 entries").arg(p.done).arg(p.total));
        else
            // QString::arg: QLatin1String::arg would take the count for a character.
            progress.show((p.repacking
                               ? CliCommands::tr("Trying fewer media: %1 media, %2 of %3 entries")
                               : CliCommands::tr("Planning: %1 media, %2 of %3 entries on them"))
                              .arg(p.media)
                              .arg(p.done)
                              .arg(p.total));
    };
    if (interrupt.wasInterrupted())
        return false;
    bool ok = false;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&] { ok = planner.run(); }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&interrupt, &InterruptNotifier::interrupted, &loop, [&] {
        cancelling = true;
        planner.cancel();
        show();
    });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &loop, show);
    if (progress.enabled()) {
        ticker.start(250);
        show();
    }
    thread->start();
    if (!thread->isRunning() && !thread->isFinished()) {
        // No thread could be made: finished would never come.
        progress.clear();
        why = CliCommands::tr("The plan could not be started: out of memory");
        return false;
    }
    loop.exec();
    thread->wait();
    progress.clear();
    if (!ok && !interrupt.wasInterrupted())
        why = planner.failure();
    return ok && !interrupt.wasInterrupted();
}

QByteArray textReport(DM* model, const SeriesResult& result, int notPlanned)
{
    const quint64 blockSize = model->target().BlockSize;
    QByteArray out;
    for (std::size_t m = 0; m < result.media.size(); ++m) {
        const SeriesMedium& medium = result.media[m];
        const int count = int(medium.entries.size());
        const QString head =
            (medium.proven ? CliCommands::tr("Medium %1: %n entries, %2 bytes used, %3 bytes "
                                             "wasted (%4 blocks)",
                                             nullptr, count)
                           : CliCommands::tr("Medium %1: %n entries, %2 bytes used, %3 bytes "
                                             "wasted (%4 blocks), not proven best (time limit "
                                             "reached)",
                                             nullptr, count))
                .arg(m + 1)
                .arg(medium.usedBytes)
                .arg(medium.wastedBytes)
                .arg(medium.wastedBytes / blockSize);
        out += head.toUtf8() + '\n';
        for (const EntryPos& pos : medium.entries)
            out += escapedText(model->entryAt(pos).Ident).toUtf8() + '\n';
    }
    out += CliCommands::tr("Media: %1 (lower bound %2)")
               .arg(result.media.size())
               .arg(result.lowerBound)
               .toUtf8() +
           '\n';
    if (notPlanned > 0)
        out += CliCommands::tr("Not planned: %n entries", nullptr, notPlanned).toUtf8() + '\n';
    return out;
}

QByteArray jsonReport(DM* model, const SeriesResult& result, int notPlanned)
{
    const Target target = model->target();
    const auto entry = [model](JsonWriter& json, const EntryPos& pos) -> JsonWriter& {
        return json.beginObject()
            .key("path")
            .string(model->entryAt(pos).Ident)
            .key("group")
            .string(groupName(pos.group));
    };
    JsonWriter json;
    json.beginObject().key("target").beginObject();
    CliCommands::targetMembers(json, target);
    json.endObject().key("medium_bytes").number(result.mediumBytes);
    json.key("total_bytes").number(result.totalBytes);
    json.key("lower_bound").number(result.lowerBound).key("media").beginArray();
    for (const SeriesMedium& medium : result.media) {
        json.beginObject().key("entries").beginArray();
        for (const EntryPos& pos : medium.entries)
            entry(json, pos).endObject();
        json.endArray().key("used_bytes").number(medium.usedBytes);
        json.key("wasted_bytes").number(medium.wastedBytes);
        json.key("wasted_blocks").number(medium.wastedBytes / target.BlockSize);
        json.key("proven_best").boolean(medium.proven).endObject();
    }
    json.endArray().key("apart").beginArray();
    for (const SeriesApart& a : result.apart)
        entry(json, a.pos).key("reason").string(SeriesPlanner::apartText(a.reason)).endObject();
    json.endArray().key("not_planned").number(quint64(notPlanned));
    return json.endObject().finish();
}

} // namespace

int CliCommands::series(const QStringList& words)
{
    const QString mediaOption = QStringLiteral("--media");
    const QString outDirOption = QStringLiteral("--out-dir");
    CliArguments args(
        {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--json")},
        {QStringLiteral("--target"), QStringLiteral("--required-from"),
         QStringLiteral("--main-from"), QStringLiteral("--background-from"), QStringLiteral("--fs"),
         QStringLiteral("--block-size"), QStringLiteral("--free-blocks"),
         QStringLiteral("--time-limit"), mediaOption, outDirOption},
        {QStringLiteral("--required"), QStringLiteral("--main"), QStringLiteral("--background")});
    DispenseOptions options;
    options.series = true;
    int exitCode = parsePlanOptions(args, words, options);
    if (exitCode != Proceed)
        return exitCode;
    int mediaLimit = 0;
    if (args.isSet(mediaOption)) {
        bool ok = false;
        mediaLimit = args.value(mediaOption).toInt(&ok, 10);
        if (!ok || mediaLimit < 1)
            return usage(tr("--media takes a number of media from 1, not '%1'")
                             .arg(args.value(mediaOption)));
    }
    const QString outDirGiven = args.value(outDirOption);
    const QString outDir = outDirGiven.isEmpty() ? QString() : absolute(outDirGiven);
    if (args.isSet(outDirOption) && outDirGiven.isEmpty())
        return usage(tr("--out-dir needs a folder"));
    // Found out now rather than after a long plan.
    if (!outDir.isEmpty() && QFileInfo::exists(outDir) && !QFileInfo(outDir).isDir()) {
        fail(tr("%1: is not a folder").arg(outDirGiven));
        return TargetOrFileError;
    }

    DM* model = dataModel();
    InterruptNotifier interrupt;
    FolderSizeJobs folderSizes; // stays empty: the plan measures every entry
    QVector<EntryPos> sizedEntries;
    QSet<QString> refused; // named already
    exitCode = loadEntriesAndTarget(options, folderSizes, sizedEntries, &refused);
    if (exitCode != Proceed)
        return exitCode;
    const DispenseRoad road(model);
    std::vector<SeriesEntry> entries = road.seriesEntries(refused);
    const std::vector<DispenseRoad::NameClash> clashes = road.nameClashes();
    for (const DispenseRoad::NameClash& c : clashes)
        fail(tr("%1: has the same name on the target as %2; left out of the series")
                 .arg(c.ident, c.holder));
    if (entries.empty()) {
        fail(tr("Nothing to plan: no entries in Required, Main or Background"));
        return NoResult;
    }
    const int count = int(entries.size());
    SeriesPlanner planner(model->target(), std::move(entries));
    if (args.isSet(QStringLiteral("--time-limit")))
        planner.setMediumTimeLimit(options.timeLimitMs);
    planner.setMediaLimit(mediaLimit);
    QString why;
    if (!runPlanner(planner, interrupt, why)) {
        if (!why.isEmpty()) {
            fail(why);
            return SearchFailed;
        }
        fail(tr("Cancelled"));
        return signalExit();
    }

    const SeriesResult& result = planner.result();
    bool anyUnmeasured = false;
    for (const SeriesApart& a : result.apart) {
        anyUnmeasured = anyUnmeasured || unmeasured(a.reason);
        fail(tr("%1: %2; left out of the series")
                 .arg(model->entryAt(a.pos).Ident, SeriesPlanner::apartText(a.reason)));
    }
    int notPlanned = count - int(result.apart.size());
    for (const SeriesMedium& medium : result.media)
        notPlanned -= int(medium.entries.size());
    write(options.json ? jsonReport(model, result, notPlanned)
                       : textReport(model, result, notPlanned));
    std::fflush(stdout);

    if (!outDir.isEmpty()) {
        // All the lists or none: a signal waits until they are written, and
        // one that came before keeps them from being started.
        QString error;
        int lineBreaks = 0;
        bool cancelled = false;
        const bool written = InterruptNotifier::runUninterrupted(
            [&](const std::function<bool()>& signalled) {
                return !signalled() &&
                       SeriesPlanner::exportLists(
                           result,
                           [model](const EntryPos& pos) { return model->entryAt(pos).Ident; },
                           outDir, error, &lineBreaks);
            },
            &cancelled);
        if (cancelled && !written) {
            fail(tr("Cancelled; no list was written"));
            return signalExit();
        }
        if (!written) {
            fail(QStringLiteral("%1: %2").arg(outDirGiven, error));
            return TargetOrFileError;
        }
        if (lineBreaks > 0)
            fail(tr("warning: %1 paths hold a line break; they are in the .nul lists "
                    "only")
                     .arg(lineBreaks));
    }
    return anyUnmeasured                             ? NotMeasured
           : result.apart.empty() && clashes.empty() ? Success
                                                     : NoResult;
}
