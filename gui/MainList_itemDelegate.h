// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemDelegate>
#include <QFileIconProvider>

class QTreeWidget;

// Draws the entry list: group headers as coloured tabs with a rule under a
// group that has entries, entries as striped rows with icon, name and size.
// Columns 0 and 3 are margins and stay unpainted. Colours come from the
// palette (text kept readable on every row) and sizes from the font.
class MainList_itemDelegate : public QAbstractItemDelegate
{
    Q_OBJECT
public:
    explicit MainList_itemDelegate(QTreeWidget* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The fonts of entries and of group headers, from the list's font.
    static QFont entryFont(const QFont& base);
    static QFont headerFont(const QFont& base);

private:
    void paintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                     const QModelIndex& index) const;
    void paintEntry(QPainter* painter, const QStyleOptionViewItem& option,
                    const QModelIndex& index) const;

    QTreeWidget* m_list;
    QFileIconProvider m_iconProvider; // the folder icon
};
