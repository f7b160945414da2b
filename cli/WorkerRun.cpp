// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WorkerRun.h"

#include <memory>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include "cli/InterruptNotifier.h"
#include "cli/ProgressLine.h"

bool WorkerRun::run(const std::function<void()>& work, InterruptNotifier& interrupt,
                    const std::function<void()>& cancel, const std::function<QString()>& status)
{
    ProgressLine progress;
    bool cancelling = interrupt.wasInterrupted();
    const auto show = [&] {
        progress.show(cancelling ? QCoreApplication::translate("CliCommands", "Cancelling...")
                                 : status());
    };
    if (cancelling)
        cancel();
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create(work));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&interrupt, &InterruptNotifier::interrupted, &loop, [&] {
        cancelling = true;
        cancel();
        show();
    });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &loop, show);
    if (progress.enabled()) {
        ticker.start(250);
        show();
    }
    thread->start();
    if (!thread->isRunning() && !thread->isFinished())
        return false; // finished would never come
    loop.exec();
    thread->wait();
    progress.clear();
    return true;
}
