// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/EntriesModel.h"

#include <algorithm>
#include <utility>

#include "core/model/ProjectFile.h"

DM* dataModel()
{
    static EntriesModel model;
    return &model;
}

EntriesModel::EntriesModel(QObject* parent) : DM(parent)
{
    newProject();
}

EntryPos EntriesModel::addEntry(const Entry& entry)
{
    QVector<Entry>& main = m_data.groups[Main];
    main.append(entry);
    ++m_totalCount;
    if (entry.IsValidSize)
        m_totalSize += entry.Size;
    m_modified = true;
    return EntryPos{Main, int(main.size()) - 1};
}

bool EntriesModel::isValidPos(const EntryPos& pos) const
{
    if (pos.group < 0 || pos.group >= NoGroup)
        return false;
    return unsigned(pos.index) < unsigned(m_data.groups[pos.group].size());
}

int EntriesModel::entryCount() const
{
    int n = 0;
    for (const QVector<Entry>& g : m_data.groups)
        n += g.size();
    return n;
}

int EntriesModel::groupSize(int group) const
{
    return m_data.groups[group].size();
}

Entry& EntriesModel::entryAt(const EntryPos& pos)
{
    return m_data.groups[pos.group][pos.index];
}

void EntriesModel::removeEntry(const EntryPos& pos)
{
    QVector<Entry>& list = m_data.groups[pos.group];
    const Entry& e = list.at(pos.index);
    if (counted(pos.group)) {
        --m_totalCount;
        if (e.IsValidSize)
            m_totalSize -= e.Size;
    }
    // An entry leaving Dispensed takes its origin along, so the two lists stay in step.
    if (pos.group == Dispensed && pos.index < m_data.origins.size())
        m_data.origins.removeAt(pos.index);
    list.removeAt(pos.index);
    m_modified = true;
}

EntryPos& EntriesModel::moveEntry(EntryPos& pos, int group)
{
    const Entry e = m_data.groups[pos.group].at(pos.index); // copy before the lists change
    // The caches count exactly Required, Main and Background, whatever the move.
    if (counted(pos.group) && !counted(group)) {
        --m_totalCount;
        if (e.IsValidSize)
            m_totalSize -= e.Size;
    } else if (!counted(pos.group) && counted(group)) {
        ++m_totalCount;
        if (e.IsValidSize)
            m_totalSize += e.Size;
    }

    int origin = counted(pos.group) ? pos.group : int(Main);
    if (pos.group == Dispensed && pos.index < m_data.origins.size()) {
        origin = m_data.origins.at(pos.index);
        m_data.origins.removeAt(pos.index);
    }
    m_data.groups[group].append(e);
    m_data.groups[pos.group].removeAt(pos.index);
    if (group == Dispensed)
        m_data.origins.append(origin);

    pos.group = group;
    pos.index = m_data.groups[group].size() - 1;
    m_modified = true;
    return pos;
}

void EntriesModel::moveEntries(const std::vector<EntryPos>& from, const std::vector<int>& to,
                               std::vector<EntryPos>& placed)
{
    placed = from;
    std::vector<Move> moves;
    moves.reserve(from.size());
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) {
        if (isValidPos(from[i]))
            moves.push_back(Move{from[i], to[i] >= 0 && to[i] < NoGroup ? to[i] : -1, int(i)});
    }
    // List order, so that the moved rows keep theirs; of a repeated position
    // the first destination counts.
    std::stable_sort(moves.begin(), moves.end(),
                     [](const Move& a, const Move& b) { return a.from < b.from; });
    std::vector<std::pair<int, int>> repeats; // slot, slot of the move that counts
    std::size_t n = 0;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (n > 0 && moves[i].from == moves[n - 1].from)
            repeats.emplace_back(moves[i].slot, moves[n - 1].slot);
        else
            moves[n++] = moves[i];
    }
    moves.resize(n);
    moves.erase(std::remove_if(moves.begin(), moves.end(), [](const Move& m) { return m.to < 0; }),
                moves.end());
    regroup(moves, &placed);
    for (const auto& [slot, first] : repeats)
        placed[std::size_t(slot)] = placed[std::size_t(first)];
}

