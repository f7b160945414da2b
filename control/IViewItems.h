// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "core/model/Entry.h"

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

    // The bulk forms, called right after the model's moveEntries (placed: the
    // places it gave) or removeEntries with the same positions. The moved rows
    // end up selected, as after moveItem. By default one row at a time.
    virtual void moveItems(const std::vector<EntryPos>& from, const std::vector<EntryPos>& placed)
    {
        std::vector<std::pair<EntryPos, EntryPos>> moves;
        for (std::size_t i = 0; i < from.size() && i < placed.size(); ++i) {
            if (from[i] != placed[i])
                moves.emplace_back(from[i], placed[i]);
        }
        std::sort(moves.begin(), moves.end());
        moves.erase(std::unique(moves.begin(), moves.end()), moves.end());
        for (auto m = moves.rbegin(); m != moves.rend(); ++m)
            removeItem(m->first);
        std::sort(moves.begin(), moves.end(),
                  [](const auto& a, const auto& b) { return a.second < b.second; });
        for (const auto& m : moves)
            insertItem(m.second);
    }
    virtual void removeItems(const std::vector<EntryPos>& positions)
    {
        std::vector<EntryPos> gone = positions;
        std::sort(gone.begin(), gone.end());
        gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
        for (auto p = gone.rbegin(); p != gone.rend(); ++p)
            removeItem(*p);
    }
};
