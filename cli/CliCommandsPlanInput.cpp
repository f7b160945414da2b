// SPDX-License-Identifier: GPL-3.0-or-later
// What the dispense and series commands of CliCommands plan from: their
// options, the entries of a project or of the paths given, and the target.
#include "cli/CliCommands.h"

#include <cmath>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "cli/CliArguments.h"
#include "cli/DispenseOptions.h"
#include "cli/FolderSizeJobs.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "core/model/ProjectFileSave.h"
#include "core/plan/DispenseRoad.h"

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

int CliCommands::readPathList(const QString& given, QStringList& paths)
{
    QFile file;
    const bool standardInput = given == QLatin1String("-");
    if (standardInput) {
        if (m_stdinRead)
            return usage(tr("only one list can be read from standard input"));
        m_stdinRead = true;
    }
    const bool opened = standardInput
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(absolute(given)), file.open(QIODevice::ReadOnly));
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        fail(tr("%1: cannot be read: %2").arg(given, file.errorString()));
        return TargetOrFileError;
    }
    // No path holds a NUL, so a list with one is NUL-separated (find -print0).
    const char separator = bytes.contains('\0') ? '\0' : '\n';
    for (const QByteArray& path : bytes.split(separator))
        if (!path.isEmpty())
            paths << QFile::decodeName(path);
    return Proceed;
}

