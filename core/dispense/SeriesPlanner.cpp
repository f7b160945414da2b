// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/SeriesPlanner.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <new>

#include "core/dispense/MediumPlanner.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"

namespace {

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

struct SeriesPlanner::Measured
{
    PlaceItem item; // index: the entry's place in m_entries
    int group = Required;
};

QString SeriesPlanner::apartText(int reason)
{
    switch (reason) {
    case ApartUnreadable:
        return QStringLiteral("could not be read in full");
    case ApartVanished:
        return QStringLiteral("no longer exists");
    case ApartOutOfMemory:
        return QStringLiteral("ran out of memory while measuring");
    case ApartLarger:
        return QStringLiteral("larger than one medium");
    case ApartFatFile:
        return QStringLiteral("holds a file of 4 GiB or more, which FAT32 cannot store");
    case ApartFatFolder:
        return QStringLiteral(
            "holds a folder of more than 65,536 entries, which FAT32 cannot store");
    case ApartNotCopyable:
        return QStringLiteral("is not a file or folder that can be copied");
    case ApartExfatName:
        return QStringLiteral("holds a name with a character exFAT cannot store "
                              "(\" * / : < > ? \\ | or a control character)");
    case ApartExfatFolder:
        return QStringLiteral("holds a folder of more than 256 MiB of names, which exFAT "
                              "cannot store");
    case ApartExt4Folder:
        return QStringLiteral("holds a folder of more names than ext4 can index");
    case ApartInodes:
        return QStringLiteral("holds more files and folders than the volume has free inodes "
                              "(ext4 stores each in one of a fixed number)");
    default:
        return QStringLiteral("cannot be placed");
    }
}

int SeriesPlanner::apartOf(int refusal)
{
    switch (refusal) {
    case FsCost::FatFileLimit:
        return ApartFatFile;
    case FsCost::FatFolderLimit:
        return ApartFatFolder;
    case FsCost::ExfatName:
        return ApartExfatName;
    case FsCost::ExfatFolderLimit:
        return ApartExfatFolder;
    case FsCost::Ext4FolderLimit:
        return ApartExt4Folder;
    case FsCost::InodeLimit:
        return ApartInodes;
    default:
        return ApartNotCopyable;
    }
}

SeriesPlanner::SeriesPlanner(const Target& target, std::vector<SeriesEntry> entries)
    : m_target(target), m_entries(std::move(entries))
{
}

SeriesPlanner::~SeriesPlanner() = default;

// The request before the stop flag, as the medium's planner reads them.
void SeriesPlanner::cancel()
{
    m_cancel = true;
    m_request = MediumPlanner::Cancel;
    m_levelStop = true;
}

void SeriesPlanner::report(const Progress& p, bool now)
{
    if (!m_progress)
        return;
    const qint64 t = steadyMs();
    if (!now && m_lastReport >= 0 && t - m_lastReport < 100)
        return;
    m_lastReport = t;
    m_progress(p);
}

bool SeriesPlanner::run()
{
    m_result = SeriesResult();
    m_failure.clear();
    if (!m_target.hasUsableFigures()) {
        m_failure = QStringLiteral("The medium has no usable file system, block size or capacity");
        return false;
    }
    bool ok = true;
    try {
        plan();
    } catch (const std::bad_alloc&) {
        m_result = SeriesResult();
        m_failure = QStringLiteral("Planning the series ran out of memory");
        ok = false;
    }
    if (m_cancel) {
        m_result = SeriesResult();
        return false;
    }
    return ok;
}

void SeriesPlanner::measure(std::vector<Measured>& out)
{
    std::unique_ptr<TryCalcerProto> calc = createTryCalcer(m_target);
    calc->setWalkStop(&m_cancel);
    Progress p;
    p.total = int(m_entries.size());
    calc->setMeasureTick([&] { report(p, false); });
    const quint64 capacity = quint64(std::max<qint64>(calc->capacity(), 0));
    for (std::size_t i = 0; i < m_entries.size() && !m_cancel; ++i) {
        const SeriesEntry& e = m_entries[i];
        p.done = int(i);
        report(p, i == 0);
        calc->measureItem(e.path, unsigned(i));
        int apart = 0;
        switch (calc->refusal()) {
        case FsCost::Placeable:
            if (calc->costAlone(calc->lastItem()) > capacity)
                apart = ApartLarger;
            break;
        case FsCost::SizeUnknown:
            apart = calc->itemIssue();
            break;
        case FsCost::WalkCut: // by cancel
            return;
        default:
            apart = apartOf(calc->refusal());
            break;
        }
        if (apart)
            m_result.apart.push_back(SeriesApart{e.pos, apart});
        else
            out.push_back(Measured{calc->lastItem(), e.pos.group});
    }
}

void SeriesPlanner::plan()
{
    std::vector<Measured> left;
    measure(left);
    if (m_cancel)
        return;

    std::unique_ptr<TryCalcerProto> calc = createTryCalcer(m_target);
    const qint64 capacity = calc->capacity();
    m_result.mediumBytes = quint64(std::max<qint64>(capacity, 0)) * calc->unitSize();

    // No series beats the blocks of all data in one store of shared bytes.
    PlaceItem sum;
    for (const Measured& m : left)
        sum += m.item;
    const quint64 total = calc->costAlone(sum);
    m_result.totalBytes = total * calc->unitSize();
    if (capacity > 0)
        m_result.lowerBound = total / quint64(capacity) + (total % quint64(capacity) != 0);

    // The fullest media one after another can leave the largest entries of a
    // level to the end, each alone on a medium; a second packing that starts
    // every level's fill with its largest entry may need fewer media. The
    // first one stays when it is as good: its media are what Dispense gives.
    MediumPlanner planner(m_request, m_levelStop);
    planner.setTimeLimit(m_limitMs);
    std::vector<SeriesMedium> media;
    if (!fill(planner, left, false, media))
        return;
    if (media.size() > m_result.lowerBound) {
        std::vector<SeriesMedium> packed;
        if (!fill(planner, left, true, packed))
            return;
        if (packed.size() < media.size())
            media.swap(packed);
    }
    if (m_mediaLimit > 0 && media.size() > std::size_t(m_mediaLimit))
        media.resize(std::size_t(m_mediaLimit));
    m_result.media = std::move(media);
    std::sort(m_result.apart.begin(), m_result.apart.end(),
              [](const SeriesApart& a, const SeriesApart& b) { return a.pos < b.pos; });
}

bool SeriesPlanner::fill(MediumPlanner& planner, std::vector<Measured> left, bool largestFirst,
                         std::vector<SeriesMedium>& media)
{
    Progress p;
    p.measuring = false;
    p.repacking = largestFirst;
    p.total = int(left.size());
    report(p, true);
    // Items carry their place in left, so that a level's choice maps back. A
    // level that is not searched holds its group's largest entry alone.
    std::vector<char> taken;
    MediumPlanner::Hooks hooks;
    hooks.measure = [&](const MediumPlanner::Level& level, TryCalcerProto& calc) {
        int largest = -1;
        for (std::size_t i = 0; i < left.size(); ++i) {
            if (left[i].group != level.group || taken[i])
                continue;
            if (!level.searched) {
                if (largest < 0 || left[i].item.blocks > left[largest].item.blocks)
                    largest = int(i);
                continue;
            }
            PlaceItem item = left[i].item;
            item.index = quint32(i);
            calc.queueItem(item);
        }
        if (largest >= 0) {
            PlaceItem item = left[largest].item;
            item.index = quint32(largest);
            calc.queueItem(item);
        }
    };
    hooks.chosen = [&](const MediumPlanner::Level&, const std::vector<unsigned>& chosen) {
        for (unsigned i : chosen)
            taken[i] = 1;
    };
    while (!left.empty()) {
        std::unique_ptr<TryCalcerProto> calc = createTryCalcer(m_target);
        const qint64 capacity = calc->capacity();
        // The groups with entries left; with largestFirst, each one's largest
        // entry first goes on the medium when it fits, a level of its own.
        std::vector<MediumPlanner::Level> levels;
        for (const MediumPlanner::Level& level : MediumPlanner::groupLevels()) {
            if (std::none_of(left.begin(), left.end(),
                             [&](const Measured& m) { return m.group == level.group; }))
                continue;
            if (largestFirst)
                levels.push_back({level.group, false});
            levels.push_back(level);
        }
        taken.assign(left.size(), 0);
        if (planner.plan(*calc, levels, hooks) == MediumPlanner::Cancelled)
            return false;
        SeriesMedium medium;
        medium.proven = planner.proven();
        std::vector<Measured> rest;
        rest.reserve(left.size());
        for (std::size_t i = 0; i < left.size(); ++i) {
            if (taken[i])
                medium.entries.push_back(m_entries[left[i].item.index].pos);
            else
                rest.push_back(left[i]);
        }
        // Every item left fits an empty medium, so the first fit takes one.
        Q_ASSERT(!medium.entries.empty());
        if (medium.entries.empty())
            break;
        std::sort(medium.entries.begin(), medium.entries.end());
        const quint64 unit = calc->unitSize();
        medium.wastedBytes = quint64(planner.best()) * unit;
        medium.usedBytes = quint64(capacity - planner.best()) * unit;
        media.push_back(std::move(medium));
        p.done += int(left.size() - rest.size());
        p.media = int(media.size());
        report(p, false);
        left.swap(rest);
    }
    report(p, true);
    return true;
}
