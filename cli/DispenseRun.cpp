// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DispenseRun.h"

#include <limits>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "cli/ProgressLine.h"

DispenseRun::DispenseRun(qint64 timeLimitMs, ProgressLine* progress, QObject* parent)
    : QObject(parent), m_timeLimitMs(timeLimitMs), m_progress(progress)
{
}

bool DispenseRun::exec()
{
    QEventLoop loop;
    connect(&m_dispenser, &IDispenser::set_bestResult4Now, this, &DispenseRun::onBestResult);
    connect(&m_dispenser, &IDispenser::do_finish, this,
            [this](bool ok) { m_finishedWithResult = ok; });
    // finished comes after do_finish, its last act, from the same thread.
    connect(&m_dispenser, &QThread::finished, &loop, &QEventLoop::quit);

    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, this, [this] {
        m_accepted = true;
        m_dispenser.accept();
    });
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, &DispenseRun::showProgress);
    if (m_progress && m_progress->enabled()) {
        ticker.start(250);
        showProgress();
    }

    // No time at all: accepted before anything is searched, whatever the
    // speed of the machine.
    if (m_timeLimitMs == 0) {
        m_accepted = true;
        m_dispenser.accept();
    }
    m_dispenser.start(QThread::InheritPriority);
    if (!m_dispenser.isRunning() && !m_dispenser.isFinished()) {
        // No thread could be made: finished would never come.
        m_failure = QCoreApplication::translate("CliCommands",
                                                "The search could not be started: out of memory");
        if (m_progress)
            m_progress->clear();
        return false;
    }
    if (m_timeLimitMs > 0)
        limit.start(int(qMin<qint64>(m_timeLimitMs, std::numeric_limits<int>::max())));
    loop.exec();
    m_dispenser.wait();
    if (m_progress)
        m_progress->clear();
    return m_finishedWithResult && !m_cancelling;
}

void DispenseRun::cancel()
{
    m_cancelling = true;
    m_dispenser.cancel();
    showProgress();
}

void DispenseRun::onBestResult(quint64 wasted)
{
    m_haveBest = true;
    m_best = wasted;
    showProgress();
}

void DispenseRun::showProgress()
{
    if (!m_progress)
        return;
    if (m_cancelling)
        m_progress->show(QCoreApplication::translate(
            "CliCommands", "Cancelling after the entry being measured..."));
    else if (m_haveBest)
        m_progress->show(
            QCoreApplication::translate("CliCommands", "Searching: best so far wastes %1 bytes")
                .arg(m_best));
    else
        m_progress->show(QCoreApplication::translate("CliCommands", "Measuring..."));
}
