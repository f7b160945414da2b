// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/CapacityBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QTimer>

#include "core/model/SizeText.h"
#include "gui/MainList_itemDelegate.h"

namespace {

// When the groups overflow the medium, the medium keeps this share of the
// bar, so that a medium far too small still reads at a glance.
constexpr double MediumShare = 0.8;

// The painted bar of a CapacityBar.
class Gauge : public QWidget
{
public:
    explicit Gauge(const CapacityBar* bar) : m_bar(bar)
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override
    {
        return QSize(fontMetrics().averageCharWidth() * 30, fontMetrics().height() + 4);
    }
    QSize minimumSizeHint() const override
    {
        return QSize(fontMetrics().averageCharWidth() * 10, fontMetrics().height() + 4);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.fillRect(box, palette().color(QPalette::Base));
        const quint64 capacity = m_bar->capacity(), end = m_bar->end();
        const double width = box.width();
        const bool over = capacity > 0 && end > capacity;
        // Bytes to x: linear, except past the medium's end when it overflows.
        const auto x = [&](quint64 bytes) {
            if (!over) {
                const quint64 scale = qMax(qMax(capacity, end), quint64(1));
                return box.left() + width * double(bytes) / double(scale);
            }
            if (bytes <= capacity)
                return box.left() + width * MediumShare * double(bytes) / double(capacity);
            return box.left() +
                   width * (MediumShare +
                            (1 - MediumShare) * double(bytes - capacity) / double(end - capacity));
        };
        for (const CapacityBar::Span& s : m_bar->spans())
            painter.fillRect(QRectF(QPointF(x(s.from), box.top()), QPointF(x(s.to), box.bottom())),
                             MainList_itemDelegate::groupColour(s.group));
        const QColor alarm(218, 68, 83);
        if (over) {
            // What does not fit: hatched, behind a line where the medium ends.
            const QRectF past(QPointF(x(capacity), box.top()), box.bottomRight());
            painter.fillRect(past, QBrush(alarm, Qt::BDiagPattern));
            painter.fillRect(QRectF(x(capacity) - 1, box.top(), 3, box.height()), alarm);
        }
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(box);
    }

private:
    const CapacityBar* m_bar;
};

} // namespace

CapacityBar::CapacityBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("capacity"));
    m_medium = new QLabel(this);
    m_medium->setObjectName(QStringLiteral("medium"));
    m_medium->setTextFormat(Qt::PlainText);
    m_gauge = new Gauge(this);
    m_words = new QLabel(this);
    m_words->setObjectName(QStringLiteral("capacityText"));
    m_words->setTextFormat(Qt::PlainText);
    m_words->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* bar = new QHBoxLayout;
    bar->addWidget(m_medium);
    bar->addWidget(m_gauge, 1, Qt::AlignVCenter);
    m_layout = new QBoxLayout(QBoxLayout::LeftToRight, this);
    m_layout->setContentsMargins(6, 3, 6, 3);
    m_layout->addLayout(bar, 1);
    m_layout->addWidget(m_words);
    // Figures turn old without anything else happening.
    auto* ticks = new QTimer(this);
    connect(ticks, &QTimer::timeout, this, &CapacityBar::refresh);
    ticks->start(30000);
    refresh();
}

void CapacityBar::setTarget(const QString& name, quint64 capacity, const QString& details)
{
    m_medium->setText(capacity > 0 ? name : tr("No target"));
    m_details = details;
    m_medium->setToolTip(capacity > 0 && m_ages ? details + QLatin1Char('\n') + checkedText()
                                                : details);
    if (name == m_name && capacity == m_capacity)
        return;
    m_name = name;
    m_capacity = capacity;
    m_hasOutcome = false; // another medium, or the same one filled since
    refresh();
}

void CapacityBar::setChecked(const QDateTime& when, const QString& problem, bool ages)
{
    m_checked = when;
    m_problem = problem;
    m_ages = ages;
    if (m_capacity > 0)
        m_medium->setToolTip(m_ages ? m_details + QLatin1Char('\n') + checkedText() : m_details);
    refresh();
}

QString CapacityBar::ageText() const
{
    if (m_capacity == 0 || !m_ages)
        return QString();
    if (!m_checked.isValid())
        return tr("as saved in the project");
    const QDateTime now = QDateTime::currentDateTime();
    if (m_problem.isEmpty() && m_checked.secsTo(now) < 60)
        return QString();
    const QLocale locale;
    return tr("as of %1")
        .arg(m_checked.date() == now.date()
                 ? locale.toString(m_checked.time(), QLocale::ShortFormat)
                 : locale.toString(m_checked, QLocale::ShortFormat));
}

QString CapacityBar::checkedText() const
{
    QString text =
        m_checked.isValid()
            ? tr("Its free space as of %1").arg(QLocale().toString(m_checked, QLocale::LongFormat))
            : tr("Its free space as saved in the project");
    if (!m_problem.isEmpty())
        text += QLatin1Char('\n') + tr("It could not be checked since: %1").arg(m_problem);
    return text;
}

void CapacityBar::setGroups(const IViewStatus::GroupTotals& totals)
{
    for (int g = Dispensed; g < NoGroup; ++g) {
        if (totals.bytes[g] != m_totals.bytes[g] || totals.counts[g] != m_totals.counts[g]) {
            m_totals = totals;
            m_hasOutcome = false; // the project changed since the dispense
            break;
        }
    }
    refresh();
}

