#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtTest>

#include "gui/MainWindow.h"
#include "gui/DispenseBoard.h"
#include "core/model/DM.h"
#include "core/model/SizeText.h"
#include "gui/MainActions.h"
#include "gui/MainList.h"

using Act = MainActions::Act;

namespace {

QString writeFile(const QString& path, int size)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(QByteArray(size, 'q'));
    return path;
}

// Every group as "group:ident:size:kind" lines, and the target.
QStringList projectText()
{
    DM* m = dataModel();
    QStringList out;
    for (int g = Dispensed; g < NoGroup; ++g)
        for (EntryPos p = m->groupBegin(g); m->isValidPos(p); ++p.index) {
            const Entry& e = m->entryAt(p);
            out << QStringLiteral("%1:%2:%3:%4").arg(g).arg(e.Ident).arg(e.Size).arg(e.Kind);
        }
    if (m->hasTarget()) {
        const Target& t = m->target();
        out << QStringLiteral("target:%1:%2:%3:%4")
                   .arg(t.Path)
                   .arg(t.FileSystem)
                   .arg(t.BlockSize)
                   .arg(t.AvailableBlocks);
    }
    return out;
}

// The entry rows the list shows under each group header.
QList<int> rowCounts(MainList* list)
{
    QList<int> out;
    for (int g = 0; g < list->topLevelItemCount(); ++g)
        out << list->topLevelItem(g)->childCount();
    return out;
}

QList<int> groupSizes()
{
    QList<int> out;
    for (int g = Dispensed; g < NoGroup; ++g)
        out << dataModel()->groupSize(g);
    return out;
}

bool statusShows(MainWindow* w, const QString& text)
{
    for (QLabel* l : w->statusBar()->findChildren<QLabel*>())
        if (l->text() == text)
            return true;
    return false;
}

} // namespace

// The whole road of a dispense through the real window: adding files and
// folders, measuring, the target, the search under its dialog, undoing it,
// the clipboard, the trash, and the project file.
class TestDispenseRoad : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void wholeRoad();

private:
    void trigger(Act a) { m_window->actions()->action(a)->trigger(); }
    bool enabled(Act a) const { return m_window->actions()->action(a)->isEnabled(); }
    // Runs Dispense; the search of these few entries ends by itself, and
    // Accept is pressed should it take long.
    void dispense();

    QTemporaryDir m_home;
    MainWindow* m_window = nullptr;
};

void TestDispenseRoad::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (m_home.path() + "/.local/share").toLocal8Bit());
    QVERIFY(QDir(m_home.path()).mkpath(".local/share"));
    m_window = new MainWindow;
    m_window->show();
}

void TestDispenseRoad::cleanupTestCase()
{
    MainWindow::Answers::clear();
    delete m_window;
}

void TestDispenseRoad::dispense()
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] {
        if (auto* board = qobject_cast<DispenseBoard*>(QApplication::activeModalWidget()))
            for (QPushButton* b : board->findChildren<QPushButton*>())
                if (b->text() == "Accept")
                    b->click();
    });
    watchdog.start(20000);
    trigger(Act::Dispense);
}

