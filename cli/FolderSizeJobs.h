#pragma once

#include <QObject>
#include <QVector>

#include "core/dispense/FolderSizeCalcer.h"

// Measures folders with the program's folder-size thread and collects the
// totals in the order the folders were handed over (the thread reports in
// that order, one report per folder).
class FolderSizeJobs : public QObject
{
    Q_OBJECT
public:
    explicit FolderSizeJobs(QObject* parent = nullptr);
    ~FolderSizeJobs() override;

    // Queues a folder; its total becomes sizes()[returned number].
    int add(const QString& folder);
    bool isComplete() const { return m_sizes.size() == m_queued; }
    const QVector<quint64>& sizes() const { return m_sizes; }

    // Runs the event loop until every queued folder has been reported;
    // false when stop() ended the wait first.
    bool waitAll();
    // Ends the measuring promptly; later reports are dropped.
    void stop();

signals:
    void reported(int job, quint64 bytes);
    void stopped();

private:
    void onFolderComplete(const QString& folder, quint64 bytes);

    FolderSizeCalcer m_calcer;
    QVector<quint64> m_sizes;
    int m_queued = 0;
    bool m_stopped = false;
};
