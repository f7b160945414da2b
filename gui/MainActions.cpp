// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MainActions.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionToolButton>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

#include "control/Ctrl.h"
#include "control/ProjectStep.h"
#include "core/model/Entry.h"
#include "gui/IconSet.h"
#include "gui/ProjectCommand.h"

namespace {

using Act = MainActions::Act;
constexpr int NoIcon = -1;
constexpr Act Separator = Act::Count;

struct ActionRow
{
    const char* name;
    int menu; // the menu that owns the action
    int icon;
    bool enabled;
    const char* text;
    const char* toolTip;  // nullptr: none
    const char* iconText; // nullptr: none
};

// In creation order (Act). Menus: 0 File, 1 Actions, 2 List, 3 Priority, 4 Help.
const ActionRow rows[int(Act::Count)] = {
    {"ProjectNew", 0, ProjectNew, true, QT_TRANSLATE_NOOP("MainActions", "&New project"),
     QT_TRANSLATE_NOOP("MainActions", "Start new project"),
     QT_TRANSLATE_NOOP("MainActions", "New")},
    {"ProjectLoad", 0, ProjectLoad, true, QT_TRANSLATE_NOOP("MainActions", "&Load project ..."),
     QT_TRANSLATE_NOOP("MainActions", "Load existing project"),
     QT_TRANSLATE_NOOP("MainActions", "Load")},
    {"ProjectSave", 0, ProjectSave, false, QT_TRANSLATE_NOOP("MainActions", "&Save project"),
     QT_TRANSLATE_NOOP("MainActions", "Save project"), QT_TRANSLATE_NOOP("MainActions", "Save")},
    {"ProjectSaveAs", 0, NoIcon, true, QT_TRANSLATE_NOOP("MainActions", "Save project &As ..."),
     QT_TRANSLATE_NOOP("MainActions", "Save project with new name"), nullptr},
    {"Exit", 0, NoIcon, true, QT_TRANSLATE_NOOP("MainActions", "E&xit"), nullptr, nullptr},
    {"DiskSelect", 1, DiskSelect, true,
     QT_TRANSLATE_NOOP("MainActions", "Pick a &Target Storage ..."),
     QT_TRANSLATE_NOOP("MainActions", "Pick a Target Storage ..."),
     QT_TRANSLATE_NOOP("MainActions", "Target")},
    {"Dispense", 1, Dispense, false, QT_TRANSLATE_NOOP("MainActions", "&Dispense the files"),
     QT_TRANSLATE_NOOP("MainActions", "Dispense the files for the target Drive"),
     QT_TRANSLATE_NOOP("MainActions", "Dispense")},
    {"Undispense", 1, Undispense, false, QT_TRANSLATE_NOOP("MainActions", "&Undispense the files"),
     QT_TRANSLATE_NOOP("MainActions", "Put the files back from the Dispensed list"),
     QT_TRANSLATE_NOOP("MainActions", "Undispense")},
    {"ClipboardPost", 1, ClipboardPost, false,
     QT_TRANSLATE_NOOP("MainActions", "&Post the Dispensed files into the Clipboard"),
     QT_TRANSLATE_NOOP("MainActions", "Post the Dispensed files into the Clipboard"),
     QT_TRANSLATE_NOOP("MainActions", "Post")},
    {"OriginalsDelete", 1, NoIcon, false, QT_TRANSLATE_NOOP("MainActions", "D&elete the files"),
     QT_TRANSLATE_NOOP("MainActions", "Delete the files to the system Trash"), nullptr},
    {"FilesAdd", 2, FileAdd, true, QT_TRANSLATE_NOOP("MainActions", "Add &File(s) to the list"),
     QT_TRANSLATE_NOOP("MainActions", "Add File(s) to the Main list"),
     QT_TRANSLATE_NOOP("MainActions", "Add File(s)")},
    {"FolderAdd", 2, FolderAdd, true, QT_TRANSLATE_NOOP("MainActions", "Add F&older to the list"),
     QT_TRANSLATE_NOOP("MainActions", "Add Folder to the list"),
     QT_TRANSLATE_NOOP("MainActions", "Add Folder")},
    {"EntryRemove", 2, EntryRemove, false,
     QT_TRANSLATE_NOOP("MainActions", "R&emove item from the list"),
     QT_TRANSLATE_NOOP("MainActions", "Remove item from the list"),
     QT_TRANSLATE_NOOP("MainActions", "Remove")},
    {"SelectionAllInGroup", 2, NoIcon, true,
     QT_TRANSLATE_NOOP("MainActions", "&Select all in current Group"), nullptr, nullptr},
    {"SelectionInvertInGroup", 2, NoIcon, true,
     QT_TRANSLATE_NOOP("MainActions", "&Invert Selection in the group"), nullptr, nullptr},
    {"PriorityUp", 3, PriorityUp, false, QT_TRANSLATE_NOOP("MainActions", "Move &Up"),
     QT_TRANSLATE_NOOP("MainActions", "Move the item Up to the list above"),
     QT_TRANSLATE_NOOP("MainActions", "Move Up")},
    {"PriorityDown", 3, PriorityDown, false, QT_TRANSLATE_NOOP("MainActions", "Move &Down"),
     QT_TRANSLATE_NOOP("MainActions", "Move the item Down to list below"),
     QT_TRANSLATE_NOOP("MainActions", "Move Down")},
    {"PriorityRequired", 3, NoIcon, false, QT_TRANSLATE_NOOP("MainActions", "&Required"),
     QT_TRANSLATE_NOOP("MainActions", "Move the item into the Required list"), nullptr},
    {"PriorityMain", 3, NoIcon, false, QT_TRANSLATE_NOOP("MainActions", "&Main"),
     QT_TRANSLATE_NOOP("MainActions", "Move the item into the Main list"), nullptr},
    {"PriorityBackground", 3, NoIcon, false, QT_TRANSLATE_NOOP("MainActions", "&Background"),
     QT_TRANSLATE_NOOP("MainActions", "Move the item into the Background list"), nullptr},
    {"PriorityNotInUse", 3, NoIcon, false, QT_TRANSLATE_NOOP("MainActions", "&Not In Use"),
     QT_TRANSLATE_NOOP("MainActions", "Move the item into the Not In Use"), nullptr},
    {"About", 4, NoIcon, true, QT_TRANSLATE_NOOP("MainActions", "&About ..."), nullptr, nullptr},
    {"PlanSeries", 1, NoIcon, false, QT_TRANSLATE_NOOP("MainActions", "Plan &Series..."),
     QT_TRANSLATE_NOOP("MainActions", "Plan how the entries fill a whole series of media"),
     nullptr},
    {"DiscWrite", 1, NoIcon, false, QT_TRANSLATE_NOOP("MainActions", "&Write Disc"),
     QT_TRANSLATE_NOOP("MainActions", "Write the Dispensed files onto the disc in the target "
                                      "recorder and read them back"),
     nullptr},
    {"ImageWrite", 1, NoIcon, false, QT_TRANSLATE_NOOP("MainActions", "Write &Image..."),
     QT_TRANSLATE_NOOP("MainActions", "Write the Dispensed files into an ISO 9660 image file and "
                                      "read them back"),
     nullptr},
    {"CopyToTarget", 1, CopyToTarget, false, QT_TRANSLATE_NOOP("MainActions", "&Copy to Target..."),
     QT_TRANSLATE_NOOP("MainActions",
                       "Copy the Dispensed files onto the target and read them back"),
     QT_TRANSLATE_NOOP("MainActions", "Copy")},
};

const char* const menuTitles[] = {
    QT_TRANSLATE_NOOP("MainActions", "&File"), QT_TRANSLATE_NOOP("MainActions", "&Actions"),
    QT_TRANSLATE_NOOP("MainActions", "&List"), QT_TRANSLATE_NOOP("MainActions", "&Priority"),
    QT_TRANSLATE_NOOP("MainActions", "&Help")};

const std::initializer_list<Act> menuItems[] = {
    {Act::ProjectNew, Act::ProjectLoad, Act::ProjectSave, Act::ProjectSaveAs, Separator, Act::Exit},
    {Act::DiskSelect, Act::Dispense, Act::PlanSeries, Act::Undispense, Separator,
     Act::CopyToTarget, Act::ClipboardPost, Act::DiscWrite, Act::ImageWrite,
     Act::OriginalsDelete},
    {Act::FilesAdd, Act::FolderAdd, Act::EntryRemove},
    {Act::PriorityUp, Act::PriorityDown, Separator, Act::PriorityRequired, Act::PriorityMain,
     Act::PriorityBackground, Act::PriorityNotInUse},
    {Act::About},
};

const Act toolbarItems[] = {
    Act::ProjectNew, Act::ProjectLoad,  Act::ProjectSave,   Separator,
    Act::FilesAdd,   Act::FolderAdd,    Act::EntryRemove,   Separator,
    Act::PriorityUp, Act::PriorityDown, Separator,          Act::DiskSelect,
    Act::Dispense,   Act::Undispense,   Act::ClipboardPost, Act::CopyToTarget};

const Act listMenuItems[] = {Act::EntryRemove,
                             Separator,
                             Act::PriorityUp,
                             Act::PriorityDown,
                             Separator,
                             Act::PriorityRequired,
                             Act::PriorityMain,
                             Act::PriorityBackground,
                             Act::PriorityNotInUse,
                             Separator,
                             Act::SelectionAllInGroup,
                             Act::SelectionInvertInGroup};

// The desktop's standard keys, and the common key where the platform theme
// has none (Save As and Quit on plain X and in tiling window managers).
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const char* fallback)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty())
        keys << QKeySequence(QLatin1String(fallback));
    return keys;
}

