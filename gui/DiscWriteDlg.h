// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include <QDialog>

#include "core/disc/DiscWriter.h"

class DiscRun;
class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

// The modal dialog of writing a disc or an image: runs the writing on a
// thread of its own and shows its phase, percent, speed, the drive's buffer
// and the time left. Cancel (and Escape, and the close button) asks the
// writing to stop; the dialog closes once it has, so nothing is left
// running. The run is not owned and must outlive the dialog.
class DiscWriteDlg : public QDialog
{
    Q_OBJECT
public:
    DiscWriteDlg(QWidget* parent, DiscRun& run, const QString& title);
    ~DiscWriteDlg() override;

    // How the writing ended, once the dialog has closed.
    const DiscResult& outcome() const { return m_result; }

public slots:
    void on_cancel();
    void reject() override;

private:
    void showProgress();

    DiscRun& m_run;
    std::unique_ptr<QThread> m_thread;
    std::atomic_bool m_cancel{false};
    std::mutex m_mutex;
    DiscProgress m_latest; // guarded by m_mutex
    DiscResult m_result;   // the thread's, read once it has finished
    QLabel* m_phase;
    QProgressBar* m_bar;
    QLabel* m_details;
    QPushButton* m_cancelButton;
    QTimer* m_ticker;
};
