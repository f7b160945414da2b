#include <QtTest>

#include <QHeaderView>
#include <QMimeData>

#include "core/model/DM.h"
#include "core/model/SizeText.h"
#include "tests/common/RecordingCtrl.h"
#include "gui/MainList.h"

namespace {

// Adds an entry to the model and moves it into group; returns its position.
EntryPos addEntry(int group, const QString& name, quint64 size, bool known = true)
{
    Entry e;
    e.Name = name;
    e.Path = "/data";
    e.Ident = e.Path + '/' + name;
    e.Size = size;
    e.IsValidSize = known;
    e.Kind = known ? File : Folder;
    EntryPos p = dataModel()->addEntry(e);
    if (group != Main)
        dataModel()->moveEntry(p, group);
    return p;
}

// Fills the model from a layout like "1:a,b;2:c": group 1 gets a and b, group 2 c.
// Entry sizes are their position in the layout times 1000 bytes.
void fillModel(const QString& layout)
{
    dataModel()->newProject();
    int n = 0;
    for (const QString& part : layout.split(';', Qt::SkipEmptyParts)) {
        const int group = part.section(':', 0, 0).toInt();
        for (const QString& name : part.section(':', 1).split(','))
            addEntry(group, name, quint64(++n) * 1000);
    }
}

// The list as text: per group "g:name=size,..." for its entry rows.
QString dumpList(MainList& list)
{
    QStringList groups;
    for (int g = 0; g < list.topLevelItemCount(); ++g) {
        QTreeWidgetItem* head = list.topLevelItem(g);
        QStringList rows;
        for (int i = 0; i < head->childCount(); ++i)
            rows << head->child(i)->text(1) + '=' + head->child(i)->text(2);
        groups << QString::number(g) + ':' + rows.join(',');
    }
    return groups.join(' ');
}

// The model as the list should show it.
QString dumpModel()
{
    QStringList groups;
    for (int g = 0; g < NoGroup; ++g) {
        QStringList rows;
        for (EntryPos p{g, 0}; dataModel()->isValidPos(p); ++p.index) {
            const Entry& e = dataModel()->entryAt(p);
            rows << e.Name + '=' + (e.IsValidSize ? sizeText(e.Size) : "?");
        }
        groups << QString::number(g) + ':' + rows.join(',');
    }
    return groups.join(' ');
}

QTreeWidgetItem* row(MainList& list, int group, int index)
{
    return list.topLevelItem(group)->child(index);
}

// Selects the rows given as "{g,i} {g,i}", and nothing else.
void select(MainList& list, const QString& positions)
{
    list.clearSelection();
    for (const QString& p : positions.split(' ', Qt::SkipEmptyParts))
        row(list, p.section(',', 0, 0).mid(1).toInt(), p.section(',', 1).chopped(1).toInt())
            ->setSelected(true);
}

std::vector<EntryPos> selection(MainList& list)
{
    std::vector<EntryPos> out;
    list.selectedPositions(out);
    return out;
}

QString text(const std::vector<EntryPos>& positions)
{
    QStringList out;
    for (const EntryPos& p : positions)
        out << QString("{%1,%2}").arg(p.group).arg(p.index);
    return out.join(' ');
}

// Reaches the list's drop handler directly.
class DropSite : public MainList
{
public:
    void drop(QDropEvent* event) { dropEvent(event); }
};

} // namespace

class TestMainList : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void emptyList();
    void rebuild_data();
    void rebuild();
    void rowOperations_data();
    void rowOperations();
    void ignoredPositions_data();
    void ignoredPositions();
    void selectedPositions_data();
    void selectedPositions();
    void currentGroup_data();
    void currentGroup();
    void groupSelection_data();
    void groupSelection();
    void drops_data();
    void drops();
    void doubleClick_data();
    void doubleClick();
    void selectionReports();

private:
    DropSite* m_list = nullptr;
};

void TestMainList::init()
{
    dataModel()->newProject();
    m_list = new DropSite;
    m_list->resize(600, 700);
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list));
    recordingCtrl().take();
}

void TestMainList::cleanup()
{
    recordingCtrl().take();
    delete m_list;
    m_list = nullptr;
    // Going away reports nothing to the controller.
    QCOMPARE(recordingCtrl().take(), QStringList());
}

