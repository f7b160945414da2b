// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/SeriesPlanner.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <new>
#include <thread>

#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"

namespace {

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

const int levelGroups[] = {Required, Main, Background};

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
        return QStringLiteral("holds a folder of more than 65,536 entries, which FAT32 cannot store");
    case ApartNotCopyable:
        return QStringLiteral("is not a file or folder that can be copied");
    default:
        return QStringLiteral("cannot be placed");
    }
}

SeriesPlanner::SeriesPlanner(const Target& target, std::vector<SeriesEntry> entries)
    : m_target(target), m_entries(std::move(entries))
{
}

SeriesPlanner::~SeriesPlanner() = default;

void SeriesPlanner::cancel()
{
    m_cancel = true;
    std::lock_guard<std::mutex> lock(m_mutex);
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

void SeriesPlanner::armLevel(qint64 ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_levelStop = m_cancel.load();
    m_deadline = ms < 0 ? -1 : steadyMs() + ms;
    m_wake.notify_all();
}

void SeriesPlanner::watch()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_ending) {
        if (m_deadline < 0) {
            m_wake.wait(lock);
            continue;
        }
        const qint64 left = m_deadline - steadyMs();
        if (left <= 0) {
            // Set under the lock, so that it can never trip a level armed since.
            m_levelStop = true;
            m_deadline = -1;
            continue;
        }
        m_wake.wait_for(lock, std::chrono::milliseconds(left));
    }
}

bool SeriesPlanner::run()
{
    m_result = SeriesResult();
    m_failure.clear();
    if (!m_target.hasUsableFigures()) {
        m_failure = QStringLiteral("The medium has no usable file system, block size or capacity");
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = false;
        m_deadline = -1;
    }
    std::thread watcher([this] { watch(); });
    bool ok = true;
    try {
        plan();
    } catch (const std::bad_alloc&) {
        m_result = SeriesResult();
        m_failure = QStringLiteral("Planning the series ran out of memory");
        ok = false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
        m_wake.notify_all();
    }
    watcher.join();
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
        calc->addItem(e.path, unsigned(i));
        int apart = 0;
        switch (calc->refusal()) {
        case TryCalcerProto::Placeable:
            if (calc->costAlone(calc->lastItem()) > capacity)
                apart = ApartLarger;
            break;
        case TryCalcerProto::SizeUnknown:
            apart = calc->itemIssue();
            break;
        case TryCalcerProto::FatFileLimit:
            apart = ApartFatFile;
            break;
        case TryCalcerProto::FatFolderLimit:
            apart = ApartFatFolder;
            break;
        case TryCalcerProto::NotCopyable:
            apart = ApartNotCopyable;
            break;
        default: // cut short by cancel
            return;
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
    for (const Measured& m : left) {
        sum.blocks += m.item.blocks;
        sum.shared += m.item.shared;
    }
    const quint64 total = calc->costAlone(sum);
    m_result.totalBytes = total * calc->unitSize();
    if (capacity > 0)
        m_result.lowerBound = total / quint64(capacity) + (total % quint64(capacity) != 0);

    // The fullest media one after another can leave the largest entries of a
    // level to the end, each alone on a medium; a second packing that starts
    // every level's fill with its largest entry may need fewer media. The
    // first one stays when it is as good: its media are what Dispense gives.
    std::vector<SeriesMedium> media;
    if (!fill(left, false, media))
        return;
    if (media.size() > m_result.lowerBound) {
        std::vector<SeriesMedium> packed;
        if (!fill(left, true, packed))
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

bool SeriesPlanner::fill(std::vector<Measured> left, bool largestFirst,
                         std::vector<SeriesMedium>& media)
{
    Progress p;
    p.measuring = false;
    p.repacking = largestFirst;
    p.total = int(left.size());
    report(p, true);
    std::vector<unsigned> selection;
    std::vector<char> taken;
    while (!left.empty()) {
        std::unique_ptr<TryCalcerProto> calc = createTryCalcer(m_target);
        const qint64 capacity = calc->capacity();
        const qint64 mediumEnd = m_limitMs < 0 ? -1 : steadyMs() + m_limitMs;
        int levelsLeft = 0;
        for (int g : levelGroups)
            levelsLeft += std::any_of(left.begin(), left.end(),
                                      [g](const Measured& m) { return m.group == g; });
        SeriesMedium medium;
        taken.assign(left.size(), 0);
        qint64 best = capacity;
        for (int g : levelGroups) {
            // Items carry their place in left, so the selection maps back.
            int largest = -1;
            for (std::size_t i = 0; i < left.size(); ++i)
                if (left[i].group == g && !taken[i] &&
                    (largest < 0 || left[i].item.blocks > left[largest].item.blocks))
                    largest = int(i);
            if (largest < 0)
                continue;
            if (largestFirst) {
                // On the medium when it fits: a level of its own.
                calc->addMeasured(unsigned(largest), left[largest].item.blocks,
                                  left[largest].item.shared);
                calc->prepare();
                calc->getSelection(selection);
                for (unsigned i : selection)
                    taken[i] = 1;
                best = calc->freeBlocks();
                calc->beginLevel(best);
            }
            for (std::size_t i = 0; i < left.size(); ++i)
                if (left[i].group == g && !taken[i])
                    calc->addMeasured(unsigned(i), left[i].item.blocks, left[i].item.shared);
            calc->prepare();
            best = calc->freeBlocks();
            calc->getSelection(selection);
            // The medium's time is shared among the levels still to search.
            armLevel(mediumEnd < 0 ? -1
                                   : std::max<qint64>(0, mediumEnd - steadyMs()) / levelsLeft--);
            const bool proven = calc->findBetter(m_levelStop, [&](qint64 cur) {
                best = cur;
                calc->getSelection(selection);
                return true;
            });
            if (m_cancel)
                return false;
            medium.proven = medium.proven && proven;
            calc->useSelection(selection);
            if (calc->keepSharedLimit()) {
                best = calc->freeBlocks();
                calc->getSelection(selection);
            }
            for (unsigned i : selection)
                taken[i] = 1;
            calc->beginLevel(best);
        }
        armLevel(-1);
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
        medium.wastedBytes = quint64(best) * unit;
        medium.usedBytes = quint64(capacity - best) * unit;
        media.push_back(std::move(medium));
        p.done += int(left.size() - rest.size());
        p.media = int(media.size());
        report(p, false);
        left.swap(rest);
    }
    report(p, true);
    return true;
}
