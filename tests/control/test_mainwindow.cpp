#include <QtTest>

#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>

#include "control/MainWindow.h"
#include "model/DM.h"
#include "model/MainStatus.h"
#include "model/SizeText.h"
#include "ui/MainActions.h"
#include "ui/MainList.h"

using Act = MainActions::Act;

namespace {

QString writeFile(const QString& path, int bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(QByteArray(bytes, 'x'));
    return path;
}

} // namespace

// The real window with the real controller, as a user meets it. One window
// serves all cases, as in the program.
class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void startState();
    void toolbarFitsTheWindow();
    void addFiles();
    void addFolder();
    void cancelledDialogAddsNothing();
    void dropFiles();
    void exitClosesTheWindow();
    void goingAwayWhileFoldersAreMeasured();

private:
    QString status(const char* name) const
    {
        return m_window->status()->findChild<QLabel*>(QLatin1String(name))->text();
    }
    QTreeWidgetItem* row(int group, int index) const
    {
        return m_window->list()->topLevelItem(group)->child(index);
    }

    MainWindow* m_window = nullptr;
    QTemporaryDir m_dir;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_window = new MainWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestMainWindow::init()
{
    MainWindow::Answers::clear();
    if (m_window && !m_window->isVisible())
        m_window->show();
}

void TestMainWindow::cleanupTestCase()
{
    delete m_window;
}

void TestMainWindow::startState()
{
    QCOMPARE(m_window->size(), QSize(800, 600));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("New Project"));
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(status("state"), QStringLiteral("READY"));
    QCOMPARE(status("selected"), QStringLiteral("SELECTED: 0"));
    QCOMPARE(status("target"), QStringLiteral(" No DRIVE "));
    QCOMPARE(status("wasted"), QStringLiteral("WASTED: --"));
    QCOMPARE(status("total"), QStringLiteral("TOTAL: 0"));

    // Menu bar, toolbar, list and status bar from top to bottom.
    QToolBar* bar = m_window->actions()->toolBar();
    QCOMPARE(m_window->toolBarArea(bar), Qt::TopToolBarArea);
    QVERIFY(m_window->menuBar()->geometry().bottom() < bar->geometry().top());
    QVERIFY(bar->geometry().bottom() < m_window->list()->geometry().top());
    QVERIFY(m_window->list()->geometry().bottom() < m_window->status()->geometry().top());

    QStringList texts;
    for (QAction* a : bar->actions()) {
        if (!a->isSeparator())
            texts << a->iconText();
    }
    QCOMPARE(texts, (QStringList{QStringLiteral("New"), QStringLiteral("Load"),
                                 QStringLiteral("Save"), QStringLiteral("Add File(s)"),
                                 QStringLiteral("Add Folder"), QStringLiteral("Remove"),
                                 QStringLiteral("Move Up"), QStringLiteral("Move Down"),
                                 QStringLiteral("Target"), QStringLiteral("Dispense"),
                                 QStringLiteral("Undispense"), QStringLiteral("Post")}));
    for (Act a : {Act::ProjectSave, Act::Dispense, Act::Undispense, Act::ClipboardPost,
                  Act::OriginalsDelete, Act::EntryRemove, Act::PriorityUp})
        QVERIFY(!m_window->actions()->action(a)->isEnabled());
    for (Act a : {Act::DiskSelect, Act::FilesAdd, Act::FolderAdd})
        QVERIFY(m_window->actions()->action(a)->isEnabled());
    QCOMPARE(m_window->list()->topLevelItemCount(), 5);
}

void TestMainWindow::toolbarFitsTheWindow()
{
    // With a common desktop font every button shows in the 800-pixel window,
    // none is pushed into the toolbar's overflow menu.
    const QFont before = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QToolBar* bar = m_window->actions()->toolBar();
    QTRY_VERIFY(bar->sizeHint().width() <= m_window->width());
    QTest::qWait(50);
    for (QAction* a : bar->actions()) {
        if (a->isSeparator())
            continue;
        QWidget* button = bar->widgetForAction(a);
        QVERIFY2(button->isVisible(), qPrintable(a->iconText()));
        QVERIFY(button->geometry().right() < bar->width());
        // and the whole text fits its button
        QVERIFY(button->width() >= button->fontMetrics().horizontalAdvance(a->iconText()));
    }
    QApplication::setFont(before);
}

