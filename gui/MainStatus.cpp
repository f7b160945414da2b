// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MainStatus.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QProgressBar>

#include "core/model/SizeText.h"

namespace {

// A label that cuts its text short in the middle instead of asking for more
// room; the whole text is its tooltip.
class ElidedLabel : public QLabel
{
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override
    {
        return QSize(fontMetrics().averageCharWidth() * 6, QLabel::minimumSizeHint().height());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect room = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width());
        setToolTip(shown == text() ? QString() : text());
        painter.drawText(room, int(Qt::AlignLeft | Qt::AlignVCenter), shown);
    }
};

QLabel* makeLabel(QStatusBar* bar, const char* name)
{
    QLabel* label = new ElidedLabel(bar);
    label->setObjectName(QLatin1String(name));
    // Paths may hold "<" and must never be taken for markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString counted(int n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

} // namespace

MainStatus::MainStatus(QMainWindow* window) : QStatusBar(window)
{
    window->setStatusBar(this);
    m_state = makeLabel(this, "state");
    m_selected = makeLabel(this, "selected");
    m_target = makeLabel(this, "target");
    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName(QStringLiteral("gauge"));
    m_gauge->setRange(0, 100);
    m_gauge->setMaximumWidth(fontMetrics().averageCharWidth() * 8);
    m_gauge->hide();
    m_wasted = makeLabel(this, "wasted");
    m_total = makeLabel(this, "total");
    // The state text takes what room is left and gives it up first.
    m_state->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(m_state, 1);
    addPermanentWidget(m_selected, 0);
    addPermanentWidget(m_target, 0);
    addPermanentWidget(m_gauge, 0);
    addPermanentWidget(m_wasted, 0);
    addPermanentWidget(m_total, 0);
    m_state->setText(QStringLiteral("READY"));
}

void MainStatus::showState(const QString& text)
{
    m_state->setText(text);
}

void MainStatus::showTarget(const Target& target, quint64 capacity)
{
    m_target->setText(target.Path + QLatin1Char(' ') + sizeText(capacity));
    m_capacity = capacity;
    updateGauge();
}

void MainStatus::showWasted(quint64 bytes)
{
    m_wasted->setText(QStringLiteral("WASTED: ") + sizeText(bytes));
    m_wastedBytes = bytes;
    m_dispensed = true;
    updateGauge();
}

void MainStatus::showNoTarget()
{
    m_target->setText(QStringLiteral(" No DRIVE "));
    m_capacity = 0;
    updateGauge();
}

void MainStatus::showNoWasted()
{
    m_wasted->setText(QStringLiteral("WASTED: --"));
    m_dispensed = false;
    updateGauge();
}

void MainStatus::showSelected(quint64 bytes, int count)
{
    m_selected->setText(QStringLiteral("SELECTED: ") + sizeText(bytes) + QStringLiteral(" (") +
                        counted(count, "entry", "entries") + QLatin1Char(')'));
    m_selectedBytes = bytes;
    updateGauge();
}

void MainStatus::showTotal(quint64 bytes, int count)
{
    Q_UNUSED(count);
    m_total->setText(QStringLiteral("TOTAL: ") + sizeText(bytes));
    m_total->update();
}

void MainStatus::beginBusy(const QString& text)
{
    if (m_busy++ == 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_stateBefore = m_state->text();
    }
    m_busyText = text;
    m_state->setText(text);
    // The work that follows keeps the event loop from painting.
    repaint();
}

void MainStatus::endBusy()
{
    if (m_busy == 0 || --m_busy > 0)
        return;
    // Unless the work left a word of its own.
    if (m_state->text() == m_busyText)
        m_state->setText(m_stateBefore);
    QApplication::restoreOverrideCursor();
}

void MainStatus::updateGauge()
{
    if (m_capacity == 0) {
        m_gauge->hide();
        return;
    }
    const quint64 used =
        m_dispensed ? m_capacity - qMin(m_wastedBytes, m_capacity) : m_selectedBytes;
    // A selection may be more than the target holds: the text says how much.
    const int percent = int(qMin(100.0 * double(used) / double(m_capacity), 9999.0));
    m_gauge->setValue(qMin(percent, 100));
    m_gauge->setFormat(QString::number(percent) + QLatin1Char('%'));
    m_gauge->setToolTip(
        m_dispensed
            ? QStringLiteral("The dispensed entries fill %1% of the target").arg(percent)
            : QStringLiteral("The selected entries would fill %1% of the target").arg(percent));
    m_gauge->show();
}
