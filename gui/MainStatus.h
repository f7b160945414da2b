// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStatusBar>

#include "control/IViewStatus.h"

class QLabel;
class QMainWindow;
class QProgressBar;

// The main window's status bar: a state text on the left; the selection's
// size and count, the target, a fill gauge, the wasted space and the project
// total on the right. Long texts are cut short rather than widening the
// window. Shows only what the controller pushes.
class MainStatus : public QStatusBar, public IViewStatus
{
    Q_OBJECT
public:
    // Installs itself as window's status bar.
    explicit MainStatus(QMainWindow* window);

    void showState(const QString& text) override;
    void showTarget(const Target& target, quint64 capacity) override;
    void showWasted(quint64 bytes) override;
    void showNoTarget() override;
    void showNoWasted() override;
    void showSelected(quint64 bytes, int count) override;
    void showTotal(quint64 bytes, int count) override;
    void beginBusy(const QString& text) override;
    void endBusy() override;

private:
    // Before a dispense, the selection's share of the target; after, the
    // share the dispensed entries take.
    void updateGauge();

    QLabel* m_state;
    QLabel* m_selected;
    QLabel* m_target;
    QProgressBar* m_gauge;
    QLabel* m_wasted;
    QLabel* m_total;
    int m_busy = 0;
    QString m_busyText, m_stateBefore;
    quint64 m_capacity = 0;
    quint64 m_selectedBytes = 0;
    quint64 m_wastedBytes = 0;
    bool m_dispensed = false;
};
