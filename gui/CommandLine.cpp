// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

QString commandLineProject(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Fills a disk volume or an optical disc as fully as possible from prioritised "
        "files and folders."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The project to open (*.qmp)."),
                                 QStringLiteral("[FILE]"));
    parser.process(arguments);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        fputs(
            qPrintable(QStringLiteral("quillmarch: one project at a time\n\n") + parser.helpText()),
            stderr);
        ::exit(1);
    }
    return files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
}
