#include <QtTest>

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>

#include "gui/MainWindow.h"
#include "core/model/DM.h"
#include "gui/MainStatus.h"
#include "tests/common/RecordingCtrl.h"
#include "gui/MainActions.h"
#include "gui/MainList.h"

// The main window against a recording controller: how it hands its views
// over, closes, and runs its dialogs.
class TestMainWindowViews : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void attachAndDetach();
    void closing_data();
    void closing();
    void exitAction();
    void listContextMenu();
    void fileDialogs_data();
    void fileDialogs();
    void realFileDialog_data();
    void realFileDialog();
    void askSaveChanges_data();
    void askSaveChanges();
    void confirmOriginalsDelete_data();
    void confirmOriginalsDelete();
    void otherDialogs();

private:
    MainWindow* m_window = nullptr;
};

void TestMainWindowViews::init()
{
    dataModel()->newProject();
    recordingCtrl().allowClose = true;
    MainWindow::Answers::clear();
    m_window = new MainWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestMainWindowViews::cleanup()
{
    delete m_window;
    m_window = nullptr;
    QVERIFY(!MainWindow::Answers::pending());
    recordingCtrl().take();
}

void TestMainWindowViews::attachAndDetach()
{
    RecordingCtrl& ctrl = recordingCtrl();
    QCOMPARE(ctrl.take().first(), QString("attachViews"));
    QCOMPARE(ctrl.dialogs.data(), m_window);
    QCOMPARE(ctrl.actions.data(), m_window->actions());
    QCOMPARE(ctrl.items.data(), m_window->list());
    QCOMPARE(ctrl.status.data(), m_window->status());
    QCOMPARE(m_window->centralWidget(), m_window->list());
    QCOMPARE(m_window->statusBar(), m_window->status());
    QCOMPARE(m_window->actions()->parent(), m_window);

    delete m_window;
    m_window = nullptr;
    // Told before the views went, and nothing after.
    QCOMPARE(ctrl.take(), QStringList{"detachViews"});
    QVERIFY(ctrl.viewsAliveAtDetach);
    QVERIFY(!ctrl.items && !ctrl.status && !ctrl.actions && !ctrl.dialogs);
}

void TestMainWindowViews::closing_data()
{
    QTest::addColumn<bool>("allow");
    QTest::newRow("controller agrees") << true;
    QTest::newRow("controller refuses") << false;
}

void TestMainWindowViews::closing()
{
    QFETCH(bool, allow);
    recordingCtrl().allowClose = allow;
    recordingCtrl().take();
    static_cast<IViewDialogs*>(m_window)->closeMainWindow();
    QCOMPARE(recordingCtrl().take(), QStringList{"queryClose"});
    QCOMPARE(m_window->isVisible(), !allow);
}

void TestMainWindowViews::exitAction()
{
    recordingCtrl().take();
    m_window->actions()->action(MainActions::Act::Exit)->trigger();
    QCOMPARE(recordingCtrl().take(), QStringList{"appExit"});
}

void TestMainWindowViews::listContextMenu()
{
    MainList* list = m_window->list();
    QVERIFY(list->contextMenuPolicy() == Qt::CustomContextMenu);
    QMenu* menu = m_window->actions()->listContextMenu();
    emit list->customContextMenuRequested(QPoint(50, 80));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
}

void TestMainWindowViews::fileDialogs_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("answer"); // empty: cancelled
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<int>("acceptMode");
    QTest::addColumn<QStringList>("result"); // empty: false and output untouched

    const QStringList two{"/tmp/b", "/tmp/a"};
    const QStringList one{"/tmp/p.qmp"};
    const int open = QFileDialog::AcceptOpen;
    const auto rows = [](const char* name, const char* dialog, const QStringList& answer,
                         const char* caption, int fileMode, int acceptMode) {
        QTest::newRow(name) << dialog << answer << caption << fileMode << acceptMode << answer;
        QTest::newRow(qPrintable(QString(name) + " cancelled"))
            << dialog << QStringList() << caption << fileMode << acceptMode << QStringList();
    };
    rows("folder", "folder", one, "Add folder", QFileDialog::Directory, open);
    rows("files", "files", two, "Add file(s)", QFileDialog::ExistingFiles, open);
    rows("save as", "save", one, "Save Project As", QFileDialog::AnyFile, QFileDialog::AcceptSave);
    rows("load", "load", one, "Load Project", QFileDialog::ExistingFile, open);
}

void TestMainWindowViews::fileDialogs()
{
    QFETCH(QString, dialog);
    QFETCH(QStringList, answer);
    QFETCH(QString, caption);
    QFETCH(int, fileMode);
    QFETCH(int, acceptMode);
    QFETCH(QStringList, result);

    IViewDialogs* dialogs = m_window;
    MainWindow::Answers::nextFiles(answer);
    const QString untouched = "untouched";
    QString path = untouched;
    QStringList files{untouched};
    bool ok;
    if (dialog == ("folder"))
        ok = dialogs->askFolderAdd(path);
    else if (dialog == ("files"))
        ok = dialogs->askFilesAdd(files);
    else if (dialog == ("save"))
        ok = dialogs->askProjectSaveAs(path);
    else
        ok = dialogs->askProjectLoad(path);

    QCOMPARE(ok, !result.isEmpty());
    if (dialog == ("files")) {
        QCOMPARE(files, result.isEmpty() ? QStringList{untouched} : result);
    } else {
        QCOMPARE(path, result.isEmpty() ? untouched : result.first());
    }
    const MainWindow::ShownDialog shown = MainWindow::lastShownDialog();
    QCOMPARE(shown.caption, caption);
    QCOMPARE(int(shown.fileMode), fileMode);
    QCOMPARE(int(shown.acceptMode), acceptMode);
}