int CliCommands::parseSourceOptions(const CliArguments& args, DispenseOptions& options)
{
    const QString required = QStringLiteral("--required");
    const QString main = QStringLiteral("--main");
    const QString background = QStringLiteral("--background");
    const QString from = QStringLiteral("-from");
    options.byPaths = false;
    for (const QString& option : {required, main, background})
        options.byPaths = options.byPaths || args.isSet(option) || args.isSet(option + from);
    if (!options.byPaths) {
        if (args.plain().isEmpty())
            return usage(tr("a PROJECT or --required/--main/--background paths are needed"));
        if (args.plain().size() > 1)
            return usage(tr("unexpected argument '%1'").arg(args.plain().at(1)));
        options.project = args.plain().first();
        return Proceed;
    }
    if (!args.plain().isEmpty())
        return usage(tr("give either a PROJECT or --required/--main/--background "
                        "paths, not both"));
    // Each group's paths: those given, then those of its list.
    const QString groups[] = {required, main, background};
    options.paths.clear();
    for (int i = 0; i < 3; ++i) {
        QStringList paths = args.list(groups[i]);
        const QString listOption = groups[i] + from;
        if (args.isSet(listOption)) {
            if (args.value(listOption).isEmpty())
                return usage(tr("%1 needs a file name, or - for standard input").arg(listOption));
            const int code = readPathList(args.value(listOption), paths);
            if (code != Proceed)
                return code;
        }
        options.paths.push_back({Required + i, paths});
    }
    for (const auto& group : options.paths) {
        if (!group.second.isEmpty())
            return Proceed;
    }
    return usage(tr("no PATH given after --required/--main/--background"));
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
        return usage(tr("--target excludes --fs, --block-size and --free-blocks"));
    if (figureCount > 0 && figureCount < 3)
        return usage(tr("--fs, --block-size and --free-blocks go together"));
    options.byFigures = figureCount == 3;
    if (!options.byFigures) {
        if (options.byPaths && !options.byTargetPath)
            return usage(tr("a target is needed: --target PATH, or --fs, "
                            "--block-size and --free-blocks"));
        return Proceed;
    }

    Target& figures = options.figures;
    figures.FileSystem = fileSystemOfName(args.value(fsOption));
    if (figures.FileSystem < 0)
        return usage(tr("unknown file system '%1' (NTFS, FAT32, exFAT, ext4, UDF or ISO9660)")
                         .arg(args.value(fsOption)));
    bool ok = false;
    figures.BlockSize = args.value(blockSizeOption).toULongLong(&ok, 10);
    figures.AvailableBlocks = 0;
    if (!ok || !figures.hasUsableFigures()) {
        const BlockSizeRange range = blockSizeRange(figures.FileSystem);
        const QString given = args.value(blockSizeOption);
        return usage(
            range.smallest == range.largest
                ? tr("--block-size takes %1 bytes on %2, not '%3'")
                      .arg(QString::number(range.smallest), fileSystemTitle(figures.FileSystem),
                           given)
                : tr("--block-size takes a power of two from %1 to %2 bytes, not '%3'")
                      .arg(QString::number(range.smallest), QString::number(range.largest), given));
    }
    figures.AvailableBlocks = args.value(freeBlocksOption).toULongLong(&ok, 10);
    if (!ok)
        return usage(tr("--free-blocks takes a number of blocks, not '%1'")
                         .arg(args.value(freeBlocksOption)));
    if (!figures.hasUsableFigures())
        return usage(tr("the capacity --block-size x --free-blocks is too large"));
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
            return usage(tr("--time-limit takes a number of seconds, not '%1'").arg(given));
        options.timeLimitMs = qint64(std::llround(seconds * 1000));
    }
    options.json = args.isSet(QStringLiteral("--json"));
    options.nul = args.isSet(QStringLiteral("-0"));
    if (options.json && options.nul)
        return usage(tr("--json and -0 exclude each other"));

    if (!args.isSet(saveOption))
        return Proceed;
    options.saveGiven = args.value(saveOption);
    if (options.saveGiven.isEmpty())
        return usage(tr("--save needs a file name"));
    options.savePath = absolute(options.saveGiven);
    // Found out now rather than after a long search.
    const QFileInfo out(options.savePath);
    if (!out.absoluteDir().exists()) {
        fail(tr("%1: the folder does not exist").arg(options.saveGiven));
        return TargetOrFileError;
    }
    if (out.isDir()) {
        fail(tr("%1: is a folder").arg(options.saveGiven));
        return TargetOrFileError;
    }
    // A FIFO, a device or a link elsewhere is never replaced.
    const QString refusal = saveRefusal(options.savePath);
    if (!refusal.isEmpty()) {
        fail(QStringLiteral("%1: %2").arg(options.saveGiven, refusal));
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
        fail(QStringLiteral("%1: %2").arg(options.project,
                                          info.isDir() ? tr("is a folder") : tr("No such file")));
        return TargetOrFileError;
    }
    if (!model->load(path, path)) {
        fail(tr("%1: cannot be read as a project: %2").arg(options.project, model->lastError()));
        return TargetOrFileError;
    }
    for (const QString& warning : model->lastWarnings())
        fail(tr("warning: %1").arg(warning));
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
                    failEscaped(tr("warning: %1 It is left out.").arg(why));
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
                if (missing)
                    fail(tr("%1: No such file or folder").arg(given));
                else
                    failEscaped(why);
                return TargetOrFileError;
            }
            if (added.contains(entry.Ident)) {
                fail(tr("warning: %1 is given more than once; it counts once").arg(entry.Ident));
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

int CliCommands::loadEntriesAndTarget(const DispenseOptions& options, FolderSizeJobs& folderSizes,
                                      QVector<EntryPos>& sizedEntries, QSet<QString>* refused)
{
    const int exitCode = options.byPaths ? addPaths(options, folderSizes, sizedEntries)
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
            fail(tr("%1: No such file or folder").arg(given));
            return TargetOrFileError;
        }
        try {
            if (!probeTarget(false, target)) {
                fail(tr("%1: Cannot be probed").arg(given));
                return TargetOrFileError;
            }
        } catch (const TargetError& e) {
            fail(QStringLiteral("%1: %2").arg(given, e.message));
            return TargetOrFileError;
        }
        model->setTarget(target);
    } else if (options.byFigures) {
        model->setTarget(options.figures);
    } else if (!model->hasTarget()) {
        fail(tr("%1: the project has no target; give --target PATH, or --fs, "
                "--block-size and --free-blocks")
                 .arg(options.project));
        return TargetOrFileError;
    } else if (QFileInfo::exists(model->target().Path)) {
        // Its free space may have changed since it was stored, as in the window.
        QString problem;
        if (DispenseRoad(model).refreshTarget(probeTarget, problem) == DispenseRoad::TargetFailed) {
            fail(QStringLiteral("%1: %2").arg(model->target().Path, problem));
            return TargetOrFileError;
        }
    }
    const QString refusal = model->target().figuresRefusal();
    if (!refusal.isEmpty()) {
        fail(QStringLiteral("%1: %2").arg(model->target().Path, refusal));
        return TargetOrFileError;
    }
    return Proceed;
}
