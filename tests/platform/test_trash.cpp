#include <QtTest>

#include <QDateTime>
#include <QUrl>

#include "control/ShellServices.h"
#include "tests/common/TestMounts.h"

// Moving to the freedesktop.org trash of a HOME made for the test.
class TestTrash : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void moved_data();
    void moved();
    void nameClash();
    void notMoved();

private:
    QString home(const QString& name) const { return m_home.filePath(name); }
    QString trashed(const QString& name) const
    {
        return m_home.filePath(QStringLiteral("data/Trash/files/") + name);
    }
    QStringList trashInfo(const QString& name) const;

    QTemporaryDir m_home;
};

void TestTrash::initTestCase()
{
    QVERIFY(m_home.isValid());
    // GLib reads these once, at its first use of them: before any trashing.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home(QStringLiteral("data"))));
}

QStringList TestTrash::trashInfo(const QString& name) const
{
    QFile f(
        m_home.filePath(QStringLiteral("data/Trash/info/") + name + QStringLiteral(".trashinfo")));
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no trashinfo>")};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

static void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write test file");
}

void TestTrash::moved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QByteArray>("encodedPath"); // after HOME
    QTest::newRow("file") << "plain.txt" << false << QByteArray("/plain.txt");
    QTest::newRow("folder with files") << "tree" << true << QByteArray("/tree");
    QTest::newRow("space, percent, hash, non-ASCII")
        << QString::fromUtf8("50% #1 \xc3\xa9t\xc3\xa9") << false
        << QByteArray("/50%25%20%231%20%C3%A9t%C3%A9");
}

void TestTrash::moved()
{
    QFETCH(QString, name);
    QFETCH(bool, folder);
    QFETCH(QByteArray, encodedPath);
    const QString path = home(name);
    if (folder) {
        writeFile(path + QStringLiteral("/a.bin"), "alpha");
        writeFile(path + QStringLiteral("/sub/b.bin"), "beta");
    } else {
        writeFile(path, "content of " + name.toUtf8());
    }
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QVERIFY(deleteToRecycleBin(path));
    QVERIFY(!QFileInfo::exists(path));
    if (folder) {
        QFile b(trashed(name) + QStringLiteral("/sub/b.bin"));
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), QByteArray("beta"));
    } else {
        QFile f(trashed(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), "content of " + name.toUtf8());
    }
    const QStringList info = trashInfo(name);
    QCOMPARE(info.size(), 3);
    QCOMPARE(info.at(0), QStringLiteral("[Trash Info]"));
    const QByteArray homeEncoded = QUrl::toPercentEncoding(m_home.path(), "/");
    QCOMPARE(info.at(1).toUtf8(), "Path=" + homeEncoded + encodedPath);
    QVERIFY(info.at(2).startsWith(QLatin1String("DeletionDate=")));
    const QDateTime when = QDateTime::fromString(info.at(2).mid(13), Qt::ISODate);
    QVERIFY(when.isValid());
    QVERIFY(when >= before && when <= QDateTime::currentDateTime().addSecs(1));
}

void TestTrash::nameClash()
{
    const QString path = home(QStringLiteral("twice.txt"));
    writeFile(path, "first");
    QVERIFY(deleteToRecycleBin(path));
    writeFile(path, "second");
    QVERIFY(deleteToRecycleBin(path));
    QFile first(trashed(QStringLiteral("twice.txt")));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), QByteArray("first"));
    // Both kept: the second under a new name, with its own record.
    const QStringList names = QDir(home(QStringLiteral("data/Trash/files")))
                                  .entryList({QStringLiteral("twice*")}, QDir::Files);
    QCOMPARE(names.size(), 2);
    const QString other = names.at(0) == QLatin1String("twice.txt") ? names.at(1) : names.at(0);
    QFile second(trashed(other));
    QVERIFY(second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), QByteArray("second"));
    QVERIFY(trashInfo(other).at(1).endsWith(QLatin1String("/twice.txt")));
}

void TestTrash::notMoved()
{
    QVERIFY(!deleteToRecycleBin(home(QStringLiteral("never there.txt"))));
    QVERIFY(!deleteToRecycleBin(QString()));

    // A file on a read-only mount cannot be moved; it stays where it was.
    const QString folder = home(QStringLiteral("kept"));
    writeFile(folder + QStringLiteral("/keep.txt"), "keep");
    TestMounts mounts;
    const QString view = mounts.readOnlyBind(folder, home(QStringLiteral("ro view")));
    if (view.isEmpty())
        QSKIP(qPrintable(QStringLiteral("read-only case: ") + mounts.why()));
    QVERIFY(!deleteToRecycleBin(view + QStringLiteral("/keep.txt")));
    QVERIFY(QFileInfo::exists(view + QStringLiteral("/keep.txt")));
}

QTEST_GUILESS_MAIN(TestTrash)
#include "test_trash.moc"