void EntriesModel::removeEntries(const std::vector<EntryPos>& positions)
{
    std::vector<Move> moves;
    moves.reserve(positions.size());
    for (const EntryPos& p : positions) {
        if (isValidPos(p))
            moves.push_back(Move{p, NoGroup, -1});
    }
    std::sort(moves.begin(), moves.end(),
              [](const Move& a, const Move& b) { return a.from < b.from; });
    regroup(moves, nullptr);
}

void EntriesModel::regroup(const std::vector<Move>& moves, std::vector<EntryPos>* placed)
{
    if (moves.empty())
        return;
    std::vector<char> taken[NoGroup];
    struct Moving
    {
        Entry entry;
        int origin;
    };
    std::vector<Moving> moving;
    moving.reserve(moves.size());
    std::vector<const Move*> kept; // the moves not passed over as repeats
    kept.reserve(moves.size());
    for (const Move& m : moves) {
        std::vector<char>& marks = taken[m.from.group];
        if (marks.empty())
            marks.assign(std::size_t(m_data.groups[m.from.group].size()), 0);
        if (std::exchange(marks[std::size_t(m.from.index)], 1))
            continue; // a repeat
        const Entry& e = m_data.groups[m.from.group].at(m.from.index);
        int origin = counted(m.from.group) ? m.from.group : int(Main);
        if (m.from.group == Dispensed && m.from.index < m_data.origins.size())
            origin = m_data.origins.at(m.from.index);
        moving.push_back(Moving{e, origin});
        kept.push_back(&m);
    }
    // Close the gaps, each touched group in one pass.
    for (int g = 0; g < NoGroup; ++g) {
        const std::vector<char>& marks = taken[g];
        if (marks.empty())
            continue;
        QVector<Entry>& list = m_data.groups[g];
        QVector<Entry> rest;
        rest.reserve(list.size());
        QVector<int> restOrigins;
        const bool withOrigins = g == Dispensed;
        for (int i = 0; i < list.size(); ++i) {
            if (marks[std::size_t(i)])
                continue;
            rest.append(std::move(list[i]));
            if (withOrigins && i < m_data.origins.size())
                restOrigins.append(m_data.origins.at(i));
        }
        list = std::move(rest);
        if (withOrigins)
            m_data.origins = std::move(restOrigins);
    }
    for (std::size_t k = 0; k < kept.size(); ++k) {
        const Move& m = *kept[k];
        Moving& e = moving[k];
        // The caches count exactly Required, Main and Background, whatever the move.
        if (counted(m.from.group) && !counted(m.to)) {
            --m_totalCount;
            if (e.entry.IsValidSize)
                m_totalSize -= e.entry.Size;
        } else if (!counted(m.from.group) && counted(m.to)) {
            ++m_totalCount;
            if (e.entry.IsValidSize)
                m_totalSize += e.entry.Size;
        }
        if (m.to == NoGroup)
            continue; // removed
        QVector<Entry>& list = m_data.groups[m.to];
        list.append(std::move(e.entry));
        if (m.to == Dispensed)
            m_data.origins.append(e.origin);
        if (placed && m.slot >= 0)
            (*placed)[std::size_t(m.slot)] = EntryPos{m.to, list.size() - 1};
    }
    m_modified = true;
}

EntryPos EntriesModel::entrySizeKnown(const EntryPos& pos)
{
    if (counted(pos.group))
        m_totalSize += m_data.groups[pos.group].at(pos.index).Size;
    return pos;
}

EntryPos EntriesModel::groupBegin(int group) const
{
    return EntryPos{group, 0};
}

bool EntriesModel::hasTarget() const
{
    return m_data.hasTarget;
}

const Target& EntriesModel::target() const
{
    return m_data.target;
}

void EntriesModel::setTarget(const Target& target)
{
    m_data.target = target;
    m_data.hasTarget = true;
    m_modified = true;
}

void EntriesModel::applyDispense(DispenseQueue& queue, quint64 wasted)
{
    // In the order the queue gives them, greatest position first; each one's
    // group becomes its origin.
    std::vector<Move> moves;
    moves.reserve(queue.size());
    for (const EntryPos& p : queue.items()) {
        if (isValidPos(p))
            moves.push_back(Move{p, Dispensed, -1});
    }
    queue.clear();
    std::sort(moves.begin(), moves.end(),
              [](const Move& a, const Move& b) { return b.from < a.from; });
    regroup(moves, nullptr);
    m_wasted = wasted;
    m_modified = true;
    m_dispensed = true;
    recomputeTotals();
}

