#include <QtTest>

#include <QHeaderView>

#include "model/DM.h"
#include "tests/common/RecordingCtrl.h"
#include "ui/MainList.h"

namespace {

const QColor stripe(236, 249, 254);
const QColor groupColours[5] = {
    {160, 83, 165}, {247, 131, 3}, {143, 185, 49}, {31, 177, 230}, {128, 128, 128}};

EntryPos addEntry(int group, const QString& name, int kind = File)
{
    Entry e;
    e.Name = name;
    e.Path = QStringLiteral("/data");
    e.Ident = e.Path + QLatin1Char('/') + name;
    e.Size = 4096;
    e.IsValidSize = true;
    e.Kind = kind;
    EntryPos p = dataModel()->addEntry(e);
    if (group != Main)
        dataModel()->moveEntry(p, group);
    return p;
}

QString colourText(QRgb c)
{
    return QStringLiteral("(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

} // namespace

class TestEntryPainter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void sizeHints_data();
    void sizeHints();
    void stripes_data();
    void stripes();
    void headers_data();
    void headers();
    void ruleAppearsWithFirstEntry();
    void selectedRow();
    void texts();
    void folderIcon();
    void longNameIsClipped();

private:
    // The list as the screen shows it, in viewport coordinates.
    QImage shot()
    {
        return m_list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QModelIndex modelIndex(int group, int index, int column) const
    {
        const QAbstractItemModel* model = m_list->model();
        if (index < 0)
            return model->index(group, column);
        return model->index(index, column, model->index(group, 0));
    }
    QRect cell(int group, int index, int column) const
    {
        return m_list->visualRect(modelIndex(group, index, column));
    }
    QRgb base() const { return m_list->viewport()->palette().color(QPalette::Base).rgb(); }

    MainList* m_list = nullptr;
};

void TestEntryPainter::init()
{
    dataModel()->newProject();
    // Required: 3 entries, Main: 2, Background: 1, Dispensed and Not In Use empty.
    for (const char* name : {"r0", "r1", "r2"})
        addEntry(Required, QLatin1String(name));
    addEntry(Main, QStringLiteral("m0"));
    addEntry(Main, QStringLiteral("m1"));
    addEntry(Background, QStringLiteral("b0"));
    m_list = new MainList;
    m_list->resize(640, 600);
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list));
    m_list->setCurrentIndex(QModelIndex());
    m_list->clearSelection();
}

void TestEntryPainter::cleanup()
{
    delete m_list;
    m_list = nullptr;
    recordingCtrl().take();
}

void TestEntryPainter::sizeHints_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("height");
    QTest::newRow("Dispensed header") << 0 << -1 << 60;
    QTest::newRow("Required header") << 1 << -1 << 40;
    QTest::newRow("Not In Use header") << 4 << -1 << 40;
    QTest::newRow("entry") << 1 << 0 << 28;
    QTest::newRow("last entry") << 3 << 0 << 28;
}

void TestEntryPainter::sizeHints()
{
    QFETCH(int, group);
    QFETCH(int, index);
    QFETCH(int, height);
    QTreeWidgetItem* item =
        index < 0 ? m_list->topLevelItem(group) : m_list->topLevelItem(group)->child(index);
    for (int column = 0; column < 4; ++column) {
        const QModelIndex mi = modelIndex(group, index, column);
        const QSize hint = m_list->itemDelegate()->sizeHint(QStyleOptionViewItem(), mi);
        QCOMPARE(hint, QSize(m_list->width(), height));
    }
    QCOMPARE(m_list->visualItemRect(item).height(), height);
}

void TestEntryPainter::stripes_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("striped");
    QTest::newRow("Required 0") << int(Required) << 0 << true;
    QTest::newRow("Required 1") << int(Required) << 1 << false;
    QTest::newRow("Required 2") << int(Required) << 2 << true;
    QTest::newRow("Main 0 (restarts)") << int(Main) << 0 << true;
    QTest::newRow("Main 1") << int(Main) << 1 << false;
    QTest::newRow("Background 0") << int(Background) << 0 << true;
}

void TestEntryPainter::stripes()
{
    QFETCH(int, group);
    QFETCH(int, index);
    QFETCH(bool, striped);
    const QImage img = shot();
    const QRgb expected = striped ? stripe.rgb() : base();
    // Away from the texts: the right ends of the name and size cells, and the
    // top and bottom lines of the row.
    const QRect name = cell(group, index, 1);
    const QRect size = cell(group, index, 2);
    for (const QPoint& p :
         {QPoint(name.right() - 3, name.center().y()), QPoint(name.left() + 2, name.top()),
          QPoint(name.left() + 2, name.bottom()), QPoint(size.right() - 2, size.center().y())})
        QVERIFY2(img.pixel(p) == expected, qPrintable(colourText(img.pixel(p))));
    // The margin columns stay unpainted.
    const QRect margin = cell(group, index, 3);
    QCOMPARE(colourText(img.pixel(margin.center())), colourText(base()));
}

void TestEntryPainter::headers_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("hasEntries");
    QTest::newRow("Dispensed (empty)") << 0 << false;
    QTest::newRow("Required") << 1 << true;
    QTest::newRow("Main") << 2 << true;
    QTest::newRow("Background") << 3 << true;
    QTest::newRow("Not In Use (empty)") << 4 << false;
}