void CapacityBar::setDispensed(bool dispensed, quint64 wasted, quint64 room)
{
    if (!dispensed || wasted != m_wasted)
        m_hasOutcome = m_hasOutcome && dispensed && wasted == m_wasted;
    m_dispensed = dispensed;
    m_wasted = dispensed ? wasted : 0;
    m_planRoom = dispensed ? room : 0;
    refresh();
}

void CapacityBar::setOutcome(quint64 usedBytes, quint64 freeBytes, IViewStatus::SearchEnd end)
{
    m_hasOutcome = true;
    m_used = usedBytes;
    m_free = freeBytes;
    m_end = end;
    refresh();
}

std::vector<CapacityBar::Span> CapacityBar::spans() const
{
    std::vector<Span> out;
    quint64 at = 0;
    const quint64 medium = capacity();
    if (m_dispensed) {
        // What the plan takes of the medium, blocks and all.
        const quint64 taken =
            medium > 0 ? medium - qMin(m_wasted, medium) : m_totals.bytes[Dispensed];
        if (taken > 0)
            out.push_back(Span{Dispensed, 0, taken});
        at = qMax(taken, medium);
    }
    for (int g = Required; g <= Background; ++g) {
        const quint64 to = saturatingAdd(at, m_totals.bytes[g]);
        if (to > at)
            out.push_back(Span{g, at, to});
        at = to;
    }
    return out;
}

quint64 CapacityBar::end() const
{
    const std::vector<Span> all = spans();
    return all.empty() ? 0 : all.back().to;
}

QString CapacityBar::text() const
{
    return m_words->text();
}

void CapacityBar::refresh()
{
    const quint64 groups = saturatingAdd(
        saturatingAdd(m_totals.bytes[Required], m_totals.bytes[Main]), m_totals.bytes[Background]);
    QString words;
    if (m_hasOutcome) {
        const QString fills =
            tr("Fills %1 of %2: %3 free")
                .arg(preciseSizeText(m_used), preciseSizeText(saturatingAdd(m_used, m_free)),
                     sizeText(m_free));
        switch (m_end) {
        case IViewStatus::SearchFinished:
            words = tr("%1, proven best").arg(fills);
            break;
        case IViewStatus::SearchStopped:
            words = tr("%1, not proven best: the search was stopped").arg(fills);
            break;
        case IViewStatus::SearchTimeLimit:
            words = tr("%1, not proven best: the search reached its time limit").arg(fills);
            break;
        }
    } else if (m_capacity == 0) {
        words = groups > 0
                    ? tr("%1 to place. Pick a target to see what fits.").arg(sizeText(groups))
                    : QString();
    } else if (m_dispensed) {
        const quint64 medium = capacity();
        words = tr("The plan takes %1 of %2: %3 free")
                    .arg(preciseSizeText(medium - qMin(m_wasted, medium)), preciseSizeText(medium),
                         sizeText(m_wasted));
    } else if (groups == 0) {
        words = tr("%1 free").arg(sizeText(m_capacity));
    } else if (groups > m_capacity) {
        words = tr("%1 to place on %2: %3 more than fits")
                    .arg(sizeText(groups), sizeText(m_capacity), sizeText(groups - m_capacity));
    } else {
        words = tr("%1 to place on %2: all may fit").arg(sizeText(groups), sizeText(m_capacity));
    }
    // The medium's figures as old as they are, where that is worth saying.
    const QString age = ageText();
    if (!age.isEmpty() && !words.isEmpty() && !m_hasOutcome && !m_dispensed)
        words = tr("%1 (%2)").arg(words, age);
    m_words->setText(words);
    arrange();
    m_gauge->setToolTip(toolTipText());
    m_gauge->update();
}

void CapacityBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange();
}

void CapacityBar::arrange()
{
    // The words in one line beside the bar where the window is wide enough,
    // else under it, wrapped as they must be.
    const int words = m_words->fontMetrics().horizontalAdvance(m_words->text()) + 4;
    const int bar = m_medium->sizeHint().width() + m_gauge->minimumSizeHint().width() * 2;
    const bool beside = words + bar + 40 <= width();
    m_layout->setDirection(beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    // Never a width the window could not shrink below: narrower, it comes
    // back here and goes under the bar.
    m_words->setWordWrap(!beside);
    m_words->setMinimumWidth(1);
}

QString CapacityBar::toolTipText() const
{
    QStringList lines;
    for (int g = Dispensed; g <= Background; ++g) {
        if (m_totals.counts[g] > 0)
            lines << tr("%1: %n entries, %2", nullptr, m_totals.counts[g])
                         .arg(groupTitle(g), sizeText(m_totals.bytes[g]));
    }
    if (m_capacity > 0)
        lines << tr("%1 holds %2")
                     .arg(m_name.isEmpty() ? tr("The medium") : m_name, sizeText(m_capacity));
    // Files take whole blocks on the medium, and discs need room for their
    // metadata: only Dispense counts those.
    lines << tr("The groups by the sizes of their files; on the medium each file takes "
                "whole blocks, which Dispense counts.");
    return lines.join(QLatin1Char('\n'));
}