void TestMainList::emptyList()
{
    MainList& list = *m_list;
    QCOMPARE(list.columnCount(), 4);
    QHeaderView* head = list.header();
    QVERIFY(!head->isHidden() && !head->stretchLastSection());
    QStringList columns; // label, width, fixed
    for (int c = 0; c < 4; ++c)
        columns << QString("%1:%2:%3")
                       .arg(list.headerItem()->text(c))
                       .arg(head->sectionSize(c))
                       .arg(head->sectionResizeMode(c) == QHeaderView::Fixed);
    QCOMPARE(columns,
             QStringList({":20:1", "Name:" + QString::number(list.viewport()->width() - 160) + ":0",
                          "Size:120:1", ":20:1"}));
    QCOMPARE(head->sectionResizeMode(1), QHeaderView::Stretch);
    QCOMPARE(list.selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(list.dragDropMode(), QAbstractItemView::DragDrop);
    QVERIFY(!list.rootIsDecorated());
    QVERIFY(!list.isSortingEnabled());

    const QStringList titles =
        QStringList({"Dispensed", "Required", "Main", "Background", "Not In Use"});
    QCOMPARE(list.topLevelItemCount(), 5);
    for (int g = 0; g < 5; ++g) {
        QTreeWidgetItem* item = list.topLevelItem(g);
        QCOMPARE(item->text(1), titles[g]);
        QCOMPARE(item->text(2), QString());
        QCOMPARE(item->data(1, Qt::UserRole).toInt(), -1);
        QVERIFY(item->isExpanded() && !(item->flags() & Qt::ItemIsSelectable));
        QCOMPARE(item->childCount(), 0);
    }
}

void TestMainList::rebuild_data()
{
    QTest::addColumn<QString>("before"); // model contents when the list is built
    QTest::addColumn<QString>("after");  // model contents at the rebuild
    QTest::newRow("empty to full") << ""
                                   << "0:d1;1:r1,r2;2:m1,m2,m3;3:b1;4:n1,n2";
    QTest::newRow("full to empty") << "1:r1,r2;2:m1;4:n1"
                                   << "";
    QTest::newRow("shrink and grow") << "1:r1,r2,r3;2:m1"
                                     << "1:x;2:m1,m2,m3,m4;3:b1";
}

void TestMainList::rebuild()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    fillModel(before);
    m_list->rebuildItems();
    QCOMPARE(dumpList(*m_list), dumpModel());
    m_list->selectAll();
    m_list->topLevelItem(3)->setExpanded(false);
    recordingCtrl().take(); // the test's own selection

    fillModel(after);
    m_list->rebuildItems();
    QCOMPARE(dumpList(*m_list), dumpModel());
    // New rows are not selected; headers keep their place and state.
    QCOMPARE(m_list->selectedCount(), 0);
    QVERIFY(!m_list->topLevelItem(3)->isExpanded());
    QCOMPARE(m_list->topLevelItemCount(), 5);
    for (int g = 0; g < 5; ++g) {
        for (int i = 0; i < m_list->topLevelItem(g)->childCount(); ++i)
            QCOMPARE(row(*m_list, g, i)->data(1, Qt::UserRole).toInt(), g);
    }
    QCOMPARE(recordingCtrl().take(), QStringList());
}

void TestMainList::rowOperations_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("selected");
    // add G NAME | unknown G NAME (a folder not measured yet) | remove G I |
    // move G I TO | size G I BYTES | and, on the list alone: drop G I, insert G I
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("selectedAfter");
    const char* const rows[][5] = {
        {"insert selects, keeps selection", "1:r1;2:m1", "{1,0}", "add 2 new", "{1,0} {2,1}"},
        {"insert into another group", "1:r1;2:m1", "", "add 4 n0;add 4 n1", "{4,1} {4,0}"},
        {"insert in the middle", "2:a,b,c", "", "drop 2 1;insert 2 1", "{2,1}"},
        {"remove moves rows up", "2:a,b,c,d", "{2,3}", "remove 2 1", "{2,2}"},
        {"remove a selected row", "2:a,b", "{2,0}", "remove 2 0", ""},
        {"move keeps selection", "1:r1;2:a,b,c", "{1,0} {2,2}", "move 2 0 1", "{1,1} {1,0} {2,1}"},
        {"move out of Dispensed", "0:d0,d1;3:b0", "", "move 0 0 3", "{3,1}"},
        {"size arrives", "2:a", "", "unknown 2 folder;size 2 1 3145728", "{2,1}"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]) << QString(r[4]);
}

