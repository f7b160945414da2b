#pragma once

#include <QObject>

class QSocketNotifier;

// Turns Ctrl+C (SIGINT) and SIGTERM into the signal interrupted() on the
// event loop, through a self-pipe. The first one is caught; a second one
// ends the process at once, for when a cancel takes long to take effect.
// One instance at a time; the handlers are restored when it goes.
class InterruptNotifier : public QObject
{
    Q_OBJECT
public:
    explicit InterruptNotifier(QObject* parent = nullptr);
    ~InterruptNotifier() override;

    bool wasInterrupted() const { return m_interrupted; }

signals:
    void interrupted();

private:
    void onReadable();

    QSocketNotifier* m_notifier = nullptr;
    bool m_interrupted = false;
};
