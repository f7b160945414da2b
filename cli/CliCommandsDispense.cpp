// SPDX-License-Identifier: GPL-3.0-or-later
// The dispense command of CliCommands.
#include "cli/CliCommands.h"

#include <cstdio>

#include <QFile>
#include <QVector>

#include "cli/CliArguments.h"
#include "cli/DispenseOptions.h"
#include "cli/DispenseRun.h"
#include "cli/FolderSizeJobs.h"
#include "cli/InterruptNotifier.h"
#include "cli/JsonWriter.h"
#include "cli/ProgressLine.h"
#include "core/model/EntriesModel.h"
#include "core/model/EntryPaths.h"
#include "core/model/ProjectFile.h"
#include "core/model/SizeText.h"
#include "core/plan/DispenseRoad.h"

// A searched level with the paths of its entries, named before the result
// moves them.
struct DispenseLevel
{
    Dispenser::Level level;
    QStringList paths; // of level.entries
};

namespace {

// The entries of the Dispensed group, in list order, with their origins.
struct Chosen
{
    QVector<Entry> entries;
    QVector<int> origins;
};

Chosen dispensedEntries(DM* model)
{
    Chosen chosen;
    for (EntryPos pos = model->groupBegin(Dispensed); model->isValidPos(pos); ++pos.index)
        chosen.entries << model->entryAt(pos);
    if (auto* entries = qobject_cast<EntriesModel*>(model))
        chosen.origins = entries->origins();
    return chosen;
}

QVector<DispenseLevel> namedLevels(DM* model, const Dispenser& dispenser)
{
    QVector<DispenseLevel> levels;
    for (const Dispenser::Level& level : dispenser.levels()) {
        DispenseLevel named{level, {}};
        for (const Dispenser::Considered& c : level.entries)
            named.paths << model->entryAt(c.pos).Ident;
        levels << named;
    }
    return levels;
}

// Each level's room, in blocks of unit_size bytes, and every entry the search
// considered with its cost: its own blocks, and the bytes it adds to a store
// of shared_block-byte blocks that already holds shared_before bytes.
void levelMembers(JsonWriter& json, const QVector<DispenseLevel>& levels)
{
    json.key("levels").beginArray();
    for (const DispenseLevel& named : levels) {
        const Dispenser::Level& l = named.level;
        json.beginObject().key("group").string(groupTitle(l.group));
        json.key("room").number(quint64(l.room)).key("unit_size").number(l.unitSize);
        json.key("shared_block").number(l.sharedBlock);
        json.key("shared_before").number(l.sharedBefore).key("entries").beginArray();
        for (std::size_t i = 0; i < l.entries.size(); ++i) {
            const Dispenser::Considered& c = l.entries[i];
            json.beginObject().key("path").string(named.paths.at(int(i)));
            json.key("cost").beginObject().key("blocks").number(c.blocks);
            json.key("shared_bytes").number(c.shared).endObject();
            json.key("chosen").boolean(c.chosen).endObject();
        }
        json.endArray().endObject();
    }
    json.endArray();
}

QByteArray jsonReport(const Target& target, const Chosen& chosen, quint64 wasted, bool provenBest,
                      const QVector<DispenseLevel>& levels)
{
    JsonWriter json;
    json.beginObject().key("target").beginObject();
    CliCommands::targetMembers(json, target);
    json.endObject().key("entries").beginArray();
    for (int i = 0; i < chosen.entries.size(); ++i) {
        const Entry& e = chosen.entries.at(i);
        json.beginObject().key("path").string(e.Ident);
        json.key("kind").string(e.Kind == File ? QStringLiteral("file") : QStringLiteral("folder"));
        json.key("size");
        e.IsValidSize ? json.number(e.Size) : json.null();
        if (i < chosen.origins.size()) {
            const int origin = chosen.origins.at(i);
            json.key("origin");
            origin >= Dispensed && origin < NoGroup ? json.string(groupTitle(origin)) : json.null();
        }
        json.endObject();
    }
    json.endArray().key("wasted_bytes").number(wasted);
    json.key("wasted_blocks").number(wasted / target.BlockSize);
    json.key("proven_best").boolean(provenBest);
    levelMembers(json, levels);
    return json.endObject().finish();
}

QByteArray textReport(const Target& target, const Chosen& chosen, quint64 wasted, bool provenBest)
{
    QByteArray out;
    for (const Entry& e : chosen.entries)
        out += escapedText(e.Ident).toUtf8() + '\n';
    out += "Wasted: " + QByteArray::number(wasted) + " bytes (" +
           QByteArray::number(wasted / target.BlockSize) + " blocks)\n";
    out += provenBest ? "Proven best: yes\n" : "Proven best: no (time limit reached)\n";
    return out;
}

QByteArray nulReport(const Chosen& chosen)
{
    QByteArray out;
    for (const Entry& e : chosen.entries)
        out += QFile::encodeName(e.Ident) + '\0';
    return out;
}

// Runs the search while the folders given on the command line are measured;
// false when it was cancelled.
bool runSearch(DispenseRun& run, ProgressLine& progress, InterruptNotifier& interrupt,
               FolderSizeJobs& folderSizes)
{
    QObject::connect(&interrupt, &InterruptNotifier::interrupted, &run, &DispenseRun::cancel);
    QObject::connect(&interrupt, &InterruptNotifier::interrupted, &folderSizes,
                     &FolderSizeJobs::stop);
    bool ok = run.exec();
    if (ok && !folderSizes.isComplete()) {
        progress.show(QStringLiteral("Measuring folder sizes..."));
        ok = folderSizes.waitAll();
        progress.clear();
    }
    return ok && !interrupt.wasInterrupted();
}

void storeFolderSizes(DM* model, const FolderSizeJobs& folderSizes,
                      const QVector<EntryPos>& sizedEntries)
{
    for (int i = 0; i < sizedEntries.size(); ++i) {
        const FolderSizeJobs::Result& result = folderSizes.results().at(i);
        Entry& entry = model->entryAt(sizedEntries.at(i));
        if (result.issue != NoSizeIssue) {
            entry.Issue = result.issue;
            continue;
        }
        entry.Size = result.bytes;
        entry.IsValidSize = true;
        model->entrySizeKnown(sizedEntries.at(i));
    }
}

} // namespace

