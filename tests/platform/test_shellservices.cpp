// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <QtTest>

#include <QDBusConnection>
#include <QDesktopServices>

#include "control/ShellServices.h"
#include "tests/common/TestMounts.h"

// A stand-in file manager on a bus connection of its own, as another program.
class FakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;
public slots:
    void ShowItems(QStringList uris, QString id) { shown << uris.join(' ') + '\t' + id; }
};

// The desktop services as other programs see them: xclip, the trash of a HOME
// made for the test, FileManager1 on the private bus, the folder's URL opened.
class TestShellServices : public QObject
{
    Q_OBJECT
    QTemporaryDir m_home;
    TestMounts m_mounts;
    QList<QUrl> m_opened;
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Read by another program while our event loop runs and answers.
    static QByteArray xclip(const QString& target)
    {
        QProcess xclip;
        QSignalSpy done(&xclip, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
        xclip.start("xclip", {"-selection", "clipboard", "-t", target, "-o"});
        return done.wait(10000) && xclip.exitCode() == 0 ? xclip.readAllStandardOutput() : "";
    }

public slots:
    void openUrl(const QUrl& url) { m_opened.append(url); }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != "xcb" ||
            !QDBusConnection::sessionBus().isConnected())
            QSKIP("needs an X server and a session bus (run under tools/with-session.sh)");
        // GLib reads these once, at its first use of them: before any trashing.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath("data")));
        QDesktopServices::setUrlHandler("file", this, "openUrl");
    }

    void clipboard()
    {
        if (QStandardPaths::findExecutable("xclip").isEmpty())
            QSKIP("xclip is not installed");
        // In the user's order, percent-encoded; a backslash is an ordinary character.
        const QStringList paths = {"/m/z last.bin", "/m/a first/",
                                   QString::fromUtf8("/m/K\xc3\xa4se #1/100% \xe6\x97\xa5"),
                                   "/m/back\\slash"};
        const QByteArray uris =
            "file:///m/z%20last.bin\nfile:///m/a%20first/\n"
            "file:///m/K%C3%A4se%20%231/100%25%20%E6%97%A5\nfile:///m/back%5Cslash";
        postFilesToClipboard(paths);
        QVERIFY(!xclip("TARGETS").contains("image/"));
        QCOMPARE(xclip("text/uri-list"), QByteArray(uris).replace("\n", "\r\n") + "\r\n");
        // No trailing newline: one crashes Caja and empties Nautilus's paste.
        QCOMPARE(xclip("x-special/gnome-copied-files"), "copy\n" + uris);
        QCOMPARE(xclip("x-special/mate-copied-files"), "copy\n" + uris);
        QCOMPARE(xclip("application/x-kde-cutselection"), QByteArray("0"));
        QCOMPARE(QString::fromUtf8(xclip("text/plain")), paths.join('\n'));
    }

    void trash_data()
    {
        QTest::addColumn<QString>("volume"); // none: in HOME
        QTest::addColumn<bool>("moved");
        QTest::newRow("in HOME") << "" << true;
        QTest::newRow("on another volume") << "ext4" << true;
        QTest::newRow("read-only, so kept and a failure reported") << "ro" << false;
    }

    void trash()
    {
        QFETCH(QString, volume);
        QFETCH(bool, moved);
        const QString name = QString::fromUtf8("50% #1 \xc3\xa9t\xc3\xa9"), home = m_home.path();
        const QString base = volume.isEmpty() ? home
                             : volume == "ro" ? m_mounts.readOnlyBind(home, home + "/ro")
                                              : m_mounts.ext4(home + "/ext4", 8);
        if (!volume.isEmpty())
            QM_NEED_VOLUME(m_mounts, base);
        QFile file((volume == "ro" ? home : base) + '/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("content") && file.flush());
        QCOMPARE(deleteToRecycleBin(base + '/' + name), moved);
        QCOMPARE(read(base + '/' + name), moved ? QByteArray() : QByteArray("content"));
        if (!moved)
            return;
        const QString trash = volume.isEmpty() ? QString(home + "/data/Trash")
                                               : base + "/.Trash-" + QString::number(::getuid());
        QCOMPARE(read(trash + "/files/" + name), QByteArray("content"));
        // Percent-encoded; relative to the volume on another one.
        const QByteArray in = volume.isEmpty() ? QUrl::toPercentEncoding(home + '/', "/") : "";
        QCOMPARE(read(trash + "/info/" + name + ".trashinfo").split('\n').value(1),
                 "Path=" + in + "50%25%20%231%20%C3%A9t%C3%A9");
        QVERIFY(!deleteToRecycleBin(QString()));
    }

    void reveal()
    {
        for (bool fileManager : {false, true}) {
            QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fm");
            FakeFileManager fake;
            QVERIFY(!fileManager || (bus.registerObject("/org/freedesktop/FileManager1", &fake,
                                                        QDBusConnection::ExportAllSlots) &&
                                     bus.registerService("org.freedesktop.FileManager1")));
            m_opened.clear();
            revealInFileManager("/srv/My Files",
                                QString::fromUtf8("/srv/My Files/K\xc3\xa4se #1%.txt"));
            const QStringList shown = {"file:///srv/My%20Files/K%C3%A4se%20%231%25.txt\t"};
            const QList<QUrl> opened = {QUrl::fromLocalFile("/srv/My Files")};
            for (bool late : {false, true}) { // and nothing else follows late
                QTRY_COMPARE(fake.shown, fileManager ? shown : QStringList());
                QTRY_COMPARE(m_opened, fileManager ? QList<QUrl>() : opened);
                QTest::qWait(late ? 0 : 300);
            }
            QDBusConnection::disconnectFromBus("fm");
        }
    }
};

QTEST_MAIN(TestShellServices)
#include "test_shellservices.moc"
