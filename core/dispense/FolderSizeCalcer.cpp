// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/FolderSizeCalcer.h"

#include <QMutexLocker>

#include "core/dispense/Walk.h"
#include "core/model/Entry.h"

FolderSizeCalcer::FolderSizeCalcer(QObject* parent) : QThread(parent) {}

FolderSizeCalcer::~FolderSizeCalcer()
{
    stop();
}

void FolderSizeCalcer::addFolder(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    m_jobs.prepend(path);
    m_wake.wakeAll();
}

void FolderSizeCalcer::stop()
{
    {
        QMutexLocker lock(&m_mutex);
        m_stop = true;
        m_wake.wakeAll();
    }
    wait();
    // Jobs left over belong to the run that ended; a later start begins afresh.
    QMutexLocker lock(&m_mutex);
    m_jobs.clear();
    m_stop = false;
}

void FolderSizeCalcer::onFolder() {}

void FolderSizeCalcer::onFile(const quint64& size)
{
    // Sparse files can claim more than 64 bits hold together.
    m_total = saturatingAdd(m_total, size);
}

void FolderSizeCalcer::run()
{
    for (;;) {
        QString path;
        {
            QMutexLocker lock(&m_mutex);
            while (m_jobs.isEmpty() && !m_stop) {
                m_wake.wait(&m_mutex);
            }
            if (m_stop)
                return;
            path = m_jobs.takeLast();
        }
        m_total = 0;
        const WalkEnd end = walkFolder(*this, path, &m_stop);
        if (m_stop)
            return;
        // Every job gets its report: a missing one would leave its asker waiting.
        if (end == WalkEnd::Complete)
            emit folderComplete(path, m_total);
        else
            emit folderFailed(path, sizeIssueOf(end));
    }
}
