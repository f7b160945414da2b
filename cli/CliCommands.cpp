// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliCommands.h"

#include <csignal>
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTimer>

#include "cli/CliArguments.h"
#include "cli/FolderSizeJobs.h"
#include "cli/InterruptNotifier.h"
#include "cli/JsonWriter.h"
#include "cli/ProgressLine.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/Entry.h"
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"

namespace {

const char* const s_generalHelp =
    QT_TRANSLATE_NOOP("CliCommands", R"TXT(Usage: quillmarch-cli COMMAND [OPTIONS] [ARGUMENTS]

Fills one storage medium as fully as possible from prioritised files and
folders, with the search of the Quillmarch window program.

Commands:
  volumes           list the volumes and recorders a target can be picked from
  probe PATH        print the target record of the volume or recorder holding PATH
  size PATH...      print the size in bytes of each file or folder
  dispense PROJECT  choose the entries of a project that fill the target best
  dispense --required PATH... --main PATH... --background PATH... TARGET
                    the same without a project file
  series PROJECT    plan a whole series of media: what goes on each
  series --required PATH... --main PATH... --background PATH... TARGET
                    the same without a project file
  copy PROJECT      copy the dispensed entries onto the target and read them back
  burn PROJECT      write the dispensed entries onto a disc and read them back
  image PROJECT --out FILE.iso
                    write the disc's ISO 9660 image to a file instead
  verify PROJECT    check that the dispensed entries arrived on the target

Run 'quillmarch-cli COMMAND --help' for the options of a command, and
'quillmarch-cli --version' for the version.

Exit status: 0 success, 1 nothing fits (series: some entries fit no medium),
2 usage error, 3 target or file error, 4 entries that could not be measured
were left out, 5 the search ran out of memory, 6 files were not copied or
did not read back equal, 7 the target is full, 8 the disc or image was not
written (burn, image), 9 writing or reading it back failed, 130 stopped by
Ctrl+C (SIGINT), 143 stopped by SIGTERM.
)TXT");

const char* const s_volumesHelp =
    QT_TRANSLATE_NOOP("CliCommands", R"TXT(Usage: quillmarch-cli volumes [--json | -0]

Lists the roots the target picker offers: the mount points of disk volumes in
ascending order, then the optical recorders. One line each, fields separated
by a tab:
  ROOT  FILESYSTEM  BLOCKSIZE  FREEBLOCKS  CAPACITY  [FREEINODES]
or, for a root that cannot be a target:
  ROOT  REASON
FILESYSTEM is NTFS, FAT, UDF, ISO9660, exFAT or ext4; CAPACITY is FREEBLOCKS x
BLOCKSIZE in bytes; FREEINODES, the new files and folders the volume can
still take, is given for ext4 only. exFAT and ext4 volumes cannot be planned
yet.

Options:
  --json      print one JSON array of objects instead (path, file_system,
              block_size, available_blocks, capacity, and available_inodes
              for ext4; or path, reason)
  -0          end each line with a NUL instead of a newline
  -h, --help  show this help

Exit status: 0.
)TXT");

const char* const s_probeHelp =
    QT_TRANSLATE_NOOP("CliCommands", R"TXT(Usage: quillmarch-cli probe [--json] PATH

Prints the target record of the volume or recorder holding PATH, as the
target picker would store it, in one line of tab-separated fields:
  PATH  FILESYSTEM  BLOCKSIZE  FREEBLOCKS  CAPACITY  [FREEINODES]
(FREEINODES for ext4 only). A volume that cannot be a target
("Unsupported file system" and the like) is reported on standard error.

Options:
  --json      print one JSON object instead (path, file_system, block_size,
              available_blocks, capacity, and available_inodes for ext4)
  -h, --help  show this help

Exit status: 0 success, 2 usage error, 3 PATH missing or not usable as a target.
)TXT");

const char* const s_sizeHelp = QT_TRANSLATE_NOOP(
    "CliCommands", R"TXT(Usage: quillmarch-cli size [--json | -0] [--from FILE] PATH...

Prints each path's size in bytes, one line each, "BYTES<TAB>PATH" as given:
a file's length, or the total of every file below a folder as the window
program's folder-size thread computes it (links followed, link loops left
out). A folder with items that cannot be read has no known size: it gets no
line, and standard error says why.

Options:
  --from FILE  measure the paths listed in FILE too ("-": standard input), one
               a line, or each ended by a NUL when the list holds any (as
               find -print0 writes them)
  --json       print one JSON array of objects (path, size) once all are known
  -0           end each line with a NUL instead of a newline
  -h, --help   show this help

Ctrl+C stops the measuring.

Exit status: 0 success, 2 usage error, 3 a path does not exist or is no file
or folder, 4 a folder could not be measured (the others are still printed),
130 stopped by Ctrl+C, 143 stopped by SIGTERM.
)TXT");

