// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/NtfsCost.h"

#include <algorithm>
#include <cstring>

#include <QtAlgorithms>

#include "core/copy/CopyManifest.h"

// The figures were measured on ntfs-3g volumes made by mkntfs: files copied
// by cp, a file manager, rsync --inplace or tar never needed more.
namespace {

constexpr quint64 NtfsRecord = 1024;
constexpr quint64 NtfsIndexBlock = 4096;
// The names one index block holds: a block less its header and end entry.
constexpr quint64 NtfsBlockNames = 4016;
// A folder's record before any child: header, standard information, security
// descriptor, an empty index root and the end marker, besides its own name.
constexpr quint64 NtfsEmptyFolder = 344;
// ntfs-3g moves the index root out to an index block once growing it would
// leave less than 120 bytes of the record free.
constexpr quint64 NtfsRootLimit = NtfsRecord - 120;
// Moving the security descriptor out of the record frees this many bytes.
constexpr quint64 NtfsSecurityFreed = 32;

quint64 ceilDiv(quint64 a, quint64 b)
{
    return (a + b - 1) / b;
}

quint64 pad8(quint64 x)
{
    return (x + 7) / 8 * 8;
}

// Bytes one name takes in a folder index.
quint64 indexEntry(quint32 length)
{
    return 16 + pad8(66 + 2 * quint64(std::min<quint32>(length, 255)));
}

quint64 unitOf(quint64 clusterSize)
{
    return std::min<quint64>(clusterSize, NtfsRecord);
}

quint64 capacityOf(quint64 clusterSize, quint64 availableClusters)
{
    const quint64 reserve = NtfsCost::reserve(clusterSize);
    const quint64 clusters = availableClusters > reserve ? availableClusters - reserve : 0;
    return clusterSize ? clusters * (clusterSize / unitOf(clusterSize)) : 0;
}

} // namespace

// Everything is counted per item but the lines of the checksum list, which
// share its clusters: a store of units, each one unit. Its record and name
// come off the capacity, and so do the units short of a cluster that
// rounding its data to units rather than clusters may miss (none at 1 KiB
// clusters and below). Its data may stay within the record: a cluster over.
NtfsCost::NtfsCost(quint64 clusterSize, quint64 availableClusters)
    : FsCost(clusterSize, clusterSize ? unitOf(clusterSize) : 0,
             capacityOf(clusterSize, availableClusters), clusterSize ? unitOf(clusterSize) : 0),
      m_clusterSize(clusterSize), m_perCluster(clusterSize ? clusterSize / unitOf(clusterSize) : 1)
{
    if (clusterSize == 0)
        return;
    const quint64 record = NtfsRecord + indexShare(quint32(CopyManifest::fileName().size()));
    holdBack(ceilDiv(record, unitSize()) + m_perCluster - 1, PlaceItem());
}

// The first files on a fresh volume grow the MFT by some 48 KiB at once; the
// MFT and the target folder's index grow by a block at a time after that.
quint64 NtfsCost::reserve(quint64 clusterSize)
{
    if (clusterSize == 0)
        return 0;
    return ceilDiv(64 * 1024 + std::max<quint64>(16 * 1024, clusterSize), clusterSize) +
           ceilDiv(NtfsIndexBlock, clusterSize) + 4;
}

quint64 NtfsCost::residentLimit(quint32 length)
{
    return 760 - pad8(90 + 2 * quint64(std::min<quint32>(length, 255)));
}

// Index blocks end up about half full: a name's share is a block over the
// names half a block holds, less one.
quint64 NtfsCost::indexShare(quint32 nameLength)
{
    const quint64 half = (NtfsBlockNames / indexEntry(nameLength)) / 2;
    return ceilDiv(NtfsIndexBlock, half - 1);
}

quint64 NtfsCost::nameWeight(const ItemName& name) const
{
    return indexEntry(name.length);
}

void NtfsCost::beginListing(const ItemName&)
{
    m_entrySizes.fill(0);
    m_shares = 0;
    m_children.clear();
    m_names.clear();
    m_childBytes = 0;
}

