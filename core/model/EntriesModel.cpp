// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/EntriesModel.h"

#include <QCoreApplication>

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
    countMove(e, pos.group, group);
    const int origin = originAt(pos);
    if (pos.group == Dispensed && pos.index < m_data.origins.size())
        m_data.origins.removeAt(pos.index);
    m_data.groups[group].append(e);
    m_data.groups[pos.group].removeAt(pos.index);
    if (group == Dispensed)
        m_data.origins.append(origin);

    pos.group = group;
    pos.index = m_data.groups[group].size() - 1;
    m_modified = true;
    return pos;
}

Regroup EntriesModel::moveEntries(const std::vector<EntryPos>& from, const std::vector<int>& to)
{
    Regroup change = Regroup::moving(groupSizes(), from, to);
    applyRegroup(change);
    return change;
}

Regroup EntriesModel::removeEntries(const std::vector<EntryPos>& positions)
{
    Regroup change = Regroup::removing(groupSizes(), positions);
    applyRegroup(change);
    return change;
}

Regroup::Sizes EntriesModel::groupSizes() const
{
    Regroup::Sizes sizes;
    for (int g = 0; g < NoGroup; ++g)
        sizes[std::size_t(g)] = m_data.groups[std::size_t(g)].size();
    return sizes;
}

void EntriesModel::applyRegroup(const Regroup& change)
{
    if (change.isEmpty())
        return;
    for (const Regroup::Move& m : change.moves())
        countMove(m_data.groups[std::size_t(m.from.group)].at(m.from.index), m.from.group, m.to);
    // The origins follow the Dispensed entries.
    if (change.touches(Dispensed)) {
        QVector<int> origins;
        origins.reserve(int(change.groupAfter(Dispensed).size()));
        for (const EntryPos& p : change.groupAfter(Dispensed))
            origins.append(originAt(p));
        m_data.origins = std::move(origins);
    }
    change.apply(m_data.groups.data());
    m_modified = true;
}

bool EntriesModel::fits(const Regroup& change, bool before) const
{
    for (int g = 0; g < NoGroup; ++g) {
        const std::size_t want = before              ? std::size_t(change.sizeBefore(g))
                                 : change.touches(g) ? change.groupAfter(g).size()
                                                     : std::size_t(change.sizeBefore(g));
        if (std::size_t(m_data.groups[std::size_t(g)].size()) != want)
            return false;
    }
    return true;
}

bool EntriesModel::regroup(const Regroup& change, QVector<Entry>* removed)
{
    if (!fits(change, true))
        return false;
    if (removed) {
        removed->clear();
        for (int g = 0; g < NoGroup; ++g) {
            for (int i = 0; change.touches(g) && i < change.sizeBefore(g); ++i) {
                if (change.placeOf(EntryPos{g, i}).group == NoGroup)
                    removed->append(m_data.groups[std::size_t(g)].at(i));
            }
        }
    }
    applyRegroup(change);
    return true;
}

bool EntriesModel::revertChange(const Regroup& change, const QVector<Entry>& removed,
                                const QVector<int>& origins)
{
    if (change.isEmpty())
        return true;
    if (!fits(change, false))
        return false;
    int wanted = 0;
    for (int g = 0; g < NoGroup; ++g) {
        for (int i = 0; change.touches(g) && i < change.sizeBefore(g); ++i)
            wanted += change.placeOf(EntryPos{g, i}).group == NoGroup ? 1 : 0;
    }
    if (wanted != removed.size())
        return false;
    // Every entry of a touched group back at its place before, those taken
    // out from removed, in list order.
    std::array<QVector<Entry>, NoGroup> now;
    for (std::size_t g = 0; g < NoGroup; ++g) {
        if (change.touches(int(g)))
            now[g] = std::move(m_data.groups[g]);
    }
    int next = 0;
    for (int g = 0; g < NoGroup; ++g) {
        if (!change.touches(g))
            continue;
        QVector<Entry>& list = m_data.groups[std::size_t(g)];
        list.clear();
        list.reserve(change.sizeBefore(g));
        for (int i = 0; i < change.sizeBefore(g); ++i) {
            const EntryPos p = change.placeOf(EntryPos{g, i});
            list.append(p.group == NoGroup ? removed.at(next++)
                                           : std::move(now[std::size_t(p.group)][p.index]));
        }
    }
    if (change.touches(Dispensed))
        m_data.origins = origins;
    recomputeTotals();
    m_modified = true;
    return true;
}

void EntriesModel::restoreResult(bool hasTarget, const Target& target, bool dispensed,
                                 quint64 wasted)
{
    m_data.hasTarget = hasTarget;
    if (hasTarget)
        m_data.target = target;
    m_dispensed = dispensed && !m_data.groups[Dispensed].isEmpty();
    m_wasted = wasted;
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

Regroup EntriesModel::applyDispense(DispenseQueue& queue, quint64 wasted)
{
    // Each one's group becomes its origin.
    Regroup change = Regroup::dispensing(groupSizes(), queue.items());
    applyRegroup(change);
    queue.clear();
    m_wasted = wasted;
    m_modified = true;
    // A result that chose nothing is none: nothing to post, copy or put back.
    m_dispensed = !m_data.groups[Dispensed].isEmpty();
    recomputeTotals();
    return change;
}

void EntriesModel::forgetDispensed()
{
    m_data.groups[Dispensed].clear();
    m_data.origins.clear();
    m_wasted = fullCapacity();
    recomputeTotals();
    m_dispensed = false;
}

Regroup EntriesModel::undispense()
{
    Regroup change = Regroup::undispensing(
        groupSizes(), std::vector<int>(m_data.origins.begin(), m_data.origins.end()));
    applyRegroup(change);
    m_dispensed = false;
    forgetDispensed();
    return change;
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
    m_projectFileName = QCoreApplication::translate("EntriesModel", "New Project");
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

QString EntriesModel::savePath() const
{
    return m_filePath;
}

void EntriesModel::countMove(const Entry& e, int from, int to)
{
    // The caches count exactly Required, Main and Background, whatever the move.
    if (counted(from) && !counted(to)) {
        --m_totalCount;
        if (e.IsValidSize)
            m_totalSize -= e.Size;
    } else if (!counted(from) && counted(to)) {
        ++m_totalCount;
        if (e.IsValidSize)
            m_totalSize += e.Size;
    }
}

// The group the entry at pos goes back to from Dispensed: its origin there,
// else its own group; Main for one from a group that is no priority.
int EntriesModel::originAt(const EntryPos& pos) const
{
    if (pos.group == Dispensed)
        return m_data.origins.value(pos.index, Main);
    return counted(pos.group) ? pos.group : int(Main);
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
