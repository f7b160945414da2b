#include <QtTest>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "tests/common/RecordingCtrl.h"
#include "gui/IconSet.h"
#include "gui/MainActions.h"

using Act = MainActions::Act;

namespace {

// The visible items of a menu or toolbar: texts ("|" for a separator).
QStringList itemTexts(const QList<QAction*>& actions, bool iconText)
{
    QStringList out;
    for (QAction* a : actions)
        out << (a->isSeparator() ? QStringLiteral("|") : iconText ? a->iconText() : a->text());
    return out;
}

QStringList enabledNames(const MainActions& actions)
{
    QStringList out;
    for (int i = 0; i < int(Act::Count); ++i) {
        QAction* a = actions.action(Act(i));
        if (a->isEnabled())
            out << a->objectName();
    }
    return out;
}

const QStringList startEnabled =
    QStringList({"ProjectNew", "ProjectLoad", "ProjectSaveAs", "Exit", "DiskSelect", "FilesAdd",
                 "FolderAdd", "SelectionAllInGroup", "SelectionInvertInGroup", "About"});

} // namespace

class TestMainActions : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void menus_data();
    void menus();
    void toolbar();
    void listContextMenu();
    void actions_data();
    void actions();
    void viewActions_data();
    void viewActions();
    void icons_data();
    void icons();
    void iconsDistinct_data();
    void iconsDistinct();

private:
    QMainWindow* m_window = nullptr;
    MainActions* m_actions = nullptr;
};

void TestMainActions::init()
{
    m_window = new QMainWindow;
    m_actions = new MainActions(m_window);
    m_actions->setupTexts();
    recordingCtrl().take();
}

void TestMainActions::cleanup()
{
    delete m_window; // takes the actions, menus and toolbar along
    m_window = nullptr;
}

void TestMainActions::menus_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("File") << 0 << "File"
                          << QStringList({"New project", "Load project ...", "Save project",
                                          "Save project As ...", "|", "Exit"});
    QTest::newRow("Actions") << 1 << "Actions"
                             << QStringList({"Pick a Target Storage ...", "Dispense the files",
                                             "Undispense the files", "|",
                                             "Post the Dispensed files into the Clipboard",
                                             "Delete the files"});
    QTest::newRow("List") << 2 << "List"
                          << QStringList({"Add File(s) to the list", "Add Folder to the list",
                                          "Remove item from the list"});
    QTest::newRow("Priority") << 3 << "Priority"
                              << QStringList({"Move Up", "Move Down", "|", "Required", "Main",
                                              "Background", "Not In Use"});
    QTest::newRow("Help") << 4 << "Help" << QStringList({"About ..."});
}

void TestMainActions::menus()
{
    QFETCH(int, position);
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    const QList<QAction*> bar = m_window->menuBar()->actions();
    QCOMPARE(bar.size(), 5);
    QMenu* menu = bar.at(position)->menu();
    QVERIFY(menu);
    QCOMPARE(menu->title(), title);
    QCOMPARE(itemTexts(menu->actions(), false), items);
}

void TestMainActions::toolbar()
{
    const QList<QToolBar*> bars = m_window->findChildren<QToolBar*>();
    QCOMPARE(bars.size(), 1);
    QToolBar* bar = bars.first();
    QCOMPARE(bar, m_actions->toolBar());
    QCOMPARE(
        itemTexts(bar->actions(), true),
        (QStringList({"New", "Load", "Save", "|", "Add File(s)", "Add Folder", "Remove", "|",
                      "Move Up", "Move Down", "|", "Target", "Dispense", "Undispense", "Post"})));
    QVERIFY(!bar->isFloatable());
    QVERIFY(!bar->isMovable());
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(m_window->toolBarArea(bar), Qt::TopToolBarArea);
    for (QAction* a : bar->actions())
        QVERIFY2(a->isSeparator() || !a->icon().isNull(), qPrintable(a->objectName()));
}

void TestMainActions::listContextMenu()
{
    QMenu* menu = m_actions->listContextMenu();
    QVERIFY(menu);
    QCOMPARE(itemTexts(menu->actions(), false),
             (QStringList({"Remove item from the list", "|", "Move Up", "Move Down", "|",
                           "Required", "Main", "Background", "Not In Use", "|",
                           "Select all in currend Group", "Invert Selection in the group"})));
    // The same actions as the menus, so the controller switches them all at once.
    QCOMPARE(menu->actions().first(), m_actions->action(Act::EntryRemove));
    QCOMPARE(menu->actions().last(), m_actions->action(Act::SelectionInvertInGroup));
}