// The rest kept clear of the keys the list and the file dialogs use themselves.
QKeySequence shortcutFor(Act a)
{
    switch (a) {
    case Act::DiskSelect:
        return QKeySequence(Qt::CTRL | Qt::Key_T);
    case Act::Dispense:
        return QKeySequence(Qt::CTRL | Qt::Key_D);
    case Act::Undispense:
        return QKeySequence(Qt::CTRL | Qt::Key_U);
    case Act::PlanSeries:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D);
    case Act::ClipboardPost:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
    case Act::DiscWrite: // "burn", as disc burners have it
        return QKeySequence(Qt::CTRL | Qt::Key_B);
    case Act::ImageWrite:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B);
    case Act::CopyToTarget:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T);
    case Act::FilesAdd:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A);
    case Act::FolderAdd:
        return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
    case Act::SelectionInvertInGroup:
        return QKeySequence(Qt::CTRL | Qt::Key_I);
    case Act::PriorityUp:
        return QKeySequence(Qt::CTRL | Qt::Key_Up);
    case Act::PriorityDown:
        return QKeySequence(Qt::CTRL | Qt::Key_Down);
    case Act::PriorityRequired:
        return QKeySequence(Qt::CTRL | Qt::Key_1);
    case Act::PriorityMain:
        return QKeySequence(Qt::CTRL | Qt::Key_2);
    case Act::PriorityBackground:
        return QKeySequence(Qt::CTRL | Qt::Key_3);
    case Act::PriorityNotInUse:
        return QKeySequence(Qt::CTRL | Qt::Key_4);
    default:
        return QKeySequence(); // deleting the originals: from the menu only
    }
}

