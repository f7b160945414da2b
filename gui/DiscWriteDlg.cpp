// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/DiscWriteDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "core/disc/DiscRun.h"
#include "core/model/SizeText.h"

namespace {

QString clock(int seconds)
{
    return seconds >= 3600 ? QStringLiteral("%1:%2:%3")
                                 .arg(seconds / 3600)
                                 .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                           : QStringLiteral("%1:%2")
                                 .arg(seconds / 60)
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

DiscWriteDlg::DiscWriteDlg(QWidget* parent, DiscRun& run, const QString& title)
    : QDialog(parent), m_run(run)
{
    setWindowTitle(title);
    setModal(true);
    m_phase = new QLabel(tr("Preparing the image..."));
    m_phase->setObjectName(QStringLiteral("phase"));
    m_bar = new QProgressBar;
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_details = new QLabel;
    m_details->setObjectName(QStringLiteral("details"));
    m_cancelButton = new QPushButton(tr("Cancel"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_phase);
    layout->addWidget(m_bar);
    layout->addWidget(m_details);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    connect(m_cancelButton, &QPushButton::clicked, this, &DiscWriteDlg::on_cancel);

    m_ticker = new QTimer(this);
    connect(m_ticker, &QTimer::timeout, this, &DiscWriteDlg::showProgress);
    m_ticker->start(200);
    m_thread.reset(QThread::create([this] {
        m_result = m_run.run(
            [this](const DiscProgress& p) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_latest = p;
            },
            m_cancel);
    }));
    // The result is read once the thread has finished; then the dialog ends.
    connect(m_thread.get(), &QThread::finished, this, [this] {
        m_ticker->stop();
        QDialog::accept();
    });
    m_thread->start();
}

DiscWriteDlg::~DiscWriteDlg()
{
    m_cancel = true;
    if (m_thread)
        m_thread->wait();
}

void DiscWriteDlg::on_cancel()
{
    m_cancel = true;
    m_cancelButton->setEnabled(false);
    m_cancelButton->setText(tr("Cancelling..."));
}

void DiscWriteDlg::reject()
{
    // Closes when the writing has stopped, as Cancel does.
    on_cancel();
}

void DiscWriteDlg::showProgress()
{
    DiscProgress p;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        p = m_latest;
    }
    const int percent = p.total ? int(100 * p.done / p.total) : 0;
    switch (p.phase) {
    case DiscProgress::Preparing:
        m_phase->setText(tr("Preparing the image..."));
        break;
    case DiscProgress::Writing:
        m_phase->setText(tr("Writing %1: %2%").arg(sizeText(p.total)).arg(percent));
        break;
    case DiscProgress::Closing:
        m_phase->setText(tr("Closing the disc..."));
        break;
    case DiscProgress::Verifying:
        m_phase->setText(tr("Reading back %1: %2%").arg(sizeText(p.total)).arg(percent));
        break;
    }
    m_bar->setValue(p.phase == DiscProgress::Closing ? 100 : percent);
    QStringList details;
    if (p.bytesPerSecond > 0)
        details << tr("%1/s").arg(sizeText(quint64(p.bytesPerSecond)));
    if (p.bufferPercent >= 0)
        details << tr("drive buffer %1%").arg(p.bufferPercent);
    if (p.fifoPercent >= 0)
        details << tr("data waiting %1%").arg(p.fifoPercent);
    if (p.secondsLeft >= 0)
        details << tr("%1 left").arg(clock(p.secondsLeft));
    m_details->setText(details.join(QStringLiteral(", ")));
}
