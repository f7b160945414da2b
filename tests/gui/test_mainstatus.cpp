#include <QtTest>

#include <QLabel>
#include <QMainWindow>

#include "gui/MainStatus.h"

class TestMainStatus : public QObject
{
    Q_OBJECT
private slots:
    void construction();
    void texts_data();
    void texts();
};

void TestMainStatus::construction()
{
    QMainWindow window;
    auto* status = new MainStatus(&window);
    QCOMPARE(window.statusBar(), status);
    const QList<QLabel*> labels =
        status->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QStringList names;
    for (QLabel* l : labels)
        names << l->objectName() + '=' + l->text();
    // Until the controller's first refresh only the state has a text.
    QCOMPARE(names, (QStringList{"state=READY", "selected=", "target=", "wasted=", "total="}));

    // Left to right in that order, spread over the whole bar.
    for (QLabel* l : labels)
        l->setText("some text");
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(labels[0]->x() < window.width() / 4);
    for (int i = 1; i < labels.size(); ++i)
        QVERIFY(labels[i]->isVisible() && labels[i - 1]->geometry().right() < labels[i]->x());
    QVERIFY(labels.last()->geometry().right() > window.width() * 3 / 4);
}

void TestMainStatus::texts_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    // call, label, text
    const char* const rows[][3] = {
        {"state Dispensed file(s) has been posted to the clipboard", "state",
         "Dispensed file(s) has been posted to the clipboard"},
        {"noTarget", "target", " No DRIVE "},
        {"noWasted", "wasted", "WASTED: --"},
        {"target /media/usb 4096 1024", "target", "/media/usb 4.0 Mb"},
        {"target /media/<b>x</b> 512 2", "target", "/media/<b>x</b> 1024"},
        {"wasted 1536", "wasted", "WASTED: 1.5 kb"},
        {"wasted 0", "wasted", "WASTED: 0"},
        {"selected 0 0", "selected", "SELECTED: 0"},
        {"selected 1610612736 3", "selected", "SELECTED: 1.5 Gb"},
        {"total 1024 1", "total", "TOTAL: 1024"},
        {"total 0 0", "total", "TOTAL: 0"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString(r[0]) << QString(r[1]) << QString(r[2]);
}

void TestMainStatus::texts()
{
    QFETCH(QString, call);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QMainWindow window;
    auto* status = new MainStatus(&window);
    IViewStatus* view = status;
    const QStringList a = call.split(' ');
    if (a[0] == "state") {
        view->showState(call.section(' ', 1));
    } else if (a[0] == "noTarget") {
        view->showNoTarget();
    } else if (a[0] == "noWasted") {
        view->showNoWasted();
    } else if (a[0] == "target") {
        Target t;
        t.Path = a[1];
        t.BlockSize = a[2].toULongLong();
        t.AvailableBlocks = a[3].toULongLong();
        view->showTarget(t, t.capacity());
    } else if (a[0] == "wasted") {
        view->showWasted(a[1].toULongLong());
    } else if (a[0] == "selected") {
        view->showSelected(a[1].toULongLong(), a[2].toInt());
    } else {
        view->showTotal(a[1].toULongLong(), a[2].toInt());
    }
    QLabel* l = status->findChild<QLabel*>(label);
    QCOMPARE(l->text(), text);
    QCOMPARE(l->textFormat(), Qt::PlainText); // never as markup
    // The other labels keep what they had.
    for (QLabel* other : status->findChildren<QLabel*>())
        if (other != l && other->objectName() != "state")
            QCOMPARE(other->text(), QString());
}

QTEST_MAIN(TestMainStatus)
#include "test_mainstatus.moc"
