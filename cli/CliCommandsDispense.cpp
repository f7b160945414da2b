// SPDX-License-Identifier: GPL-3.0-or-later
// The dispense command of CliCommands.
#include "cli/CliCommands.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QVector>

#include "cli/CliArguments.h"
#include "cli/DispenseOptions.h"
#include "cli/DispenseRun.h"
#include "cli/FolderSizeJobs.h"
#include "cli/InterruptNotifier.h"
#include "cli/JsonWriter.h"
#include "cli/ProgressLine.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/EntriesModel.h"
#include "core/model/EntryPaths.h"
#include "core/model/ProjectFile.h"
#include "core/model/SizeText.h"

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

bool parseFileSystem(const QString& text, int& fileSystem)
{
    for (int fs : {NTFS, FAT, UDF}) {
        if (text.compare(fileSystemName(fs), Qt::CaseInsensitive) == 0) {
            fileSystem = fs;
            return true;
        }
    }
    return false;
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
    if (interrupt.wasInterrupted() || !runSearch(run, progress, interrupt, folderSizes)) {
        if (!run.failure().isEmpty() && !interrupt.wasInterrupted()) {
            fail(run.failure());
            return SearchFailed;
        }
        fail(QStringLiteral("Cancelled"));
        return signalExit();
    }
    // Named before the result moves the entries: the positions are the search's.
    const std::vector<Dispenser::LeftOut>& leftOut = run.dispenser().leftOut();
    for (const Dispenser::LeftOut& l : leftOut)
        fail(QStringLiteral("%1: %2; left out of the plan")
                 .arg(model->entryAt(l.pos).Ident, sizeIssueText(l.issue)));
    // Nothing chosen because a level was never searched is not "nothing fits".
    const int unsearched = run.dispenser().unsearchedGroup();
    if (unsearched >= 0)
        fail(QStringLiteral("warning: the time limit ended the search before the %1 group was "
                            "searched")
                 .arg(groupTitle(unsearched)));
    if (run.dispenser().requiredNotFitted() > 0)
        fail(QStringLiteral("warning: %1 Required entries did not fit")
                 .arg(run.dispenser().requiredNotFitted()));
    QVector<DispenseLevel> levels;
    if (options.json)
        levels = namedLevels(model, run.dispenser());
    // Take the result as the window does.
    storeFolderSizes(model, folderSizes, sizedEntries);
    model->applyDispense(run.resultQueue(), run.wasted());
    const int code = saveAndReport(options, run.wasted(), run.provenBest(),
                                   !leftOut.empty() || unsearched >= 0, levels);
    return !leftOut.empty() && (code == Success || code == NoResult) ? NotMeasured : code;
}

int CliCommands::parseDispenseOptions(const QStringList& words, DispenseOptions& options)
{
    CliArguments args(
        {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--json"),
         QStringLiteral("-0")},
        {QStringLiteral("--target"), QStringLiteral("--fs"), QStringLiteral("--block-size"),
         QStringLiteral("--free-blocks"), QStringLiteral("--time-limit"), QStringLiteral("--save")},
        {QStringLiteral("--required"), QStringLiteral("--main"), QStringLiteral("--background")});
    return parsePlanOptions(args, words, options);
}

int CliCommands::parsePlanOptions(CliArguments& args, const QStringList& words,
                                  DispenseOptions& options)
{
    int exitCode = Success;
    if (!parseArguments(args, words, &exitCode))
        return exitCode;
    exitCode = parseSourceOptions(args, options);
    if (exitCode == Proceed)
        exitCode = parseTargetOptions(args, options);
    if (exitCode == Proceed)
        exitCode = parseOutputOptions(args, options);
    return exitCode;
}

int CliCommands::parseSourceOptions(const CliArguments& args, DispenseOptions& options)
{
    const QString required = QStringLiteral("--required");
    const QString main = QStringLiteral("--main");
    const QString background = QStringLiteral("--background");
    options.byPaths = args.isSet(required) || args.isSet(main) || args.isSet(background);
    if (!options.byPaths) {
        if (args.plain().isEmpty())
            return usage(
                QStringLiteral("a PROJECT or --required/--main/--background paths are needed"));
        if (args.plain().size() > 1)
            return usage(QStringLiteral("unexpected argument '%1'").arg(args.plain().at(1)));
        options.project = args.plain().first();
        return Proceed;
    }
    if (!args.plain().isEmpty())
        return usage(QStringLiteral("give either a PROJECT or --required/--main/--background "
                                    "paths, not both"));
    options.paths = {{Required, args.list(required)},
                     {Main, args.list(main)},
                     {Background, args.list(background)}};
    for (const auto& group : options.paths) {
        if (!group.second.isEmpty())
            return Proceed;
    }
    return usage(QStringLiteral("no PATH given after --required/--main/--background"));
}