void TestMainWindowViews::realFileDialog_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("replace"); // the answer to the overwrite question
    QTest::addColumn<bool>("result");
    QTest::newRow("save as a new file") << "save" << false << false << true;
    QTest::newRow("save over a file, replace") << "save" << true << true << true;
    QTest::newRow("save over a file, keep") << "save" << true << false << false;
    QTest::newRow("load") << "load" << true << false << true;
    QTest::newRow("folder") << "folder" << true << false << true;
}

void TestMainWindowViews::realFileDialog()
{
    QFETCH(QString, dialog);
    QFETCH(bool, exists);
    QFETCH(bool, replace);
    QFETCH(bool, result);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString chosen = dir.filePath("project.qmp");
    if (dialog == ("folder")) {
        chosen = dir.filePath("sub");
        QVERIFY(QDir().mkdir(chosen));
    } else if (exists) {
        QFile f(chosen);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    // Plays the user: picks the name in the real dialog and answers the
    // overwrite question if one comes.
    bool picked = false, asked = false;
    QTimer user;
    connect(&user, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* fd = qobject_cast<QFileDialog*>(modal)) {
            if (picked)
                return;
            picked = true;
            fd->setDirectory(dir.path());
            // Typed, as a user would.
            auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name);
            name->setText(QFileInfo(chosen).fileName());
            QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            asked = true;
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            // A kept file leaves the dialog open: cancel it.
            if (!replace)
                QTimer::singleShot(50, this, [] {
                    if (auto* fd = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                        fd->reject();
                });
        }
    });
    user.start(20);
    QTimer::singleShot(10000, this, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close(); // a hung dialog fails the test instead of hanging it
    });

    IViewDialogs* dialogs = m_window;
    QString path;
    bool ok;
    if (dialog == ("save"))
        ok = dialogs->askProjectSaveAs(path);
    else if (dialog == ("load"))
        ok = dialogs->askProjectLoad(path);
    else
        ok = dialogs->askFolderAdd(path);
    user.stop();
    QVERIFY(picked);
    QCOMPARE(asked, dialog == ("save") && exists);
    QCOMPARE(ok, result);
    if (result)
        QCOMPARE(QFileInfo(path).canonicalFilePath().isEmpty() ? path
                                                               : QFileInfo(path).absoluteFilePath(),
                 QFileInfo(chosen).absoluteFilePath());
}

void TestMainWindowViews::askSaveChanges_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("choice");
    QTest::newRow("Save") << int(QMessageBox::Save) << int(IViewDialogs::SaveChanges);
    QTest::newRow("Discard") << int(QMessageBox::Discard) << int(IViewDialogs::DiscardChanges);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << int(IViewDialogs::CancelClose);
    QTest::newRow("closed") << int(QMessageBox::NoButton) << int(IViewDialogs::CancelClose);
}

void TestMainWindowViews::askSaveChanges()
{
    QFETCH(int, button);
    QFETCH(int, choice);
    m_window->setTitle("holiday.qmp");
    MainWindow::Answers::nextButton(QMessageBox::StandardButton(button));
    QCOMPARE(int(static_cast<IViewDialogs*>(m_window)->askSaveChanges()), choice);
    const QString text = MainWindow::lastShownDialog().text;
    QVERIFY2(text.contains("\"holiday.qmp\""), qPrintable(text));
}

void TestMainWindowViews::confirmOriginalsDelete_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("folders");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("files and folders")
        << 3 << 1 << int(QMessageBox::Yes) << "Move 3 files and 1 folder to the trash?" << true;
    QTest::newRow("one file") << 1 << 0 << int(QMessageBox::Yes) << "Move 1 file to the trash?"
                              << true;
    QTest::newRow("folders, cancelled")
        << 0 << 2 << int(QMessageBox::Cancel) << "Move 2 folders to the trash?" << false;
    QTest::newRow("closed") << 1 << 1 << int(QMessageBox::NoButton)
                            << "Move 1 file and 1 folder to the trash?" << false;
}

void TestMainWindowViews::confirmOriginalsDelete()
{
    QFETCH(int, files);
    QFETCH(int, folders);
    QFETCH(int, button);
    QFETCH(QString, question);
    QFETCH(bool, confirmed);
    MainWindow::Answers::nextButton(QMessageBox::StandardButton(button));
    QCOMPARE(static_cast<IViewDialogs*>(m_window)->confirmOriginalsDelete(files, folders),
             confirmed);
    QCOMPARE(MainWindow::lastShownDialog().text.section(QLatin1Char('\n'), 0, 0), question);
}

void TestMainWindowViews::otherDialogs()
{
    IViewDialogs* dialogs = m_window;
    MainWindow::Answers::nextResult(QDialog::Rejected);
    dialogs->showAbout();
    QCOMPARE(MainWindow::lastShownDialog().caption, QString("About"));
    // The picker is answered too (unanswered it would wait for a user).
    MainWindow::Answers::nextResult(QDialog::Rejected);
    QVERIFY(!dialogs->pickTarget());
    QVERIFY(!MainWindow::Answers::pending());
    dialogs->setTitle("a b.qmp");
    QCOMPARE(m_window->windowTitle(), QString("a b.qmp"));
}

QTEST_MAIN(TestMainWindowViews)
#include "test_mainwindow_views.moc"