void TestEntryPainter::headers()
{
    QFETCH(int, group);
    QFETCH(bool, hasEntries);
    const QImage img = shot();
    const QRgb c = groupColours[group].rgb();
    const QRect name = cell(group, -1, 1);
    const QRect size = cell(group, -1, 2);
    const int bottom = name.bottom();

    // The tab: 32 pixels high, standing on the bottom line of the cell (less
    // one); nothing painted above it.
    QCOMPARE(colourText(img.pixel(name.left() + 2, bottom - 1)), colourText(c));
    QCOMPARE(colourText(img.pixel(name.left() + 2, bottom - 32)), colourText(c));
    QCOMPARE(colourText(img.pixel(name.left() + 2, bottom - 33)), colourText(base()));
    QCOMPARE(colourText(img.pixel(name.left() + 2, name.top() + 2)), colourText(base()));
    QCOMPARE(colourText(img.pixel(name.left() + 2, bottom)), colourText(base()));

    // The rule: 10 pixels high along the bottom of both cells, only under a
    // group that has entries.
    const QRgb rule = hasEntries ? c : base();
    for (const QPoint& p :
         {QPoint(name.right() - 2, bottom - 1), QPoint(name.right() - 2, bottom - 10),
          QPoint(size.left() + 1, bottom - 1), QPoint(size.right() - 1, bottom - 10)})
        QCOMPARE(colourText(img.pixel(p)), colourText(rule));
    QCOMPARE(colourText(img.pixel(name.right() - 2, bottom - 11)), colourText(base()));
    QCOMPARE(colourText(img.pixel(size.center().x(), bottom - 11)), colourText(base()));
    // Margins unpainted.
    const QRect margin = cell(group, -1, 3);
    QCOMPARE(colourText(img.pixel(margin.center().x(), bottom - 1)), colourText(base()));
}

void TestEntryPainter::ruleAppearsWithFirstEntry()
{
    const QRect size = cell(NotInUse, -1, 2);
    const QPoint probe(size.center().x(), size.bottom() - 1);
    QCOMPARE(colourText(shot().pixel(probe)), colourText(base()));
    m_list->insertItem(addEntry(NotInUse, QStringLiteral("n0")));
    QCOMPARE(colourText(shot().pixel(probe)), colourText(groupColours[NotInUse].rgb()));
}

void TestEntryPainter::selectedRow()
{
    // An odd row and an even one: the highlight covers both whole cells.
    for (int index : {0, 1}) {
        m_list->clearSelection();
        m_list->topLevelItem(Required)->child(index)->setSelected(true);
        const QImage img = shot();
        const QPalette pal = m_list->palette();
        const QSet<QRgb> highlights = {pal.color(QPalette::Active, QPalette::Highlight).rgb(),
                                       pal.color(QPalette::Inactive, QPalette::Highlight).rgb()};
        for (int column : {1, 2}) {
            const QRect r = cell(Required, index, column);
            for (const QPoint& p :
                 {QPoint(r.right() - 2, r.top()), QPoint(r.right() - 2, r.bottom()),
                  QPoint(r.right() - 2, r.center().y())})
                QVERIFY2(highlights.contains(img.pixel(p)), qPrintable(colourText(img.pixel(p))));
        }
    }
}

void TestEntryPainter::texts()
{
    const QImage img = shot();
    // Pixels of a given colour inside a rectangle.
    auto count = [&img](const QRect& r, QRgb colour) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += img.pixel(x, y) == colour ? 1 : 0;
        return n;
    };
    // The entry name starts 41 pixels into its cell, in the entry text colour.
    const QRect name = cell(Required, 0, 1);
    const QRgb ink = qRgb(16, 16, 16);
    QVERIFY(count(QRect(name.left() + 41, name.top(), 60, name.height()), ink) > 5);
    QCOMPARE(count(QRect(name.left(), name.top(), 41, name.height()), ink), 0);
    // The size text in the size cell.
    QVERIFY(count(cell(Required, 0, 2), ink) > 5);
    // The group title in white, 20 pixels into the tab.
    const QRect head = cell(Main, -1, 1);
    const QRgb white = qRgb(255, 255, 255);
    QVERIFY(count(QRect(head.left() + 20, head.bottom() - 32, 40, 32), white) > 5);
    QCOMPARE(count(QRect(head.left(), head.bottom() - 32, 18, 32), white), 0);
}

void TestEntryPainter::folderIcon()
{
    m_list->insertItem(addEntry(Main, QStringLiteral("a folder"), Folder));
    m_list->clearSelection();
    const QImage img = shot();
    const QRect r = cell(Main, 2, 1); // an even row: striped
    const QRect box(r.left() + 20, r.top() + (r.bottom() - r.top() - 15) / 2, 16, 16);
    int drawn = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            drawn += img.pixel(x, y) != stripe.rgb() ? 1 : 0;
    QVERIFY2(drawn > 40, qPrintable(QString::number(drawn)));
    // Nothing between the cell's left edge and the icon.
    for (int x = r.left(); x < box.left(); ++x)
        QCOMPARE(colourText(img.pixel(x, box.center().y())), colourText(stripe.rgb()));
}

void TestEntryPainter::longNameIsClipped()
{
    m_list->insertItem(addEntry(Main, QString(200, QLatin1Char('W'))));
    m_list->clearSelection();
    const QImage img = shot();
    const QRect name = cell(Main, 2, 1);
    // The name ends 20 pixels short of the cell; the size cell shows only the size.
    for (int x = name.right() - 19; x <= name.right(); ++x)
        QCOMPARE(colourText(img.pixel(x, name.center().y())), colourText(stripe.rgb()));
    QVERIFY(img.pixel(name.right() - 24, name.center().y()) != stripe.rgb() ||
            img.pixel(name.right() - 22, name.center().y()) != stripe.rgb());
}

QTEST_MAIN(TestEntryPainter)
#include "test_entrypainter.moc"
