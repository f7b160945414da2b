// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QUndoCommand>

class ProjectStep;

// A step of the project in the window's Undo history: its Undo and Redo
// call back into the controller, which replays it. The first Redo, which
// QUndoStack::push makes, is the command the controller has just done.
class ProjectCommand : public QUndoCommand
{
public:
    explicit ProjectCommand(std::unique_ptr<ProjectStep> step);
    ~ProjectCommand() override;

    void undo() override;
    void redo() override;

private:
    std::unique_ptr<ProjectStep> m_step;
    bool m_done = true;
};
