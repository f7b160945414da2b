// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MainList_itemDelegate.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QPainter>
#include <QStyle>
#include <QTextOption>
#include <QTreeWidget>

#include "core/model/DM.h"
#include "core/model/SizeText.h"
#include "platform/ShellIcons.h"

namespace {

// The groups' own colours, the same in light and dark themes.
const QColor groupColours[5] = {
    {160, 83, 165}, {247, 131, 3}, {143, 185, 49}, {31, 177, 230}, {128, 128, 128}};
// An entry the search leaves out, where the theme lets it read.
const QColor unmeasuredInk{176, 48, 0};

// WCAG relative luminance and contrast ratio.
qreal luminance(const QColor& c)
{
    auto channel = [](qreal v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

qreal contrast(const QColor& a, const QColor& b)
{
    const qreal la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The wanted text colour where it reads well on background, else black or
// white, whichever reads better.
QColor readable(const QColor& wanted, const QColor& background)
{
    if (contrast(wanted, background) >= 4.5)
        return wanted;
    return contrast(Qt::black, background) >= contrast(Qt::white, background) ? QColor(Qt::black)
                                                                              : QColor(Qt::white);
}

QColor mix(const QColor& a, const QColor& b, qreal share)
{
    return QColor::fromRgbF(a.redF() * (1 - share) + b.redF() * share,
                            a.greenF() * (1 - share) + b.greenF() * share,
                            a.blueF() * (1 - share) + b.blueF() * share);
}

QFont scaled(QFont font, qreal factor)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else
        font.setPixelSize(qRound(font.pixelSize() * factor));
    return font;
}

// The room above the first header, which sets the list off from the toolbar.
int topGap(const QFont& base)
{
    return QFontMetrics(MainList_itemDelegate::entryFont(base)).height();
}

int iconSide(const QFontMetrics& metrics)
{
    return qMax(16, qRound(metrics.height() * 0.85));
}

} // namespace

MainList_itemDelegate::MainList_itemDelegate(QTreeWidget* list)
    : QAbstractItemDelegate(list), m_list(list)
{
}

QFont MainList_itemDelegate::entryFont(const QFont& base)
{
    return scaled(base, 1.2);
}

QFont MainList_itemDelegate::headerFont(const QFont& base)
{
    return scaled(base, 1.5);
}

QColor MainList_itemDelegate::groupColour(int group)
{
    return group >= 0 && group < 5 ? groupColours[group] : QColor(Qt::gray);
}

void MainList_itemDelegate::setGroupTotals(const quint64* bytes, const int* counts)
{
    std::copy(bytes, bytes + 5, m_groupBytes);
    std::copy(counts, counts + 5, m_groupCounts);
}

QSize MainList_itemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const
{
    int height;
    if (index.parent().isValid()) {
        height = qRound(QFontMetrics(entryFont(option.font)).height() * 1.5);
    } else {
        height = qRound(QFontMetrics(headerFont(option.font)).height() * 1.4) + 8;
        if (index.row() == 0)
            height += topGap(option.font);
    }
    return QSize(m_list->width(), height);
}

void MainList_itemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    if (index.column() != 1 && index.column() != 2)
        return;
    painter->save();
    if (index.parent().isValid())
        paintEntry(painter, option, index);
    else
        paintHeader(painter, option, index);
    painter->restore();
}

void MainList_itemDelegate::paintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    const int group = index.row();
    if (group < 0 || group >= 5)
        return;
    const QRect r = option.rect;
    const QColor& c = groupColours[group];
    int h = r.height() - 7;
    if (group == 0)
        h -= topGap(option.font);
    const int s = h / 3;
    const bool hasEntries = index.model()->index(0, 1, index.siblingAtColumn(0)).isValid();

