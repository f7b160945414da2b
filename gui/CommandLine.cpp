// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

QString commandLineProject(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Fills a disk volume or an optical disc as fully as possible from "
                       "prioritised files and folders."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QCoreApplication::translate("CommandLine", "file"),
        QCoreApplication::translate("CommandLine", "The project to open (*.qmp)."),
        QCoreApplication::translate("CommandLine", "[FILE]"));
    parser.process(arguments);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        fputs(qPrintable(
                  QCoreApplication::translate("CommandLine", "quillmarch: one project at a time")
                      .append(QStringLiteral("\n\n"))
                      .append(parser.helpText())),
              stderr);
        ::exit(1);
    }
    return files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
}