QList<QKeySequence> shortcutsFor(Act a)
{
    switch (a) {
    case Act::ProjectNew:
        return standardKeys(QKeySequence::New, "Ctrl+N");
    case Act::ProjectLoad:
        return standardKeys(QKeySequence::Open, "Ctrl+O");
    case Act::ProjectSave:
        return standardKeys(QKeySequence::Save, "Ctrl+S");
    case Act::ProjectSaveAs:
        return standardKeys(QKeySequence::SaveAs, "Ctrl+Shift+S");
    case Act::Exit:
        return standardKeys(QKeySequence::Quit, "Ctrl+Q");
    case Act::EntryRemove:
        return standardKeys(QKeySequence::Delete, "Del");
    case Act::SelectionAllInGroup:
        return standardKeys(QKeySequence::SelectAll, "Ctrl+A");
    case Act::About:
        return standardKeys(QKeySequence::HelpContents, "F1");
    default:
        break;
    }
    const QKeySequence key = shortcutFor(a);
    return key.isEmpty() ? QList<QKeySequence>() : QList<QKeySequence>{key};
}

// Tool buttons padded just enough around their text: the stock padding
// (two blanks plus the frame margins) pushes the last buttons of the toolbar
// into its overflow menu in an 800-pixel window with common desktop fonts.
class CompactToolButtons : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
        if (type == CT_ToolButton && button &&
            button->toolButtonStyle == Qt::ToolButtonTextUnderIcon) {
            const int text = button->fontMetrics.size(Qt::TextShowMnemonic, button->text).width();
            s.setWidth(qMin(s.width(), qMax(button->iconSize.width(), text) + 8));
        }
        return s;
    }
};

} // namespace