int CliCommands::parseTargetOptions(const CliArguments& args, DispenseOptions& options)
{
    const QString fsOption = QStringLiteral("--fs");
    const QString blockSizeOption = QStringLiteral("--block-size");
    const QString freeBlocksOption = QStringLiteral("--free-blocks");
    options.byTargetPath = args.isSet(QStringLiteral("--target"));
    options.targetPath = args.value(QStringLiteral("--target"));
    const int figureCount = int(args.isSet(fsOption)) + int(args.isSet(blockSizeOption)) +
                            int(args.isSet(freeBlocksOption));
    if (options.byTargetPath && figureCount > 0)
        return usage(QStringLiteral("--target excludes --fs, --block-size and --free-blocks"));
    if (figureCount > 0 && figureCount < 3)
        return usage(QStringLiteral("--fs, --block-size and --free-blocks go together"));
    options.byFigures = figureCount == 3;
    if (!options.byFigures) {
        if (options.byPaths && !options.byTargetPath)
            return usage(QStringLiteral("a target is needed: --target PATH, or --fs, "
                                        "--block-size and --free-blocks"));
        return Proceed;
    }

    Target& figures = options.figures;
    if (!parseFileSystem(args.value(fsOption), figures.FileSystem))
        return usage(QStringLiteral("unknown file system '%1' (NTFS, FAT or UDF)")
                         .arg(args.value(fsOption)));
    bool ok = false;
    figures.BlockSize = args.value(blockSizeOption).toULongLong(&ok, 10);
    figures.AvailableBlocks = 0;
    if (!ok || !figures.hasUsableFigures())
        return usage(QStringLiteral("--block-size takes a power of two from 512 to 2097152 "
                                    "bytes, not '%1'")
                         .arg(args.value(blockSizeOption)));
    figures.AvailableBlocks = args.value(freeBlocksOption).toULongLong(&ok, 10);
    if (!ok)
        return usage(QStringLiteral("--free-blocks takes a number of blocks, not '%1'")
                         .arg(args.value(freeBlocksOption)));
    if (!figures.hasUsableFigures())
        return usage(QStringLiteral("the capacity --block-size x --free-blocks is too large"));
    return Proceed;
}

int CliCommands::parseOutputOptions(const CliArguments& args, DispenseOptions& options)
{
    const QString timeLimitOption = QStringLiteral("--time-limit");
    const QString saveOption = QStringLiteral("--save");
    if (args.isSet(timeLimitOption)) {
        const QString given = args.value(timeLimitOption);
        bool ok = false;
        const double seconds = given.toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 1e9)
            return usage(
                QStringLiteral("--time-limit takes a number of seconds, not '%1'").arg(given));
        options.timeLimitMs = qint64(std::llround(seconds * 1000));
    }
    options.json = args.isSet(QStringLiteral("--json"));
    options.nul = args.isSet(QStringLiteral("-0"));
    if (options.json && options.nul)
        return usage(QStringLiteral("--json and -0 exclude each other"));

    if (!args.isSet(saveOption))
        return Proceed;
    options.saveGiven = args.value(saveOption);
    if (options.saveGiven.isEmpty())
        return usage(QStringLiteral("--save needs a file name"));
    options.savePath = absolute(options.saveGiven);
    // Found out now rather than after a long search.
    const QFileInfo out(options.savePath);
    if (!out.absoluteDir().exists()) {
        fail(QStringLiteral("%1: the folder does not exist").arg(options.saveGiven));
        return TargetOrFileError;
    }
    if (out.isDir()) {
        fail(QStringLiteral("%1: is a folder").arg(options.saveGiven));
        return TargetOrFileError;
    }
    return Proceed;
}

int CliCommands::loadProject(const DispenseOptions& options, FolderSizeJobs& folderSizes,
                             QVector<EntryPos>& sizedEntries, QSet<QString>* refused)
{
    DM* model = dataModel();
    const QString path = absolute(options.project);
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        fail(QStringLiteral("%1: %2").arg(options.project, info.isDir()
                                                               ? QStringLiteral("is a folder")
                                                               : QStringLiteral("No such file")));
        return TargetOrFileError;
    }
    if (!model->load(path, path)) {
        fail(QStringLiteral("%1: cannot be read as a project: %2")
                 .arg(options.project, model->lastError()));
        return TargetOrFileError;
    }
    for (const QString& warning : model->lastWarnings())
        fail(QStringLiteral("warning: %1").arg(warning));
    // As the window's Undispense before a new Dispense.
    if (model->isDispensed())
        model->undispense();
    // The search leaves out what is gone (and names it) or is no file or
    // folder; a script copying the result should know why an entry is missing
    // from it. What is reported and saved is what the search measured, not
    // what the file said.
    const bool needSizes = options.needSizes();
    for (int g = Required; g <= Background; ++g) {
        for (EntryPos pos = model->groupBegin(g); model->isValidPos(pos); ++pos.index) {
            Entry& stored = model->entryAt(pos);
            Entry measured;
            QString why;
            bool missing = false;
            if (!entryForPath(stored.Ident, measured, &why, &missing)) {
                if (!missing) {
                    fail(QStringLiteral("warning: %1 It is left out.").arg(why));
                    if (refused)
                        refused->insert(stored.Ident);
                }
                continue;
            }
            stored.Kind = measured.Kind;
            stored.Size = measured.Size;
            stored.IsValidSize = measured.IsValidSize;
            if (!measured.IsValidSize && needSizes) {
                folderSizes.add(stored.Ident);
                sizedEntries << pos;
            }
        }
    }
    return Proceed;
}

