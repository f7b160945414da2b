// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QtGlobal>

#include "control/ProjectStep.h"

// The actions, menus and toolbar as the controller sees them: only their
// enabled states.
class IViewActions
{
public:
    virtual ~IViewActions() = default;

    // Remove and the six priority commands.
    virtual void enableEntryActions(bool on) = 0;
    virtual void enableSave(bool on) = 0;
    virtual void enableDispense() = 0;
    // Dispense off, the other three untouched: there is no target to fill.
    virtual void disableDispense() = 0;
    // Plan Series: on while any entry takes part in a dispense.
    virtual void enableSeries(bool on) = 0;
    // Dispense on exactly when !dispensed; Undispense, Post and Delete exactly when dispensed.
    virtual void setDispensed(bool dispensed) = 0;

    // The history of Undo and Redo: a step just taken, whose Undo and Redo
    // come back as Ctrl::undoStep and Ctrl::redoStep; no history (another
    // project); the project as it is now is saved; a change that is no step,
    // after which no Undo reaches the saved state.
    virtual void pushStep(std::unique_ptr<ProjectStep> step) { step.reset(); }
    virtual void clearSteps() {}
    virtual void markSaved() {}
    virtual void markChanged() {}
    // Write Disc (a result held for a recorder) and Write Image... (any result held).
    virtual void enableDiscWrite(bool toDisc, bool toImage)
    {
        (void)toDisc;
        (void)toImage;
    }
    // Copy to Target: on while a result is held and the target is a mounted volume.
    virtual void enableCopy(bool on) { Q_UNUSED(on); }
};