MainActions::MainActions(QMainWindow* mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow)
{
    setupActions();
    setupToolbar();
    setupListMenu();
}

MainActions::~MainActions()
{
    delete m_listMenu;
    delete m_editMenu;
    for (QMenu* menu : m_menus)
        delete menu; // and with them the actions
}

void MainActions::setupActions()
{
    for (QMenu*& menu : m_menus)
        menu = new QMenu;

    using Slot = void (MainActions::*)();
    static const Slot handlers[int(Act::Count)] = {&MainActions::on_ProjectNew,
                                                   &MainActions::on_ProjectLoad,
                                                   &MainActions::on_ProjectSave,
                                                   &MainActions::on_ProjectSaveAs,
                                                   &MainActions::on_Exit,
                                                   &MainActions::on_DiskSelect,
                                                   &MainActions::on_Dispense,
                                                   &MainActions::on_Undispense,
                                                   &MainActions::on_ClipboardPost,
                                                   &MainActions::on_OriginalsDelete,
                                                   &MainActions::on_FilesAdd,
                                                   &MainActions::on_FolderAdd,
                                                   &MainActions::on_EntryRemove,
                                                   &MainActions::on_SelectionAllInGroup,
                                                   &MainActions::on_SelectionInvertInGroup,
                                                   &MainActions::on_PriorityUp,
                                                   &MainActions::on_PriorityDown,
                                                   &MainActions::on_PriorityRequired,
                                                   &MainActions::on_PriorityMain,
                                                   &MainActions::on_PriorityBackground,
                                                   &MainActions::on_PriorityNotInUse,
                                                   &MainActions::on_About,
                                                   &MainActions::on_PlanSeries,
                                                   &MainActions::on_DiscWrite,
                                                   &MainActions::on_ImageWrite,
                                                   &MainActions::on_CopyToTarget};

    for (int i = 0; i < int(Act::Count); ++i) {
        const ActionRow& row = rows[i];
        QAction* a = new QAction(m_menus[row.menu]);
        a->setObjectName(QLatin1String(row.name));
        if (row.icon != NoIcon)
            a->setIcon(icon(IconId(row.icon)));
        if (!row.enabled)
            a->setEnabled(false);
        connect(a, &QAction::triggered, this, handlers[i]);
        // The window's own, so that the shortcuts of actions that only the
        // list's context menu shows work too.
        m_mainWindow->addAction(a);
        m_actions[i] = a;
    }

    for (int m = 0; m < MenuCount; ++m) {
        for (Act item : menuItems[m]) {
            if (item == Separator)
                m_menus[m]->addSeparator();
            else
                m_menus[m]->addAction(action(item));
        }
    }
    // Filled by the window from its settings.
    m_recentMenu = new QMenu(m_menus[FileMenu]);
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    m_menus[FileMenu]->insertMenu(action(Act::ProjectSave), m_recentMenu);
    m_timeLimitMenu = new QMenu(m_menus[ActionsMenu]);
    m_timeLimitMenu->setObjectName(QStringLiteral("timeLimitMenu"));
    m_menus[ActionsMenu]->insertMenu(action(Act::PlanSeries), m_timeLimitMenu);
    setupHistory();
    QMenuBar* menuBar = m_mainWindow->menuBar();
    for (QMenu* menu : m_menus) {
        menuBar->addMenu(menu);
        if (menu == m_menus[FileMenu])
            menuBar->addMenu(m_editMenu);
    }
}

