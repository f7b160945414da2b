// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/Regroup.h"

#include <algorithm>

namespace {

bool names(const Regroup::Sizes& sizes, const EntryPos& p)
{
    return p.group >= 0 && p.group < NoGroup && p.index >= 0 &&
           p.index < sizes[std::size_t(p.group)];
}

// Sorted by from (stably, so the first of a repeat comes first), each place once.
std::vector<Regroup::Move> distinct(std::vector<Regroup::Move> moves, bool descending)
{
    std::stable_sort(moves.begin(), moves.end(), [descending](const auto& a, const auto& b) {
        return descending ? b.from < a.from : a.from < b.from;
    });
    moves.erase(std::unique(moves.begin(), moves.end(),
                            [](const auto& a, const auto& b) { return a.from == b.from; }),
                moves.end());
    return moves;
}

} // namespace

Regroup Regroup::moving(const Sizes& sizes, const std::vector<EntryPos>& from,
                        const std::vector<int>& to)
{
    std::vector<Move> moves;
    moves.reserve(from.size());
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) {
        if (names(sizes, from[i]))
            moves.push_back(Move{from[i], to[i] >= 0 && to[i] < NoGroup ? to[i] : -1});
    }
    // A repeat is dropped before the moves that stay, so its first destination counts.
    moves = distinct(std::move(moves), false);
    moves.erase(std::remove_if(moves.begin(), moves.end(), [](const Move& m) { return m.to < 0; }),
                moves.end());
    return Regroup(sizes, std::move(moves));
}

Regroup Regroup::removing(const Sizes& sizes, const std::vector<EntryPos>& positions)
{
    std::vector<Move> moves;
    moves.reserve(positions.size());
    for (const EntryPos& p : positions) {
        if (names(sizes, p))
            moves.push_back(Move{p, NoGroup});
    }
    return Regroup(sizes, distinct(std::move(moves), false));
}

Regroup Regroup::dispensing(const Sizes& sizes, const std::vector<EntryPos>& positions)
{
    std::vector<Move> moves;
    moves.reserve(positions.size());
    for (const EntryPos& p : positions) {
        if (names(sizes, p))
            moves.push_back(Move{p, Dispensed});
    }
    return Regroup(sizes, distinct(std::move(moves), true));
}

Regroup Regroup::undispensing(const Sizes& sizes, const std::vector<int>& origins)
{
    std::vector<Move> moves;
    moves.reserve(std::size_t(sizes[Dispensed]));
    for (int i = sizes[Dispensed] - 1; i >= 0; --i) {
        const int origin = std::size_t(i) < origins.size() ? origins[std::size_t(i)] : int(Main);
        moves.push_back(Move{EntryPos{Dispensed, i},
                             origin >= Required && origin <= Background ? origin : Main});
    }
    return Regroup(sizes, std::move(moves));
}

Regroup::Regroup(const Sizes& sizes, std::vector<Move> moves)
    : m_sizes(sizes), m_moves(std::move(moves))
{
    std::array<std::vector<char>, NoGroup> leaving;
    for (const Move& m : m_moves) {
        const auto g = std::size_t(m.from.group);
        if (!m_touched[g])
            leaving[g].assign(std::size_t(m_sizes[g]), 0);
        m_touched[g] = true;
        leaving[g][std::size_t(m.from.index)] = 1;
    }
    for (const Move& m : m_moves) {
        if (m.to != NoGroup)
            m_touched[std::size_t(m.to)] = true;
    }
    for (std::size_t g = 0; g < NoGroup; ++g) {
        if (!m_touched[g])
            continue;
        m_after[g].reserve(std::size_t(m_sizes[g]));
        for (int i = 0; i < m_sizes[g]; ++i) {
            if (leaving[g].empty() || !leaving[g][std::size_t(i)])
                m_after[g].push_back(EntryPos{int(g), i});
        }
        m_kept[g] = m_after[g].size();
    }
    for (const Move& m : m_moves) {
        if (m.to != NoGroup)
            m_after[std::size_t(m.to)].push_back(m.from);
    }
    for (std::size_t g = 0; g < NoGroup; ++g) {
        if (m_touched[g])
            m_placeOf[g].assign(std::size_t(m_sizes[g]), EntryPos{NoGroup, 0});
    }
    for (std::size_t g = 0; g < NoGroup; ++g) {
        for (std::size_t k = 0; k < m_after[g].size(); ++k) {
            const EntryPos& p = m_after[g][k];
            m_placeOf[std::size_t(p.group)][std::size_t(p.index)] = EntryPos{int(g), int(k)};
        }
    }
}

EntryPos Regroup::placeOf(const EntryPos& before) const
{
    if (!names(m_sizes, before) || !m_touched[std::size_t(before.group)])
        return before;
    return m_placeOf[std::size_t(before.group)][std::size_t(before.index)];
}
