// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidget>

#include "control/IViewItems.h"

class QTreeWidgetItem;

// The entry list: five group headers (top-level rows, row = group number)
// with the group's entries as child rows, in model order. It reads the model
// only to build rows and changes its rows only when the controller says so.
// Selection changes, double clicks and drops go to the controller.
class MainList : public QTreeWidget, public IViewItems
{
    Q_OBJECT
public:
    explicit MainList(QWidget* parent = nullptr);
    ~MainList() override;

    void insertItem(const EntryPos& pos) override;
    void removeItem(const EntryPos& pos) override;
    void updateItemSize(const EntryPos& pos) override;
    void moveItem(const EntryPos& from, const EntryPos& to) override;
    void rebuildItems() override;
    int selectedCount() override;
    void selectedPositions(std::vector<EntryPos>& out) override;
    int currentGroup() override;
    void selectAllInGroup(int group) override;
    void invertSelectionInGroup(int group) override;
    void regroupItems(const Regroup& change) override;
    void selectItems(const std::vector<EntryPos>& positions) override;
    // What a drag of the selected entries carries: it names this list, so
    // that a drag from another window or program is never taken for one.
    QMimeData* dragData() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void on_clickedEntry(const QModelIndex& index);
    void on_doubleClickedEntry(const QModelIndex& index);
    void reportSelection();
    // Selects the rows appended since the last time, as ranges.
    void selectNewRows();

private:
    QTreeWidgetItem* makeEntryItem(const EntryPos& pos);
    // The size column and the tooltip, from the entry at pos.
    void showEntrySize(QTreeWidgetItem* item, const EntryPos& pos);
    // The entry row at pos, or nullptr when there is none.
    QTreeWidgetItem* rowAt(const EntryPos& pos) const;
    // The selected entry rows, read from the selection's ranges: groups and
    // indexes ascending, each once.
    void selectedInListOrder(std::vector<EntryPos>& out);
    // Selects rows (ascending) with one range per contiguous block.
    void selectRows(const std::vector<EntryPos>& rows);
    // Brings the rows from first to last into view, as many as fit.
    void showRows(const EntryPos& first, const EntryPos& last);
    // Where the list's own entries are dragged, the group a drop there moves
    // some of them to; NoGroup for any other drag or place.
    int ownDropGroup(const QDropEvent* event) const;
    QByteArray dragIdent() const;

    QTreeWidgetItem* m_groupItems[5] = {};
    // While the controller itself changes the rows, or the list goes away,
    // selection changes are not reported back to it.
    int m_quiet = 0;
    std::vector<EntryPos> m_newRows; // appended, to be selected
    int m_dropGroup = NoGroup;       // where a drag of entries would move them, shown
    unsigned m_dragFrom = 0;         // the groups the dragged entries come from, as bits
};
