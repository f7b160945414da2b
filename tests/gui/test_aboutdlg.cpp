#include <QtTest>

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/AboutDlg.h"
#include "gui/IconSet.h"

// Takes the place of the browser for the project's web address.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler(address.scheme(), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(address.scheme()); }
    const QUrl address{AboutDlg::webAddress()};
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

static QPushButton* button(QDialog& d, const QString& text)
{
    for (QPushButton* b : d.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

class TestAboutDlg : public QObject
{
    Q_OBJECT
private slots:
    void contents();
    void webButton();
    void closing_data();
    void closing();
};

void TestAboutDlg::contents()
{
    AboutDlg dlg;
    QVERIFY(!dlg.parent());
    QCOMPARE(dlg.windowTitle(), "About");
    QVERIFY(dlg.windowFlags() & Qt::Tool);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.width(), 420);
    QVERIFY(dlg.height() >= 160);

    auto* picture = dlg.findChild<QLabel*>("picture");
    QVERIFY(picture);
    QCOMPARE(picture->pixmap(Qt::ReturnByValue).toImage(), icon(MainIcon).pixmap(32, 32).toImage());
    auto* title = dlg.findChild<QLabel*>("title");
    auto* version = dlg.findChild<QLabel*>("version");
    QCOMPARE(title->text(), "Quillmarch");
    QCOMPARE(version->text(), "0.0.2.0");
    QLabel* caption = nullptr;
    for (QLabel* l : dlg.findChildren<QLabel*>())
        if (l->text() == "Author")
            caption = l;
    QVERIFY(caption);
    QCOMPARE(dlg.findChildren<QLabel*>().size(), 5);
    // Name and version larger and bold; the captions plain.
    for (QLabel* big : {title, version}) {
        QVERIFY(big->font().bold());
        QCOMPARE(big->font().pointSize(), caption->font().pointSize() + 4);
    }
    QVERIFY(!caption->font().bold());
    QVERIFY(picture->x() < title->x() && title->x() < version->x());
    QVERIFY(title->y() < caption->y());

    // Read-only, frameless fields on the window colour.
    for (const auto& [name, pattern] :
         {std::pair<QString, QString>{"author", "^Quillmarch developers$"},
          {"email", "^[a-z.]+@[a-z.]+\\.[a-z]+$"}}) {
        auto* field = dlg.findChild<QLineEdit*>(name);
        QVERIFY(field);
        QVERIFY2(QRegularExpression(pattern).match(field->text()).hasMatch(),
                 qPrintable(field->text()));
        QVERIFY(field->isReadOnly() && !field->hasFrame());
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(field->palette().color(g, QPalette::Base),
                     dlg.palette().color(QPalette::Window));
    }

    QPushButton* web = button(dlg, "Visit on the Web");
    QPushButton* close = button(dlg, "Close");
    QVERIFY(web && close);
    QVERIFY(web->minimumWidth() >= 120);
    QVERIFY(web->x() < close->x());
    QVERIFY(close->geometry().right() > dlg.width() - 30);
}

void TestAboutDlg::webButton()
{
    UrlRecorder browser;
    QVERIFY(browser.address.isValid());
    AboutDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(button(dlg, "Visit on the Web"), Qt::LeftButton);
    QTest::mouseClick(button(dlg, "Visit on the Web"), Qt::LeftButton);
    QCOMPARE(browser.opened, (QList<QUrl>{browser.address, browser.address}));
    QVERIFY(dlg.isVisible()); // the dialog stays
}

void TestAboutDlg::closing_data()
{
    QTest::addColumn<int>("key"); // 0: the Close button
    QTest::newRow("Close button") << 0;
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("Enter") << int(Qt::Key_Return);
}

void TestAboutDlg::closing()
{
    QFETCH(int, key);
    UrlRecorder browser;
    AboutDlg dlg;
    QTimer::singleShot(0, &dlg, [&] {
        if (key == 0)
            QTest::mouseClick(button(dlg, "Close"), Qt::LeftButton);
        else
            QTest::keyClick(&dlg, Qt::Key(key));
    });
    QTimer::singleShot(5000, &dlg, [&] { dlg.done(42); }); // a hung dialog fails, not hangs
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    QVERIFY(browser.opened.isEmpty());
}

QTEST_MAIN(TestAboutDlg)
#include "test_aboutdlg.moc"
