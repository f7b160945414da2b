// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/CopyDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "core/model/SizeText.h"

namespace {

QString clockText(qint64 seconds)
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

CopyDlg::CopyDlg(QWidget* parent, CopyEngine* engine)
    : QDialog(parent), m_engine(engine), m_phase(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_figures(new QLabel(this)), m_current(new QLabel(this)), m_ticker(new QTimer(this))
{
    setObjectName(QStringLiteral("CopyDlg"));
    setWindowTitle(tr("Copy to Target"));
    setModal(true);
    m_bar->setRange(0, 1000);
    m_bar->setValue(0);
    // A long path must not widen the dialog past the screen.
    m_current->setMinimumWidth(420);
    m_current->setTextFormat(Qt::PlainText);
    m_current->setWordWrap(true);
    m_phase->setText(tr("Listing the entries..."));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_cancelButton = buttons->button(QDialogButtonBox::Cancel);
    m_cancelButton->setObjectName(QStringLiteral("cancel"));
    connect(m_cancelButton, &QPushButton::clicked, this, &CopyDlg::on_cancel);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(m_phase), static_cast<QWidget*>(m_bar),
                       static_cast<QWidget*>(m_figures), static_cast<QWidget*>(m_current)})
        layout->addWidget(w);
    layout->addWidget(buttons);

    m_engine->setProgress([this](const CopyEngine::Progress& p) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_latest = p;
    });
    m_ticker->setInterval(100);
    connect(m_ticker, &QTimer::timeout, this, &CopyDlg::refresh);
}

CopyDlg::~CopyDlg()
{
    if (m_thread) {
        m_engine->cancel();
        m_thread->wait();
        delete m_thread;
    }
    m_engine->setProgress(nullptr);
}

void CopyDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Once the dialog is up, so that Cancel is there before any work.
    if (!m_thread)
        QTimer::singleShot(0, this, &CopyDlg::start);
}

void CopyDlg::start()
{
    if (m_thread)
        return;
    m_thread = QThread::create([this] { m_engine->run(); });
    if (!m_thread) {
        done(QDialog::Rejected);
        return;
    }
    // The run's end closes the dialog: Accepted whatever its outcome, which
    // the engine holds.
    connect(m_thread, &QThread::finished, this, [this] {
        refresh();
        accept();
    });
    m_started = true;
    m_thread->start();
    m_ticker->start();
}

void CopyDlg::refresh()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shown = m_latest;
    }
    const CopyEngine::Progress& p = m_shown;
    switch (p.phase) {
    case CopyEngine::Listing:
        m_phase->setText(tr("Listing the entries..."));
        break;
    case CopyEngine::Copying:
        m_phase->setText(tr("Copying %1 of %2").arg(sizeText(p.bytesDone), sizeText(p.bytesTotal)));
        break;
    case CopyEngine::Verifying:
        m_phase->setText(
            tr("Reading back %1 of %2").arg(sizeText(p.bytesDone), sizeText(p.bytesTotal)));
        break;
    case CopyEngine::Finishing:
        m_phase->setText(tr("Writing the manifest..."));
        break;
    }
    m_bar->setValue(p.bytesTotal ? int(p.bytesDone * 1000 / p.bytesTotal) : 0);
    QStringList figures;
    if (p.phase == CopyEngine::Copying || p.phase == CopyEngine::Verifying)
        figures << tr("%1 of %n files", nullptr, p.filesTotal).arg(p.filesDone);
    if (p.bytesPerSecond > 0)
        figures << tr("%1/s").arg(sizeText(quint64(p.bytesPerSecond)));
    if (p.secondsLeft >= 0)
        figures << tr("%1 left").arg(clockText(p.secondsLeft));
    m_figures->setText(figures.join(QStringLiteral(", ")));
    m_current->setText(p.current);
}

void CopyDlg::on_cancel()
{
    m_engine->cancel();
    m_cancelButton->setEnabled(false);
    m_cancelButton->setText(tr("Stopping..."));
}

void CopyDlg::reject()
{
    // Before the run started too: it then stops at once, as a cancel.
    on_cancel();
    if (!m_thread)
        start();
}
