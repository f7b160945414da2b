// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include "core/dispense/Dispenser.h"

class ProgressLine;

// One dispense search over the model's target and groups, run on the event
// loop the way the progress dialog runs it: the real Dispenser on its own
// thread, with a time limit standing in for the user's "Accept".
class DispenseRun : public QObject
{
    Q_OBJECT
public:
    // timeLimitMs < 0: no limit. progress may be null.
    DispenseRun(qint64 timeLimitMs, ProgressLine* progress, QObject* parent = nullptr);

    // Runs the search to its end; true when it ended with a result
    // (do_finish(true)), false when it was cancelled.
    bool exec();
    // Asks the search to stop without a result; exec() then returns false.
    void cancel();

    // The search's result; valid after exec() returned true.
    DispenseQueue& resultQueue() { return m_dispenser.resultQueue(); }
    quint64 wasted() const { return m_dispenser.wasted(); }
    // The search itself, for what it left out and its result; see Dispenser.
    const Dispenser& dispenser() const { return m_dispenser; }
    Dispenser& dispenser() { return m_dispenser; }
    // Why the search ended without a result when nobody cancelled it.
    QString failure() const { return m_failure.isEmpty() ? m_dispenser.failure() : m_failure; }
    // True when the search ran through every level without the time limit
    // cutting it short.
    bool provenBest() const { return !m_accepted; }

private:
    void onBestResult(quint64 wasted);
    void showProgress();

    Dispenser m_dispenser;
    QString m_failure;
    qint64 m_timeLimitMs;
    ProgressLine* m_progress;
    bool m_finishedWithResult = false;
    bool m_accepted = false;
    bool m_cancelling = false;
    bool m_haveBest = false;
    quint64 m_best = 0;
};
