// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

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

    bool wasInterrupted() const { return m_interrupted || caughtSignal() != 0; }
    // SIGINT or SIGTERM once one arrived, else 0; even before the event loop
    // has seen it.
    static int caughtSignal();
    // Runs work with SIGINT and SIGTERM held back. work gets a check that
    // tells whether one arrived so far (or before); *cancelled is its last
    // answer, so the caller knows whether work gave up for a signal.
    static bool runUninterrupted(const std::function<bool(const std::function<bool()>&)>& work,
                                 bool* cancelled);

signals:
    void interrupted();

private:
    void onReadable();

    QSocketNotifier* m_notifier = nullptr;
    bool m_interrupted = false;
};
