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
    // A group's own colour, the same in light and dark themes.
    static QColor groupColour(int group);

    // What each group's header shows on its right: its size and count.
    void setGroupTotals(const quint64* bytes, const int* counts);

private:
    void paintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                     const QModelIndex& index) const;
    void paintEntry(QPainter* painter, const QStyleOptionViewItem& option,
                    const QModelIndex& index) const;

    QTreeWidget* m_list;
    QFileIconProvider m_iconProvider; // the folder icon
    quint64 m_groupBytes[5] = {};
    int m_groupCounts[5] = {};
};