void EntriesModel::forgetDispensed()
{
    m_data.groups[Dispensed].clear();
    m_data.origins.clear();
    m_wasted = fullCapacity();
    recomputeTotals();
    m_dispensed = false;
}

void EntriesModel::undispense()
{
    for (int i = m_data.groups[Dispensed].size() - 1; i >= 0; --i) {
        int origin = i < m_data.origins.size() ? m_data.origins.at(i) : int(Main);
        if (!counted(origin))
            origin = Main;
        EntryPos p{Dispensed, i};
        moveEntry(p, origin);
    }
    m_dispensed = false;
    forgetDispensed();
}

bool EntriesModel::isDispensed() const
{
    return m_dispensed;
}

bool EntriesModel::isModified() const
{
    return m_modified;
}

bool EntriesModel::isUntitled() const
{
    return m_untitled;
}

bool EntriesModel::projectFile(QString& out) const
{
    out = m_projectFileName;
    return m_untitled;
}

void EntriesModel::newProject()
{
    m_modified = false;
    m_untitled = true;
    m_data.hasTarget = false;
    m_dispensed = false;
    m_projectFileName = QStringLiteral("New Project");
    m_filePath.clear();
    for (QVector<Entry>& g : m_data.groups)
        g.clear();
    m_data.origins.clear();
    m_wasted = 0;
    m_totalSize = 0;
    m_totalCount = 0;
    m_lastError.clear();
    m_lastWarnings.clear();
}

quint64 EntriesModel::totalSize() const
{
    return m_totalSize > ~quint64(0) ? ~quint64(0) : quint64(m_totalSize);
}

int EntriesModel::totalCount() const
{
    return m_totalCount;
}

quint64 EntriesModel::wastedSize() const
{
    return m_wasted;
}

bool EntriesModel::save()
{
    if (m_filePath.isEmpty()) {
        // Never write to a name the user did not choose.
        m_lastError = tr("The project has no file to be saved to yet.");
        return false;
    }
    QString error, warning;
    if (!writeProjectFile(m_filePath, m_data, &error, {}, &warning)) {
        m_lastError = error;
        return false;
    }
    m_lastError.clear();
    m_lastWarnings.clear();
    if (!warning.isEmpty())
        m_lastWarnings << warning;
    m_modified = false;
    return true;
}

bool EntriesModel::saveAs(const QString& path)
{
    const QString oldName = m_projectFileName;
    const QString oldPath = m_filePath;
    m_projectFileName = path;
    m_filePath = path;
    if (save())
        return true;
    m_projectFileName = oldName;
    m_filePath = oldPath;
    return false;
}

bool EntriesModel::load(const QString& path, const QString& fileName)
{
    ProjectData loaded;
    QString error;
    if (!readProjectFile(path, loaded, &error)) {
        m_lastError = error;
        return false;
    }
    m_lastWarnings = loaded.warnings;
    loaded.warnings.clear();
    m_data = std::move(loaded);
    m_dispensed = !m_data.groups[Dispensed].isEmpty();
    m_modified = false;
    m_untitled = false;
    m_projectFileName = fileName;
    m_filePath = path;
    m_lastError.clear();
    recomputeTotals();
    // A held result's waste comes from its block costs, which the file does
    // not keep: whoever holds the plan measures them (DispenseRoad).
    m_wasted = m_dispensed ? 0 : fullCapacity();
    return true;
}

QString EntriesModel::lastError() const
{
    return m_lastError;
}

QStringList EntriesModel::lastWarnings() const
{
    return m_lastWarnings;
}

QString EntriesModel::filePath() const
{
    return m_filePath;
}

void EntriesModel::recomputeTotals()
{
    m_totalSize = 0;
    m_totalCount = 0;
    for (int g = Required; g <= Background; ++g) {
        for (const Entry& e : m_data.groups[g]) {
            ++m_totalCount;
            if (e.IsValidSize)
                m_totalSize += e.Size;
        }
    }
}

quint64 EntriesModel::fullCapacity() const
{
    return m_data.hasTarget ? m_data.target.capacity() : 0;
}
