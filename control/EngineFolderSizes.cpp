// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/Engine.h"

#include <QCoreApplication>

#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "core/model/DM.h"

// Reports are matched to requests by path and then to the entry by its path:
// positions go stale when entries are moved, removed, dispensed or the project
// is replaced, and the other commands need not tell this side about it. A
// report thus only ever lands on a folder entry of the very path that was
// measured and whose size is still missing.

void Engine::requestFolderSize(const EntryPos& pos)
{
    const QString ident = dataModel()->entryAt(pos).Ident;
    m_pendingSizes.push_back(PendingSize{ident, pos});
    m_calcer.addFolder(ident);
}

bool Engine::findPendingEntry(const PendingSize& request, EntryPos& pos) const
{
    DM* model = dataModel();
    const auto waiting = [&](const EntryPos& p) {
        if (!model->isValidPos(p))
            return false;
        const Entry& e = model->entryAt(p);
        return e.Kind == Folder && !e.IsValidSize && e.Ident == request.ident;
    };
    // Where it was asked for, unless the groups have changed since.
    if (waiting(request.pos)) {
        pos = request.pos;
        return true;
    }
    for (int g = Dispensed; g < NoGroup; ++g) {
        const int n = model->groupSize(g);
        for (int i = 0; i < n; ++i) {
            if (waiting(EntryPos{g, i})) {
                pos = EntryPos{g, i};
                return true;
            }
        }
    }
    return false;
}

bool Engine::takePendingEntry(const QString& path, EntryPos& pos)
{
    if (!m_items)
        return false; // the views are gone
    // The thread measures in request order, so this is normally the oldest one;
    // a report nobody asked for (any more) is dropped.
    auto request = m_pendingSizes.begin();
    while (request != m_pendingSizes.end() && request->ident != path)
        ++request;
    if (request == m_pendingSizes.end())
        return false;
    const bool found = findPendingEntry(*request, pos);
    m_pendingSizes.erase(request);
    if (!found)
        m_status->showState(readyText()); // one folder fewer to wait for
    return found;
}

void Engine::on_folderCalcComplete(QString path, quint64 size)
{
    EntryPos p;
    if (!takePendingEntry(path, p))
        return;
    DM* model = dataModel();
    // Only Size, IsValidSize and Issue change, which a running dispense search
    // does not read, so a report may land while its dialog is open.
    Entry& e = model->entryAt(p);
    e.Size = size;
    e.IsValidSize = true;
    e.Issue = NoSizeIssue;
    model->entrySizeKnown(p);
    m_items->updateItemSize(p);
    refreshViews();
}

void Engine::on_folderCalcFailed(QString path, int issue)
{
    EntryPos p;
    if (!takePendingEntry(path, p))
        return;
    // The size stays unknown; the list says why.
    dataModel()->entryAt(p).Issue = issue;
    m_items->updateItemSize(p);
    m_status->showState(readyText()); // one folder fewer to wait for
}