void TestDispenseRoad::wholeRoad()
{
    const QString src = m_home.path() + "/src";
    const QStringList files{writeFile(src + "/a.bin", 10000), writeFile(src + "/b.bin", 30000)};
    for (int i = 0; i < 5; ++i)
        QVERIFY(!writeFile(src + QStringLiteral("/album/%1.ogg").arg(i), 8000).isEmpty());
    QVERIFY(!writeFile(src + "/docs/x.txt", 3000).isEmpty());
    QVERIFY(!writeFile(src + "/docs/deep/y.txt", 5000).isEmpty());
    QVERIFY(!writeFile(src + "/big.iso", 200000).isEmpty());
    DM* m = dataModel();

    // Files and folders in; the folders are measured meanwhile.
    MainWindow::Answers::nextFiles(files + QStringList{src + "/big.iso"});
    trigger(Act::FilesAdd);
    MainWindow::Answers::nextFiles({src + "/album"});
    trigger(Act::FolderAdd);
    MainWindow::Answers::nextFiles({src + "/docs"});
    trigger(Act::FolderAdd);
    QCOMPARE(m->groupSize(Main), 5);
    for (int i = 0; i < 5; ++i)
        QTRY_VERIFY(m->entryAt(EntryPos{Main, i}).IsValidSize);
    QCOMPARE(m->entryAt(EntryPos{Main, 3}).Size, quint64(40000));
    QCOMPARE(m->entryAt(EntryPos{Main, 4}).Size, quint64(8000));
    QTRY_VERIFY(statusShows(m_window, "TOTAL: " + sizeText(288000)));
    QVERIFY(enabled(Act::ProjectSave));
    QVERIFY(!enabled(Act::Dispense));

    // The target: 64 kb of NTFS, stored while the picker is up, as the picker does.
    Target t;
    t.Path = m_home.path();
    t.FileSystem = NTFS;
    t.BlockSize = 4096;
    t.AvailableBlocks = 16;
    QTimer::singleShot(0, [&] {
        m->setTarget(t);
        if (auto* picker = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            picker->accept();
    });
    trigger(Act::DiskSelect);
    QCOMPARE(m->target(), t);
    QVERIFY(enabled(Act::Dispense));
    QVERIFY(statusShows(m_window, m_home.path() + ' ' + sizeText(65536)));

    // Dispense and take the result.
    const QStringList before = projectText();
    dispense();
    QVERIFY(m->isDispensed());
    QVERIFY(m->groupSize(Dispensed) > 0);
    quint64 used = 0;
    QStringList dispensed;
    for (EntryPos p = m->groupBegin(Dispensed); m->isValidPos(p); ++p.index) {
        used += m->entryAt(p).Size;
        dispensed << m->entryAt(p).Ident;
    }
    QVERIFY(used <= t.capacity());
    QVERIFY(!dispensed.contains(src + "/big.iso")); // cannot fit
    const quint64 wasted = m->wastedSize();
    QVERIFY(wasted <= t.capacity() - used);
    QVERIFY(statusShows(m_window, "WASTED: " + sizeText(wasted)));
    QCOMPARE(rowCounts(m_window->list()), groupSizes());
    QVERIFY(!enabled(Act::Dispense));
    QVERIFY(enabled(Act::Undispense) && enabled(Act::ClipboardPost) &&
            enabled(Act::OriginalsDelete) && enabled(Act::ProjectSave));

    // Undispense puts everything back where it came from.
    trigger(Act::Undispense);
    QVERIFY(!m->isDispensed());
    QCOMPARE(m->groupSize(Dispensed), 0);
    const QStringList after = projectText();
    QCOMPARE(QSet<QString>(after.begin(), after.end()),
             QSet<QString>(before.begin(), before.end()));
    QCOMPARE(rowCounts(m_window->list()), groupSizes());
    QVERIFY(enabled(Act::Dispense));
    QVERIFY(!enabled(Act::Undispense) && !enabled(Act::ClipboardPost) &&
            !enabled(Act::OriginalsDelete));

    // The same search again, then its files onto the clipboard.
    dispense();
    QStringList again;
    for (EntryPos p = m->groupBegin(Dispensed); m->isValidPos(p); ++p.index)
        again << m->entryAt(p).Ident;
    QCOMPARE(QSet<QString>(again.begin(), again.end()),
             QSet<QString>(dispensed.begin(), dispensed.end()));
    QCOMPARE(m->wastedSize(), wasted);
    QGuiApplication::clipboard()->clear();
    trigger(Act::ClipboardPost);
    QVERIFY(statusShows(m_window, "Dispensed file(s) has been posted to the clipboard"));
    QList<QUrl> urls;
    for (const QString& ident : again)
        urls << QUrl::fromLocalFile(ident);
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->urls(), urls);

    // The originals go to the trash, after the question that counts them.
    int fileCount = 0;
    for (EntryPos p = m->groupBegin(Dispensed); m->isValidPos(p); ++p.index)
        fileCount += m->entryAt(p).Kind == File ? 1 : 0;
    MainWindow::Answers::nextButton(QMessageBox::Yes);
    trigger(Act::OriginalsDelete);
    QCOMPARE(MainWindow::lastShownDialog().caption, QString("Delete the files"));
    QVERIFY2(MainWindow::lastShownDialog().text.contains(QString::number(fileCount) + " file"),
             qPrintable(MainWindow::lastShownDialog().text));
    const QString trash = m_home.path() + "/.local/share/Trash/files/";
    for (const QString& ident : again) {
        QVERIFY2(!QFileInfo::exists(ident), qPrintable(ident));
        QVERIFY2(QFileInfo::exists(trash + QFileInfo(ident).fileName()), qPrintable(ident));
    }
    QVERIFY(QFileInfo::exists(src + "/big.iso"));
    QCOMPARE(m->groupSize(Dispensed), 0);
    QVERIFY(!m->isDispensed());
    QCOMPARE(m->entryCount(), 5 - again.size());
    QCOMPARE(rowCounts(m_window->list()), groupSizes());
    QVERIFY(statusShows(m_window, "READY"));
    QVERIFY(enabled(Act::Dispense));
    QVERIFY(!enabled(Act::Undispense) && !enabled(Act::ClipboardPost) &&
            !enabled(Act::OriginalsDelete));
    QVERIFY(enabled(Act::ProjectSave));

    // Save (as: the project is new), and load it into a window of its own.
    const QString projectPath = m_home.path() + "/road.qmp";
    const QStringList saved = projectText();
    MainWindow::Answers::nextFiles({projectPath});
    trigger(Act::ProjectSave);
    QVERIFY(QFileInfo::exists(projectPath));
    QCOMPARE(m_window->windowTitle(), QString("road.qmp"));
    QVERIFY(!enabled(Act::ProjectSave));
    QVERIFY(!m->isModified());
    trigger(Act::ProjectNew); // nothing unsaved: no question
    QVERIFY(!MainWindow::Answers::pending());
    QCOMPARE(m->entryCount(), 0);
    delete m_window;
    m_window = new MainWindow;
    m_window->show();
    MainWindow::Answers::nextFiles({projectPath});
    trigger(Act::ProjectLoad);
    QCOMPARE(projectText(), saved);
    QCOMPARE(m_window->windowTitle(), QString("road.qmp"));
    QCOMPARE(rowCounts(m_window->list()), groupSizes());
    QVERIFY(enabled(Act::Dispense));
    QVERIFY(!enabled(Act::ProjectSave));
}

QTEST_MAIN(TestDispenseRoad)
#include "test_dispense_road.moc"
