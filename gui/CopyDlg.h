// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mutex>

#include <QDialog>

#include "core/copy/CopyEngine.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

// The modal dialog of one Copy to Target: runs the engine on a thread of its
// own once shown, shows bytes and files done, the current file, the speed and
// the time left, and relays Cancel, which stops after the current block. It
// closes by itself when the run has ended, whichever way. The engine is not
// owned and must outlive the dialog.
class CopyDlg : public QDialog
{
    Q_OBJECT
public:
    CopyDlg(QWidget* parent, CopyEngine* engine);
    // Stops a run still going and waits for its thread.
    ~CopyDlg() override;

    // The progress last shown.
    const CopyEngine::Progress& shown() const { return m_shown; }
    // False when the thread could not be started.
    bool started() const { return m_started; }

public slots:
    void on_cancel();
    // Escape and the window's close button: as Cancel; the dialog closes once
    // the run has stopped, so that the engine is never left running.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void start();
    void refresh();

    CopyEngine* m_engine;
    QThread* m_thread = nullptr;
    QLabel* m_phase;
    QProgressBar* m_bar;
    QLabel* m_figures;
    QLabel* m_current;
    QPushButton* m_cancelButton;
    QTimer* m_ticker;
    std::mutex m_mutex;
    CopyEngine::Progress m_latest; // guarded by m_mutex; written on the run's thread
    CopyEngine::Progress m_shown;
    bool m_started = false;
};