// Every item takes a record; the entry's own name a share of the target
// folder's index. A listed name also joins its folder's index.
void NtfsCost::costName(const ItemName& name, bool top)
{
    m_metaBytes += NtfsRecord + (top ? indexShare(name.length) : 0);
    if (top)
        return;
    const quint64 entry = indexEntry(name.length);
    m_entrySizes[entry / 8] += 1;
    m_shares += indexShare(name.length);
    // Past one index block the order no longer matters.
    m_childBytes += entry;
    if (m_childBytes <= NtfsBlockNames) {
        m_children.push_back(
            Child{name.inode, quint32(entry), quint32(m_names.size()), name.size, name.folder});
        if (name.bytes)
            m_names.append(name.bytes, name.size);
        else
            m_children.back().nameSize = 0;
    }
}

void NtfsCost::costFile(quint64 size, const ItemName& name)
{
    if (size > residentLimit(name.length))
        m_item.blocks += blocksOf(size) * m_perCluster;
}

// ntfs-3g grows a folder's index root in its record with each name. The name
// that takes the record past NtfsRootLimit moves the root to an index block,
// adding the index's bitmap and allocation to the record; should the block's
// clusters lie apart, their runs may not fit, and the allocation moves to an
// extent record behind an attribute list. A name that would overflow the
// record outright first moves the security descriptor out to a cluster of its
// own, and when that frees too little, the root to an extent record. Which
// name comes when is the copying tool's choice. The tools create a folder's
// children in one of three orders: as the folder lists them (tar, Python's
// copytree), by inode number (cp -r sorts by it; GIO, and so Nautilus and
// Thunar, too), or files by name and then folders by name, the two
// interleaved in any way (rsync makes folders ahead of the files it is still
// receiving). Each move counts when one of those orders leads to it.
NtfsCost::RootMoves NtfsCost::rootMoves(quint64 base) const
{
    if (base > NtfsRootLimit)
        return {true, true};
    std::vector<quint32> order(m_children.size());
    for (quint32 i = 0; i < order.size(); ++i)
        order[i] = i;
    RootMoves moves = inOrder(base, order);
    std::sort(order.begin(), order.end(),
              [this](quint32 a, quint32 b) { return m_children[a].inode < m_children[b].inode; });
    for (std::size_t i = 1; i < order.size(); ++i)
        if (m_children[order[i - 1]].inode == m_children[order[i]].inode)
            return anyOrderMoves(base); // links to one file: any order of them
    moves.add(inOrder(base, order));
    std::sort(order.begin(), order.end(), [this](quint32 a, quint32 b) {
        const Child &x = m_children[a], &y = m_children[b];
        if (x.folder != y.folder)
            return y.folder;
        const int n = std::memcmp(m_names.data() + x.nameAt, m_names.data() + y.nameAt,
                                  std::min(x.nameSize, y.nameSize));
        return n ? n < 0 : x.nameSize < y.nameSize;
    });
    const std::size_t all = order.size();
    std::size_t files = 0;
    for (const Child& c : m_children)
        files += !c.folder;
    const auto entry = [&](std::size_t i) { return quint64(m_children[order[i]].entry); };
    // Every prefix of the files with every prefix of the folders.
    quint64 fileBytes = 0;
    for (std::size_t f = 0; f <= files && base + fileBytes <= NtfsRootLimit; ++f) {
        quint64 s = fileBytes;
        for (std::size_t d = files; d <= all && base + s <= NtfsRootLimit; ++d) {
            for (const std::size_t next : {f < files ? f : all, d})
                if (next < all && base + s + entry(next) > NtfsRootLimit)
                    moves.add(crossing(base, s, entry(next)));
            s += d < all ? entry(d) : 0;
        }
        fileBytes += f < files ? entry(f) : 0;
    }
    return moves;
}

qint64 NtfsCost::movedOut() const
{
    // Bitmap and allocation records, with a run of up to 7 bytes per cluster.
    return 40 + 72 + qint64(pad8(7 * ceilDiv(NtfsIndexBlock, m_clusterSize) + 1));
}

// What the name of entry bytes does that takes the record past NtfsRootLimit
// when names of before bytes came first.
NtfsCost::RootMoves NtfsCost::crossing(quint64 base, quint64 before, quint64 entry) const
{
    const qint64 r = qint64(NtfsRecord), f = qint64(NtfsSecurityFreed);
    const qint64 after = qint64(base + before + entry);
    if (after - f > r)
        return {true, true};
    RootMoves moves;
    moves.security = after > r;
    // The record, less the descriptor if it went, before the root moves out.
    const qint64 full = qint64(base + before) - (moves.security ? f : 0);
    const bool runsApart = full + movedOut() > r;
    // An empty root moved out grows by 8 bytes last, and is itself moved to
    // an extent record when that leaves less than 120 free.
    const qint64 empty = qint64(base) - (moves.security ? f : 0);
    const bool rootOut = before == 0 && r - 120 - movedOut() <= empty && empty <= r - 240;
    moves.security = moves.security || runsApart;
    moves.attributeList = runsApart || rootOut;
    return moves;
}