void TestMainList::rowOperations()
{
    QFETCH(QString, model);
    QFETCH(QString, selected);
    QFETCH(QString, steps);
    QFETCH(QString, selectedAfter);
    fillModel(model);
    m_list->rebuildItems();
    select(*m_list, selected);
    recordingCtrl().take();

    for (const QString& step : steps.split(';')) {
        const QStringList a = step.split(' ');
        const EntryPos p{a[1].toInt(), a[2].toInt()};
        if (a[0] == "add" || a[0] == "unknown") {
            const bool known = a[0] == "add";
            m_list->insertItem(addEntry(a[1].toInt(), a[2], known ? 5000 : 0, known));
            if (!known)
                QCOMPARE(
                    row(*m_list, p.group, m_list->topLevelItem(p.group)->childCount() - 1)->text(2),
                    QString("?"));
        } else if (a[0] == "remove") {
            dataModel()->removeEntry(p);
            m_list->removeItem(p);
        } else if (a[0] == "move") {
            EntryPos to = p;
            dataModel()->moveEntry(to, a[3].toInt());
            m_list->moveItem(p, to);
        } else if (a[0] == "size") {
            Entry& e = dataModel()->entryAt(p);
            e.Size = a[3].toULongLong();
            e.IsValidSize = true;
            m_list->updateItemSize(p);
        } else if (a[0] == "drop") {
            m_list->removeItem(p);
        } else {
            m_list->insertItem(p);
        }
    }
    QCOMPARE(dumpList(*m_list), dumpModel());
    QCOMPARE(text(selection(*m_list)), selectedAfter);
    // The controller made these changes itself; it is not told about them.
    QCOMPARE(recordingCtrl().take(), QStringList());
}

void TestMainList::ignoredPositions_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("index");
    QTest::newRow("past the end") << int(Main) << 2;
    QTest::newRow("negative index") << int(Main) << -1;
    QTest::newRow("no group") << int(NoGroup) << 0;
    QTest::newRow("negative group") << -1 << 0;
}

void TestMainList::ignoredPositions()
{
    QFETCH(int, group);
    QFETCH(int, index);
    fillModel("2:a,b");
    m_list->rebuildItems();
    const QString before = dumpList(*m_list);
    const EntryPos p{group, index};
    m_list->removeItem(p);
    m_list->updateItemSize(p);
    m_list->insertItem(p);
    QCOMPARE(dumpList(*m_list), before);
    QCOMPARE(m_list->selectedCount(), 0);
}

void TestMainList::selectedPositions_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("positions"); // groups in order, each from its last row up
    QTest::newRow("none") << ""
                          << "";
    QTest::newRow("two groups") << "{2,1} {2,3} {1,0}"
                                << "{1,0} {2,3} {2,1}";
    QTest::newRow("all groups") << "{4,0} {0,1} {4,2} {0,0} {2,0}"
                                << "{0,1} {0,0} {2,0} {4,2} {4,0}";
}

void TestMainList::selectedPositions()
{
    QFETCH(QString, selected);
    QFETCH(QString, positions);
    fillModel("0:d0,d1;1:r0,r1;2:m0,m1,m2,m3;4:n0,n1,n2");
    m_list->rebuildItems();
    select(*m_list, selected);
    std::vector<EntryPos> out{{3, 3}}; // emptied first
    m_list->selectedPositions(out);
    QCOMPARE(text(out), positions);
    QCOMPARE(m_list->selectedCount(), int(out.size()));
}

void TestMainList::currentGroup_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("index"); // -1: the header
    QTest::addColumn<int>("expected");
    QTest::newRow("nothing") << -1 << -1 << int(NoGroup);
    QTest::newRow("header 4") << 4 << -1 << 4;
    QTest::newRow("entry in Required") << 1 << 1 << 1;
}

void TestMainList::currentGroup()
{
    QFETCH(int, group);
    QFETCH(int, index);
    QFETCH(int, expected);
    fillModel("1:a,b;4:c");
    m_list->rebuildItems();
    m_list->setCurrentIndex(QModelIndex());
    if (group >= 0) {
        QTreeWidgetItem* item =
            index < 0 ? m_list->topLevelItem(group) : row(*m_list, group, index);
        m_list->setCurrentItem(item, 1, QItemSelectionModel::NoUpdate);
    }
    QCOMPARE(m_list->currentGroup(), expected);
}

void TestMainList::groupSelection_data()
{
    QTest::addColumn<bool>("invert");
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    const QString some = "{1,0} {2,1}";
    QTest::newRow("all in Main") << false << int(Main) << some << "{1,0} {2,2} {2,1} {2,0}";
    QTest::newRow("all in empty group") << false << int(Background) << some << "{1,0} {2,1}";
    QTest::newRow("invert Main") << true << int(Main) << some << "{1,0} {2,2} {2,0}";
    QTest::newRow("no group") << true << int(NoGroup) << some << "{1,0} {2,1}";
}

