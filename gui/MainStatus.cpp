#include "gui/MainStatus.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include "core/model/SizeText.h"

namespace {
QLabel* makeLabel(QStatusBar* bar, const char* name)
{
    auto* label = new QLabel(bar);
    label->setObjectName(QLatin1String(name));
    // Paths may hold "<" and must never be taken for markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

MainStatus::MainStatus(QMainWindow* window) : QStatusBar(window)
{
    window->setStatusBar(this);
    m_state = makeLabel(this, "state");
    m_selected = makeLabel(this, "selected");
    m_target = makeLabel(this, "target");
    m_wasted = makeLabel(this, "wasted");
    m_total = makeLabel(this, "total");
    addWidget(m_state, 0);
    addPermanentWidget(m_selected, 0);
    addPermanentWidget(m_target, 0);
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
}

void MainStatus::showWasted(quint64 bytes)
{
    m_wasted->setText(QStringLiteral("WASTED: ") + sizeText(bytes));
}

void MainStatus::showNoTarget()
{
    m_target->setText(QStringLiteral(" No DRIVE "));
}

void MainStatus::showNoWasted()
{
    m_wasted->setText(QStringLiteral("WASTED: --"));
}

void MainStatus::showSelected(quint64 bytes, int count)
{
    Q_UNUSED(count);
    m_selected->setText(QStringLiteral("SELECTED: ") + sizeText(bytes));
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
