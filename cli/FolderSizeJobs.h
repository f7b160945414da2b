// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QVector>

#include "core/dispense/FolderSizeCalcer.h"

// Measures folders with the program's folder-size thread and collects each
// folder's report under the job it was queued as, whatever order they come in.
class FolderSizeJobs : public QObject
{
    Q_OBJECT
public:
    // One job's outcome: a total, or the SizeIssue that left it without one.
    struct Result
    {
        bool done = false;
        quint64 bytes = 0;
        int issue = 0;
    };

    explicit FolderSizeJobs(QObject* parent = nullptr);
    ~FolderSizeJobs() override;

    // Queues a folder; its outcome becomes results()[returned number].
    int add(const QString& folder);
    bool isComplete() const { return m_reported == m_results.size(); }
    const QVector<Result>& results() const { return m_results; }

    // Runs the event loop until every queued folder has been reported;
    // false when stop() ended the wait first.
    bool waitAll();
    // Ends the measuring promptly; later reports are dropped.
    void stop();

signals:
    void reported(int job);
    void stopped();

private:
    void onReport(const QString& folder, const Result& result);

    FolderSizeCalcer m_calcer;
    QVector<Result> m_results;
    QHash<QString, QList<int>> m_waiting; // per folder, its jobs not yet reported
    int m_reported = 0;
    bool m_stopped = false;
};
