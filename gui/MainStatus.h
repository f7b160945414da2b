#pragma once

#include <QStatusBar>

#include "control/IViewStatus.h"

class QLabel;
class QMainWindow;

// The main window's status bar: a state text on the left; the selection's
// size, the target, the wasted space and the project total on the right.
// Shows only what the controller pushes.
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
    QLabel* m_state;
    QLabel* m_selected;
    QLabel* m_target;
    QLabel* m_wasted;
    QLabel* m_total;
    int m_busy = 0;
    QString m_busyText, m_stateBefore;
};
