// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStatusBar>

#include "control/IViewStatus.h"

class CapacityBar;
class MessageBar;
class QLabel;
class QMainWindow;

// The main window's status bar: a short state text on the left; the
// selection's size and count, the wasted space and the project total on the
// right, short enough to be read whole at any window width, with the details
// in their tooltips. Errors and results go to the window's message area; the
// target, and the groups against it, to its capacity bar. Shows only what the
// controller pushes.
class MainStatus : public QStatusBar, public IViewStatus
{
    Q_OBJECT
public:
    // Installs itself as window's status bar.
    explicit MainStatus(QMainWindow* window);

    // The message area and the capacity bar, which the window places.
    void setPanels(MessageBar* messages, CapacityBar* capacity);

    void showState(const QString& text) override;
    void showTarget(const Target& target, quint64 capacity) override;
    void showWasted(quint64 bytes) override;
    void showPlan(quint64 usedBytes, quint64 freeBytes) override;
    void showNoTarget() override;
    void showNoWasted() override;
    void showTargetChecked(const QDateTime& when, const QString& problem) override;
    void showSelected(quint64 bytes, int count) override;
    void showTotal(quint64 bytes, int count) override;
    void beginBusy(const QString& text) override;
    void endBusy() override;
    void showMessage(MessageKind kind, const QString& text) override;
    void clearMessage() override;
    void showGroupTotals(const GroupTotals& totals) override;
    void showOutcome(quint64 usedBytes, quint64 freeBytes, SearchEnd end) override;

signals:
    // For the list's group headers.
    void groupTotalsShown(const IViewStatus::GroupTotals& totals);

private:
    // The selection's share of the target, in the selection's tooltip.
    void updateSelectedTip();

    QLabel* m_state;
    QLabel* m_selected;
    QLabel* m_wasted;
    QLabel* m_total;
    MessageBar* m_messages = nullptr;
    CapacityBar* m_capacityBar = nullptr;
    int m_busy = 0;
    QString m_busyText, m_stateBefore;
    quint64 m_capacity = 0;
    bool m_targetAges = true; // a volume's figures; not those of a described medium
    quint64 m_selectedBytes = 0;
    int m_selectedCount = 0;
};