void TestMainList::groupSelection()
{
    QFETCH(bool, invert);
    QFETCH(int, group);
    QFETCH(QString, before);
    QFETCH(QString, after);
    fillModel("1:r0,r1;2:m0,m1,m2");
    m_list->rebuildItems();
    select(*m_list, before);
    recordingCtrl().take();
    if (invert)
        m_list->invertSelectionInGroup(group);
    else
        m_list->selectAllInGroup(group);
    QCOMPARE(text(selection(*m_list)), after);
    QCOMPARE(recordingCtrl().take(), QStringList());
}

void TestMainList::drops_data()
{
    QTest::addColumn<QList<QUrl>>("urls"); // empty: text only
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("three files") << QList<QUrl>{QUrl::fromLocalFile("/home/u/b.txt"),
                                                QUrl::fromLocalFile("/home/u/a dir"),
                                                QUrl::fromLocalFile("/tmp/c")}
                                 << true
                                 << QStringList({"pathsAdd /home/u/b.txt|/home/u/a dir|/tmp/c"});
    QTest::newRow("web address") << QList<QUrl>{QUrl("https://example.org/x"),
                                                QUrl::fromLocalFile("/tmp/y")}
                                 << true << QStringList({"pathsAdd |/tmp/y"});
    QTest::newRow("text only") << QList<QUrl>{} << false << QStringList{};
}

void TestMainList::drops()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, accepted);
    QFETCH(QStringList, calls);
    QMimeData data;
    data.setText("/tmp/not-a-url");
    if (!urls.isEmpty())
        data.setUrls(urls);
    QWidget* target = m_list->viewport();
    const QPoint at(100, 150);

    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QCOMPARE(move.isAccepted(), accepted);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCOMPARE(recordingCtrl().take(), calls);
    // Even handed a drop it refused at the start of the drag, the list ignores
    // data without URLs.
    if (!accepted) {
        QDropEvent late(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        m_list->drop(&late);
        QCOMPARE(recordingCtrl().take(), QStringList());
    }
    QCOMPARE(dumpList(*m_list), dumpModel()); // the drop itself adds no rows
}

void TestMainList::doubleClick_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("index"); // -1: the header
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("entry") << int(Main) << 1 << QStringList({"entryReveal {2,1}"});
    QTest::newRow("header") << int(Main) << -1 << QStringList{};
}

void TestMainList::doubleClick()
{
    QFETCH(int, group);
    QFETCH(int, index);
    QFETCH(QStringList, calls);
    fillModel("2:a,b;4:c");
    m_list->rebuildItems();
    QTreeWidgetItem* item = index < 0 ? m_list->topLevelItem(group) : row(*m_list, group, index);
    const QPoint at = m_list->visualItemRect(item).center();
    // As a window system delivers it: press, release, double click, release.
    QWidget* viewport = m_list->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &dbl);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QStringList seen;
    for (const QString& call : recordingCtrl().take()) {
        if (call != "selectionChanged")
            seen << call;
    }
    QCOMPARE(seen, calls);
    // A header folds on a double click, as the tree does by itself.
    if (index < 0)
        QVERIFY(!item->isExpanded());
}

void TestMainList::selectionReports()
{
    fillModel("2:a,b,c");
    m_list->rebuildItems();
    recordingCtrl().take();

    // A click on a row, and on a header (which is not selected but still reports).
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      m_list->visualItemRect(row(*m_list, Main, 0)).center());
    QVERIFY(recordingCtrl().take().contains("selectionChanged"));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      m_list->visualItemRect(m_list->topLevelItem(Main)).center());
    QVERIFY(recordingCtrl().take().contains("selectionChanged"));
    QVERIFY(!m_list->topLevelItem(Main)->isSelected());

    // The keyboard: Ctrl+A, and moving down a row.
    m_list->setFocus();
    QTest::keyClick(m_list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_list->selectedCount(), 3);
    QVERIFY(recordingCtrl().take().contains("selectionChanged"));
    m_list->setCurrentItem(row(*m_list, Main, 0), 1);
    recordingCtrl().take();
    QTest::keyClick(m_list, Qt::Key_Down);
    QCOMPARE(text(selection(*m_list)), QString("{2,1}"));
    QCOMPARE(recordingCtrl().take(), QStringList({"selectionChanged"}));
}

QTEST_MAIN(TestMainList)
#include "test_mainlist.moc"
