#include <QtTest>

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/AboutDlg.h"
#include "ui/IconSet.h"

// Takes the place of the browser for the project's web address.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestAboutDlg : public QObject
{
    Q_OBJECT
private slots:
    void contents();
    void fields_data();
    void fields();
    void webButton();
    void closing_data();
    void closing();

private:
    static QPushButton* button(QDialog& d, const char* text)
    {
        for (QPushButton* b : d.findChildren<QPushButton*>()) {
            if (b->text() == QLatin1String(text))
                return b;
        }
        return nullptr;
    }
};

void TestAboutDlg::contents()
{
    AboutDlg dlg;
    QVERIFY(!dlg.parent());
    QCOMPARE(dlg.windowTitle(), QStringLiteral("About"));
    QVERIFY(dlg.windowFlags() & Qt::Tool);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.width(), 420);
    QVERIFY(dlg.height() >= 160);

    auto* picture = dlg.findChild<QLabel*>(QStringLiteral("picture"));
    QVERIFY(picture);
    const QPixmap shown = picture->pixmap(Qt::ReturnByValue);
    QCOMPARE(shown.size(), QSize(32, 32));
    QCOMPARE(shown.toImage(), icon(MainIcon).pixmap(32, 32).toImage());

    auto* title = dlg.findChild<QLabel*>(QStringLiteral("title"));
    auto* version = dlg.findChild<QLabel*>(QStringLiteral("version"));
    QCOMPARE(title->text(), QStringLiteral("Quillmarch"));
    QCOMPARE(version->text(), QStringLiteral("0.0.2.0"));
    QLabel* caption = nullptr;
    for (QLabel* l : dlg.findChildren<QLabel*>()) {
        if (l->text() == QLatin1String("Author"))
            caption = l;
    }
    QVERIFY(caption);
    QVERIFY(dlg.findChildren<QLabel*>().size() == 5);
    // Name and version larger and bold; the captions plain.
    for (QLabel* big : {title, version}) {
        QVERIFY(big->font().bold());
        QCOMPARE(big->font().pointSize(), caption->font().pointSize() + 4);
    }
    QVERIFY(!caption->font().bold());
    // Picture left, name and version in a row, then the captions and fields.
    QVERIFY(picture->x() < title->x() && title->x() < version->x());
    QVERIFY(title->y() < caption->y());

    QPushButton* web = button(dlg, "Visit on the Web");
    QPushButton* close = button(dlg, "Close");
    QVERIFY(web && close);
    QVERIFY(web->minimumWidth() >= 120);
    QVERIFY(web->x() < close->x());
    QVERIFY(close->geometry().right() > dlg.width() - 30);
}

void TestAboutDlg::fields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("author") << "author"
                            << "^Quillmarch developers$";
    QTest::newRow("email") << "email"
                           << "^[a-z.]+@[a-z.]+\\.[a-z]+$";
}

void TestAboutDlg::fields()
{
    QFETCH(QString, name);
    QFETCH(QString, pattern);
    AboutDlg dlg;
    auto* field = dlg.findChild<QLineEdit*>(name);
    QVERIFY(field);
    QVERIFY(QRegularExpression(pattern).match(field->text()).hasMatch());
    QVERIFY(field->isReadOnly());
    QVERIFY(!field->hasFrame());
    const QColor window = dlg.palette().color(QPalette::Window);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        QCOMPARE(field->palette().color(g, QPalette::Base), window);
}

void TestAboutDlg::webButton()
{
    UrlRecorder browser;
    const QUrl address(AboutDlg::webAddress());
    QVERIFY(address.isValid());
    QDesktopServices::setUrlHandler(address.scheme(), &browser, "open");
    AboutDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QPushButton* web = button(dlg, "Visit on the Web");
    QTest::mouseClick(web, Qt::LeftButton);
    QTest::mouseClick(web, Qt::LeftButton);
    QCOMPARE(browser.opened, (QList<QUrl>{address, address}));
    QVERIFY(dlg.isVisible()); // the dialog stays
    QDesktopServices::unsetUrlHandler(address.scheme());
}

void TestAboutDlg::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Close button") << "button";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Enter") << "enter";
}

void TestAboutDlg::closing()
{
    QFETCH(QString, how);
    UrlRecorder browser;
    const QUrl address(AboutDlg::webAddress());
    QDesktopServices::setUrlHandler(address.scheme(), &browser, "open");
    AboutDlg dlg;
    QTimer::singleShot(0, &dlg, [&] {
        if (how == QLatin1String("button"))
            QTest::mouseClick(button(dlg, "Close"), Qt::LeftButton);
        else
            QTest::keyClick(&dlg, how == QLatin1String("escape") ? Qt::Key_Escape : Qt::Key_Return);
    });
    QTimer::singleShot(5000, &dlg, [&] { dlg.done(42); }); // a hung dialog fails, not hangs
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    QVERIFY(browser.opened.isEmpty());
    QDesktopServices::unsetUrlHandler(address.scheme());
}

QTEST_MAIN(TestAboutDlg)
#include "test_aboutdlg.moc"
