// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "core/model/Entry.h"

// One change of many entries at once, and the one rule it follows: the
// entries that move leave their places, the others close up in their order,
// and the moving ones are appended to the end of their destination group (or
// dropped) in the order of the change. The model applies it to its entries
// and the entry list to its rows, so that both come out the same. Linear in
// the sizes of the groups it touches.
class Regroup
{
public:
    using Sizes = std::array<int, NoGroup>; // the entries of each group before the change

    // from[i] goes to the end of group to[i]; a destination outside the five
    // groups leaves it where it is. The moved entries keep their list order
    // (groups, then indexes ascending); of a repeated position the first
    // destination counts; positions that name no entry are passed over.
    static Regroup moving(const Sizes& sizes, const std::vector<EntryPos>& from,
                          const std::vector<int>& to);
    // The entries at positions go, in any order; repeats and positions that
    // name no entry are passed over.
    static Regroup removing(const Sizes& sizes, const std::vector<EntryPos>& positions);
    // The entries at positions go to Dispensed, greatest position first.
    static Regroup dispensing(const Sizes& sizes, const std::vector<EntryPos>& positions);
    // Every dispensed entry back to its origin (Main for one that names no
    // priority group), the last first: each lands at the end of its group.
    static Regroup undispensing(const Sizes& sizes, const std::vector<int>& origins);

    struct Move
    {
        EntryPos from;
        int to; // NoGroup: removed
    };
    // In the order they are appended.
    const std::vector<Move>& moves() const { return m_moves; }
    bool isEmpty() const { return m_moves.empty(); }
    int sizeBefore(int group) const { return m_sizes[std::size_t(group)]; }
    // A group that loses or gains entries.
    bool touches(int group) const { return m_touched[std::size_t(group)]; }
    // A touched group after the change, as the places its entries had before:
    // first the keptCount entries that stayed, then those that arrived.
    const std::vector<EntryPos>& groupAfter(int group) const { return m_after[std::size_t(group)]; }
    std::size_t keptCount(int group) const { return m_kept[std::size_t(group)]; }
    // Where the entry that stood at before stands now: group NoGroup when it
    // was removed; before itself when it names no entry.
    EntryPos placeOf(const EntryPos& before) const;

    // Applies the change to lists[0..4], one per group, each as long as
    // sizeBefore says, of anything movable (QVector, QList, std::vector).
    template <typename List> void apply(List* lists) const;

private:
    Regroup(const Sizes& sizes, std::vector<Move> moves); // moves: valid, distinct positions

    Sizes m_sizes;
    std::vector<Move> m_moves;
    std::array<bool, NoGroup> m_touched{};
    std::array<std::vector<EntryPos>, NoGroup> m_after; // of touched groups
    std::array<std::size_t, NoGroup> m_kept{};
    std::array<std::vector<EntryPos>, NoGroup> m_placeOf; // of touched groups, by old index
};

template <typename List> void Regroup::apply(List* lists) const
{
    std::array<List, NoGroup> before;
    for (std::size_t g = 0; g < NoGroup; ++g) {
        if (m_touched[g]) {
            before[g] = std::move(lists[g]);
            lists[g] = List();
        }
    }
    for (std::size_t g = 0; g < NoGroup; ++g) {
        if (!m_touched[g])
            continue;
        lists[g].reserve(decltype(lists[g].size())(m_after[g].size()));
        for (const EntryPos& p : m_after[g])
            lists[g].push_back(std::move(before[std::size_t(p.group)][p.index]));
    }
}