void TestMainWindow::addFiles()
{
    const QString a = writeFile(m_dir.filePath(QStringLiteral("a.bin")), 1500);
    const QString b = writeFile(m_dir.filePath(QStringLiteral("b.bin")), 100);
    QVERIFY(!a.isEmpty() && !b.isEmpty());
    const int before = m_window->list()->topLevelItem(Main)->childCount();
    MainWindow::Answers::nextFiles({b, a});
    m_window->actions()->action(Act::FilesAdd)->trigger();
    QCOMPARE(MainWindow::lastShownDialog().caption, QStringLiteral("Add file(s)"));
    QCOMPARE(m_window->list()->topLevelItem(Main)->childCount(), before + 2);
    QCOMPARE(row(Main, before)->text(1), QStringLiteral("b.bin"));
    QCOMPARE(row(Main, before + 1)->text(1), QStringLiteral("a.bin"));
    // Sizes and the total as the model has them.
    for (int i : {before, before + 1}) {
        const Entry& e = dataModel()->entryAt(EntryPos{Main, i});
        QCOMPARE(row(Main, i)->text(2), e.IsValidSize ? sizeText(e.Size) : QStringLiteral("?"));
    }
    QVERIFY(m_window->actions()->action(Act::ProjectSave)->isEnabled());
    QTRY_COMPARE(status("total"), QStringLiteral("TOTAL: ") + sizeText(dataModel()->totalSize()));
}

void TestMainWindow::addFolder()
{
    const QString folder = m_dir.filePath(QStringLiteral("tree"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/inner")));
    QVERIFY(!writeFile(folder + QStringLiteral("/one"), 2048).isEmpty());
    QVERIFY(!writeFile(folder + QStringLiteral("/inner/two"), 1024).isEmpty());
    const int index = m_window->list()->topLevelItem(Main)->childCount();
    MainWindow::Answers::nextFiles({folder});
    m_window->actions()->action(Act::FolderAdd)->trigger();
    QCOMPARE(MainWindow::lastShownDialog().caption, QStringLiteral("Add folder"));
    QTreeWidgetItem* item = row(Main, index);
    QVERIFY(item);
    QCOMPARE(item->text(1), QStringLiteral("tree"));
    // The size arrives from the folder-size thread.
    QTRY_VERIFY(dataModel()->entryAt(EntryPos{Main, index}).IsValidSize);
    QCOMPARE(item->text(2), sizeText(dataModel()->entryAt(EntryPos{Main, index}).Size));
}

void TestMainWindow::cancelledDialogAddsNothing()
{
    const int before = dataModel()->entryCount();
    MainWindow::Answers::nextFiles({});
    m_window->actions()->action(Act::FilesAdd)->trigger();
    MainWindow::Answers::nextFiles({});
    m_window->actions()->action(Act::FolderAdd)->trigger();
    QVERIFY(!MainWindow::Answers::pending());
    QCOMPARE(dataModel()->entryCount(), before);
}

void TestMainWindow::dropFiles()
{
    const QString c = writeFile(m_dir.filePath(QStringLiteral("c dropped.txt")), 10);
    const int index = m_window->list()->topLevelItem(Main)->childCount();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(c)});
    // A drop goes where the drag was welcomed.
    QWidget* viewport = m_window->list()->viewport();
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    QVERIFY(row(Main, index));
    QCOMPARE(row(Main, index)->text(1), QStringLiteral("c dropped.txt"));
    QVERIFY(row(Main, index)->isSelected());
}

void TestMainWindow::exitClosesTheWindow()
{
    m_window->actions()->action(Act::Exit)->trigger();
    QVERIFY(!m_window->isVisible());
}

void TestMainWindow::goingAwayWhileFoldersAreMeasured()
{
    // Many folders queued for measuring; the window goes before the answers
    // come, which must then reach no view.
    const QString root = m_dir.filePath(QStringLiteral("many"));
    QStringList folders;
    for (int i = 0; i < 40; ++i) {
        const QString f = root + QStringLiteral("/f%1").arg(i);
        QVERIFY(QDir().mkpath(f));
        QVERIFY(!writeFile(f + QStringLiteral("/x"), 10).isEmpty());
        folders << f;
    }
    MainWindow::Answers::nextFiles(folders);
    m_window->actions()->action(Act::FilesAdd)->trigger();
    delete m_window;
    m_window = nullptr;
    QTest::qWait(200);
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
