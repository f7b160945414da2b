#include <QtTest>

#include "platform/BurnRecorder.h"
#include "core/dispense/TargetDiscovery.h"
#include "tests/common/TestMounts.h"

// Optical targets: the real libburn through its stdio pseudo-drives, and a
// fake recorder for the disc states a file cannot stand in for.
class TestRecorder : public QObject
{
    Q_OBJECT
private slots:
    void pseudoDrive_data();
    void pseudoDrive();
    void missingRecorder_data();
    void missingRecorder();
    void discStates_data();
    void discStates();
};

class FakeRecorder : public Recorder
{
public:
    DiscState inspect(const QString& address) override
    {
        m_addresses.append(address);
        return m_answer;
    }
    DiscState m_answer;
    QStringList m_addresses;
};

void TestRecorder::pseudoDrive_data()
{
    QTest::addColumn<int>("mebibytes");
    QTest::addColumn<int>("written");
    QTest::addColumn<quint64>("blocks");
    // A pseudo-drive over a file offers the free space of the file system
    // holding it.
    QTest::newRow("700 MiB, empty") << 700 << 0 << quint64(700 * 512);
    QTest::newRow("4 MiB, 1 MiB used") << 4 << 1 << quint64(3 * 512);
}

void TestRecorder::pseudoDrive()
{
    QFETCH(int, mebibytes);
    QFETCH(int, written);
    QFETCH(quint64, blocks);
    QTemporaryDir dir;
    TestMounts mounts;
    const QString root = mounts.tmpfs(dir.filePath(QStringLiteral("disc space")), mebibytes);
    if (root.isEmpty())
        QSKIP(qPrintable(mounts.why()));
    if (written) {
        QFile other(root + QStringLiteral("/other"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        QVERIFY(other.write(QByteArray(written << 20, '\1')) >= 0);
    }
    Target t;
    t.Path = QStringLiteral("/dev/sr0");
    BurnRecorder burner;
    probeRecorder(burner, QStringLiteral("stdio:") + root + QStringLiteral("/disc.iso"), t);
    QCOMPARE(t.Path, QStringLiteral("/dev/sr0"));
    QCOMPARE(t.FileSystem, int(UDF));
    QCOMPARE(t.BlockSize, quint64(2048));
    QCOMPARE(t.AvailableBlocks, blocks);
}

void TestRecorder::missingRecorder_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("no such device") << "/dev/sr97";
    QTest::newRow("a device that is no drive") << "/dev/null";
    QTest::newRow("pseudo-drive in a missing folder") << "stdio:/nonexistent-folder/x.iso";
}

void TestRecorder::missingRecorder()
{
    QFETCH(QString, address);
    BurnRecorder burner;
    QCOMPARE(burner.inspect(address).status, DiscState::NoRecorder);
    if (address.startsWith(QLatin1String("/dev/sr"))) {
        // A recorder's device path reaches libburn through probeTarget too.
        Target t;
        t.Path = address;
        QString raised;
        try {
            probeTarget(false, t);
        } catch (const TargetError& e) {
            raised = e.message;
        }
        QCOMPARE(raised, QStringLiteral("No recorder is connected there"));
    }
}

void TestRecorder::discStates_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<quint64>("blocks");
    QTest::newRow("blank DVD") << int(DiscState::Writable) << quint64(4700372992) << QString()
                               << quint64(2295104);
    QTest::newRow("odd bytes round down")
        << int(DiscState::Writable) << quint64(2048 * 3 + 2047) << QString() << quint64(3);
    QTest::newRow("no disc") << int(DiscState::NoDisc) << quint64(0) << "No disc in the recorder"
                             << quint64(0);
    QTest::newRow("closed disc") << int(DiscState::Closed) << quint64(0)
                                 << "The disc in the recorder is closed" << quint64(0);
    QTest::newRow("pressed disc") << int(DiscState::NotWritable) << quint64(0)
                                  << "No writable disc in the recorder" << quint64(0);
    QTest::newRow("busy drive") << int(DiscState::Busy) << quint64(0)
                                << "The drive is busy; try again when the other program is done"
                                << quint64(0);
    QTest::newRow("unreadable") << int(DiscState::Unreadable) << quint64(0)
                                << "The drive cannot be read" << quint64(0);
    QTest::newRow("no recorder") << int(DiscState::NoRecorder) << quint64(0)
                                 << "No recorder is connected there" << quint64(0);
}

void TestRecorder::discStates()
{
    QFETCH(int, status);
    QFETCH(quint64, bytes);
    QFETCH(QString, message);
    QFETCH(quint64, blocks);
    FakeRecorder fake;
    fake.m_answer.status = DiscState::Status(status);
    fake.m_answer.freeBytes = bytes;
    Target t;
    t.Path = QStringLiteral("/dev/sr1");
    t.FileSystem = NTFS;
    t.BlockSize = 512;
    t.AvailableBlocks = 77;
    const Target before = t;
    QString raised;
    try {
        probeRecorder(fake, QStringLiteral("/dev/sr1"), t);
    } catch (const TargetError& e) {
        raised = e.message;
    }
    QCOMPARE(fake.m_addresses, QStringList{QStringLiteral("/dev/sr1")});
    QCOMPARE(raised, message);
    if (message.isEmpty()) {
        QCOMPARE(t.FileSystem, int(UDF));
        QCOMPARE(t.BlockSize, quint64(2048));
        QCOMPARE(t.AvailableBlocks, blocks);
    } else {
        QCOMPARE(t, before);
    }
    QCOMPARE(t.Path, QStringLiteral("/dev/sr1"));
}

QTEST_GUILESS_MAIN(TestRecorder)
#include "test_recorder.moc"
