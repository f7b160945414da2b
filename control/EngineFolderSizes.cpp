#include "control/Engine.h"

#include "control/IViewItems.h"
#include "model/DM.h"

// TODO(folder sizes): match reports to the entry they were computed for.
void Engine::requestFolderSize(const EntryPos& pos)
{
    m_pendingSizes.push_back(pos);
    m_calcer.addFolder(dataModel()->entryAt(pos).Ident);
}

void Engine::on_folderCalcComplete(QString path, quint64 size)
{
    Q_UNUSED(path);
    if (m_pendingSizes.empty() || !m_items)
        return;
    const EntryPos p = m_pendingSizes.front();
    m_pendingSizes.pop_front();
    DM* model = dataModel();
    if (!model->isValidPos(p))
        return;
    Entry& e = model->entryAt(p);
    e.Size = size;
    e.IsValidSize = true;
    model->entrySizeKnown(p);
    m_items->updateItemSize(p);
    refreshViews();
}
