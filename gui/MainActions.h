// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include "control/IViewActions.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QUndoStack;

// Every command of the main window as a QAction, with the five menus, the
// toolbar and the entry list's context menu. Each action's slot forwards its
// command to the controller; which actions are enabled is set by the
// controller through IViewActions.
class MainActions : public QObject, public IViewActions
{
    Q_OBJECT
public:
    // The actions in creation order.
    enum class Act : int
    {
        ProjectNew,
        ProjectLoad,
        ProjectSave,
        ProjectSaveAs,
        Exit,
        DiskSelect,
        Dispense,
        Undispense,
        ClipboardPost,
        OriginalsDelete,
        FilesAdd,
        FolderAdd,
        EntryRemove,
        SelectionAllInGroup,
        SelectionInvertInGroup,
        PriorityUp,
        PriorityDown,
        PriorityRequired,
        PriorityMain,
        PriorityBackground,
        PriorityNotInUse,
        About,
        PlanSeries,
        DiscWrite,
        ImageWrite,
        CopyToTarget,
        Count
    };

    // Builds the actions, adds the menus to the window's menu bar and the
    // toolbar to the window. The window calls setupTexts right after.
    explicit MainActions(QMainWindow* mainWindow);
    ~MainActions() override;

    void setupTexts();

    QAction* action(Act a) const { return m_actions[int(a)]; }
    QToolBar* toolBar() const { return m_toolBar; }
    // The entry commands and the two selection commands, for the entry list.
    QMenu* listContextMenu() const { return m_listMenu; }
    // File > Open Recent, which the window fills.
    QMenu* recentMenu() const { return m_recentMenu; }
    // Actions > Search Time Limit, which the window fills.
    QMenu* timeLimitMenu() const { return m_timeLimitMenu; }
    // Edit > Undo and Redo, over the history of the project's steps.
    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }
    QUndoStack* history() const { return m_history; }

    void enableEntryActions(bool on) override;
    void enableSave(bool on) override;
    void enableDispense() override;
    void disableDispense() override;
    void enableSeries(bool on) override;
    void setDispensed(bool dispensed) override;
    void pushStep(std::unique_ptr<ProjectStep> step) override;
    void clearSteps() override;
    void markSaved() override;
    void markChanged() override;
    void enableDiscWrite(bool toDisc, bool toImage) override;
    void enableCopy(bool on) override;

private slots:
    void on_ProjectNew();
    void on_ProjectLoad();
    void on_ProjectSave();
    void on_ProjectSaveAs();
    void on_Exit();
    void on_DiskSelect();
    void on_Dispense();
    void on_Undispense();
    void on_ClipboardPost();
    void on_OriginalsDelete();
    void on_FilesAdd();
    void on_FolderAdd();
    void on_EntryRemove();
    void on_SelectionAllInGroup();
    void on_SelectionInvertInGroup();
    void on_PriorityUp();
    void on_PriorityDown();
    void on_PriorityRequired();
    void on_PriorityMain();
    void on_PriorityBackground();
    void on_PriorityNotInUse();
    void on_About();
    void on_PlanSeries();
    void on_Undo();
    void on_Redo();
    void on_DiscWrite();
    void on_ImageWrite();
    void on_CopyToTarget();

private:
    enum MenuId
    {
        FileMenu,
        ActionsMenu,
        ListMenu,
        PriorityMenu,
        HelpMenu,
        MenuCount
    };

    void setupActions();
    void setupToolbar();
    void setupListMenu();
    void setupHistory();

    QMainWindow* m_mainWindow;
    // Parentless, as the menu bar does not own its menus; deleted with this object.
    QMenu* m_menus[MenuCount] = {};
    QAction* m_actions[int(Act::Count)] = {};
    QToolBar* m_toolBar = nullptr;
    QMenu* m_listMenu = nullptr;
    QMenu* m_recentMenu = nullptr;    // owned by the File menu
    QMenu* m_timeLimitMenu = nullptr; // owned by the Actions menu
    QMenu* m_editMenu = nullptr;      // parentless, as the five
    QUndoStack* m_history = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    bool m_replaying = false; // inside an Undo or Redo of the history
};