const char* const s_dispenseHelp =
    QT_TRANSLATE_NOOP("CliCommands", R"TXT(Usage: quillmarch-cli dispense PROJECT [TARGET] [OPTIONS]
       quillmarch-cli dispense [--required PATH...] [--main PATH...]
                               [--background PATH...] TARGET [OPTIONS]

Runs the search of the window's "Dispense" through the groups Required, Main
and Background of the project (or of a project made of the paths given) and
prints the chosen entries in the order of the "Dispensed" group, one path a
line, then "Wasted: BYTES bytes (BLOCKS blocks)" and "Proven best: yes" when
the search ran to its end ("no" when the time limit cut it short). A result
already held in the project is put back into its groups first. Entries whose
size cannot be known (they no longer exist, or hold items that cannot be
read), or that are no file or folder, are left out, as in the window, and
named on standard error; so are Required entries that did not fit. Sizes
reported and saved are those measured now. A project's own target is probed
again when its path exists, so that the plan uses its free space of now.

An entry with the same name on the target as one before it (in a higher
group, or earlier in its own) is left out and named, as only one of them
could be copied: rename one to dispense both. On FAT32 and NTFS names that
differ only in case or in trailing dots and spaces count as the same.

Copy the chosen entries with a file manager, cp -r or rsync --inplace: a copy
that writes temporary names and renames them needs more room on NTFS than the
plan allows for.

Many paths: give them in a list (--main-from and the like), not through
xargs, which runs several commands, each planning the whole target for part
of the paths; together they overfill it.

Target (the project's own target when none is given):
  --target PATH         the volume or recorder holding PATH
  --fs FS --block-size N --free-blocks N
                        a target given by its figures; FS is NTFS, FAT32,
                        exFAT, ext4, UDF or ISO9660 (or the type mount
                        prints)

Paths from a list, added to those of the group's option ("-": standard
input), one a line, or each ended by a NUL when the list holds any (as
find -print0 writes them):
  --required-from FILE, --main-from FILE, --background-from FILE

Options:
  --time-limit SECONDS  when the time runs out, take the best selection found
                        so far, as "Accept" does: the groups not yet reached
                        are left out
  --save OUT            write the project with the result applied to OUT, as
                        the window's Save would (only when something was
                        chosen; only a regular file is replaced)
  --json                print one JSON object instead
  -0                    print only the chosen paths, each ended by a NUL
  -h, --help            show this help

Progress goes to standard error when it is a terminal. Ctrl+C (or SIGTERM)
cancels; during --save, the new project file is either written whole (exit
status 0) or not at all, the old file left as it was (130 or 143).

Exit status: 0 entries were chosen, 1 nothing fits, 2 usage error, 3 target,
project or file error, 4 entries that could not be measured were left out
(the plan of the others is printed), 5 the search ran out of memory, 130
cancelled by Ctrl+C (SIGINT), 143 by SIGTERM.
)TXT");

} // namespace

int CliCommands::run(const QStringList& words)
{
    if (words.isEmpty())
        return usage(tr("a COMMAND is needed"));
    const QString first = words.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") ||
        first == QLatin1String("help")) {
        if (words.size() > 1)
            return help(words.at(1));
        write(tr(s_generalHelp).toUtf8());
        return Success;
    }
    if (first == QLatin1String("--version")) {
        std::fputs("quillmarch-cli " QM_VERSION "\n", stdout);
        return Success;
    }
    m_command = first;
    const QStringList rest = words.mid(1);
    if (first == QLatin1String("volumes"))
        return volumes(rest);
    if (first == QLatin1String("probe"))
        return probe(rest);
    if (first == QLatin1String("size"))
        return size(rest);
    if (first == QLatin1String("dispense"))
        return dispense(rest);
    if (first == QLatin1String("series"))
        return series(rest);
    if (first == QLatin1String("verify"))
        return verify(rest);
    if (first == QLatin1String("copy"))
        return copy(rest);
    if (first == QLatin1String("burn"))
        return burn(rest);
    if (first == QLatin1String("image"))
        return image(rest);
    m_command.clear();
    return usage(tr("unknown command '%1'").arg(first));
}

int CliCommands::help(const QString& command)
{
    const QMap<QString, const char*> texts = {
        {QStringLiteral("volumes"), s_volumesHelp}, {QStringLiteral("probe"), s_probeHelp},
        {QStringLiteral("size"), s_sizeHelp},       {QStringLiteral("dispense"), s_dispenseHelp},
        {QStringLiteral("series"), s_seriesHelp},   {QStringLiteral("verify"), s_verifyHelp},
        {QStringLiteral("copy"), s_copyHelp},       {QStringLiteral("burn"), s_burnHelp},
        {QStringLiteral("image"), s_imageHelp},
    };
    if (!texts.contains(command))
        return usage(tr("unknown command '%1'").arg(command));
    write(tr(texts.value(command)).toUtf8());
    return Success;
}

