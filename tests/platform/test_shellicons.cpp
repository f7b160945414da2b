#include <QtTest>

#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "platform/ShellIcons.h"

// Icons for file types and drive roots from the icon theme, with the cache
// keyed by the type's text.
class TestShellIcons : public QObject
{
    Q_OBJECT
private slots:
    void cacheKeys_data();
    void cacheKeys();
    void themeIcons_data();
    void themeIcons();
    void shellIconIsNewEachTime();
};

void TestShellIcons::cacheKeys_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("shared");
    QTest::newRow("case differs") << "/d/Report.TXT"
                                  << "/d/notes.txt" << false;
    QTest::newRow("same extension") << "/d/notes.txt"
                                    << "/e/other.txt" << true;
    QTest::newRow("last dot counts") << "/d/a.tar.gz"
                                     << "/d/b.gz" << true;
    QTest::newRow("no dot: whole path") << "/d/README"
                                        << "/e/README" << false;
    QTest::newRow("no dot: same path") << "/d/README"
                                       << "/d/README" << true;
    QTest::newRow("dot in a folder name") << "/d/my.dir/README"
                                          << "/e/my.dir/README" << true;
    QTest::newRow("dot in a folder name, other file") << "/d/my.dir/README"
                                                      << "/d/my.dir/NEWS" << false;
}

void TestShellIcons::cacheKeys()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, shared);
    QPixmap* a = fileIcon(first);
    QPixmap* b = fileIcon(second);
    QVERIFY(a && b);
    QCOMPARE(a == b, shared);
    // Asked again, the same objects come back.
    QCOMPARE(fileIcon(first), a);
    QCOMPARE(fileIcon(second), b);
    QVERIFY(!a->isNull());
}

void TestShellIcons::themeIcons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("themeFile");
    const QString adwaita = QStringLiteral("/usr/share/icons/Adwaita/32x32/");
    QTest::newRow("text file") << "letter.txt"
                               << adwaita + QLatin1String("mimetypes/text-x-generic.png");
    QTest::newRow("volume root") << "/" << adwaita + QLatin1String("devices/drive-harddisk.png");
    QTest::newRow("recorder") << "/dev/sr0" << adwaita + QLatin1String("devices/media-optical.png");
    QTest::newRow("plain folder") << "<folder>" << adwaita + QLatin1String("places/folder.png");
    QTest::newRow("unknown type") << "x.qqzzqq" << QString();
}

void TestShellIcons::themeIcons()
{
    QFETCH(QString, name);
    QFETCH(QString, themeFile);
    QTemporaryDir dir;
    if (name == QLatin1String("<folder>")) {
        name = dir.filePath(QStringLiteral("plain"));
        QVERIFY(QDir().mkpath(name));
    }
    std::unique_ptr<QPixmap> pixmap(shellIcon(name));
    QVERIFY(pixmap && !pixmap->isNull());
    QCOMPARE(pixmap->size(), QSize(32, 32));
    if (themeFile.isEmpty())
        return;
    if (!QFileInfo::exists(themeFile))
        QSKIP("adwaita-icon-theme is not installed");
    // Headless there is no desktop theme: Adwaita must stand in.
    QCOMPARE(pixmap->toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             QImage(themeFile).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TestShellIcons::shellIconIsNewEachTime()
{
    std::unique_ptr<QPixmap> a(shellIcon(QStringLiteral(".txt")));
    std::unique_ptr<QPixmap> b(shellIcon(QStringLiteral(".txt")));
    QVERIFY(a.get() != b.get());
    QVERIFY(a.get() != fileIcon(QStringLiteral(".txt")));
}

QTEST_MAIN(TestShellIcons)
#include "test_shellicons.moc"