void MainActions::setupHistory()
{
    m_history = new QUndoStack(this);
    // Enough to take back a morning's slips, without keeping every entry ever removed.
    m_history->setUndoLimit(100);
    m_editMenu = new QMenu;
    const QIcon undoIcon = QIcon::fromTheme(QStringLiteral("edit-undo"));
    const QIcon redoIcon = QIcon::fromTheme(QStringLiteral("edit-redo"));
    m_undo = m_editMenu->addAction(undoIcon, QString());
    m_redo = m_editMenu->addAction(redoIcon, QString());
    m_undo->setObjectName(QStringLiteral("Undo"));
    m_redo->setObjectName(QStringLiteral("Redo"));
    m_undo->setShortcuts(standardKeys(QKeySequence::Undo, "Ctrl+Z"));
    // Ctrl+Shift+Z everywhere, beside what the desktop adds (Ctrl+Y).
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence shiftZ(QStringLiteral("Ctrl+Shift+Z"), QKeySequence::PortableText);
    redoKeys.removeAll(shiftZ);
    redoKeys.prepend(shiftZ);
    m_redo->setShortcuts(redoKeys);
    for (QAction* a : {m_undo, m_redo})
        m_mainWindow->addAction(a);
    connect(m_undo, &QAction::triggered, this, &MainActions::on_Undo);
    connect(m_redo, &QAction::triggered, this, &MainActions::on_Redo);
    // The step each would take, by name ("Undo Remove 3 Entries").
    const auto show = [this] {
        const QString undo = m_history->undoText(), redo = m_history->redoText();
        m_undo->setText(undo.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undo));
        m_redo->setText(redo.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redo));
        for (QAction* a : {m_undo, m_redo}) {
            QString tip = a->text();
            a->setToolTip(tip.remove(QLatin1Char('&')) + QStringLiteral(" (") +
                          a->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
        }
        m_undo->setEnabled(m_history->canUndo());
        m_redo->setEnabled(m_history->canRedo());
    };
    connect(m_history, &QUndoStack::indexChanged, this, show);
    connect(m_history, &QUndoStack::cleanChanged, this,
            [](bool clean) { controller()->savedStateReached(clean); });
    show();
}

void MainActions::setupToolbar()
{
    m_toolBar = new QToolBar;
    m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
    for (Act item : toolbarItems) {
        if (item == Separator)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(action(item));
    }
    m_toolBar->setFloatable(false);
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // A copy of the application's style, as a proxy owns its base style.
    if (QStyle* base = QStyleFactory::create(QApplication::style()->objectName())) {
        auto* style = new CompactToolButtons(base);
        style->setParent(m_toolBar);
        for (QAction* a : m_toolBar->actions()) {
            if (QWidget* button = m_toolBar->widgetForAction(a))
                button->setStyle(style);
        }
    }
    m_mainWindow->addToolBar(m_toolBar);
}

void MainActions::setupListMenu()
{
    m_listMenu = new QMenu;
    for (Act item : listMenuItems) {
        if (item == Separator)
            m_listMenu->addSeparator();
        else
            m_listMenu->addAction(action(item));
    }
}

void MainActions::setupTexts()
{
    for (int m = 0; m < MenuCount; ++m)
        m_menus[m]->setTitle(tr(menuTitles[m]));
    for (int i = 0; i < int(Act::Count); ++i) {
        const ActionRow& row = rows[i];
        QAction* a = m_actions[i];
        a->setText(tr(row.text));
        a->setShortcuts(shortcutsFor(Act(i)));
        QString tip = tr(row.toolTip ? row.toolTip : row.text);
        tip.remove(QLatin1Char('&'));
        if (!a->shortcut().isEmpty())
            //: A tool tip and its shortcut: "Save project (Ctrl+S)".
            tip = tr("%1 (%2)").arg(tip, a->shortcut().toString(QKeySequence::NativeText));
        a->setToolTip(tip);
        if (row.iconText)
            a->setIconText(tr(row.iconText));
    }
    m_recentMenu->setTitle(tr("Open &Recent"));
    m_timeLimitMenu->setTitle(tr("Search Time &Limit"));
    m_editMenu->setTitle(tr("&Edit"));
    m_toolBar->setWindowTitle(tr("Toolbar"));
}

void MainActions::enableEntryActions(bool on)
{
    for (Act a : {Act::EntryRemove, Act::PriorityUp, Act::PriorityDown, Act::PriorityRequired,
                  Act::PriorityMain, Act::PriorityBackground, Act::PriorityNotInUse})
        action(a)->setEnabled(on);
}

