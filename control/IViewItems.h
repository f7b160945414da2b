// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "core/model/Entry.h"

class Regroup;

// The entry list as the controller sees it. Rows are addressed by EntryPos:
// header row g is group g, its child row i the entry at {g, i}.
class IViewItems
{
public:
    virtual ~IViewItems() = default;

    virtual void insertItem(const EntryPos& pos) = 0;
    virtual void removeItem(const EntryPos& pos) = 0;
    virtual void updateItemSize(const EntryPos& pos) = 0;
    virtual void moveItem(const EntryPos& from, const EntryPos& to) = 0;
    virtual void rebuildItems() = 0;
    virtual int selectedCount() = 0;
    // Groups ascending and, within a group, indexes descending, so callers can
    // remove or move the listed entries one after the other.
    virtual void selectedPositions(std::vector<EntryPos>& out) = 0;
    virtual int currentGroup() = 0;
    virtual void selectAllInGroup(int group) = 0;
    virtual void invertSelectionInGroup(int group) = 0;

    // Follows a change of many entries that the model has just made
    // (DM::moveEntries, removeEntries): the rows move as the entries did, by
    // the same rule, and the moved rows end up selected, as after moveItem.
    virtual void regroupItems(const Regroup& change) = 0;
    // Exactly these rows selected (ascending positions), and the first of them in view.
    virtual void selectItems(const std::vector<EntryPos>& positions) { Q_UNUSED(positions); }
};
