// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QStringList>

#include "cli/CliCommands.h"
#include "core/Translations.h"

namespace {

// The libraries write diagnostics to Qt's debug output; a command-line tool
// keeps standard error for progress and its own messages.
void quietDebugOutput(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    const QByteArray bytes = qFormatLogMessage(type, context, text).toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(quietDebugOutput);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmarch-cli"));
    installTranslations();
    CliCommands commands;
    return commands.run(QCoreApplication::arguments().mid(1));
}
