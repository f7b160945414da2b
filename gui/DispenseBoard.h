// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include "control/IViewStatus.h"

class IDispenser;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The modal dialog of one dispense search: starts the search's thread, shows
// the best wasted figure so far and relays Next level, Accept and Cancel.
// It ends with Accepted exactly when the search ended with a result.
// The dispenser is not owned and must outlive the dialog.
class DispenseBoard : public QDialog
{
    Q_OBJECT
public:
    DispenseBoard(QWidget* parent, IDispenser* dispenser);
    // Stops a search still running and waits for its thread.
    ~DispenseBoard() override;

    // After ms milliseconds the best selection so far is taken, as Accept
    // does; 0: no limit (the default).
    void setTimeLimit(qint64 ms);
    // How the search ended: on its own, or taken early by Accept, Next level
    // or the time limit (then its result is not proven best).
    IViewStatus::SearchEnd searchEnd() const { return m_end; }

public slots:
    void set_stage(QString text);
    void set_progress(int value);
    void set_bestResult4Now(quint64 bytes);
    void set_enough(bool on);
    void do_finish(bool ok);
    void on_accept();
    void on_cancel();
    void on_enough();

    // Escape and the window's close button: as Cancel. The dialog closes once
    // the search has stopped, so the dispenser is never left running.
    void reject() override;

private:
    // The elapsed time, once a second; the hint once the search takes long;
    // the time limit.
    void tick();

    IDispenser* m_dispenser;
    QLabel* m_icon;
    QProgressBar* m_progress;
    QLabel* m_stage;
    QLabel* m_wasted;
    QPushButton* m_nextLevel;
    QPushButton* m_acceptButton;
    QPushButton* m_cancelButton;
    QLabel* m_elapsedText;
    QLabel* m_hint;
    QTimer* m_ticker;
    QElapsedTimer m_elapsed;
    qint64 m_limitMs = 0;
    IViewStatus::SearchEnd m_end = IViewStatus::SearchFinished;
    bool m_closing = false;  // closed by Escape or the close button
    bool m_finished = false; // the search has reported its end
};