int CliCommands::dispense(const QStringList& words)
{
    DispenseOptions options;
    int exitCode = parseDispenseOptions(words, options);
    if (exitCode != Proceed)
        return exitCode;

    DM* model = dataModel();
    // From here on, Ctrl+C and SIGTERM end the command with their own exit
    // status, and never in the middle of writing a file.
    InterruptNotifier interrupt;
    FolderSizeJobs folderSizes;
    QVector<EntryPos> sizedEntries; // the entry of each folder-size job
    exitCode = loadEntriesAndTarget(options, folderSizes, sizedEntries);
    if (exitCode != Proceed)
        return exitCode;

    ProgressLine progress;
    DispenseRun run(options.timeLimitMs, &progress);
    DispenseRoad road(model);
    const std::vector<DispenseRoad::NameClash> clashes = road.prepare(run.dispenser());
    if (interrupt.wasInterrupted() || !runSearch(run, progress, interrupt, folderSizes)) {
        if (!run.failure().isEmpty() && !interrupt.wasInterrupted()) {
            fail(run.failure());
            return SearchFailed;
        }
        fail(QStringLiteral("Cancelled"));
        return signalExit();
    }
    // Named before the result moves the entries: the positions are the search's.
    const DispenseRoad::Omissions omissions = road.takeOmissions(run.dispenser(), true);
    for (const DispenseRoad::LeftOut& l : omissions.unmeasured)
        fail(QStringLiteral("%1: %2; left out of the plan").arg(l.ident, sizeIssueText(l.issue)));
    for (const DispenseRoad::NameClash& c : clashes)
        fail(QStringLiteral("%1: has the same name on the target as %2; left out of the plan")
                 .arg(c.ident, c.holder));
    for (const DispenseRoad::LeftOut& l : omissions.refused)
        fail(QStringLiteral("%1: %2; left out of the plan")
                 .arg(l.ident, SeriesPlanner::apartText(l.issue)));
    if (omissions.limitReached && model->target().FileSystem == EXT4)
        fail(QStringLiteral("warning: the volume's free inodes ran out before its free space "
                            "(ext4 stores each file, folder and link in one of a fixed number); "
                            "the smallest chosen entries were left out"));
    else if (omissions.limitReached && model->target().FileSystem == EXFAT)
        fail(QStringLiteral("warning: the target folder on exFAT holds at most 256 MiB of "
                            "names; the smallest chosen entries were left out"));
    else if (omissions.limitReached)
        fail(QStringLiteral("warning: the target folder on FAT32 holds at most 65,536 directory "
                            "entries (a long name takes several); the smallest chosen entries "
                            "were left out"));
    // Nothing chosen because a level was never searched is not "nothing fits".
    if (omissions.unsearchedGroup >= 0)
        fail(QStringLiteral("warning: the time limit ended the search before the %1 group was "
                            "searched")
                 .arg(groupTitle(omissions.unsearchedGroup)));
    if (omissions.requiredNotFitted > 0)
        fail(QStringLiteral("warning: %1 Required entries did not fit")
                 .arg(omissions.requiredNotFitted));
    QVector<DispenseLevel> levels;
    if (options.json)
        levels = namedLevels(model, run.dispenser());
    // Take the result as the window does.
    storeFolderSizes(model, folderSizes, sizedEntries);
    road.apply(run.dispenser());
    const bool leftOut = !omissions.unmeasured.empty();
    // Entries named with their reason need no "Nothing fits" besides.
    const bool named =
        leftOut || omissions.unsearchedGroup >= 0 || !clashes.empty() || !omissions.refused.empty();
    const int code =
        saveAndReport(options, road.plan().wastedBytes(), run.provenBest(), named, levels);
    return leftOut && (code == Success || code == NoResult) ? NotMeasured : code;
}