int CliCommands::addPaths(const DispenseOptions& options, FolderSizeJobs& folderSizes,
                          QVector<EntryPos>& sizedEntries)
{
    DM* model = dataModel();
    const bool needSizes = options.needSizes();
    QSet<QString> added;
    for (const auto& [group, paths] : options.paths) {
        for (const QString& given : paths) {
            const QString path = absolute(given);
            Entry entry;
            QString why;
            bool missing = false;
            if (!entryForPath(path, entry, &why, &missing)) {
                fail(missing ? QStringLiteral("%1: No such file or folder").arg(given) : why);
                return TargetOrFileError;
            }
            if (added.contains(entry.Ident)) {
                fail(QStringLiteral("warning: %1 is given more than once; it counts once")
                         .arg(entry.Ident));
                continue;
            }
            added.insert(entry.Ident);
            // New entries land at the end of Main; the groups are filled
            // Required first, so earlier positions stay right.
            EntryPos pos = model->addEntry(entry);
            if (group != Main)
                model->moveEntry(pos, group);
            if (!entry.IsValidSize && needSizes) {
                folderSizes.add(entry.Ident);
                sizedEntries << pos;
            }
        }
    }
    return Proceed;
}

int CliCommands::loadEntriesAndTarget(const DispenseOptions& options,
                                      FolderSizeJobs& folderSizes,
                                      QVector<EntryPos>& sizedEntries, QSet<QString>* refused)
{
    const int exitCode = options.byPaths
                             ? addPaths(options, folderSizes, sizedEntries)
                             : loadProject(options, folderSizes, sizedEntries, refused);
    return exitCode == Proceed ? resolveTarget(options) : exitCode;
}

int CliCommands::resolveTarget(const DispenseOptions& options)
{
    DM* model = dataModel();
    if (options.byTargetPath) {
        const QString& given = options.targetPath;
        Target target;
        target.Path = absolute(given);
        if (!QFileInfo::exists(target.Path)) {
            fail(QStringLiteral("%1: No such file or folder").arg(given));
            return TargetOrFileError;
        }
        try {
            if (!probeTarget(false, target)) {
                fail(QStringLiteral("%1: Cannot be probed").arg(given));
                return TargetOrFileError;
            }
        } catch (const TargetError& e) {
            fail(QStringLiteral("%1: %2").arg(given, e.message));
            return TargetOrFileError;
        }
        if (!targetRefusal(target).isEmpty()) {
            fail(QStringLiteral("%1: %2").arg(given, targetRefusal(target)));
            return TargetOrFileError;
        }
        model->setTarget(target);
    } else if (options.byFigures) {
        model->setTarget(options.figures);
    } else if (!model->hasTarget()) {
        fail(QStringLiteral("%1: the project has no target; give --target PATH, or --fs, "
                            "--block-size and --free-blocks")
                 .arg(options.project));
        return TargetOrFileError;
    } else if (QFileInfo::exists(model->target().Path)) {
        // Its free space may have changed since it was stored, as in the window.
        Target fresh = model->target();
        try {
            probeTarget(false, fresh);
            if (!targetRefusal(fresh).isEmpty())
                throw TargetError{targetRefusal(fresh)};
        } catch (const TargetError& e) {
            fail(QStringLiteral("%1: %2").arg(fresh.Path, e.message));
            return TargetOrFileError;
        }
        model->setTarget(fresh);
    }
    const Target target = model->target();
    if (!target.hasUsableFigures()) {
        fail(QStringLiteral("the project's target has no usable file system or block size"));
        return TargetOrFileError;
    }
    return Proceed;
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
        QString error;
        bool cancelled = false;
        const bool saved = InterruptNotifier::runUninterrupted(
            [&](const std::function<bool()>& signalled) {
                return writeProjectFile(options.savePath, entries->data(), &error, signalled);
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