void MainActions::enableSave(bool on)
{
    // Save is on exactly while the project has unsaved changes.
    action(Act::ProjectSave)->setEnabled(on);
    m_mainWindow->setWindowModified(on);
}

void MainActions::enableDispense()
{
    action(Act::Dispense)->setEnabled(true);
}

void MainActions::disableDispense()
{
    action(Act::Dispense)->setEnabled(false);
}

void MainActions::enableCopy(bool on)
{
    action(Act::CopyToTarget)->setEnabled(on);
}

void MainActions::enableSeries(bool on)
{
    action(Act::PlanSeries)->setEnabled(on);
}

void MainActions::setDispensed(bool dispensed)
{
    action(Act::Dispense)->setEnabled(!dispensed);
    action(Act::Undispense)->setEnabled(dispensed);
    action(Act::ClipboardPost)->setEnabled(dispensed);
    action(Act::OriginalsDelete)->setEnabled(dispensed);
}

void MainActions::pushStep(std::unique_ptr<ProjectStep> step)
{
    m_history->push(new ProjectCommand(std::move(step)));
}

void MainActions::clearSteps()
{
    // Not under the command being replayed: the stack would delete it.
    if (m_replaying)
        QTimer::singleShot(0, m_history, &QUndoStack::clear);
    else
        m_history->clear();
}

void MainActions::markSaved()
{
    m_history->setClean();
}

void MainActions::markChanged()
{
    m_history->resetClean();
}

void MainActions::on_Undo()
{
    m_replaying = true;
    m_history->undo();
    m_replaying = false;
}

void MainActions::on_Redo()
{
    m_replaying = true;
    m_history->redo();
    m_replaying = false;
}

void MainActions::enableDiscWrite(bool toDisc, bool toImage)
{
    action(Act::DiscWrite)->setEnabled(toDisc);
    action(Act::ImageWrite)->setEnabled(toImage);
}

void MainActions::on_ProjectNew()
{
    controller()->projectNew();
}

void MainActions::on_ProjectLoad()
{
    controller()->projectLoad();
}

void MainActions::on_ProjectSave()
{
    controller()->projectSave();
}

void MainActions::on_ProjectSaveAs()
{
    controller()->projectSaveAs();
}

void MainActions::on_Exit()
{
    controller()->appExit();
}

void MainActions::on_DiskSelect()
{
    controller()->diskSelect();
}

void MainActions::on_Dispense()
{
    controller()->dispense();
}

void MainActions::on_Undispense()
{
    controller()->undispense();
}

void MainActions::on_ClipboardPost()
{
    controller()->clipboardPost();
}

void MainActions::on_OriginalsDelete()
{
    controller()->originalsDelete();
}

void MainActions::on_FilesAdd()
{
    controller()->filesAdd();
}

void MainActions::on_FolderAdd()
{
    controller()->folderAdd();
}

void MainActions::on_EntryRemove()
{
    controller()->entryRemove();
}

void MainActions::on_SelectionAllInGroup()
{
    controller()->selectionAllInGroup();
}

void MainActions::on_SelectionInvertInGroup()
{
    controller()->selectionInvertInGroup();
}

void MainActions::on_PriorityUp()
{
    controller()->priorityUp();
}

void MainActions::on_PriorityDown()
{
    controller()->priorityDown();
}

void MainActions::on_PriorityRequired()
{
    controller()->prioritySet(Required);
}

void MainActions::on_PriorityMain()
{
    controller()->prioritySet(Main);
}

void MainActions::on_PriorityBackground()
{
    controller()->prioritySet(Background);
}

void MainActions::on_PriorityNotInUse()
{
    controller()->prioritySet(NotInUse);
}

void MainActions::on_About()
{
    controller()->about();
}

void MainActions::on_PlanSeries()
{
    controller()->planSeries();
}

void MainActions::on_DiscWrite()
{
    controller()->discWrite();
}

void MainActions::on_ImageWrite()
{
    controller()->imageWrite();
}

void MainActions::on_CopyToTarget()
{
    controller()->copyToTarget();
}
