// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/DispenseBoard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "core/dispense/IDispenser.h"
#include "core/model/SizeText.h"
#include "gui/IconSet.h"

DispenseBoard::DispenseBoard(QWidget* parent, IDispenser* dispenser)
    : QDialog(parent), m_dispenser(dispenser)
{
    auto* grid = new QGridLayout;

    m_icon = new QLabel;
    m_icon->setPixmap(::icon(DiskSelect).pixmap(32, 32, QIcon::Normal, QIcon::Off));
    grid->addWidget(m_icon, 0, 0, Qt::AlignTop);

    m_stage = new QLabel(QStringLiteral("Starting..."));
    // Entry names of any length: the line is elided, the dialog keeps its size.
    m_stage->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_stage->setTextFormat(Qt::PlainText);
    grid->addWidget(m_stage, 0, 1);

    m_progress = new QProgressBar;
    m_progress->setRange(0, 0);
    grid->addWidget(m_progress, 1, 1);

    m_wasted = new QLabel(QStringLiteral("Wasted space: "));
    grid->addWidget(m_wasted, 2, 1);

    m_elapsedText = new QLabel;
    m_elapsedText->setObjectName(QStringLiteral("elapsed"));
    grid->addWidget(m_elapsedText, 3, 1);
    m_hint = new QLabel(tr("This search may take long. Accept takes the best selection found "
                           "so far."));
    m_hint->setObjectName(QStringLiteral("hint"));
    m_hint->setWordWrap(true);
    m_hint->hide();
    grid->addWidget(m_hint, 4, 1);

    auto* buttons = new QHBoxLayout;
    m_nextLevel = new QPushButton(QStringLiteral("Next level"));
    m_acceptButton = new QPushButton(QStringLiteral("Accept"));
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"));
    buttons->addWidget(m_nextLevel);
    buttons->addStretch();
    buttons->addWidget(m_acceptButton);
    buttons->addWidget(m_cancelButton);
    grid->addLayout(buttons, 5, 1, 1, 2);

    setLayout(grid);
    setWindowTitle(QStringLiteral("Dispense"));
    resize(420, 200);

    connect(m_nextLevel, SIGNAL(clicked()), this, SLOT(on_enough()));
    connect(m_acceptButton, SIGNAL(clicked()), this, SLOT(on_accept()));
    connect(m_cancelButton, SIGNAL(clicked()), this, SLOT(on_cancel()));
    connect(m_dispenser, SIGNAL(set_stage(QString)), this, SLOT(set_stage(QString)));
    connect(m_dispenser, SIGNAL(set_progress(int)), this, SLOT(set_progress(int)));
    connect(m_dispenser, SIGNAL(set_bestResult4Now(quint64)), this,
            SLOT(set_bestResult4Now(quint64)));
    connect(m_dispenser, SIGNAL(set_enough(bool)), this, SLOT(set_enough(bool)));
    connect(m_dispenser, SIGNAL(do_finish(bool)), this, SLOT(do_finish(bool)));

    m_ticker = new QTimer(this);
    m_ticker->setInterval(250);
    connect(m_ticker, &QTimer::timeout, this, &DispenseBoard::tick);
    m_elapsed.start();
    m_ticker->start();
    tick();
    m_dispenser->start(QThread::InheritPriority);
}

void DispenseBoard::setTimeLimit(qint64 ms)
{
    m_limitMs = qMax<qint64>(ms, 0);
    tick();
}

void DispenseBoard::tick()
{
    const auto clock = [](qint64 ms) {
        const qint64 s = ms / 1000;
        return s >= 3600 ? QStringLiteral("%1:%2:%3")
                               .arg(s / 3600)
                               .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                               .arg(s % 60, 2, 10, QLatin1Char('0'))
                         : QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
    };
    const qint64 ms = m_elapsed.elapsed();
    m_elapsedText->setText(
        m_limitMs > 0 ? tr("Elapsed: %1 of %2 (time limit)").arg(clock(ms), clock(m_limitMs))
                      : tr("Elapsed: %1").arg(clock(ms)));
    // Most searches end within a blink; one that does not may go on for long.
    if (ms >= 2000 && m_end == IViewStatus::SearchFinished && !m_closing && m_hint->isHidden()) {
        m_hint->show();
        // Tall enough for the wrapped hint.
        layout()->activate();
        resize(width(), qMax(height(), heightForWidth(width())));
    }
    if (m_limitMs > 0 && ms >= m_limitMs && m_end == IViewStatus::SearchFinished && !m_closing &&
        !m_finished) {
        m_end = IViewStatus::SearchTimeLimit;
        m_hint->hide();
        m_stage->setText(tr("Time limit reached: taking the best selection found so far"));
        m_dispenser->accept();
    }
}

DispenseBoard::~DispenseBoard()
{
    // A search that has not reported its end yet is stopped; either way its
    // thread is over before the caller may destroy the dispenser.
    if (!m_finished && !m_closing)
        m_dispenser->cancel();
    m_dispenser->wait();
}

void DispenseBoard::set_stage(QString text)
{
    m_stage->setText(m_stage->fontMetrics().elidedText(text, Qt::ElideMiddle, m_stage->width()));
}

void DispenseBoard::set_progress(int value)
{
    Q_UNUSED(value);
}

void DispenseBoard::set_bestResult4Now(quint64 bytes)
{
    m_wasted->setText(QStringLiteral("Wasted space: ") + sizeText(bytes));
}

void DispenseBoard::set_enough(bool on)
{
    Q_UNUSED(on);
}

void DispenseBoard::do_finish(bool ok)
{
    m_finished = true;
    m_ticker->stop();
    // After Escape or the close button a late result is not taken.
    done(ok && !m_closing ? QDialog::Accepted : QDialog::Rejected);
}

void DispenseBoard::on_accept()
{
    if (m_end == IViewStatus::SearchFinished)
        m_end = IViewStatus::SearchStopped;
    m_dispenser->accept();
}

void DispenseBoard::on_cancel()
{
    m_dispenser->cancel();
}

void DispenseBoard::on_enough()
{
    if (m_end == IViewStatus::SearchFinished)
        m_end = IViewStatus::SearchStopped;
    m_dispenser->enough();
}

void DispenseBoard::reject()
{
    if (m_closing)
        return;
    m_closing = true;
    m_dispenser->cancel();
    // A search whose thread is over has sent its last report already.
    if (!m_dispenser->isRunning())
        done(QDialog::Rejected);
}
