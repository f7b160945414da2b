// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MainStatus.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QPainter>

#include "core/model/SizeText.h"
#include "gui/CapacityBar.h"
#include "gui/MessageBar.h"

namespace {

// The state text: cut short in the middle instead of asking for more room,
// the whole text in its tooltip. Only short texts come here.
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

QLabel* makeLabel(QStatusBar* bar, const char* name, bool elided)
{
    QLabel* label = elided ? new ElidedLabel(bar) : new QLabel(bar);
    label->setObjectName(QLatin1String(name));
    // Paths may hold "<" and must never be taken for markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Exact, for the tooltips: block sizes and sizes that are multiples of them.
QString bytesText(quint64 bytes)
{
    return MainStatus::tr("%1 bytes").arg(QLocale().toString(bytes));
}

// A volume's name for the capacity bar: the last part of its path, kept short.
QString shortName(const QString& path)
{
    QString name = path.section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty);
    if (name.isEmpty())
        name = path;
    return name.size() > 16 ? name.left(7) + QStringLiteral("\u2026") + name.right(7) : name;
}

} // namespace

MainStatus::MainStatus(QMainWindow* window) : QStatusBar(window)
{
    window->setStatusBar(this);
    m_state = makeLabel(this, "state", true);
    m_selected = makeLabel(this, "selected", false);
    m_wasted = makeLabel(this, "wasted", false);
    m_total = makeLabel(this, "total", false);
    // The state text takes what room is left and gives it up first.
    m_state->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(m_state, 1);
    addPermanentWidget(m_selected, 0);
    addPermanentWidget(m_wasted, 0);
    addPermanentWidget(m_total, 0);
    m_state->setText(tr("READY"));
}

void MainStatus::setPanels(MessageBar* messages, CapacityBar* capacity)
{
    m_messages = messages;
    m_capacityBar = capacity;
}

void MainStatus::showState(const QString& text)
{
    m_state->setText(text);
}

void MainStatus::showTarget(const Target& target, quint64 capacity)
{
    const QString name = target.Path.isEmpty() ? tr("Medium") : shortName(target.Path);
    m_capacity = capacity;
    m_targetAges = !target.Path.isEmpty();
    if (m_capacityBar)
        m_capacityBar->setTarget(
            name, capacity,
            tr("Target: %1 (%2, blocks of %3), %4 free")
                .arg(target.Path.isEmpty() ? tr("a medium of known size") : target.Path,
                     fileSystemName(target.FileSystem), bytesText(target.BlockSize),
                     bytesText(capacity)));
    updateSelectedTip();
}

void MainStatus::showWasted(quint64 bytes)
{
    m_wasted->setText(tr("WASTED: %1").arg(sizeText(bytes)));
    m_wasted->setToolTip(
        tr("The dispensed entries leave %1 of the target free").arg(bytesText(bytes)));
    if (m_capacityBar)
        m_capacityBar->setDispensed(true, bytes);
}

void MainStatus::showPlan(quint64 usedBytes, quint64 freeBytes)
{
    showWasted(freeBytes);
    if (m_capacityBar)
        m_capacityBar->setDispensed(true, freeBytes, saturatingAdd(usedBytes, freeBytes));
}

void MainStatus::showNoTarget()
{
    m_capacity = 0;
    if (m_capacityBar)
        m_capacityBar->setTarget(QString(), 0, tr("Pick a target with Target on the toolbar"));
    updateSelectedTip();
}

void MainStatus::showTargetChecked(const QDateTime& when, const QString& problem)
{
    if (m_capacityBar)
        m_capacityBar->setChecked(when, problem, m_targetAges);
}

void MainStatus::showNoWasted()
{
    m_wasted->setText(tr("WASTED: --"));
    m_wasted->setToolTip(tr("Nothing is dispensed"));
    if (m_capacityBar)
        m_capacityBar->setDispensed(false);
}

void MainStatus::showSelected(quint64 bytes, int count)
{
    m_selected->setText(tr("SELECTED: %1 (%n entries)", nullptr, count).arg(sizeText(bytes)));
    m_selectedBytes = bytes;
    m_selectedCount = count;
    updateSelectedTip();
}

void MainStatus::showTotal(quint64 bytes, int count)
{
    m_total->setText(tr("TOTAL: %1").arg(sizeText(bytes)));
    m_total->setToolTip(
        tr("Required, Main and Background: %n entries, %1", nullptr, count).arg(bytesText(bytes)));
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

void MainStatus::showMessage(MessageKind kind, const QString& text)
{
    if (m_messages)
        m_messages->showMessage(MessageBar::Kind(kind), text);
    else
        showState(text);
}

void MainStatus::clearMessage()
{
    if (m_messages)
        m_messages->clear();
}

void MainStatus::showGroupTotals(const GroupTotals& totals)
{
    if (m_capacityBar)
        m_capacityBar->setGroups(totals);
    emit groupTotalsShown(totals);
}

void MainStatus::showOutcome(quint64 usedBytes, quint64 freeBytes, SearchEnd end)
{
    if (m_capacityBar)
        m_capacityBar->setOutcome(usedBytes, freeBytes, end);
}

void MainStatus::updateSelectedTip()
{
    QString tip =
        tr("%n entries selected, %1", nullptr, m_selectedCount).arg(bytesText(m_selectedBytes));
    // A selection may be more than the target holds: the share says how much.
    if (m_capacity > 0)
        tip += QLatin1Char('\n') +
               tr("They would fill %1% of the target")
                   .arg(qRound(qMin(100.0 * double(m_selectedBytes) / double(m_capacity), 9999.0)));
    m_selected->setToolTip(tip);
}
