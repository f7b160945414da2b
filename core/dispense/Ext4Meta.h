// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// What ext4 (mkfs.ext4's defaults: extents, flex_bg, dir_index,
// metadata_csum, no inline_data) takes for files and folders under the Linux
// kernel, in blocks. Every new file, folder and link also takes an inode of
// the fixed inode table, which costs no block: a plan must fit the volume's
// free inodes as well (cp -r and rsync without -H copy each hard link as a
// file of its own). Where the layout depends on the hash seed of the
// volume or on where the allocator finds room, the rules count the worst
// case that can happen on a volume the copy fills.
namespace Ext4Meta {

// Bytes of a directory entry: an 8-byte header and the name's bytes
// (UTF-8 on Linux), padded to 4.
quint64 entryBytes(quint32 nameBytes);

// What an entry of that many bytes may take of an htree leaf block: a leaf
// that overflows splits so that neither half holds more than half a block,
// and copying never removes an entry, so every leaf keeps at least as many
// entries of that size as the smaller half of a split.
quint64 leafShare(quint64 entryBytes, quint64 blockSize);

// Blocks of a new folder whose children's entries take entries bytes and
// leafShares bytes of leaves (the sums of the two above). Its first block
// holds "." and ".." and a 12-byte checksum tail besides the entries; once
// that block is full the kernel makes it the root of an htree index over
// leaves, and past the root's room an index level in between. The folder's
// own blocks may lie apart: past 4 of them, its extent tree.
quint64 folderBlocks(quint64 entries, quint64 leafShares, quint64 blockSize);

// Whether the kernel can index a folder of leafShares bytes of leaves in the
// two index levels it allows without the large_dir feature ("Directory index
// full" otherwise).
bool folderFits(quint64 leafShares, quint64 blockSize);

// Blocks of a file of size bytes: its data in whole blocks, and past 4
// extents the blocks of its extent tree. An extent covers at most 32,768
// blocks; the allocator looks for room a window at a time, and a window
// breaks where free space does (block group metadata, other files' blocks).
// A volume whose free space lies in many small pieces can break files
// further, up to one extent a block.
quint64 fileBlocks(quint64 size, quint64 blockSize);

// Blocks of the extent tree of extents extents: none while the inode holds
// them (4), else full leaves of (blockSize - 12) / 12 extents, as appending
// leaves them, and index blocks above once the inode's 4 slots are used.
quint64 extentTreeBlocks(quint64 extents, quint64 blockSize);

// A symbolic link's target of fewer than 60 bytes lives in its inode; a
// longer one takes a block (the kernel refuses targets of a block or more).
quint64 symlinkBlocks(quint64 targetBytes);

// What a top-level name adds to the target folder, which exists already and
// is folderSize bytes large (its st_size): while that is one block, its
// worst leaf share (reserveBlocks covers the block becoming an index); once
// the folder is an index, whose leaves may all be full, a name can split
// one: a block.
quint64 targetFolderBytes(quint32 nameBytes, quint64 blockSize, quint64 folderSize);

// Blocks held back from f_bavail (which already leaves out the 5% kept for
// root and the kernel's own reserve of min(2%, 4,096) clusters, so that it
// is what a user may fill): two for the target folder's first block
// becoming an index root over two leaves, two for an extent tree that the
// allocator may need beyond fileBlocks' count on a nearly full volume.
quint64 reserveBlocks(quint64 blockSize);

} // namespace Ext4Meta
