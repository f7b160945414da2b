#include <QtTest>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>

#include "control/ShellServices.h"

// Reveal through the FileManager1 service on a private session bus, and the
// folder opened with xdg-open when no file manager answers.
class TestReveal : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void reveal_data();
    void reveal();

private:
    QString readRecord(const QString& name) const;

    QTemporaryDir m_dir;
};

static const char* kFakeService = QM_SOURCE_DIR "/tests/platform/fake_filemanager.py";

void TestReveal::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs a real X server and session bus (run under tools/with-session.sh)");
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no D-Bus session bus");
    QProcess probe;
    probe.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral("-c"), QStringLiteral("import dbus.service, gi.repository.GLib")});
    if (!probe.waitForFinished() || probe.exitCode() != 0)
        QSKIP("/usr/bin/python3 with python3-dbus and python3-gi is needed for the fake service");

    // A fake xdg-open first in PATH records what it is asked to open.
    const QString bin = m_dir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    QFile opener(bin + QStringLiteral("/xdg-open"));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"" +
                 QFile::encodeName(m_dir.filePath(QStringLiteral("opened"))) + "\"\n");
    opener.close();
    opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);
    qputenv("PATH", QFile::encodeName(bin) + ':' + qgetenv("PATH"));
}

QString TestReveal::readRecord(const QString& name) const
{
    QFile f(m_dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void TestReveal::reveal_data()
{
    QTest::addColumn<QString>("service"); // "", "ok" or "fail"
    QTest::addColumn<QString>("shown");   // what ShowItems gets; empty: not called
    QTest::addColumn<QString>("opened");  // what xdg-open gets; empty: not called
    const QString item = QStringLiteral("file:///srv/My%20Files/K%C3%A4se%20%231%25.txt");
    const QString folder = QStringLiteral("file:///srv/My%20Files");
    QTest::newRow("file manager selects the item") << "ok" << item << QString();
    QTest::newRow("file manager fails: folder opened") << "fail" << item << folder;
    QTest::newRow("no file manager: folder opened") << "" << QString() << folder;
}

void TestReveal::reveal()
{
    QFETCH(QString, service);
    QFETCH(QString, shown);
    QFETCH(QString, opened);
    QFile::remove(m_dir.filePath(QStringLiteral("shown")));
    QFile::remove(m_dir.filePath(QStringLiteral("opened")));

    QProcess fake;
    if (!service.isEmpty()) {
        QStringList args{QString::fromUtf8(kFakeService), m_dir.filePath(QStringLiteral("shown"))};
        if (service == QLatin1String("fail"))
            args.append(QStringLiteral("--fail"));
        fake.start(QStringLiteral("/usr/bin/python3"), args);
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered(
                                     QStringLiteral("org.freedesktop.FileManager1")),
                                 10000);
    }

    revealInFileManager(QStringLiteral("/srv/My Files"),
                        QString::fromUtf8("/srv/My Files/K\xc3\xa4se #1%.txt"));

    if (!shown.isEmpty())
        QTRY_COMPARE_WITH_TIMEOUT(readRecord(QStringLiteral("shown")),
                                  shown + QStringLiteral("\t\n"), 10000);
    if (!opened.isEmpty())
        QTRY_COMPARE_WITH_TIMEOUT(readRecord(QStringLiteral("opened")), opened + QLatin1Char('\n'),
                                  10000);
    // Nothing else follows late.
    QTest::qWait(300);
    QCOMPARE(readRecord(QStringLiteral("shown")),
             shown.isEmpty() ? QString() : shown + QStringLiteral("\t\n"));
    QCOMPARE(readRecord(QStringLiteral("opened")),
             opened.isEmpty() ? QString() : opened + QLatin1Char('\n'));

    if (fake.state() != QProcess::NotRunning) {
        fake.kill();
        fake.waitForFinished();
    }
    QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.FileManager1")));
}

QTEST_MAIN(TestReveal)
#include "test_reveal.moc"