    if (index.column() == 1) {
        const QFont font = headerFont(option.font);
        painter->setFont(font);
        painter->setPen(readable(Qt::white, c));
        const QString title = index.data(Qt::DisplayRole).toString();
        const int w = QFontMetrics(font).horizontalAdvance(title);
        const QRect tab(QPoint(r.left(), r.bottom() - h),
                        QPoint(r.left() + w + 39, r.bottom() - 1));
        painter->fillRect(tab, c);
        if (hasEntries)
            painter->fillRect(
                QRect(QPoint(r.left() + w + 39, r.bottom() - s), QPoint(r.right(), r.bottom() - 1)),
                c);
        painter->drawText(QRectF(tab.translated(20, 0)), title,
                          QTextOption(Qt::AlignLeft | Qt::AlignVCenter));
    } else if (hasEntries) {
        painter->fillRect(
            QRect(QPoint(r.left(), r.bottom() - s), QPoint(r.right(), r.bottom() - 1)), c);
    }
    if (!hasEntries || m_groupCounts[group] == 0)
        return;
    // The group's count at the right of the name column and its size in the
    // size column, above the rule.
    const QFont font = entryFont(option.font);
    painter->setFont(font);
    painter->setPen(option.palette.color(QPalette::Text));
    const QRect above(QPoint(r.left(), r.bottom() - h), QPoint(r.right() - 6, r.bottom() - s - 1));
    if (index.column() == 1) {
        const int entries = m_groupCounts[group];
        const QString count =
            QCoreApplication::translate("MainList", "%n entries", nullptr, entries);
        // Right of the tab, where there is room for it.
        const int tabEnd = r.left() +
                           QFontMetrics(headerFont(option.font))
                               .horizontalAdvance(index.data(Qt::DisplayRole).toString()) +
                           47;
        if (QFontMetrics(font).horizontalAdvance(count) <= above.right() - tabEnd)
            painter->drawText(above, int(Qt::AlignRight | Qt::AlignVCenter), count);
    } else {
        painter->drawText(above, int(Qt::AlignLeft | Qt::AlignVCenter),
                          sizeText(m_groupBytes[group]));
    }
}

void MainList_itemDelegate::paintEntry(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    const QRect r = option.rect;
    const EntryPos pos{index.siblingAtColumn(1).data(Qt::UserRole).toInt(), index.row()};
    DM* model = dataModel();
    // A repaint may come between a change of the model and the list's update.
    const Entry* e = model->isValidPos(pos) ? &model->entryAt(pos) : nullptr;
    const bool unmeasured = e && e->Issue != NoSizeIssue;
    QFont font = entryFont(option.font);
    font.setItalic(unmeasured);
    const QFontMetrics metrics(font);
    painter->setFont(font);

    QPalette::ColorGroup cg = QPalette::Active;
    if (!(option.state & QStyle::State_Enabled))
        cg = QPalette::Disabled;
    else if (!(option.state & QStyle::State_Active))
        cg = QPalette::Inactive;
    const bool selected = option.showDecorationSelected && (option.state & QStyle::State_Selected);
    QColor background = option.palette.color(cg, QPalette::Base);
    QColor ink = option.palette.color(cg, QPalette::Text);
    if (selected) {
        background = option.palette.color(cg, QPalette::Highlight);
        ink = option.palette.color(cg, QPalette::HighlightedText);
        painter->fillRect(r, background);
    } else if (index.row() % 2 == 0) {
        // A faint wash of blue over the theme's base, light or dark.
        background = mix(background, groupColours[Background], 0.08);
        painter->fillRect(r, background);
    }
    painter->setPen(readable(unmeasured && !selected ? unmeasuredInk : ink, background));

    QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
    layout.setWrapMode(QTextOption::NoWrap);
    const QString text = index.data(Qt::DisplayRole).toString();

    if (index.column() == 1) {
        const int side = iconSide(metrics);
        const QRect iconBox(r.left() + 20, r.top() + (r.height() - side) / 2, side, side);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        if (unmeasured) {
            painter->drawPixmap(iconBox, m_list->style()
                                             ->standardIcon(QStyle::SP_MessageBoxWarning)
                                             .pixmap(side, side, QIcon::Normal, QIcon::Off));
        } else if (e) {
            if (e->Kind == Folder) {
                const QPixmap folder = m_iconProvider.icon(QFileIconProvider::Folder)
                                           .pixmap(side, side, QIcon::Normal, QIcon::Off);
                painter->drawPixmap(iconBox, folder);
            } else if (const QPixmap* file = fileIcon(e->Ident)) {
                painter->drawPixmap(iconBox, *file);
            }
        }
        const QRect textBox(QPoint(iconBox.right() + 6, r.top()), r.bottomRight());
        painter->setClipRect(textBox, Qt::IntersectClip);
        painter->drawText(QRectF(textBox),
                          metrics.elidedText(text, Qt::ElideMiddle, textBox.width()), layout);
    } else {
        painter->setClipRect(r, Qt::IntersectClip);
        painter->drawText(QRectF(r), text, layout);
    }
}
