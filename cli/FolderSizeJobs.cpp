#include "cli/FolderSizeJobs.h"

#include <QEventLoop>

FolderSizeJobs::FolderSizeJobs(QObject* parent) : QObject(parent)
{
    connect(&m_calcer, &FolderSizeCalcer::folderComplete, this, &FolderSizeJobs::onFolderComplete,
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
    m_calcer.addFolder(folder);
    return m_queued++;
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

void FolderSizeJobs::onFolderComplete(const QString& folder, quint64 bytes)
{
    Q_UNUSED(folder); // matched by order, as the controller does
    if (m_stopped || isComplete())
        return;
    m_sizes << bytes;
    emit reported(m_sizes.size() - 1, bytes);
}
