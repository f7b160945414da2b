#include <sys/statvfs.h>

#include <QtTest>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "core/dispense/TargetDiscovery.h"
#include "core/model/DM.h"
#include "tests/common/TestMounts.h"
#include "gui/EditTarget.h"

// The target picker over the machine's real volumes, with an NTFS image and
// an ext4 image mounted for the test.
class TestEditTarget : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void rows();
    void choose_data();
    void choose();
    void okWithoutSelection();
    void leave_data();
    void leave();
    void unsupportedKeepsDialogOpen();
    void refusal_data();
    void refusal();

private:
    QTreeWidget* list(EditTarget& dlg)
    {
        return dlg.findChild<QTreeWidget*>(QStringLiteral("driveList"));
    }
    QTreeWidgetItem* row(EditTarget& dlg, const QString& root);
    void click(EditTarget& dlg, const char* button);
    QString message(EditTarget& dlg);

    QTemporaryDir m_dir;
    TestMounts m_mounts;
    QString m_ntfs;
    QString m_ext4;
    QString m_why;
    Target m_before;
};

void TestEditTarget::initTestCase()
{
    m_ntfs = m_mounts.ntfs(m_dir.filePath(QStringLiteral("ntfs volume")), 24, false);
    if (m_ntfs.isEmpty())
        m_why = m_mounts.why();
    else
        m_ext4 = m_mounts.ext4(m_dir.filePath(QStringLiteral("ext4 volume")), 8);
    m_before.Path = QStringLiteral("/before");
    m_before.FileSystem = FAT;
    m_before.BlockSize = 512;
    m_before.AvailableBlocks = 11;
}

void TestEditTarget::init()
{
    dataModel()->setTarget(m_before);
}

QTreeWidgetItem* TestEditTarget::row(EditTarget& dlg, const QString& root)
{
    const QList<QTreeWidgetItem*> found = list(dlg)->findItems(root, Qt::MatchExactly, 1);
    return found.size() == 1 ? found.first() : nullptr;
}

void TestEditTarget::click(EditTarget& dlg, const char* button)
{
    QTest::mouseClick(dlg.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

QString TestEditTarget::message(EditTarget& dlg)
{
    auto* label = dlg.findChild<QLabel*>(QStringLiteral("message"));
    return label->isVisible() ? label->text() : QString();
}

void TestEditTarget::rows()
{
    QStringList roots;
    listDriveRoots(roots);
    EditTarget dlg(nullptr);
    QTreeWidget* l = list(dlg);
    QVERIFY(l);
    QCOMPARE(l->topLevelItemCount(), roots.size());
    for (int i = 0; i < roots.size(); ++i) {
        QCOMPARE(l->topLevelItem(i)->text(1), roots.at(i));
        QVERIFY(!l->topLevelItem(i)->icon(0).isNull());
    }
    if (!m_ntfs.isEmpty())
        QVERIFY(roots.contains(m_ntfs));
}

void TestEditTarget::choose_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("select and OK") << false;
    QTest::newRow("double click") << true;
}

void TestEditTarget::choose()
{
    QFETCH(bool, doubleClick);
    if (m_ntfs.isEmpty())
        QSKIP(qPrintable(m_why));
    EditTarget dlg(nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTreeWidgetItem* item = row(dlg, m_ntfs);
    QVERIFY(item);
    if (doubleClick) {
        QTreeWidget* l = list(dlg);
        l->scrollToItem(item);
        const QPoint at = l->visualItemRect(item).center();
        // As the window system delivers it: a click, then the second press as a double click.
        QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    } else {
        list(dlg)->setCurrentItem(item);
        click(dlg, "okButton");
    }
    QTRY_VERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!QGuiApplication::overrideCursor());

    struct statvfs vfs;
    QCOMPARE(::statvfs(QFile::encodeName(m_ntfs).constData(), &vfs), 0);
    const Target& t = dataModel()->target();
    QCOMPARE(t.Path, m_ntfs);
    QCOMPARE(t.FileSystem, int(NTFS));
    QCOMPARE(t.BlockSize, quint64(4096));
    QCOMPARE(t.AvailableBlocks, quint64(vfs.f_bavail));
}

void TestEditTarget::okWithoutSelection()
{
    EditTarget dlg(nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    list(dlg)->clearSelection();
    click(dlg, "okButton");
    QVERIFY(dlg.isVisible());
    QCOMPARE(message(dlg), QString());
    QCOMPARE(dataModel()->target(), m_before);
}

void TestEditTarget::leave_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape") << true;
}

void TestEditTarget::leave()
{
    QFETCH(bool, escape);
    EditTarget dlg(nullptr);
    bool ran = false;
    // Through exec(), as the main window runs it.
    QTimer::singleShot(0, &dlg, [&] {
        ran = true;
        if (list(dlg)->topLevelItemCount() > 0)
            list(dlg)->setCurrentItem(list(dlg)->topLevelItem(0));
        if (escape)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            click(dlg, "cancelButton");
    });
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    QVERIFY(ran);
    QCOMPARE(dataModel()->target(), m_before);
}

void TestEditTarget::unsupportedKeepsDialogOpen()
{
    if (m_ext4.isEmpty())
        QSKIP(qPrintable(m_why.isEmpty() ? m_mounts.why() : m_why));
    EditTarget dlg(nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTreeWidgetItem* item = row(dlg, m_ext4);
    QVERIFY(item);
    list(dlg)->setCurrentItem(item);
    click(dlg, "okButton");
    QVERIFY(dlg.isVisible());
    QCOMPARE(message(dlg), QStringLiteral("Unsupported file system"));
    QCOMPARE(dataModel()->target(), m_before);
    QVERIFY(!QGuiApplication::overrideCursor());

    // Another row still works afterwards.
    list(dlg)->setCurrentItem(row(dlg, m_ntfs));
    click(dlg, "okButton");
    QTRY_VERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dataModel()->target().Path, m_ntfs);
}

void TestEditTarget::refusal_data()
{
    QTest::addColumn<int>("fileSystem");
    QTest::addColumn<quint64>("blocks");
    QTest::addColumn<bool>("refused");
    QTest::newRow("UDF 262") << int(UDF) << quint64(262) << true;
    QTest::newRow("UDF 263") << int(UDF) << quint64(263) << false;
    QTest::newRow("NTFS full") << int(NTFS) << quint64(0) << false;
}

void TestEditTarget::refusal()
{
    QFETCH(int, fileSystem);
    QFETCH(quint64, blocks);
    QFETCH(bool, refused);
    Target t;
    t.Path = QStringLiteral("/dev/sr0");
    t.FileSystem = fileSystem;
    t.BlockSize = 2048;
    t.AvailableBlocks = blocks;
    QCOMPARE(!EditTarget::refusal(t).isEmpty(), refused);
}

QTEST_MAIN(TestEditTarget)
#include "test_edittarget.moc"
