// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/DispenseBoard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "core/dispense/IDispenser.h"
#include "core/model/SizeText.h"
#include "gui/IconSet.h"

DispenseBoard::DispenseBoard(QWidget* parent, IDispenser* dispenser)
    : QDialog(parent), dispenser(dispenser)
{
    auto* grid = new QGridLayout;

    icon = new QLabel;
    icon->setPixmap(::icon(DiskSelect).pixmap(32, 32, QIcon::Normal, QIcon::Off));
    grid->addWidget(icon, 0, 0, Qt::AlignTop);

    stage = new QLabel(QStringLiteral("Starting..."));
    // Entry names of any length: the line is elided, the dialog keeps its size.
    stage->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    stage->setTextFormat(Qt::PlainText);
    grid->addWidget(stage, 0, 1);

    progress = new QProgressBar;
    progress->setRange(0, 0);
    grid->addWidget(progress, 1, 1);

    wasted = new QLabel(QStringLiteral("Wasted space: "));
    grid->addWidget(wasted, 2, 1);

    auto* buttons = new QHBoxLayout;
    nextLevel = new QPushButton(QStringLiteral("Next level"));
    acceptButton = new QPushButton(QStringLiteral("Accept"));
    cancelButton = new QPushButton(QStringLiteral("Cancel"));
    buttons->addWidget(nextLevel);
    buttons->addStretch();
    buttons->addWidget(acceptButton);
    buttons->addWidget(cancelButton);
    grid->addLayout(buttons, 5, 1, 1, 2);

    setLayout(grid);
    setWindowTitle(QStringLiteral("Dispense"));
    resize(350, 200);

    connect(nextLevel, SIGNAL(clicked()), this, SLOT(on_enough()));
    connect(acceptButton, SIGNAL(clicked()), this, SLOT(on_accept()));
    connect(cancelButton, SIGNAL(clicked()), this, SLOT(on_cancel()));
    connect(dispenser, SIGNAL(set_stage(QString)), this, SLOT(set_stage(QString)));
    connect(dispenser, SIGNAL(set_progress(int)), this, SLOT(set_progress(int)));
    connect(dispenser, SIGNAL(set_bestResult4Now(quint64)), this,
            SLOT(set_bestResult4Now(quint64)));
    connect(dispenser, SIGNAL(set_enough(bool)), this, SLOT(set_enough(bool)));
    connect(dispenser, SIGNAL(do_finish(bool)), this, SLOT(do_finish(bool)));

    dispenser->start(QThread::InheritPriority);
}

DispenseBoard::~DispenseBoard()
{
    // A search that has not reported its end yet is stopped; either way its
    // thread is over before the caller may destroy the dispenser.
    if (!m_finished && !m_closing)
        dispenser->cancel();
    dispenser->wait();
}

void DispenseBoard::set_stage(QString text)
{
    stage->setText(stage->fontMetrics().elidedText(text, Qt::ElideMiddle, stage->width()));
}

void DispenseBoard::set_progress(int value)
{
    Q_UNUSED(value);
}

void DispenseBoard::set_bestResult4Now(quint64 bytes)
{
    wasted->setText(QStringLiteral("Wasted space: ") + sizeText(bytes));
}

void DispenseBoard::set_enough(bool on)
{
    Q_UNUSED(on);
}

void DispenseBoard::do_finish(bool ok)
{
    m_finished = true;
    // After Escape or the close button a late result is not taken.
    done(ok && !m_closing ? QDialog::Accepted : QDialog::Rejected);
}

void DispenseBoard::on_accept()
{
    dispenser->accept();
}

void DispenseBoard::on_cancel()
{
    dispenser->cancel();
}

void DispenseBoard::on_enough()
{
    dispenser->enough();
}

void DispenseBoard::reject()
{
    if (m_closing)
        return;
    m_closing = true;
    dispenser->cancel();
    // A search whose thread is over has sent its last report already.
    if (!dispenser->isRunning())
        done(QDialog::Rejected);
}
