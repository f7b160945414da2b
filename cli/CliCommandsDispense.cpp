// The dispense command of CliCommands.
#include "cli/CliCommands.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVector>

#include "cli/CliArguments.h"
#include "cli/DispenseRun.h"
#include "cli/FolderSizeJobs.h"
#include "cli/InterruptNotifier.h"
#include "cli/ProgressLine.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/EntriesModel.h"
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"

namespace {

QByteArray jsonString(const QString& text)
{
    QByteArray out = "\"";
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '"' || u == '\\') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\n";
        } else if (u == '\t') {
            out += "\\t";
        } else if (u < 0x20) {
            out += "\\u00";
            out += QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += QString(c).toUtf8();
        }
    }
    return out + '"';
}

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

QByteArray jsonReport(const Target& target, const Chosen& chosen, quint64 wasted, bool provenBest)
{
    QByteArray out = "{\"target\":{\"path\":" + jsonString(target.Path) +
                     ",\"file_system\":" + jsonString(fileSystemName(target.FileSystem)) +
                     ",\"block_size\":" + QByteArray::number(target.BlockSize) +
                     ",\"available_blocks\":" + QByteArray::number(target.AvailableBlocks) +
                     ",\"capacity\":" + QByteArray::number(target.capacity()) + "},\"entries\":[";
    for (int i = 0; i < chosen.entries.size(); ++i) {
        const Entry& e = chosen.entries.at(i);
        if (i > 0)
            out += ',';
        out += "{\"path\":" + jsonString(e.Ident);
        out += ",\"kind\":";
        out += e.Kind == File ? "\"file\"" : "\"folder\"";
        out += ",\"size\":";
        out += e.IsValidSize ? QByteArray::number(e.Size) : QByteArray("null");
        if (i < chosen.origins.size()) {
            const int origin = chosen.origins.at(i);
            out += ",\"origin\":";
            out += origin >= Dispensed && origin < NoGroup ? jsonString(groupTitle(origin))
                                                           : QByteArray("null");
        }
        out += '}';
    }
    out += "],\"wasted_bytes\":" + QByteArray::number(wasted) +
           ",\"wasted_blocks\":" + QByteArray::number(wasted / target.BlockSize) +
           ",\"proven_best\":" + (provenBest ? "true" : "false") + "}\n";
    return out;
}

QByteArray textReport(const Target& target, const Chosen& chosen, quint64 wasted, bool provenBest)
{
    QByteArray out;
    for (const Entry& e : chosen.entries)
        out += QFile::encodeName(e.Ident) + '\n';
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

} // namespace

