// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MainList.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QLocale>
#include <QMimeData>
#include <QPainter>
#include <QTimer>
#include <QUrl>

#include "control/Ctrl.h"
#include "core/model/DM.h"
#include "core/model/Regroup.h"
#include "core/model/SizeText.h"
#include "gui/MainList_itemDelegate.h"

namespace {
constexpr int GroupCount = 5;
// A drag of the list's own entries; the data names the list, so that a drag
// from another window or program is never taken for one.
const char* const EntriesMime = "application/x-quillmarch-entries";

bool isGroup(int group)
{
    return group >= 0 && group < GroupCount;
}

// Blocks the selection reports for the lifetime of the guard.
struct Quiet
{
    explicit Quiet(int& counter) : m_counter(counter) { ++m_counter; }
    ~Quiet() { --m_counter; }
    int& m_counter;
};
} // namespace

MainList::MainList(QWidget* parent) : QTreeWidget(parent)
{
    setItemDelegate(new MainList_itemDelegate(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setColumnCount(4);
    QHeaderView* head = header();
    head->setStretchLastSection(false);
    // The margins are narrower than the style's least section width.
    head->setMinimumSectionSize(20);
    head->setSectionResizeMode(1, QHeaderView::Stretch);
    setHeaderLabels({QString(), tr("Name"), tr("Size"), QString()});
    // The size column fits the widest size text in the entries' font.
    const int sizeWidth = QFontMetrics(MainList_itemDelegate::entryFont(font()))
                              .horizontalAdvance(QStringLiteral("1023.9 MiB")) +
                          24;
    for (int column : {0, 3, 2}) {
        head->setSectionResizeMode(column, QHeaderView::Fixed);
        head->resizeSection(column, column == 2 ? sizeWidth : 20);
    }
    setRootIsDecorated(false);
    connect(this, &QTreeWidget::clicked, this, &MainList::on_clickedEntry);
    connect(this, &QTreeWidget::doubleClicked, this, &MainList::on_doubleClickedEntry);
    // Keyboard selection too, so the summary and the entry commands never lag behind.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainList::reportSelection);
    setDragDropMode(QAbstractItemView::DragDrop);
    // A drop moves entries to the end of a group, never between two rows.
    setDropIndicatorShown(false);

    for (int g = 0; g < GroupCount; ++g) {
        auto* item = new QTreeWidgetItem;
        item->setText(1, groupTitle(g));
        item->setData(1, Qt::UserRole, -1);
        item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
        addTopLevelItem(item);
        item->setExpanded(true);
        m_groupItems[g] = item;
    }
    rebuildItems();
}

MainList::~MainList()
{
    // Clearing the rows changes the selection; the controller must not hear of it.
    ++m_quiet;
    disconnect(selectionModel(), nullptr, this, nullptr);
}

QTreeWidgetItem* MainList::makeEntryItem(const EntryPos& pos)
{
    const Entry& e = dataModel()->entryAt(pos);
    auto* item = new QTreeWidgetItem;
    item->setText(1, e.Name);
    item->setData(1, Qt::UserRole, pos.group);
    showEntrySize(item, pos);
    return item;
}

void MainList::showEntrySize(QTreeWidgetItem* item, const EntryPos& pos)
{
    const Entry& e = dataModel()->entryAt(pos);
    const bool known = e.IsValidSize && e.Issue == NoSizeIssue;
    item->setText(2, known ? sizeText(e.Size) : QStringLiteral("?"));
    // Tells apart entries of the same name, and why a size is missing; the
    // delegate gives an entry the search leaves out its own look.
    const QString why = sizeIssueText(e.Issue);
    const QString size = known            ? tr("%1 bytes").arg(QLocale().toString(e.Size))
                         : !why.isEmpty() ? tr("%1: Dispense leaves it out").arg(why)
                                          : tr("not known yet: the folder is still being measured");
    const QString tip = tr("%1\nSize: %2").arg(e.Ident, size);
    item->setToolTip(1, tip);
    item->setToolTip(2, tip);
}

QTreeWidgetItem* MainList::rowAt(const EntryPos& pos) const
{
    if (!isGroup(pos.group) || pos.index < 0)
        return nullptr;
    return m_groupItems[pos.group]->child(pos.index);
}

void MainList::insertItem(const EntryPos& pos)
{
    if (!isGroup(pos.group) || pos.index < 0 || pos.index > m_groupItems[pos.group]->childCount() ||
        !dataModel()->isValidPos(pos))
        return;
    Quiet quiet(m_quiet);
    QTreeWidgetItem* item = makeEntryItem(pos);
    if (pos.index < m_groupItems[pos.group]->childCount()) {
        selectNewRows(); // their places are about to shift
        m_groupItems[pos.group]->insertChild(pos.index, item);
        item->setSelected(true);
        return;
    }
    m_groupItems[pos.group]->addChild(item);
    // Selected with the rows added after it, as one range: one range per row
    // would make every later selection change cost a pass over all of them.
    if (m_newRows.empty()) {
        // Normally the controller reads the selection first; if not, it hears of it.
        QTimer::singleShot(0, this, [this] {
            if (m_newRows.empty())
                return;
            selectNewRows();
            reportSelection();
        });
    }
    m_newRows.push_back(pos);
}

void MainList::selectNewRows()
{
    if (m_newRows.empty())
        return;
    Quiet quiet(m_quiet);
    std::vector<EntryPos> rows;
    rows.swap(m_newRows);
    std::sort(rows.begin(), rows.end());
    selectRows(rows);
}

void MainList::removeItem(const EntryPos& pos)
{
    selectNewRows();
    Quiet quiet(m_quiet);
    delete rowAt(pos);
}

void MainList::updateItemSize(const EntryPos& pos)
{
    QTreeWidgetItem* item = rowAt(pos);
    if (!item || !dataModel()->isValidPos(pos))
        return;
    showEntrySize(item, pos);
}

void MainList::moveItem(const EntryPos& from, const EntryPos& to)
{
    removeItem(from);
    insertItem(to);
}

void MainList::rebuildItems()
{
    Quiet quiet(m_quiet);
    // Updates off and the selection gone first: otherwise every row taken
    // costs a repaint and a pass over the selection's ranges.
    setUpdatesEnabled(false);
    m_newRows.clear();
    clearSelection();
    DM* model = dataModel();
    for (int g = 0; g < GroupCount; ++g) {
        QTreeWidgetItem* head = m_groupItems[g];
        qDeleteAll(head->takeChildren());
        QList<QTreeWidgetItem*> rows;
        rows.reserve(model->groupSize(g));
        for (EntryPos p = model->groupBegin(g); model->isValidPos(p); ++p.index)
            rows.append(makeEntryItem(p));
        head->addChildren(rows);
    }
    setUpdatesEnabled(true);
}

void MainList::selectedInListOrder(std::vector<EntryPos>& out)
{
    selectNewRows();
    out.clear();
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& range : selection) {
        const QModelIndex parent = range.parent();
        if (!parent.isValid() || !isGroup(parent.row()))
            continue; // headers are not entries
        for (int i = range.top(); i <= range.bottom(); ++i)
            out.push_back(EntryPos{parent.row(), i});
    }
    // Ranges may overlap (one per column, or after toggling).
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

void MainList::selectRows(const std::vector<EntryPos>& rows)
{
    QItemSelection selection;
    const int lastColumn = columnCount() - 1;
    for (std::size_t a = 0; a < rows.size();) {
        std::size_t b = a + 1;
        while (b < rows.size() && rows[b].group == rows[a].group &&
               rows[b].index == rows[b - 1].index + 1)
            ++b;
        const QModelIndex parent = model()->index(rows[a].group, 0);
        selection.select(model()->index(rows[a].index, 0, parent),
                         model()->index(rows[b - 1].index, lastColumn, parent));
        a = b;
    }
    if (!selection.isEmpty())
        selectionModel()->select(selection, QItemSelectionModel::Select);
}

int MainList::selectedCount()
{
    std::vector<EntryPos> rows;
    selectedInListOrder(rows);
    return int(rows.size());
}

void MainList::selectedPositions(std::vector<EntryPos>& out)
{
    selectedInListOrder(out);
    // Groups ascending, indexes descending.
    auto from = out.begin();
    while (from != out.end()) {
        auto to = from;
        while (to != out.end() && to->group == from->group)
            ++to;
        std::reverse(from, to);
        from = to;
    }
}

void MainList::regroupItems(const Regroup& change)
{
    if (change.isEmpty())
        return;
    for (int g = 0; g < GroupCount; ++g) {
        if (change.touches(g) && m_groupItems[g]->childCount() != change.sizeBefore(g)) {
            rebuildItems(); // out of step with the model: show the model as it is
            return;
        }
    }
    std::vector<EntryPos> wasSelected;
    selectedInListOrder(wasSelected);
    Quiet quiet(m_quiet);
    setUpdatesEnabled(false);
    // Every row of the touched groups out at once, back in the order of the
    // change: one pass, however many rows move.
    QList<QTreeWidgetItem*> rows[GroupCount];
    for (int g = 0; g < GroupCount; ++g) {
        if (change.touches(g))
            rows[g] = m_groupItems[g]->takeChildren();
    }
    QList<QTreeWidgetItem*> gone;
    for (const Regroup::Move& m : change.moves()) {
        if (m.to == NoGroup)
            gone.append(rows[m.from.group].at(m.from.index));
    }
    change.apply(rows);
    // The rows that stayed keep their selection; those that arrived are selected.
    std::vector<char> was[GroupCount];
    for (const EntryPos& p : wasSelected) {
        if (change.touches(p.group)) {
            was[p.group].resize(std::size_t(change.sizeBefore(p.group)));
            was[p.group][std::size_t(p.index)] = 1;
        }
    }
    std::vector<EntryPos> selected;
    EntryPos firstArrived, lastArrived;
    for (int g = 0; g < GroupCount; ++g) {
        if (!change.touches(g))
            continue;
        const std::vector<EntryPos>& after = change.groupAfter(g);
        for (std::size_t k = 0; k < after.size(); ++k) {
            const bool arrived = k >= change.keptCount(g);
            if (arrived) {
                rows[g].at(int(k))->setData(1, Qt::UserRole, g);
                if (firstArrived.group == NoGroup)
                    firstArrived = EntryPos{g, int(k)};
                lastArrived = EntryPos{g, int(k)};
            }
            if (arrived || (!was[g].empty() && was[g][std::size_t(after[k].index)]))
                selected.push_back(EntryPos{g, int(k)});
        }
        m_groupItems[g]->addChildren(rows[g]);
    }
    qDeleteAll(gone);
    selectRows(selected);
    setUpdatesEnabled(true);
    // Where the moved entries went, not where they were.
    if (firstArrived.group != NoGroup)
        showRows(firstArrived, lastArrived);
}

void MainList::selectItems(const std::vector<EntryPos>& positions)
{
    Quiet quiet(m_quiet);
    m_newRows.clear();
    clearSelection();
    std::vector<EntryPos> rows;
    for (const EntryPos& p : positions)
        if (rowAt(p))
            rows.push_back(p);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    selectRows(rows);
    if (rows.empty())
        return;
    // Keys and Shift+click go on from there.
    const QModelIndex first = indexFromItem(rowAt(rows.front()), 1);
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    showRows(rows.front(), rows.back());
}

void MainList::showRows(const EntryPos& first, const EntryPos& last)
{
    // The last, then the first: all of them where they fit, the first always.
    for (const EntryPos& p : {last, first})
        if (QTreeWidgetItem* row = rowAt(p))
            scrollToItem(row, QAbstractItemView::EnsureVisible);
}

int MainList::currentGroup()
{
    const QModelIndex index = currentIndex();
    if (!index.isValid())
        return NoGroup;
    return index.parent().isValid() ? index.parent().row() : index.row();
}

void MainList::selectAllInGroup(int group)
{
    if (!isGroup(group) || m_groupItems[group]->childCount() == 0)
        return;
    selectNewRows();
    Quiet quiet(m_quiet);
    const QModelIndex parent = model()->index(group, 0);
    const QItemSelection all(
        model()->index(0, 0, parent),
        model()->index(m_groupItems[group]->childCount() - 1, columnCount() - 1, parent));
    selectionModel()->select(all, QItemSelectionModel::Select);
}

void MainList::invertSelectionInGroup(int group)
{
    if (!isGroup(group) || m_groupItems[group]->childCount() == 0)
        return;
    Quiet quiet(m_quiet);
    // One toggle of the whole group rather than a change per row.
    std::vector<EntryPos> before;
    selectedInListOrder(before);
    std::vector<EntryPos> after;
    const int n = m_groupItems[group]->childCount();
    auto s = std::lower_bound(before.begin(), before.end(), EntryPos{group, 0});
    for (int i = 0; i < n; ++i) {
        if (s != before.end() && *s == EntryPos{group, i})
            ++s;
        else
            after.push_back(EntryPos{group, i});
    }
    const QModelIndex parent = model()->index(group, 0);
    selectionModel()->select(QItemSelection(model()->index(0, 0, parent),
                                            model()->index(n - 1, columnCount() - 1, parent)),
                             QItemSelectionModel::Deselect);
    selectRows(after);
}

void MainList::on_clickedEntry(const QModelIndex& index)
{
    Q_UNUSED(index);
    controller()->selectionChanged();
}

void MainList::on_doubleClickedEntry(const QModelIndex& index)
{
    if (!index.parent().isValid())
        return; // a header: the tree itself folds or unfolds it
    controller()->entryReveal(EntryPos{index.parent().row(), index.row()});
}

void MainList::reportSelection()
{
    if (m_quiet == 0)
        controller()->selectionChanged();
}

void MainList::paintEvent(QPaintEvent* event)
{
    QTreeWidget::paintEvent(event);
    if (m_dropGroup != NoGroup) {
        // The group a drop would move the dragged entries to, framed whole.
        QTreeWidgetItem* head = m_groupItems[m_dropGroup];
        QRect frame = visualItemRect(head);
        if (head->isExpanded() && head->childCount() > 0)
            frame = frame.united(visualItemRect(head->child(head->childCount() - 1)));
        QPainter painter(viewport());
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(frame.adjusted(1, 1, -1, -1));
    }
    if (dataModel()->entryCount() > 0)
        return;
    // Below the group headers: what to do first.
    QRect room = viewport()->rect();
    room.setTop(visualItemRect(m_groupItems[GroupCount - 1]).bottom() + 1);
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(room, Qt::AlignCenter | Qt::TextWordWrap,
                     tr("Add files and folders, or drop them here"));
}

void MainList::startDrag(Qt::DropActions supportedActions)
{
    Q_UNUSED(supportedActions);
    std::vector<EntryPos> rows;
    selectedInListOrder(rows);
    if (rows.empty())
        return;
    QMimeData* data = dragData();
    // How many go, beside the pointer.
    const QString text = tr("%n entries", nullptr, int(rows.size()));
    const QFontMetrics metrics(font());
    const qreal scale = devicePixelRatioF();
    QPixmap picture(QSize(metrics.horizontalAdvance(text) + 12, metrics.height() + 6) * scale);
    picture.setDevicePixelRatio(scale);
    picture.fill(palette().color(QPalette::Highlight));
    {
        QPainter painter(&picture);
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(QRectF(QPointF(), picture.size() / scale), Qt::AlignCenter, text);
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(picture);
    drag->setHotSpot(QPoint(-12, -12));
    // The drop itself asks the controller; what exec says changes nothing here.
    drag->exec(Qt::MoveAction);
}

QByteArray MainList::dragIdent() const
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ' ' +
           QByteArray::number(quintptr(this));
}

QMimeData* MainList::dragData() const
{
    auto* data = new QMimeData;
    data->setData(QLatin1String(EntriesMime), dragIdent());
    return data;
}

int MainList::ownDropGroup(const QDropEvent* event) const
{
    if (event->mimeData()->data(QLatin1String(EntriesMime)) != dragIdent())
        return NoGroup;
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    const QModelIndex index = indexAt(event->pos());
#else
    const QModelIndex index = indexAt(event->position().toPoint());
#endif
    if (!index.isValid())
        return NoGroup;
    const int group = index.parent().isValid() ? index.parent().row() : index.row();
    // Only a search puts entries into Dispensed; a drop must move something.
    if (group < Required || group > NotInUse || (m_dragFrom & ~(1u << unsigned(group))) == 0)
        return NoGroup;
    return group;
}

void MainList::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QLatin1String(EntriesMime))) {
        // The dragged entries are the selection, which stays as it is meanwhile.
        std::vector<EntryPos> rows;
        selectedInListOrder(rows);
        m_dragFrom = 0;
        for (const EntryPos& p : rows)
            m_dragFrom |= 1u << unsigned(p.group);
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainList::dragMoveEvent(QDragMoveEvent* event)
{
    if (!event->mimeData()->hasFormat(QLatin1String(EntriesMime))) {
        if (event->mimeData()->hasUrls())
            event->acceptProposedAction();
        return;
    }
    // The base scrolls near the edges; whether the drop is taken is said here.
    QTreeWidget::dragMoveEvent(event);
    const int group = ownDropGroup(event);
    if (group != m_dropGroup) {
        m_dropGroup = group;
        viewport()->update();
    }
    if (group == NoGroup) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void MainList::dragLeaveEvent(QDragLeaveEvent* event)
{
    QTreeWidget::dragLeaveEvent(event);
    m_dropGroup = NoGroup;
    viewport()->update();
}

void MainList::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data->hasFormat(QLatin1String(EntriesMime))) {
        const int group = ownDropGroup(event);
        m_dropGroup = NoGroup;
        stopAutoScroll();
        setState(NoState);
        viewport()->update();
        if (group == NoGroup)
            return;
        event->setDropAction(Qt::MoveAction);
        event->accept();
        controller()->entriesMoveTo(group);
        return;
    }
    if (!data->hasUrls())
        return;
    QStringList paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls)
        paths.append(url.toLocalFile());
    // Left unaccepted: the source must not take the drop for a finished move
    // and delete its files.
    controller()->pathsAdd(paths);
}
