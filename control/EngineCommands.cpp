#include "control/Engine.h"

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "model/DM.h"
#include "model/EntryPaths.h"

void Engine::addPath(QString path)
{
    const Entry e = entryForPath(path);
    const EntryPos p = dataModel()->addEntry(e);
    m_items->insertItem(p);
    if (!e.IsValidSize)
        requestFolderSize(p);
}

void Engine::pathsAdd(QStringList paths)
{
    for (const QString& path : paths) {
        // A dropped URL that names no local file arrives as an empty path.
        if (!path.isEmpty())
            addPath(path);
    }
    m_actions->enableSave(true);
    refreshViews();
}

void Engine::filesAdd()
{
    QStringList files;
    if (!m_dialogs->askFilesAdd(files))
        return;
    pathsAdd(files);
    refreshViews();
}

void Engine::folderAdd()
{
    QString folder;
    if (!m_dialogs->askFolderAdd(folder))
        return;
    addPath(folder);
    m_actions->enableSave(true);
    refreshViews();
}

// The commands below are filled in with the project and entry commands.
void Engine::projectNew() {}
void Engine::projectLoad() {}
void Engine::projectSave() {}
void Engine::projectSaveAs() {}
void Engine::entryRemove() {}
void Engine::priorityUp() {}
void Engine::priorityDown() {}
void Engine::prioritySet(int group)
{
    Q_UNUSED(group);
}
void Engine::selectionChanged() {}
bool Engine::queryClose()
{
    return true;
}