int CliCommands::dispense(const QStringList& words)
{
    const QString required = QStringLiteral("--required");
    const QString main = QStringLiteral("--main");
    const QString background = QStringLiteral("--background");
    const QString targetOption = QStringLiteral("--target");
    const QString fsOption = QStringLiteral("--fs");
    const QString blockSizeOption = QStringLiteral("--block-size");
    const QString freeBlocksOption = QStringLiteral("--free-blocks");
    const QString timeLimitOption = QStringLiteral("--time-limit");
    const QString saveOption = QStringLiteral("--save");
    const QString jsonOption = QStringLiteral("--json");
    const QString nulOption = QStringLiteral("-0");

    CliArguments args(
        {QStringLiteral("--help"), QStringLiteral("-h"), jsonOption, nulOption},
        {targetOption, fsOption, blockSizeOption, freeBlocksOption, timeLimitOption, saveOption},
        {required, main, background});
    int exitCode = Success;
    if (!parseArguments(args, words, &exitCode))
        return exitCode;

    // What to dispense.
    const bool byPaths = args.isSet(required) || args.isSet(main) || args.isSet(background);
    if (byPaths) {
        if (!args.plain().isEmpty())
            return usage(QStringLiteral("give either a PROJECT or --required/--main/--background "
                                        "paths, not both"));
        if (args.list(required).isEmpty() && args.list(main).isEmpty() &&
            args.list(background).isEmpty())
            return usage(QStringLiteral("no PATH given after --required/--main/--background"));
    } else if (args.plain().isEmpty()) {
        return usage(
            QStringLiteral("a PROJECT or --required/--main/--background paths are needed"));
    } else if (args.plain().size() > 1) {
        return usage(QStringLiteral("unexpected argument '%1'").arg(args.plain().at(1)));
    }

    // The target.
    const bool byTargetPath = args.isSet(targetOption);
    const int figureCount = int(args.isSet(fsOption)) + int(args.isSet(blockSizeOption)) +
                            int(args.isSet(freeBlocksOption));
    if (byTargetPath && figureCount > 0)
        return usage(QStringLiteral("--target excludes --fs, --block-size and --free-blocks"));
    if (figureCount > 0 && figureCount < 3)
        return usage(QStringLiteral("--fs, --block-size and --free-blocks go together"));
    Target figures;
    if (figureCount == 3) {
        if (!parseFileSystem(args.value(fsOption), figures.FileSystem))
            return usage(QStringLiteral("unknown file system '%1' (NTFS, FAT or UDF)")
                             .arg(args.value(fsOption)));
        bool ok = false;
        figures.BlockSize = args.value(blockSizeOption).toULongLong(&ok, 10);
        if (!ok || figures.BlockSize == 0)
            return usage(QStringLiteral("--block-size takes a number of bytes above 0, not '%1'")
                             .arg(args.value(blockSizeOption)));
        figures.AvailableBlocks = args.value(freeBlocksOption).toULongLong(&ok, 10);
        if (!ok)
            return usage(QStringLiteral("--free-blocks takes a number of blocks, not '%1'")
                             .arg(args.value(freeBlocksOption)));
        if (figures.AvailableBlocks > std::numeric_limits<quint64>::max() / figures.BlockSize)
            return usage(QStringLiteral("the capacity --block-size x --free-blocks is too large"));
    }
    if (byPaths && !byTargetPath && figureCount == 0)
        return usage(QStringLiteral("a target is needed: --target PATH, or --fs, --block-size "
                                    "and --free-blocks"));

    qint64 timeLimitMs = -1;
    if (args.isSet(timeLimitOption)) {
        bool ok = false;
        const double seconds = args.value(timeLimitOption).toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 1e9)
            return usage(QStringLiteral("--time-limit takes a number of seconds, not '%1'")
                             .arg(args.value(timeLimitOption)));
        timeLimitMs = qint64(std::llround(seconds * 1000));
    }
    const bool json = args.isSet(jsonOption);
    const bool nul = args.isSet(nulOption);
    if (json && nul)
        return usage(QStringLiteral("--json and -0 exclude each other"));

    QString savePath;
    if (args.isSet(saveOption)) {
        if (args.value(saveOption).isEmpty())
            return usage(QStringLiteral("--save needs a file name"));
        savePath = absolute(args.value(saveOption));
        // Found out now rather than after a long search.
        const QFileInfo out(savePath);
        if (!out.absoluteDir().exists()) {
            fail(QStringLiteral("%1: the folder does not exist").arg(args.value(saveOption)));
            return TargetOrFileError;
        }
        if (out.isDir()) {
            fail(QStringLiteral("%1: is a folder").arg(args.value(saveOption)));
            return TargetOrFileError;
        }
    }

    // The project, loaded or made from the paths.
    DM* model = dataModel();
    const bool needSizes = json || !savePath.isEmpty();
    FolderSizeJobs folderSizes;
    QVector<EntryPos> sizedEntries; // the entry of each folder-size job
    if (!byPaths) {
        const QString given = args.plain().first();
        const QString path = absolute(given);
        const QFileInfo info(path);
        if (!info.exists() || info.isDir()) {
            fail(QStringLiteral("%1: %2").arg(given, info.isDir()
                                                         ? QStringLiteral("is a folder")
                                                         : QStringLiteral("No such file")));
            return TargetOrFileError;
        }
        if (!model->load(path, path)) {
            fail(QStringLiteral("%1: cannot be read as a project: %2")
                     .arg(given, model->lastError()));
            return TargetOrFileError;
        }
        // As the window's Undispense before a new Dispense.
        if (model->isDispensed())
            model->undispense();
        // The search measures a vanished entry as empty and may well choose
        // it; a script copying the result would then fail far from here.
        for (int g = Required; g <= Background; ++g) {
            for (EntryPos pos = model->groupBegin(g); model->isValidPos(pos); ++pos.index) {
                const QString& ident = model->entryAt(pos).Ident;
                if (!QFileInfo::exists(ident))
                    fail(QStringLiteral("warning: %1 does not exist; it counts as empty")
                             .arg(ident));
            }
        }
    } else {
        for (const auto& [option, group] :
             {std::make_pair(required, int(Required)), std::make_pair(main, int(Main)),
              std::make_pair(background, int(Background))}) {
            for (const QString& given : args.list(option)) {
                const QString path = absolute(given);
                if (!QFileInfo::exists(path)) {
                    fail(QStringLiteral("%1: No such file or folder").arg(given));
                    return TargetOrFileError;
                }
                const Entry entry = entryForPath(path);
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
    }

    if (byTargetPath) {
        const QString given = args.value(targetOption);
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
        model->setTarget(target);
    } else if (figureCount == 3) {
        model->setTarget(figures);
    } else if (!model->hasTarget()) {
        fail(QStringLiteral("%1: the project has no target; give --target PATH, or --fs, "
                            "--block-size and --free-blocks")
                 .arg(args.plain().first()));
        return TargetOrFileError;
    }
    const Target target = model->target();
    if (target.FileSystem < NTFS || target.FileSystem > UDF || target.BlockSize == 0) {
        fail(QStringLiteral("the project's target has no usable file system or block size"));
        return TargetOrFileError;
    }

    // The search, then the folder sizes still being measured.
    ProgressLine progress;
    InterruptNotifier interrupt;
    DispenseRun run(timeLimitMs, &progress);
    QObject::connect(&interrupt, &InterruptNotifier::interrupted, &run, &DispenseRun::cancel);
    QObject::connect(&interrupt, &InterruptNotifier::interrupted, &folderSizes,
                     &FolderSizeJobs::stop);
    bool ok = run.exec();
    if (ok && !folderSizes.isComplete()) {
        progress.show(QStringLiteral("Measuring folder sizes..."));
        ok = folderSizes.waitAll();
        progress.clear();
    }
    if (!ok || interrupt.wasInterrupted()) {
        fail(QStringLiteral("Cancelled"));
        return NoResult;
    }

    // Store the folder sizes, then take the result as the window does.
    for (int i = 0; i < sizedEntries.size(); ++i) {
        Entry& entry = model->entryAt(sizedEntries.at(i));
        entry.Size = folderSizes.sizes().at(i);
        entry.IsValidSize = true;
        model->entrySizeKnown(sizedEntries.at(i));
    }
    const quint64 wasted = run.wasted();
    model->applyDispense(run.resultQueue(), wasted);
    const Chosen chosen = dispensedEntries(model);

    if (!chosen.entries.isEmpty() && !savePath.isEmpty() && !model->saveAs(savePath)) {
        fail(QStringLiteral("%1: %2").arg(args.value(saveOption), model->lastError()));
        return TargetOrFileError;
    }
    if (json)
        write(jsonReport(target, chosen, wasted, run.provenBest()));
    else if (nul)
        write(nulReport(chosen));
    else
        write(textReport(target, chosen, wasted, run.provenBest()));
    std::fflush(stdout);
    if (chosen.entries.isEmpty()) {
        fail(QStringLiteral("Nothing fits on the target"));
        return NoResult;
    }
    return Success;
}
