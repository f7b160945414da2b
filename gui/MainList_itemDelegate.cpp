#include "gui/MainList_itemDelegate.h"

#include <QPainter>
#include <QStyle>
#include <QTextOption>
#include <QTreeWidget>

#include "platform/ShellIcons.h"
#include "core/model/DM.h"

namespace {

// The drawing constants, built on first use and kept until exit.
struct Palette
{
    int entryFontSize = 16;
    int headerFontSize = 20;
    QColor entryText{16, 16, 16};
    QColor headerText{255, 255, 255};
    QColor stripe{236, 249, 254};
    QColor unmeasured{176, 48, 0}; // an entry the search leaves out
    QColor groups[5] = {
        {160, 83, 165}, {247, 131, 3}, {143, 185, 49}, {31, 177, 230}, {128, 128, 128}};
};

const Palette& palette()
{
    static const Palette p;
    return p;
}

} // namespace

MainList_itemDelegate::MainList_itemDelegate(QTreeWidget* list)
    : QAbstractItemDelegate(list), m_list(list)
{
}

QSize MainList_itemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const
{
    Q_UNUSED(option);
    const Palette& pal = palette();
    int height;
    if (index.parent().isValid()) {
        height = int(pal.entryFontSize * 1.8);
    } else {
        height = int(pal.headerFontSize * 1.6 + 8.0);
        if (index.row() == 0)
            height += 20;
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
    const Palette& pal = palette();
    const int group = index.row();
    if (group < 0 || group >= 5)
        return;
    const QRect r = option.rect;
    const QColor& c = pal.groups[group];
    int h = (r.bottom() - r.top()) - 7;
    if (group == 0)
        h -= 20;
    const int s = h / 3;
    const bool hasEntries = index.model()->index(0, 1, index.siblingAtColumn(0)).isValid();

    if (index.column() == 1) {
        QFont font = option.font;
        font.setPixelSize(pal.headerFontSize);
        painter->setFont(font);
        painter->setPen(pal.headerText);
        const QString title = index.data(Qt::DisplayRole).toString();
        const int w = QFontMetrics(font).horizontalAdvance(title);
        const QRect tab(QPoint(r.left(), r.bottom() - h),
                        QPoint(r.left() + w + 39, r.bottom() - 1));
        painter->fillRect(tab, c);
        if (hasEntries)
            painter->fillRect(
                QRect(QPoint(r.left() + w + 39, r.bottom() - s), QPoint(r.right(), r.bottom() - 1)),
                c);
        painter->drawText(QRectF(tab.translated(20, 0)), title, QTextOption());
    } else if (hasEntries) {
        painter->fillRect(
            QRect(QPoint(r.left(), r.bottom() - s), QPoint(r.right(), r.bottom() - 1)), c);
    }
}

void MainList_itemDelegate::paintEntry(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    const Palette& pal = palette();
    const QRect r = option.rect;
    const EntryPos pos{index.siblingAtColumn(1).data(Qt::UserRole).toInt(), index.row()};
    DM* model = dataModel();
    // A repaint may come between a change of the model and the list's update.
    const Entry* e = model->isValidPos(pos) ? &model->entryAt(pos) : nullptr;
    const bool unmeasured = e && e->Issue != NoSizeIssue;
    QFont font = option.font;
    font.setPixelSize(pal.entryFontSize);
    font.setItalic(unmeasured);
    painter->setFont(font);
    painter->setPen(unmeasured ? pal.unmeasured : pal.entryText);

    if (option.showDecorationSelected && (option.state & QStyle::State_Selected)) {
        QPalette::ColorGroup cg = QPalette::Active;
        if (!(option.state & QStyle::State_Enabled))
            cg = QPalette::Disabled;
        else if (!(option.state & QStyle::State_Active))
            cg = QPalette::Inactive;
        painter->fillRect(r, option.palette.brush(cg, QPalette::Highlight));
    } else if (index.row() % 2 == 0) {
        painter->fillRect(r, pal.stripe);
    }

    QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
    layout.setWrapMode(QTextOption::NoWrap);
    const QString text = index.data(Qt::DisplayRole).toString();

    if (index.column() == 1) {
        const QRect iconBox(r.left() + 20, r.top() + (r.bottom() - r.top() - 15) / 2, 16, 16);
        if (unmeasured) {
            painter->drawPixmap(iconBox, m_list->style()
                                             ->standardIcon(QStyle::SP_MessageBoxWarning)
                                             .pixmap(16, 16, QIcon::Normal, QIcon::Off));
        } else if (e) {
            if (e->Kind == Folder) {
                const QPixmap folder = m_iconProvider.icon(QFileIconProvider::Folder)
                                           .pixmap(16, 16, QIcon::Normal, QIcon::Off);
                painter->drawPixmap(iconBox, folder);
            } else if (const QPixmap* file = fileIcon(e->Ident)) {
                painter->drawPixmap(iconBox, *file);
            }
        }
        const QRect textBox(QPoint(r.left() + 41, r.top()),
                            QPoint(r.right() - r.left(), r.bottom()));
        painter->setClipRect(textBox, Qt::IntersectClip);
        painter->drawText(QRectF(textBox), text, layout);
    } else {
        painter->setClipRect(r, Qt::IntersectClip);
        painter->drawText(QRectF(r), text, layout);
    }
}
