#include <QtTest>

#include <QLabel>
#include <QMainWindow>

#include "model/MainStatus.h"

class TestMainStatus : public QObject
{
    Q_OBJECT
private slots:
    void construction();
    void texts_data();
    void texts();

private:
    static QString label(const QMainWindow& window, const char* name)
    {
        return window.statusBar()->findChild<QLabel*>(QLatin1String(name))->text();
    }
};

void TestMainStatus::construction()
{
    QMainWindow window;
    auto* status = new MainStatus(&window);
    QCOMPARE(window.statusBar(), status);
    QCOMPARE(status->parent(), &window);

    const QList<QLabel*> labels =
        status->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QStringList names;
    for (QLabel* l : labels)
        names << l->objectName();
    QCOMPARE(names, (QStringList{QStringLiteral("state"), QStringLiteral("selected"),
                                 QStringLiteral("target"), QStringLiteral("wasted"),
                                 QStringLiteral("total")}));
    // Until the controller's first refresh only the state has a text.
    QCOMPARE(labels[0]->text(), QStringLiteral("READY"));
    for (int i = 1; i < labels.size(); ++i)
        QVERIFY(labels[i]->text().isEmpty());

    // State on the left, then selected, target, wasted and total left to right.
    for (QLabel* l : labels)
        l->setText(QStringLiteral("some text"));
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(labels[0]->x() < window.width() / 4, true);
    for (int i = 1; i < labels.size(); ++i) {
        QVERIFY(labels[i]->isVisible());
        QVERIFY(labels[i - 1]->geometry().right() < labels[i]->x());
    }
    QVERIFY(labels.last()->geometry().right() > window.width() * 3 / 4);
}

void TestMainStatus::texts_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::newRow("state") << "state Dispensed file(s) has been posted to the clipboard"
                           << "state"
                           << "Dispensed file(s) has been posted to the clipboard";
    QTest::newRow("no target") << "noTarget"
                               << "target"
                               << " No DRIVE ";
    QTest::newRow("no wasted") << "noWasted"
                               << "wasted"
                               << "WASTED: --";
    QTest::newRow("target 1024 x 4096") << "target /media/usb 4096 1024"
                                        << "target"
                                        << "/media/usb 4.0 Mb";
    QTest::newRow("target markup") << "target /media/<b>x</b> 512 2"
                                   << "target"
                                   << "/media/<b>x</b> 1024";
    QTest::newRow("wasted") << "wasted 1536"
                            << "wasted"
                            << "WASTED: 1.5 kb";
    QTest::newRow("wasted 0") << "wasted 0"
                              << "wasted"
                              << "WASTED: 0";
    QTest::newRow("nothing selected") << "selected 0 0"
                                      << "selected"
                                      << "SELECTED: 0";
    QTest::newRow("selected") << "selected 1610612736 3"
                              << "selected"
                              << "SELECTED: 1.5 Gb";
    QTest::newRow("total 1024") << "total 1024 1"
                                << "total"
                                << "TOTAL: 1024";
    QTest::newRow("total 0") << "total 0 0"
                             << "total"
                             << "TOTAL: 0";
}

void TestMainStatus::texts()
{
    QFETCH(QString, call);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QMainWindow window;
    auto* status = new MainStatus(&window);
    IViewStatus* view = status;
    const QStringList a = call.split(QLatin1Char(' '));
    if (a[0] == QLatin1String("state")) {
        view->showState(call.section(QLatin1Char(' '), 1));
    } else if (a[0] == QLatin1String("noTarget")) {
        view->showNoTarget();
    } else if (a[0] == QLatin1String("noWasted")) {
        view->showNoWasted();
    } else if (a[0] == QLatin1String("target")) {
        Target t;
        t.Path = a[1];
        t.BlockSize = a[2].toULongLong();
        t.AvailableBlocks = a[3].toULongLong();
        view->showTarget(t, t.capacity());
    } else if (a[0] == QLatin1String("wasted")) {
        view->showWasted(a[1].toULongLong());
    } else if (a[0] == QLatin1String("selected")) {
        view->showSelected(a[1].toULongLong(), a[2].toInt());
    } else {
        view->showTotal(a[1].toULongLong(), a[2].toInt());
    }
    QLabel* l = status->findChild<QLabel*>(label);
    QCOMPARE(l->text(), text);
    // Shown as it is, never as markup.
    QCOMPARE(l->textFormat(), Qt::PlainText);
    // The other labels keep what they had.
    for (QLabel* other : status->findChildren<QLabel*>()) {
        if (other != l && other->objectName() != QLatin1String("state"))
            QCOMPARE(other->text(), QString());
    }
}

QTEST_MAIN(TestMainStatus)
#include "test_mainstatus.moc"