int CliCommands::parseDispenseOptions(const QStringList& words, DispenseOptions& options)
{
    CliArguments args(
        {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--json"),
         QStringLiteral("-0")},
        {QStringLiteral("--target"), QStringLiteral("--required-from"),
         QStringLiteral("--main-from"), QStringLiteral("--background-from"), QStringLiteral("--fs"),
         QStringLiteral("--block-size"), QStringLiteral("--free-blocks"),
         QStringLiteral("--time-limit"), QStringLiteral("--save")},
        {QStringLiteral("--required"), QStringLiteral("--main"), QStringLiteral("--background")});
    return parsePlanOptions(args, words, options);
}

int CliCommands::saveAndReport(const DispenseOptions& options, quint64 wasted, bool provenBest,
                               bool leftOut, const QVector<DispenseLevel>& levels)
{
    DM* model = dataModel();
    const Target target = model->target();
    const Chosen chosen = dispensedEntries(model);
    auto* entries = qobject_cast<EntriesModel*>(model);
    if (!chosen.entries.isEmpty() && !options.savePath.isEmpty() && entries) {
        // A signal before the new file replaces the old one keeps the old one;
        // after that, the save is done and the command ends as it would have.
        QString error, warning;
        bool cancelled = false;
        const bool saved = InterruptNotifier::runUninterrupted(
            [&](const std::function<bool()>& signalled) {
                return writeProjectFile(options.savePath, entries->data(), &error, signalled,
                                        &warning);
            },
            &cancelled);
        if (cancelled) {
            fail(QStringLiteral("Cancelled; %1 was not changed").arg(options.saveGiven));
            return signalExit();
        }
        if (!saved) {
            fail(QStringLiteral("%1: %2").arg(options.saveGiven, error));
            return TargetOrFileError;
        }
        if (!warning.isEmpty())
            fail(QStringLiteral("warning: %1").arg(warning));
    }
    if (options.json)
        write(jsonReport(target, chosen, wasted, provenBest, levels));
    else if (options.nul)
        write(nulReport(chosen));
    else
        write(textReport(target, chosen, wasted, provenBest));
    std::fflush(stdout);
    if (chosen.entries.isEmpty()) {
        if (!leftOut)
            fail(QStringLiteral("Nothing fits on the target"));
        return NoResult;
    }
    return Success;
}
