// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerHDD.h"

#include <algorithm>

// The NTFS figures were measured on ntfs-3g volumes made by mkntfs: files
// copied by cp, a file manager or rsync --inplace never needed more.
namespace {

// FAT32 stores a file's length in 32 bits.
constexpr quint64 Fat32FileLimit = Q_UINT64_C(1) << 32;
// The Linux kernel refuses to grow a folder past this many 32-byte entries.
constexpr quint64 Fat32FolderEntries = 65536;

constexpr quint64 NtfsRecord = 1024;
constexpr quint64 NtfsIndexBlock = 4096;
// A folder's index stays in its record while its entries take no more.
constexpr quint64 NtfsIndexInRecord = 544;
// Children's names at least this long can fill a folder's record past the
// point where an attribute list is needed (measured: 60 and more).
constexpr quint32 NtfsAttributeListName = 56;

quint64 ceilDiv(quint64 a, quint64 b)
{
    return (a + b - 1) / b;
}

quint64 pad8(quint64 x)
{
    return (x + 7) / 8 * 8;
}

// Bytes one name takes in an NTFS folder index.
quint64 ntfsIndexEntry(quint32 length)
{
    return 16 + pad8(66 + 2 * quint64(std::min<quint32>(length, 255)));
}

quint64 fatSlots(const ItemName& name)
{
    return 1 + ceilDiv(std::max<quint32>(name.length, 1), 13);
}

} // namespace

namespace {

quint64 ntfsUnit(quint64 clusterSize)
{
    return std::min<quint64>(clusterSize, NtfsRecord);
}

quint64 capacityOf(quint64 blockSize, quint64 availableBlocks, bool fat32)
{
    if (fat32)
        return availableBlocks;
    const quint64 reserve = TryCalcerHDD::ntfsReserve(blockSize);
    const quint64 clusters = availableBlocks > reserve ? availableBlocks - reserve : 0;
    return blockSize ? clusters * (blockSize / ntfsUnit(blockSize)) : 0;
}

} // namespace

// FAT32 shares the target folder in clusters; NTFS counts everything per item.
TryCalcerHDD::TryCalcerHDD(quint64 blockSize, quint64 availableBlocks, bool fat32)
    : TryCalcerProto(blockSize, capacityOf(blockSize, availableBlocks, fat32),
                     fat32 ? blockSize : 0),
      m_clusterSize(blockSize),
      m_perCluster(fat32 || !blockSize ? 1 : blockSize / ntfsUnit(blockSize)), m_fat32(fat32)
{
    if (!fat32 && blockSize)
        m_unitSize = ntfsUnit(blockSize);
}

// The first files on a fresh volume grow the MFT by some 48 KiB at once; the
// MFT and the target folder's index grow by a block at a time after that.
quint64 TryCalcerHDD::ntfsReserve(quint64 clusterSize)
{
    if (clusterSize == 0)
        return 0;
    return ceilDiv(64 * 1024 + std::max<quint64>(16 * 1024, clusterSize), clusterSize) +
           ceilDiv(NtfsIndexBlock, clusterSize) + 4;
}

quint64 TryCalcerHDD::ntfsResidentLimit(quint32 length)
{
    return 760 - pad8(90 + 2 * quint64(std::min<quint32>(length, 255)));
}

// Index blocks end up about half full: a name's share is a block over the
// names half a block holds, less one.
quint64 TryCalcerHDD::ntfsItemBytes(quint32 nameLength)
{
    const quint64 half = (4016 / ntfsIndexEntry(nameLength)) / 2;
    return NtfsRecord + ceilDiv(NtfsIndexBlock, half - 1);
}

quint64 TryCalcerHDD::nameWeight(const ItemName& name) const
{
    return m_fat32 ? fatSlots(name) : ntfsIndexEntry(name.length);
}

void TryCalcerHDD::costName(const ItemName& name, bool top)
{
    if (!m_fat32)
        m_metaBytes += ntfsItemBytes(name.length);
    else if (top)
        m_item.shared += 32 * fatSlots(name);
}

void TryCalcerHDD::costFile(quint64 size, const ItemName& name)
{
    if (m_fat32) {
        if (size >= Fat32FileLimit)
            refuse(FatFileLimit);
        m_item.blocks += blocksOf(size);
    } else if (size > ntfsResidentLimit(name.length)) {
        m_item.blocks += blocksOf(size) * m_perCluster;
    }
}

void TryCalcerHDD::costFolder(const Listing& l)
{
    if (m_fat32) {
        const quint64 slots = 2 + l.weight; // "." and ".." first
        if (slots > Fat32FolderEntries)
            refuse(FatFolderLimit);
        m_item.blocks += ceilDiv(32 * slots, m_clusterSize);
        return;
    }
    if (l.count == 0 || l.weight + pad8(66 + 2 * quint64(l.own.length)) <= NtfsIndexInRecord)
        return;
    // When the index overflows the record, ntfs-3g may first move the security
    // descriptor out to a cluster of its own, whatever the names' order.
    m_item.blocks += (ceilDiv(NtfsIndexBlock, m_clusterSize) + 1) * m_perCluster;
    // Only names too long to leave room for the index allocation once it
    // overflows also bring an attribute list: a cluster and an extent record.
    if (l.longest >= NtfsAttributeListName || l.own.length >= 180) {
        m_item.blocks += m_perCluster;
        m_metaBytes += NtfsRecord;
    }
}

void TryCalcerHDD::finishItem()
{
    if (!m_fat32)
        m_item.blocks += ceilDiv(m_metaBytes, m_unitSize);
    m_metaBytes = 0;
}
