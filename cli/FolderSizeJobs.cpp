// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FolderSizeJobs.h"

#include <QEventLoop>

#include "core/model/Entry.h"

FolderSizeJobs::FolderSizeJobs(QObject* parent) : QObject(parent)
{
    connect(
        &m_calcer, &FolderSizeCalcer::folderComplete, this,
        [this](const QString& folder, quint64 bytes) {
            onReport(folder, Result{true, bytes, 0});
        },
        Qt::QueuedConnection);
    connect(
        &m_calcer, &FolderSizeCalcer::folderFailed, this,
        [this](const QString& folder, int issue) {
            onReport(folder, Result{true, 0, issue});
        },
        Qt::QueuedConnection);
}

FolderSizeJobs::~FolderSizeJobs()
{
    m_calcer.stop();
}

int FolderSizeJobs::add(const QString& folder)
{
    if (!m_calcer.isRunning() && !m_stopped)
        m_calcer.start(QThread::InheritPriority);
    const int job = m_results.size();
    m_results.append(Result());
    if (!m_calcer.isRunning() && !m_stopped) {
        // No thread could be made (out of memory): nothing would ever report.
        m_results[job] = Result{true, 0, OutOfMemory};
        ++m_reported;
        return job;
    }
    m_waiting[folder].append(job);
    m_calcer.addFolder(folder);
    return job;
}

bool FolderSizeJobs::waitAll()
{
    if (isComplete() || m_stopped)
        return !m_stopped;
    QEventLoop loop;
    const auto quitWhenDone = [&] {
        if (isComplete() || m_stopped)
            loop.quit();
    };
    connect(this, &FolderSizeJobs::reported, &loop, quitWhenDone);
    connect(this, &FolderSizeJobs::stopped, &loop, &QEventLoop::quit);
    loop.exec();
    return !m_stopped;
}

void FolderSizeJobs::stop()
{
    m_stopped = true;
    m_calcer.stop();
    emit stopped();
}

void FolderSizeJobs::onReport(const QString& folder, const Result& result)
{
    // The thread reports a folder's jobs in the order they were queued.
    auto waiting = m_waiting.find(folder);
    if (m_stopped || waiting == m_waiting.end() || waiting->isEmpty())
        return;
    const int job = waiting->takeFirst();
    if (waiting->isEmpty())
        m_waiting.erase(waiting);
    m_results[job] = result;
    ++m_reported;
    emit reported(job);
}