NtfsCost::RootMoves NtfsCost::inOrder(quint64 base, const std::vector<quint32>& order) const
{
    quint64 s = 0;
    for (quint32 i : order) {
        const quint64 e = m_children[i].entry;
        if (base + s + e > NtfsRootLimit)
            return crossing(base, s, e);
        s += e;
    }
    return {};
}

// Each move when some order of the children's names leads to it.
NtfsCost::RootMoves NtfsCost::anyOrderMoves(quint64 base) const
{
    const qint64 b = qint64(base), r = qint64(NtfsRecord), f = qint64(NtfsSecurityFreed);
    const qint64 room = (qint64(NtfsRootLimit) - b) / 8; // in 8-byte steps, below 64
    const qint64 moved = movedOut();
    RootMoves moves;
    for (std::size_t v = 1; v < m_entrySizes.size(); ++v) {
        if (!m_entrySizes[v])
            continue;
        // Bit s: names of 8 s bytes in all, this one aside, can come first.
        quint64 reach = 1;
        for (std::size_t w = 1; w < m_entrySizes.size(); ++w)
            for (qint64 n = std::min<qint64>(m_entrySizes[w] - (w == v), room / qint64(w)); n > 0;
                 --n)
                reach = (reach | reach << w) & ((quint64(2) << room) - 1);
        // The largest such sum in bytes within (lo, hi], or -1.
        const auto largest = [&](qint64 lo, qint64 hi) -> qint64 {
            const qint64 from = std::max<qint64>(lo / 8 + 1, 0), to = std::min(hi / 8, room);
            const quint64 bits = from > to ? 0 : reach >> from << from & ((quint64(2) << to) - 1);
            return bits ? 8 * (63 - qint64(qCountLeadingZeroBits(bits))) : -1;
        };
        const qint64 e = qint64(8 * v), l = qint64(NtfsRootLimit);
        // After which this name moves the root out, overflows the record
        // until the descriptor is out, or overflows it even then.
        const qint64 fits = largest(l - b - e, r - b - e);
        const qint64 freeing = largest(r - b - e, r + f - b - e);
        const bool listed = largest(r + f - b - e, r) >= 0;
        const qint64 before = std::max(fits < 0 ? 0 : b + fits, freeing < 0 ? 0 : b + freeing - f);
        const bool runsApart = before + moved > r;
        // An empty root moved out grows by 8 bytes last, and is itself
        // moved to an extent record when that leaves less than 120 free.
        const qint64 empty = b + e > l && b + e <= r ? b : b + e > r && b + e - f <= r ? b - f : 0;
        const bool rootOut = empty && r - 120 - moved <= empty && empty <= r - 240;
        moves.security = moves.security || freeing >= 0 || listed || runsApart;
        moves.attributeList = moves.attributeList || listed || runsApart || rootOut;
    }
    return moves;
}

void NtfsCost::costFolder(const FolderListing& l)
{
    const quint64 base =
        NtfsEmptyFolder + pad8(66 + 2 * quint64(std::min<quint32>(l.own.length, 255)));
    if (l.count == 0 || base + l.weight <= NtfsRootLimit)
        return;
    m_item.blocks += ceilDiv(NtfsIndexBlock, m_clusterSize) * m_perCluster;
    RootMoves moves{true, true};
    if (l.weight <= NtfsBlockNames) {
        // All names fit the one index block the root moves to.
        moves = rootMoves(base);
    } else {
        // Splitting blocks later grows the root again, and the index
        // allocation's runs can outgrow the record: an extent record per
        // some 128 blocks.
        m_metaBytes += m_shares + NtfsRecord * (m_shares / (128 * NtfsIndexBlock));
    }
    if (moves.security)
        m_item.blocks += m_perCluster;
    if (moves.attributeList) {
        m_item.blocks += m_perCluster;
        m_metaBytes += NtfsRecord;
    }
}

void NtfsCost::costManifestLine(quint64 bytes)
{
    m_item.shared += bytes;
}

void NtfsCost::finishItem()
{
    m_item.blocks += ceilDiv(m_metaBytes, unitSize());
    m_metaBytes = 0;
}