void TestMainActions::actions_data()
{
    QTest::addColumn<int>("act");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");  // empty: none set
    QTest::addColumn<QString>("iconText"); // empty: none set, and no icon
    QTest::addColumn<QString>("call");
    // In the order of MainActions::Act: name, text, tool tip, toolbar text, call.
    const char* const rows[][5] = {
        {"ProjectNew", "New project", "Start new project", "New", "projectNew"},
        {"ProjectLoad", "Load project ...", "Load existing project", "Load", "projectLoad"},
        {"ProjectSave", "Save project", "Save project", "Save", "projectSave"},
        {"ProjectSaveAs", "Save project As ...", "Save project with new name", "", "projectSaveAs"},
        {"Exit", "Exit", "", "", "appExit"},
        {"DiskSelect", "Pick a Target Storage ...", "Pick a Target Storage ...", "Target",
         "diskSelect"},
        {"Dispense", "Dispense the files", "Dispense the files for the target Drive", "Dispense",
         "dispense"},
        {"Undispense", "Undispense the files", "Put the files back from the Dispensed list",
         "Undispense", "undispense"},
        {"ClipboardPost", "Post the Dispensed files into the Clipboard",
         "Post the Dispensed files into the Clipboard", "Post", "clipboardPost"},
        {"OriginalsDelete", "Delete the files", "Delete the files to the system Trash", "",
         "originalsDelete"},
        {"FilesAdd", "Add File(s) to the list", "Add File(s) to the Main list", "Add File(s)",
         "filesAdd"},
        {"FolderAdd", "Add Folder to the list", "Add Folder to the list", "Add Folder",
         "folderAdd"},
        {"EntryRemove", "Remove item from the list", "Remove item from the list", "Remove",
         "entryRemove"},
        {"SelectionAllInGroup", "Select all in currend Group", "", "", "selectionAllInGroup"},
        {"SelectionInvertInGroup", "Invert Selection in the group", "", "",
         "selectionInvertInGroup"},
        {"PriorityUp", "Move Up", "Move the item Up to the list above", "Move Up", "priorityUp"},
        {"PriorityDown", "Move Down", "Move the item Down to list below", "Move Down",
         "priorityDown"},
        {"PriorityRequired", "Required", "Move the item into the Required list", "",
         "prioritySet 1"},
        {"PriorityMain", "Main", "Move the item into the Main list", "", "prioritySet 2"},
        {"PriorityBackground", "Background", "Move the item into the Background list", "",
         "prioritySet 3"},
        {"PriorityNotInUse", "Not In Use", "Move the item into the Not In Use", "",
         "prioritySet 4"},
        {"About", "About ...", "", "", "about"},
    };
    static_assert(std::size(rows) == size_t(Act::Count));
    for (int i = 0; i < int(Act::Count); ++i)
        QTest::newRow(rows[i][0]) << i << QString(rows[i][1]) << QString(rows[i][2])
                                  << QString(rows[i][3]) << QString(rows[i][4]);
}

void TestMainActions::actions()
{
    QFETCH(int, act);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QString, iconText);
    QFETCH(QString, call);

    QAction* a = m_actions->action(Act(act));
    QCOMPARE(a->objectName(), QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(a->text(), text);
    if (!toolTip.isEmpty())
        QCOMPARE(a->toolTip(), toolTip);
    if (!iconText.isEmpty())
        QCOMPARE(a->iconText(), iconText);
    QCOMPARE(!a->icon().isNull(), !iconText.isEmpty());
    QVERIFY(a->shortcut().isEmpty());
    QVERIFY(a->statusTip().isEmpty());

    // Each command reaches the controller exactly once, with its argument.
    a->setEnabled(true);
    a->trigger();
    QCOMPARE(recordingCtrl().take(), QStringList{call});
}

