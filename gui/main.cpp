// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include "control/Ctrl.h"
#include "gui/CommandLine.h"
#include "gui/MainWindow.h"

int main(int argc, char* argv[])
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Sharp at any scale: layouts in device-independent pixels, icons drawn
    // at the screen's pixel ratio (always so under Qt 6).
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication::setApplicationName(QStringLiteral("quillmarch"));
    QApplication::setApplicationVersion(QStringLiteral(QM_VERSION));
    // --help and --version answer in a terminal without a display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" ||
            arg == "--version") {
            QCoreApplication textOnly(argc, argv);
            commandLineProject(QCoreApplication::arguments()); // prints and ends the process
        }
    }
    QApplication app(argc, argv);
    // The desktop entry, so that docks and Wayland show the program's icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("quillmarch"));
    const QString project = commandLineProject(QApplication::arguments());
    int result;
    {
        MainWindow window;
        window.show();
        if (!project.isEmpty())
            controller()->projectLoadFrom(project);
        result = app.exec();
    } // the window and its views go before the application object
    return result;
}
