// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/ProjectCommand.h"

#include "control/Ctrl.h"
#include "control/ProjectStep.h"

ProjectCommand::ProjectCommand(std::unique_ptr<ProjectStep> step) : m_step(std::move(step))
{
    setText(m_step->name());
}

ProjectCommand::~ProjectCommand() = default;

void ProjectCommand::undo()
{
    controller()->undoStep(*m_step);
}

void ProjectCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    controller()->redoStep(*m_step);
}
