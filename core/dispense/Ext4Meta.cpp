// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/Ext4Meta.h"

#include <algorithm>

namespace Ext4Meta {

namespace {

// With metadata_csum every directory block ends in a 12-byte checksum entry.
constexpr quint64 DirTail = 12;
// "." and ".." in a folder's first block.
constexpr quint64 DotEntries = 24;
// The inode holds 4 extents (or 4 index entries) itself.
constexpr quint64 InodeExtents = 4;
// The most blocks the allocator looks for in one piece for a large file.
constexpr quint64 AllocationWindow = 2048;

quint64 ceilDiv(quint64 a, quint64 b)
{
    return b ? a / b + (a % b != 0) : 0;
}

// Index entries of the htree root: the block less "." and "..", the root's
// 8-byte header and an 8-byte checksum tail, at 8 bytes each.
quint64 rootLimit(quint64 blockSize)
{
    return (blockSize - 40) / 8;
}

// Index entries of an index block below the root (an 8-byte empty entry and
// the checksum tail besides).
quint64 nodeLimit(quint64 blockSize)
{
    return (blockSize - 16) / 8;
}

// Index blocks between root and leaves: they split in half when full, the
// first one holding all of the root's entries.
quint64 indexNodes(quint64 leaves, quint64 blockSize)
{
    return leaves > rootLimit(blockSize) ? ceilDiv(leaves, nodeLimit(blockSize) / 2) : 0;
}

quint64 leavesOf(quint64 leafShares, quint64 blockSize)
{
    // The first block's entries are split over two leaves.
    return std::max<quint64>(2, ceilDiv(leafShares, blockSize));
}

} // namespace

quint64 entryBytes(quint32 nameBytes)
{
    return 8 + (quint64(nameBytes) + 3) / 4 * 4;
}

quint64 leafShare(quint64 entryBytes, quint64 blockSize)
{
    if (entryBytes == 0 || blockSize <= DirTail)
        return blockSize;
    // A split moves the entries of the highest hashes while they take no
    // more than half a block; the rest stay, and the new entry joins either.
    const quint64 full = (blockSize - DirTail) / entryBytes;
    const quint64 moved = std::min(full, (blockSize / 2) / entryBytes);
    const quint64 least = std::max<quint64>(1, std::min(moved, full - moved));
    return ceilDiv(blockSize, least);
}

quint64 folderBlocks(quint64 entries, quint64 leafShares, quint64 blockSize)
{
    if (DotEntries + entries + DirTail <= blockSize)
        return 1;
    const quint64 leaves = leavesOf(leafShares, blockSize);
    const quint64 blocks = 1 + leaves + indexNodes(leaves, blockSize);
    // Growing one block at a time between other files' blocks, the folder
    // may take an extent for each.
    return blocks + extentTreeBlocks(blocks, blockSize);
}

bool folderFits(quint64 leafShares, quint64 blockSize)
{
    return indexNodes(leavesOf(leafShares, blockSize), blockSize) <= rootLimit(blockSize);
}

quint64 fileBlocks(quint64 size, quint64 blockSize)
{
    const quint64 data = ceilDiv(size, blockSize);
    if (data <= InodeExtents)
        return data;
    // The allocator places a file's blocks in windows of up to 2,048 blocks
    // (2 MiB at 1 KiB blocks, 8 MiB at 4 KiB); on a volume filling up, a
    // window was seen to come in two pieces, never more.
    const quint64 extents = 2 * ceilDiv(data, AllocationWindow);
    return data + extentTreeBlocks(extents, blockSize);
}

quint64 extentTreeBlocks(quint64 extents, quint64 blockSize)
{
    // 12-byte header, 12-byte extents or index entries.
    const quint64 perBlock = std::max<quint64>(2, (blockSize - 12) / 12);
    quint64 blocks = 0;
    for (quint64 level = extents; level > InodeExtents;) {
        level = ceilDiv(level, perBlock);
        blocks += level;
    }
    return blocks;
}

quint64 symlinkBlocks(quint64 targetBytes)
{
    return targetBytes < 60 ? 0 : 1;
}

quint64 targetFolderBytes(quint32 nameBytes, quint64 blockSize, quint64 folderSize)
{
    return folderSize > blockSize ? blockSize : leafShare(entryBytes(nameBytes), blockSize);
}

quint64 reserveBlocks(quint64 blockSize)
{
    Q_UNUSED(blockSize)
    return 2 + 2;
}

} // namespace Ext4Meta