void TestMainActions::viewActions_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("enabledAfter");

    const QStringList entry =
        QStringList({"EntryRemove", "PriorityUp", "PriorityDown", "PriorityRequired",
                     "PriorityMain", "PriorityBackground", "PriorityNotInUse"});
    auto with = [](QStringList names, const QStringList& more) {
        names += more;
        return names;
    };
    QTest::newRow("start") << QStringList() << startEnabled;
    QTest::newRow("entry on") << QStringList({"entry 1"}) << with(startEnabled, entry);
    QTest::newRow("entry and save on, off")
        << QStringList({"entry 1", "save 1", "entry 0", "save 0"}) << startEnabled;
    QTest::newRow("save on") << QStringList({"save 1"})
                             << with(startEnabled, QStringList({"ProjectSave"}));
    QTest::newRow("dispense") << QStringList({"dispense"})
                              << with(startEnabled, QStringList({"Dispense"}));
    QTest::newRow("dispensed") << QStringList({"dispensed 1"})
                               << with(startEnabled, QStringList({"Undispense", "ClipboardPost",
                                                                  "OriginalsDelete"}));
    // Dispense goes off even with a target set: the actions never look at the model.
    QTest::newRow("dispense, dispensed")
        << QStringList({"dispense", "dispensed 1"})
        << with(startEnabled, QStringList({"Undispense", "ClipboardPost", "OriginalsDelete"}));
    QTest::newRow("dispensed, undispensed") << QStringList({"dispensed 1", "dispensed 0"})
                                            << with(startEnabled, QStringList({"Dispense"}));
}

void TestMainActions::viewActions()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, enabledAfter);
    IViewActions* view = m_actions;
    for (const QString& step : steps) {
        const QStringList parts = step.split(QLatin1Char(' '));
        const bool on = parts.value(1) == QLatin1String("1");
        if (parts[0] == QLatin1String("entry"))
            view->enableEntryActions(on);
        else if (parts[0] == QLatin1String("save"))
            view->enableSave(on);
        else if (parts[0] == QLatin1String("dispense"))
            view->enableDispense();
        else
            view->setDispensed(on);
    }
    QStringList expected;
    // In creation order, as enabledNames lists them.
    for (int i = 0; i < int(Act::Count); ++i) {
        const QString name = m_actions->action(Act(i))->objectName();
        if (enabledAfter.contains(name))
            expected << name;
    }
    QCOMPARE(enabledNames(*m_actions), expected);
    QVERIFY(recordingCtrl().take().isEmpty());
}

void TestMainActions::icons_data()
{
    QTest::addColumn<int>("id");
    for (int id = 0; id < IconCount; ++id)
        QTest::newRow(qPrintable(IconSet::resourcePath(IconId(id), 32))) << id;
}

void TestMainActions::icons()
{
    QFETCH(int, id);
    const QIcon& ic = icon(IconId(id));
    QVERIFY(!ic.isNull());
    for (int size : {16, 32}) {
        // The file itself exists in the resources, holds one image of its size,
        // and the icon hands out exactly that image at that size (not a scaled one).
        const QString path = IconSet::resourcePath(IconId(id), size);
        const QImage file(path);
        QVERIFY2(!file.isNull(), qPrintable(path + QStringLiteral(" does not load")));
        QCOMPARE(file.size(), QSize(size, size));
        QVERIFY(ic.availableSizes().contains(QSize(size, size)));
        const QImage shown = ic.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shown, file.convertToFormat(QImage::Format_ARGB32));

        // Visible: a fair share of opaque pixels and more than one colour.
        QList<QRgb> opaque;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (qAlpha(shown.pixel(x, y)) > 200)
                    opaque << shown.pixel(x, y);
        QVERIFY2(opaque.size() > size * size / 5, qPrintable(QString::number(opaque.size())));
        QVERIFY(QSet<QRgb>(opaque.begin(), opaque.end()).size() > 2);
    }
}

void TestMainActions::iconsDistinct_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
}

void TestMainActions::iconsDistinct()
{
    QFETCH(int, size);
    // Every pair of icons differs in a good number of pixels.
    QVector<QImage> images;
    for (int id = 0; id < IconCount; ++id)
        images
            << icon(IconId(id)).pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int a = 0; a < IconCount; ++a) {
        for (int b = a + 1; b < IconCount; ++b) {
            int differing = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    differing += images[a].pixel(x, y) != images[b].pixel(x, y) ? 1 : 0;
            QVERIFY2(differing > size * size / 8,
                     qPrintable(IconSet::resourcePath(IconId(a), size) + QStringLiteral(" vs ") +
                                IconSet::resourcePath(IconId(b), size)));
        }
    }
}

QTEST_MAIN(TestMainActions)
#include "test_mainactions.moc"
