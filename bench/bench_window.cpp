// SPDX-License-Identifier: GPL-3.0-or-later
// The real window, offscreen, over projects of 1,000, 10,000 and 100,000
// files: each command timed from the action until the window has painted,
// and shown as a ratio to the load time of the same project, so that growth
// beyond linear shows as a rising ratio. The command-line dispense of the
// same project is timed too: with half and with all of the entries chosen,
// and with a time limit shorter than the measuring.
#include <cstdio>
#include <random>

#include <fcntl.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "control/Ctrl.h"
#include "core/dispense/Dispenser.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "gui/DialogAnswers.h"
#include "gui/DispenseBoard.h"
#include "gui/MainActions.h"
#include "gui/MainList.h"
#include "gui/MainWindow.h"

namespace {

using Act = MainActions::Act;
constexpr quint64 BlockSize = 4096;

// count files of 1 to 64 blocks (sparse, so quick to make); returns the
// project file, whose target holds about half of them.
QString makeProject(const QString& dir, int count, quint64& allBlocks)
{
    std::mt19937 rng{quint32(count)};
    std::uniform_int_distribution<int> blocks(1, 64);
    dataModel()->newProject();
    allBlocks = 0;
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/f%2.jpg").arg(dir).arg(i, 6, 10, QLatin1Char('0'));
        const int b = blocks(rng);
        const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0 || ::ftruncate(fd, off_t(b) * off_t(BlockSize) - 100) != 0)
            qFatal("cannot make %s", qPrintable(path));
        ::close(fd);
        allBlocks += quint64(b);
        Entry e;
        if (!entryForPath(path, e))
            qFatal("cannot add %s", qPrintable(path));
        dataModel()->addEntry(e);
    }
    // Known by its figures alone: a real path would be probed again (and refused).
    dataModel()->setTarget(Target{QString(), NTFS, BlockSize, allBlocks / 2});
    const QString file = dir + QStringLiteral("/project.qmp");
    if (!dataModel()->saveAs(file))
        qFatal("cannot save %s", qPrintable(file));
    dataModel()->newProject();
    return file;
}

class Bench
{
public:
    Bench() { m_window.show(); }

    void run(int count)
    {
        QTemporaryDir dir;
        quint64 allBlocks = 0;
        const QString project = makeProject(dir.path(), count, allBlocks);
        MainList* list = m_window.list();

        DialogAnswers::nextFiles({project});
        const double load = time([&] { trigger(Act::ProjectLoad); });
        std::printf("%7d entries  %-22s %8.3f s\n", count, "load", load);
        const auto show = [&](const char* what, double t) {
            std::printf("%7d entries  %-22s %8.3f s  %6.2f x load\n", count, what, t, t / load);
        };

        list->setCurrentItem(list->topLevelItem(Main));
        show("Select All", time([&] { trigger(Act::SelectionAllInGroup); }));
        show("Move Up", time([&] { trigger(Act::PriorityUp); }));
        show("Move Down", time([&] { trigger(Act::PriorityDown); }));

        // Every other block of 64 rows: many ranges, not one.
        list->clearSelection();
        QItemSelection half;
        const QModelIndex main = list->model()->index(Main, 0);
        for (int i = 0; i < count; i += 128)
            half.select(list->model()->index(i, 0, main),
                        list->model()->index(qMin(i + 63, count - 1), 3, main));
        list->selectionModel()->select(half, QItemSelectionModel::Select);
        show("Remove half", time([&] { trigger(Act::EntryRemove); }));

        // The search ends by itself as soon as it fills the target exactly;
        // should it not, Accept after a while.
        QTimer accept;
        QObject::connect(&accept, &QTimer::timeout, [] {
            if (auto* board = qobject_cast<DispenseBoard*>(QApplication::activeModalWidget()))
                board->on_accept();
        });
        accept.start(5000);
        show("Dispense", time([&] { trigger(Act::Dispense); }));
        accept.stop();
        std::printf("%7d entries  %-22s %8d\n", count, "  dispensed",
                    dataModel()->groupSize(Dispensed));
        show("Undispense", time([&] { trigger(Act::Undispense); }));

        show("cli dispense, half", cli({project}));
        show("cli dispense, all",
             cli({project, QStringLiteral("--fs"), QStringLiteral("NTFS"),
                  QStringLiteral("--block-size"), QString::number(BlockSize),
                  QStringLiteral("--free-blocks"), QString::number(allBlocks * 2)}));
        show("cli dispense, 0.5 s limit",
             cli({project, QStringLiteral("--time-limit"), QStringLiteral("0.5")}));
        std::fflush(stdout);
        // Leave nothing to ask about for the next project.
        dataModel()->newProject();
        trigger(Act::ProjectNew);
    }

private:
    void trigger(Act a) { m_window.actions()->action(a)->trigger(); }

    template <typename F> double time(F&& action)
    {
        QElapsedTimer t;
        t.start();
        action();
        QApplication::processEvents();
        m_window.repaint();
        return double(t.nsecsElapsed()) / 1e9;
    }

    static double cli(const QStringList& args)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral(QM_CLI), QStringList{QStringLiteral("dispense")} + args);
        if (!p.waitForFinished(-1) || p.exitCode() != 0)
            std::printf("  (quillmarch-cli ended with %d)\n", p.exitCode());
        p.readAllStandardOutput();
        return double(t.nsecsElapsed()) / 1e9;
    }

    MainWindow m_window;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The figures alone: the offscreen platform's warnings would bury them.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    setController(nullptr);
    std::printf("The window over growing projects: seconds, and the ratio to loading the same "
                "project.\n");
    Bench bench;
    for (int count : {1000, 10000, 100000})
        bench.run(count);
    return 0;
}
