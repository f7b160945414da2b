// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

#include <QMutex>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>

#include "core/dispense/FilesPlaceWalker.h"

// The folder-size worker: measures the folders the controller hands it, oldest
// first, and reports each one once: its total with folderComplete, or with
// folderFailed why it has none. Only a stop ends a job without a report.
class FolderSizeCalcer : public QThread, public FilesPlaceWalker
{
    Q_OBJECT
public:
    explicit FolderSizeCalcer(QObject* parent = nullptr);
    ~FolderSizeCalcer() override;

    void addFolder(const QString& path);
    // Ends the thread promptly (also in the middle of a walk), joins it and
    // drops the jobs still queued; nothing more is reported. start() may
    // follow. Safe to call when the thread does not run.
    void stop();

    void onFolder() override;
    void onFile(const quint64& size) override;

signals:
    void folderComplete(QString folder, quint64 bytes);
    // issue: the SizeIssue that kept the walk from a total.
    void folderFailed(QString folder, int issue);

protected:
    void run() override;

private:
    QStringList m_jobs; // newest first; the thread takes from the back
    QMutex m_mutex;
    QWaitCondition m_wake;
    quint64 m_total = 0;
    std::atomic_bool m_stop{false};
};