void CliCommands::fail(const QString& text)
{
    // One line, whatever the text holds, and no control bytes for the terminal.
    failEscaped(escapedText(text));
}

void CliCommands::failEscaped(const QString& text)
{
    QString prefix = QStringLiteral("quillmarch-cli");
    if (!m_command.isEmpty())
        prefix += QLatin1Char(' ') + m_command;
    const QByteArray bytes = (prefix + QStringLiteral(": ") + text).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

int CliCommands::usage(const QString& text)
{
    const QString see = m_command.isEmpty()
                            ? QStringLiteral("quillmarch-cli --help")
                            : QStringLiteral("quillmarch-cli %1 --help").arg(m_command);
    fail(tr("%1 (see '%2')").arg(text, see));
    return UsageError;
}

void CliCommands::write(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
}

void CliCommands::writeLine(const QString& text)
{
    write(QFile::encodeName(text) + '\n');
}

int CliCommands::signalExit()
{
    return 128 + (InterruptNotifier::caughtSignal() ? InterruptNotifier::caughtSignal() : SIGINT);
}

QString CliCommands::absolute(const QString& path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QString CliCommands::targetLine(const Target& target)
{
    QStringList fields{escapedText(target.Path), fileSystemName(target.FileSystem),
                       QString::number(target.BlockSize), QString::number(target.AvailableBlocks),
                       QString::number(target.capacity())};
    if (target.AvailableInodes != Target::NoInodeLimit)
        fields << QString::number(target.AvailableInodes);
    return fields.join(QLatin1Char('\t'));
}

void CliCommands::targetMembers(JsonWriter& json, const Target& target)
{
    json.key("path").string(target.Path);
    json.key("file_system").string(fileSystemName(target.FileSystem));
    json.key("block_size").number(target.BlockSize);
    json.key("available_blocks").number(target.AvailableBlocks);
    json.key("capacity").number(target.capacity());
    if (target.AvailableInodes != Target::NoInodeLimit)
        json.key("available_inodes").number(target.AvailableInodes);
}

bool CliCommands::parseOutputArguments(CliArguments& args, const QStringList& words, bool nul,
                                       int* exitCode)
{
    if (!parseArguments(args, words, exitCode))
        return false;
    if (nul && args.isSet(QStringLiteral("--json")) && args.isSet(QStringLiteral("-0"))) {
        *exitCode = usage(tr("--json and -0 exclude each other"));
        return false;
    }
    return true;
}

bool CliCommands::parseArguments(CliArguments& args, const QStringList& words, int* exitCode)
{
    QString error;
    if (!args.parse(words, &error)) {
        *exitCode = usage(error);
        return false;
    }
    if (args.isSet(QStringLiteral("--help")) || args.isSet(QStringLiteral("-h"))) {
        *exitCode = help(m_command);
        return false;
    }
    return true;
}

int CliCommands::volumes(const QStringList& words)
{
    CliArguments args({QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--json"),
                       QStringLiteral("-0")},
                      {});
    int exitCode = Success;
    if (!parseOutputArguments(args, words, true, &exitCode))
        return exitCode;
    const bool json = args.isSet(QStringLiteral("--json"));
    const char end = args.isSet(QStringLiteral("-0")) ? '\0' : '\n';
    if (!args.plain().isEmpty())
        return usage(tr("unexpected argument '%1'").arg(args.plain().first()));

    ProgressLine progress;
    QStringList roots;
    listDriveRoots(roots);
    JsonWriter array;
    array.beginArray();
    for (const QString& root : roots) {
        progress.show(tr("Probing %1...").arg(root));
        Target target;
        target.Path = root;
        QString reason;
        try {
            if (!probeTarget(false, target))
                reason = tr("Cannot be probed");
        } catch (const TargetError& e) {
            reason = e.message;
        }
        progress.clear();
        if (json) {
            array.beginObject();
            if (reason.isEmpty())
                targetMembers(array, target);
            else
                array.key("path").string(root).key("reason").string(reason);
            array.endObject();
            continue;
        }
        // Exact bytes with -0; newlines and control bytes escaped otherwise.
        const QString shownRoot = end == '\0' ? root : escapedText(root);
        const QString line =
            reason.isEmpty() ? targetLine(target) : shownRoot + QLatin1Char('\t') + reason;
        write(QFile::encodeName(line) + end);
        std::fflush(stdout);
    }
    if (json)
        write(array.endArray().finish());
    return Success;
}

int CliCommands::probe(const QStringList& words)
{
    CliArguments args(
        {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--json")}, {});
    int exitCode = Success;
    if (!parseOutputArguments(args, words, false, &exitCode))
        return exitCode;
    if (args.plain().size() != 1)
        return usage(args.plain().isEmpty() ? tr("a PATH is needed")
                                            : tr("only one PATH is taken"));

    const QString path = args.plain().first();
    Target target;
    target.Path = absolute(path);
    if (!QFileInfo::exists(target.Path)) {
        fail(tr("%1: No such file or folder").arg(path));
        return TargetOrFileError;
    }
    try {
        if (!probeTarget(false, target)) {
            fail(tr("%1: Cannot be probed").arg(path));
            return TargetOrFileError;
        }
    } catch (const TargetError& e) {
        fail(QStringLiteral("%1: %2").arg(path, e.message));
        return TargetOrFileError;
    }
    if (args.isSet(QStringLiteral("--json"))) {
        JsonWriter json;
        targetMembers(json.beginObject(), target);
        write(json.endObject().finish());
    } else {
        writeLine(targetLine(target));
    }
    return Success;
}

int CliCommands::size(const QStringList& words)
{
    CliArguments args({QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--json"),
                       QStringLiteral("-0")},
                      {QStringLiteral("--from")});
    int exitCode = Success;
    if (!parseOutputArguments(args, words, true, &exitCode))
        return exitCode;
    // With --json the array is written once every size is known.
    const bool json = args.isSet(QStringLiteral("--json"));
    const char end = args.isSet(QStringLiteral("-0")) ? '\0' : '\n';
    JsonWriter array;
    array.beginArray();
    QStringList paths = args.plain();
    if (args.isSet(QStringLiteral("--from"))) {
        const QString list = args.value(QStringLiteral("--from"));
        if (list.isEmpty())
            return usage(tr("--from needs a file name, or - for standard input"));
        const int code = readPathList(list, paths);
        if (code != Proceed)
            return code;
    }
    if (paths.isEmpty())
        return usage(tr("at least one PATH is needed"));

    // Each path's line, printed in the order given as soon as it and the
    // ones before it are known.
    struct Line
    {
        QString path;
        QString why; // when it cannot be measured
        bool missing = false;
        int job = -1;     // folder-size job, or -1
        bool ok = false;  // exists
        quint64 size = 0; // a file's length
    };
    QVector<Line> lines;
    FolderSizeJobs jobs;
    for (const QString& path : paths) {
        Line line;
        line.path = path;
        const QString full = absolute(path);
        Entry entry;
        line.ok = entryForPath(full, entry, &line.why, &line.missing);
        if (line.ok) {
            if (entry.Kind == File)
                line.size = entry.Size;
            else
                line.job = jobs.add(entry.Ident);
        }
        lines << line;
    }

    bool missing = false, unmeasured = false;
    int next = 0;
    ProgressLine progress;
    const auto flush = [&] {
        while (next < lines.size()) {
            const Line& line = lines.at(next);
            const FolderSizeJobs::Result result =
                line.job >= 0 ? jobs.results().at(line.job) : FolderSizeJobs::Result();
            if (line.job >= 0 && !result.done)
                break;
            progress.clear();
            if (!line.ok || result.issue != NoSizeIssue) {
                (line.ok ? unmeasured : missing) = true;
                std::fflush(stdout);
                if (line.ok)
                    fail(QStringLiteral("%1: %2").arg(line.path, sizeIssueText(result.issue)));
                else if (line.missing)
                    fail(tr("%1: No such file or folder").arg(line.path));
                else
                    failEscaped(line.why);
            } else {
                const quint64 bytes = line.job < 0 ? line.size : result.bytes;
                if (json)
                    array.beginObject().key("path").string(line.path).key("size").number(bytes).endObject();
                else if (end == '\0') // exact bytes for scripts
                    write(QByteArray::number(bytes) + '\t' + QFile::encodeName(line.path) + end);
                else
                    writeLine(QString::number(bytes) + QLatin1Char('\t') + escapedText(line.path));
            }
            ++next;
        }
        std::fflush(stdout);
    };
    const auto showProgress = [&] {
        if (next < lines.size())
            progress.show(tr("Measuring %1...").arg(lines.at(next).path));
    };
    QObject::connect(&jobs, &FolderSizeJobs::reported, [&] {
        flush();
        showProgress();
    });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, showProgress);
    if (progress.enabled())
        ticker.start(250);
    InterruptNotifier interrupt;
    QObject::connect(&interrupt, &InterruptNotifier::interrupted, &jobs, &FolderSizeJobs::stop);
    flush();
    if (!jobs.waitAll() || interrupt.wasInterrupted()) {
        progress.clear();
        fail(tr("Cancelled"));
        return signalExit();
    }
    flush();
    if (json)
        write(array.endArray().finish());
    return missing ? TargetOrFileError : unmeasured ? NotMeasured : Success;
}
