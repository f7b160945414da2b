#include <QtTest>

#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>

#include "gui/MainWindow.h"
#include "core/model/DM.h"
#include "gui/MainStatus.h"
#include "core/model/SizeText.h"
#include "gui/MainActions.h"
#include "gui/MainList.h"

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
    void addFilesAndFolder();
    void dropFiles();
    void exitClosesTheWindow();
    void goingAwayWhileFoldersAreMeasured();

private:
    QString status(const char* name) const
    {
        return m_window->status()->findChild<QLabel*>(name)->text();
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
    QCOMPARE(m_window->windowTitle(), QString("New Project"));
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE((QStringList{status("state"), status("selected"), status("target"), status("wasted"),
                          status("total")}),
             (QStringList{"READY", "SELECTED: 0", " No DRIVE ", "WASTED: --", "TOTAL: 0"}));

    // Menu bar, toolbar, list and status bar from top to bottom.
    QToolBar* bar = m_window->actions()->toolBar();
    QCOMPARE(m_window->toolBarArea(bar), Qt::TopToolBarArea);
    QVERIFY(m_window->menuBar()->geometry().bottom() < bar->geometry().top());
    QVERIFY(bar->geometry().bottom() < m_window->list()->geometry().top());
    QVERIFY(m_window->list()->geometry().bottom() < m_window->status()->geometry().top());
    QStringList texts;
    for (QAction* a : bar->actions())
        if (!a->isSeparator())
            texts << a->iconText();
    QCOMPARE(texts,
             (QStringList{"New", "Load", "Save", "Add File(s)", "Add Folder", "Remove", "Move Up",
                          "Move Down", "Target", "Dispense", "Undispense", "Post"}));
    // What the controller's first refresh leaves on.
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
    QApplication::setFont(QFont("DejaVu Sans", 9));
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

void TestMainWindow::addFilesAndFolder()
{
    // Cancelled dialogs add nothing.
    for (Act a : {Act::FilesAdd, Act::FolderAdd}) {
        MainWindow::Answers::nextFiles({});
        m_window->actions()->action(a)->trigger();
    }
    QVERIFY(!MainWindow::Answers::pending());
    QCOMPARE(dataModel()->entryCount(), 0);

    const QString a = writeFile(m_dir.filePath("a.bin"), 1500);
    const QString b = writeFile(m_dir.filePath("b.bin"), 100);
    const QString folder = m_dir.filePath("tree");
    QVERIFY(QDir().mkpath(folder + "/inner"));
    QVERIFY(!a.isEmpty() && !b.isEmpty() && !writeFile(folder + "/one", 2048).isEmpty() &&
            !writeFile(folder + "/inner/two", 1024).isEmpty());
    MainWindow::Answers::nextFiles({b, a});
    m_window->actions()->action(Act::FilesAdd)->trigger();
    QCOMPARE(MainWindow::lastShownDialog().caption, QString("Add file(s)"));
    MainWindow::Answers::nextFiles({folder});
    m_window->actions()->action(Act::FolderAdd)->trigger();
    QCOMPARE(MainWindow::lastShownDialog().caption, QString("Add folder"));
    QVERIFY(m_window->actions()->action(Act::ProjectSave)->isEnabled());

    // The folder's size arrives from the folder-size thread; the rows show
    // the sizes and the status bar the total, as the model has them.
    QTRY_VERIFY(dataModel()->entryAt(EntryPos{Main, 2}).IsValidSize);
    QStringList rows;
    for (int i = 0; i < m_window->list()->topLevelItem(Main)->childCount(); ++i)
        rows << row(Main, i)->text(1) + ' ' + row(Main, i)->text(2);
    QCOMPARE(rows, (QStringList{"b.bin " + sizeText(100), "a.bin " + sizeText(1500),
                                "tree " + sizeText(dataModel()->entryAt(EntryPos{Main, 2}).Size)}));
    QTRY_COMPARE(status("total"), "TOTAL: " + sizeText(dataModel()->totalSize()));
}

void TestMainWindow::dropFiles()
{
    const QString c = writeFile(m_dir.filePath("c dropped.txt"), 10);
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
    QCOMPARE(row(Main, index)->text(1), QString("c dropped.txt"));
    QVERIFY(row(Main, index)->isSelected());
}

void TestMainWindow::exitClosesTheWindow()
{
    // The entries added above are unsaved: Exit asks first, and Cancel keeps the window.
    MainWindow::Answers::nextButton(QMessageBox::Cancel);
    m_window->actions()->action(Act::Exit)->trigger();
    QCOMPARE(MainWindow::lastShownDialog().caption, QString("Unsaved Changes"));
    QVERIFY(m_window->isVisible());
    MainWindow::Answers::nextButton(QMessageBox::Discard);
    m_window->actions()->action(Act::Exit)->trigger();
    QVERIFY(!m_window->isVisible());
}

void TestMainWindow::goingAwayWhileFoldersAreMeasured()
{
    // Many folders queued for measuring; the window goes before the answers
    // come, which must then reach no view.
    const QString root = m_dir.filePath("many");
    QStringList folders;
    for (int i = 0; i < 40; ++i) {
        const QString f = root + QString("/f%1").arg(i);
        QVERIFY(QDir().mkpath(f) && !writeFile(f + "/x", 10).isEmpty());
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
