#include <QtTest>

#include <QHeaderView>

#include "core/model/DM.h"
#include "tests/common/RecordingCtrl.h"
#include "gui/MainList.h"

namespace {

const QRgb stripe = qRgb(236, 249, 254);
const QRgb groupColours[5] = {qRgb(160, 83, 165), qRgb(247, 131, 3), qRgb(143, 185, 49),
                              qRgb(31, 177, 230), qRgb(128, 128, 128)};

EntryPos addEntry(int group, const QString& name, int kind = File)
{
    Entry e;
    e.Name = name;
    e.Path = "/data";
    e.Ident = e.Path + '/' + name;
    e.Size = 4096;
    e.IsValidSize = true;
    e.Kind = kind;
    EntryPos p = dataModel()->addEntry(e);
    if (group != Main)
        dataModel()->moveEntry(p, group);
    return p;
}

// The points of img whose colour is not want, as text ("" when all match).
QString offColour(const QImage& img, std::initializer_list<QPoint> points, QRgb want)
{
    QStringList out;
    for (const QPoint& p : points) {
        const QRgb c = img.pixel(p);
        if (c != want)
            out << QString("(%1,%2) is (%3,%4,%5)")
                       .arg(p.x())
                       .arg(p.y())
                       .arg(qRed(c))
                       .arg(qGreen(c))
                       .arg(qBlue(c));
    }
    return out.join(' ');
}

// Pixels of a colour inside a rectangle.
int count(const QImage& img, const QRect& r, QRgb colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixel(x, y) == colour ? 1 : 0;
    return n;
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

private:
    // The list as the screen shows it, in viewport coordinates.
    QImage shot()
    {
        return m_list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QModelIndex modelIndex(int group, int index, int column) const
    {
        const QAbstractItemModel* model = m_list->model();
        return index < 0 ? model->index(group, column)
                         : model->index(index, column, model->index(group, 0));
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
        addEntry(Required, name);
    addEntry(Main, "m0");
    addEntry(Main, "m1");
    addEntry(Background, "b0");
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
    QTest::newRow("Not In Use header") << 4 << -1 << 40;
    QTest::newRow("entry") << 1 << 0 << 28;
}

void TestEntryPainter::sizeHints()
{
    QFETCH(int, group);
    QFETCH(int, index);
    QFETCH(int, height);
    for (int column = 0; column < 4; ++column)
        QCOMPARE(m_list->itemDelegate()->sizeHint(QStyleOptionViewItem(),
                                                  modelIndex(group, index, column)),
                 QSize(m_list->width(), height));
    QCOMPARE(m_list->visualRect(modelIndex(group, index, 1)).height(), height);
}

void TestEntryPainter::stripes_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("striped");
    QTest::newRow("Required 1") << int(Required) << 1 << false;
    QTest::newRow("Required 2") << int(Required) << 2 << true;
    QTest::newRow("Main 0 (restarts)") << int(Main) << 0 << true;
}

void TestEntryPainter::stripes()
{
    QFETCH(int, group);
    QFETCH(int, index);
    QFETCH(bool, striped);
    const QImage img = shot();
    // Away from the texts: the right ends of the name and size cells, the
    // top and bottom lines of the row; the margin column stays unpainted.
    const QRect name = cell(group, index, 1);
    const QRect size = cell(group, index, 2);
    QCOMPARE(offColour(img,
                       {QPoint(name.right() - 3, name.center().y()),
                        QPoint(name.left() + 2, name.top()), QPoint(name.left() + 2, name.bottom()),
                        QPoint(size.right() - 2, size.center().y())},
                       striped ? stripe : base()),
             QString());
    QCOMPARE(offColour(img, {cell(group, index, 3).center()}, base()), QString());
}

void TestEntryPainter::headers_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("hasEntries");
    for (int g = Dispensed; g < NoGroup; ++g)
        QTest::newRow(qPrintable(QString::number(g))) << g << (g != Dispensed && g != NotInUse);
}

void TestEntryPainter::headers()
{
    QFETCH(int, group);
    QFETCH(bool, hasEntries);
    const QImage img = shot();
    const QRgb c = groupColours[group];
    const QRect name = cell(group, -1, 1);
    const QRect size = cell(group, -1, 2);
    const int bottom = name.bottom();
    const int x = name.left() + 2;
    // The tab: 32 pixels high, standing on the bottom line of the cell (less one).
    QCOMPARE(offColour(img, {QPoint(x, bottom - 1), QPoint(x, bottom - 32)}, c), QString());
    QCOMPARE(offColour(img, {QPoint(x, bottom - 33), QPoint(x, name.top() + 2), QPoint(x, bottom)},
                       base()),
             QString());
    // The rule: 10 pixels high along the bottom of both cells, only under a
    // group that has entries; margins unpainted.
    QCOMPARE(offColour(img,
                       {QPoint(name.right() - 2, bottom - 1), QPoint(name.right() - 2, bottom - 10),
                        QPoint(size.left() + 1, bottom - 1), QPoint(size.right() - 1, bottom - 10)},
                       hasEntries ? c : base()),
             QString());
    QCOMPARE(
        offColour(img,
                  {QPoint(name.right() - 2, bottom - 11), QPoint(size.center().x(), bottom - 11),
                   QPoint(cell(group, -1, 3).center().x(), bottom - 1)},
                  base()),
        QString());
}

void TestEntryPainter::ruleAppearsWithFirstEntry()
{
    const QRect size = cell(NotInUse, -1, 2);
    const QPoint probe(size.center().x(), size.bottom() - 1);
    QCOMPARE(offColour(shot(), {probe}, base()), QString());
    m_list->insertItem(addEntry(NotInUse, "n0"));
    QCOMPARE(offColour(shot(), {probe}, groupColours[NotInUse]), QString());
}

void TestEntryPainter::selectedRow()
{
    // An odd row and an even one: the highlight covers both whole cells.
    const QPalette pal = m_list->palette();
    const QSet<QRgb> highlights = {pal.color(QPalette::Active, QPalette::Highlight).rgb(),
                                   pal.color(QPalette::Inactive, QPalette::Highlight).rgb()};
    for (int index : {0, 1}) {
        m_list->clearSelection();
        m_list->topLevelItem(Required)->child(index)->setSelected(true);
        const QImage img = shot();
        for (int column : {1, 2}) {
            const QRect r = cell(Required, index, column);
            for (int y : {r.top(), r.bottom(), r.center().y()})
                QVERIFY(highlights.contains(img.pixel(r.right() - 2, y)));
        }
    }
}

void TestEntryPainter::texts()
{
    const QImage img = shot();
    // The entry name starts 41 pixels into its cell, in the entry text colour;
    // the size text in the size cell.
    const QRect name = cell(Required, 0, 1);
    const QRgb ink = qRgb(16, 16, 16);
    QVERIFY(count(img, QRect(name.left() + 41, name.top(), 60, name.height()), ink) > 5);
    QCOMPARE(count(img, QRect(name.left(), name.top(), 41, name.height()), ink), 0);
    QVERIFY(count(img, cell(Required, 0, 2), ink) > 5);
    // The group title in white, 20 pixels into the tab.
    const QRect head = cell(Main, -1, 1);
    const QRgb white = qRgb(255, 255, 255);
    QVERIFY(count(img, QRect(head.left() + 20, head.bottom() - 32, 40, 32), white) > 5);
    QCOMPARE(count(img, QRect(head.left(), head.bottom() - 32, 18, 32), white), 0);
}

void TestEntryPainter::folderIcon()
{
    m_list->insertItem(addEntry(Main, "a folder", Folder));
    m_list->clearSelection();
    const QImage img = shot();
    const QRect r = cell(Main, 2, 1); // an even row: striped
    const QRect box(r.left() + 20, r.top() + (r.bottom() - r.top() - 15) / 2, 16, 16);
    const int drawn = 16 * 16 - count(img, box, stripe);
    QVERIFY2(drawn > 40, qPrintable(QString::number(drawn)));
    // Nothing between the cell's left edge and the icon.
    QCOMPARE(count(img, QRect(r.left(), box.center().y(), 20, 1), stripe), 20);
}

QTEST_MAIN(TestEntryPainter)
#include "test_entrypainter.moc"
