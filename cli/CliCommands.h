// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

struct DispenseLevel;
struct EntryPos;
struct Target;

// The commands of quillmarch-cli. Each returns the process's exit code; all
// measuring, searching and probing is done by the program's own libraries.
class CliArguments;
class FolderSizeJobs;
class JsonWriter;
class CliCommands
{
    Q_DECLARE_TR_FUNCTIONS(CliCommands)

public:
    enum ExitCode
    {
        Success = 0,
        NoResult = 1,
        UsageError = 2,
        TargetOrFileError = 3,
        NotMeasured = 4,    // entries whose size could not be known were left out
        SearchFailed = 5,   // the search ran out of memory
        CopyIncomplete = 6, // files were not copied or did not read back equal
        TargetFull = 7,     // the copy ran out of room on the target
        NotWritten = 8,     // burn, image: refused before anything was written
        WriteFailed = 9     // burn, image: writing or reading back failed or differed
    };

    // words: the command line without the program name.
    int run(const QStringList& words);

    // The members of a target record, inside a JSON object.
    static void targetMembers(JsonWriter& json, const Target& target);

private:
    int volumes(const QStringList& words);
    int probe(const QStringList& words);
    int size(const QStringList& words);
    int dispense(const QStringList& words); // in CliCommandsDispense.cpp
    int series(const QStringList& words);   // in CliCommandsSeries.cpp
    int verify(const QStringList& words);   // in CliCommandsVerify.cpp
    int copy(const QStringList& words);     // in CliCommandsCopy.cpp
    int burn(const QStringList& words);     // in CliCommandsDisc.cpp
    int image(const QStringList& words);    // in CliCommandsDisc.cpp
    int writeDisc(const QStringList& words, bool toDrive);
    static const char* const s_seriesHelp;
    static const char* const s_verifyHelp;
    static const char* const s_copyHelp;
    static const char* const s_burnHelp;
    static const char* const s_imageHelp;

    // The steps of dispense, and of series where they are the same (in
    // CliCommandsPlanInput.cpp but saveAndReport). Each returns Proceed, or
    // the exit code when the command ends there.
    static constexpr int Proceed = -1;
    struct DispenseOptions; // in DispenseOptions.h
    int parseDispenseOptions(const QStringList& words, DispenseOptions& options);
    // Parses words into args, then the entries, the target, the time limit
    // and the output switches that args knows.
    int parsePlanOptions(CliArguments& args, const QStringList& words,
                         DispenseOptions& options);
    int parseSourceOptions(const CliArguments& args, DispenseOptions& options);
    // Appends the paths of the list file given ("-": standard input), one a
    // line, or each ended by a NUL when it holds any (find -print0).
    int readPathList(const QString& given, QStringList& paths);
    int parseTargetOptions(const CliArguments& args, DispenseOptions& options);
    int parseOutputOptions(const CliArguments& args, DispenseOptions& options);
    // The project's entries, or those of the paths, into the model, and then
    // the target. refused: the project's entries that are no file or folder,
    // named in a warning.
    int loadEntriesAndTarget(const DispenseOptions& options, FolderSizeJobs& folderSizes,
                             QVector<EntryPos>& sizedEntries, QSet<QString>* refused = nullptr);
    int loadProject(const DispenseOptions& options, FolderSizeJobs& folderSizes,
                    QVector<EntryPos>& sizedEntries, QSet<QString>* refused);
    int addPaths(const DispenseOptions& options, FolderSizeJobs& folderSizes,
                 QVector<EntryPos>& sizedEntries);
    int resolveTarget(const DispenseOptions& options);
    // leftOut: entries were left out (unmeasured, or with a reason), or a
    // group was not searched, which the caller reports. levels: what each
    // searched level considered.
    int saveAndReport(const DispenseOptions& options, quint64 wasted, bool provenBest, bool leftOut,
                      const QVector<DispenseLevel>& levels);

    // A one-line message on standard error, "quillmarch-cli[ COMMAND]: text",
    // with text escaped as names are.
    void fail(const QString& text);
    // The same for text whose names are escaped already (entryForPath's why).
    void failEscaped(const QString& text);
    int usage(const QString& text);
    int help(const QString& command);
    // Parses words into args; false with *exitCode set when the command ends
    // here (a usage error, or --help answered).
    bool parseArguments(CliArguments& args, const QStringList& words, int* exitCode);

    // 128 + the signal that stopped the command (130 for Ctrl+C, 143 for SIGTERM).
    static int signalExit();
    static void write(const QByteArray& bytes);
    static void writeLine(const QString& text);
    static QString absolute(const QString& path);
    static QString targetLine(const Target& target);
    // Parses a command's output switches (--json and, with nul, -0) along
    // with --help; false with *exitCode set as parseArguments does.
    bool parseOutputArguments(CliArguments& args, const QStringList& words, bool nul,
                              int* exitCode);

    QString m_command;
    bool m_stdinRead = false; // a list was read from standard input
};
