#include "gui/MainList.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>

#include "control/Ctrl.h"
#include "core/model/DM.h"
#include "gui/MainList_itemDelegate.h"
#include "core/model/SizeText.h"

namespace {
constexpr int GroupCount = 5;

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
    setHeaderLabels({QString(), QStringLiteral("Name"), QStringLiteral("Size"), QString()});
    for (int column : {0, 3, 2}) {
        head->setSectionResizeMode(column, QHeaderView::Fixed);
        head->resizeSection(column, column == 2 ? 120 : 20);
    }
    setRootIsDecorated(false);
    connect(this, &QTreeWidget::clicked, this, &MainList::on_clickedEntry);
    connect(this, &QTreeWidget::doubleClicked, this, &MainList::on_doubleClickedEntry);
    // Keyboard selection too, so the summary and the entry commands never lag behind.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainList::on_selectionChanged);
    setDragDropMode(QAbstractItemView::DragDrop);

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
    showSize(item, e);
    item->setData(1, Qt::UserRole, pos.group);
    return item;
}

void MainList::showSize(QTreeWidgetItem* item, const Entry& e)
{
    const bool known = e.IsValidSize && e.Issue == NoSizeIssue;
    item->setText(2, known ? sizeText(e.Size) : QStringLiteral("?"));
    // Why the search leaves it out; the delegate gives it its own look.
    const QString why = sizeIssueText(e.Issue);
    item->setToolTip(1,
                     why.isEmpty() ? QString() : why + QStringLiteral(": Dispense leaves it out"));
    item->setToolTip(2, item->toolTip(1));
}

QTreeWidgetItem* MainList::entryItem(const EntryPos& pos) const
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
    m_groupItems[pos.group]->insertChild(pos.index, item);
    item->setSelected(true);
}

void MainList::removeItem(const EntryPos& pos)
{
    Quiet quiet(m_quiet);
    delete entryItem(pos);
}

void MainList::updateItemSize(const EntryPos& pos)
{
    QTreeWidgetItem* item = entryItem(pos);
    if (!item || !dataModel()->isValidPos(pos))
        return;
    showSize(item, dataModel()->entryAt(pos));
}

void MainList::moveItem(const EntryPos& from, const EntryPos& to)
{
    removeItem(from);
    insertItem(to);
}

void MainList::rebuildItems()
{
    Quiet quiet(m_quiet);
    DM* model = dataModel();
    for (int g = 0; g < GroupCount; ++g) {
        QTreeWidgetItem* head = m_groupItems[g];
        for (int i = head->childCount() - 1; i >= 0; --i)
            delete head->child(i);
        QList<QTreeWidgetItem*> rows;
        for (EntryPos p = model->groupBegin(g); model->isValidPos(p); ++p.index)
            rows.append(makeEntryItem(p));
        head->addChildren(rows);
    }
    update();
}

int MainList::selectedCount()
{
    int n = 0;
    for (QTreeWidgetItem* head : m_groupItems) {
        for (int i = 0; i < head->childCount(); ++i)
            n += head->child(i)->isSelected() ? 1 : 0;
    }
    return n;
}

void MainList::selectedPositions(std::vector<EntryPos>& out)
{
    out.clear();
    for (int g = 0; g < GroupCount; ++g) {
        QTreeWidgetItem* head = m_groupItems[g];
        for (int i = head->childCount() - 1; i >= 0; --i) {
            if (head->child(i)->isSelected())
                out.push_back(EntryPos{g, i});
        }
    }
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
    if (!isGroup(group))
        return;
    Quiet quiet(m_quiet);
    QTreeWidgetItem* head = m_groupItems[group];
    for (int i = 0; i < head->childCount(); ++i)
        head->child(i)->setSelected(true);
}

void MainList::invertSelectionInGroup(int group)
{
    if (!isGroup(group))
        return;
    Quiet quiet(m_quiet);
    QTreeWidgetItem* head = m_groupItems[group];
    for (int i = 0; i < head->childCount(); ++i)
        head->child(i)->setSelected(!head->child(i)->isSelected());
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

void MainList::on_selectionChanged()
{
    if (m_quiet == 0)
        controller()->selectionChanged();
}

void MainList::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainList::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainList::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
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
