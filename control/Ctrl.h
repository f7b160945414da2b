// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "core/model/Entry.h"

class IViewDialogs;
class IViewActions;
class IViewItems;
class IViewStatus;
class ProjectStep;

// The controller's interface: every user command enters the logic here, on
// the GUI thread.
class Ctrl : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void attachViews(IViewDialogs* dialogs, IViewActions* actions, IViewItems* items,
                             IViewStatus* status) = 0;
    virtual void projectNew() = 0;
    virtual void projectLoad() = 0;
    // Loads the project at path without asking for one (command line, recent
    // projects), after the question about unsaved changes.
    virtual void projectLoadFrom(const QString& path) = 0;
    virtual void projectSave() = 0;
    virtual void projectSaveAs() = 0;
    virtual void appExit() = 0;
    virtual void diskSelect() = 0;
    virtual void dispense() = 0;
    // Plans a series of media from Required, Main and Background; the user
    // may dispense one medium of it.
    virtual void planSeries() = 0;
    virtual void undispense() = 0;
    virtual void clipboardPost() = 0;
    // Copies the dispensed entries onto the target volume, read back and
    // verified; run again, it goes on where it stopped.
    virtual void copyToTarget() = 0;
    virtual void originalsDelete() = 0;
    // Writes the held result onto the disc in the target recorder, or into an
    // image file the user names, and reads it back.
    virtual void discWrite() = 0;
    virtual void imageWrite() = 0;
    virtual void filesAdd() = 0;
    virtual void folderAdd() = 0;
    virtual void entryRemove() = 0;
    virtual void selectionAllInGroup() = 0;
    virtual void selectionInvertInGroup() = 0;
    virtual void priorityUp() = 0;
    virtual void priorityDown() = 0;
    virtual void prioritySet(int group) = 0;
    virtual void about() = 0;
    virtual void pathsAdd(QStringList paths) = 0;
    virtual void selectionChanged() = 0;
    virtual void entryReveal(const EntryPos& pos) = 0;
    // A drop of the list's own entries on a group (1..4): the selected ones
    // of other groups move there, as prioritySet moves them.
    virtual void entriesMoveTo(int group) = 0;
    // Undo and Redo of a step the controller handed to IViewActions::pushStep.
    virtual void undoStep(ProjectStep& step) = 0;
    virtual void redoStep(ProjectStep& step) = 0;
    // The history reached the state last saved (true), or left it.
    virtual void savedStateReached(bool reached) = 0;
    // The window became the active one again: figures of a while ago are
    // checked anew.
    virtual void viewActivated() = 0;
    virtual bool probeTarget(bool wholeVolume, Target& target) = 0;
    virtual void listDriveRoots(QStringList& roots) = 0;

    // The main window is about to close: true when it may (unsaved changes
    // were saved or given up), false to keep it open.
    virtual bool queryClose() = 0;
    // The views are going away: stop the workers that report to them and
    // forget the views. No other operation may follow.
    virtual void detachViews() = 0;
};

// The one controller of the process, created on first use.
Ctrl* controller();
// Puts another controller in its place (tests drive the views with a recorder);
// nullptr returns to the real one.
void setController(Ctrl* ctrl);
