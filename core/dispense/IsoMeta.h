// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include <QByteArray>
#include <QtGlobal>

// What an ISO 9660 image with Rock Ridge and Joliet takes, in 2048-byte
// blocks, as libisofs 1.5.4 lays it out with the options of the disc writer
// (level 3, Rock Ridge 1.10, Joliet names of up to 64 characters without
// version numbers, deep folders kept in place, 150 blocks of padding).
namespace IsoMeta {

constexpr quint64 BlockSize = 2048;

// One item of a folder as the image lists it.
struct Item
{
    QByteArray name; // as stored, UTF-8
    bool folder = false;
    quint64 size = 0;  // a file's bytes
    bool link = false; // a symbolic link recorded as one (it leads nowhere)
    QByteArray target; // a link's target
};

// A folder's own structures: its ISO 9660 directory with the Rock Ridge
// fields of its items, their continuation areas as libisofs counts them,
// and its Joliet directory.
struct FolderCost
{
    quint64 blocks = 0;
    // What its sub-folders add to each of the two ISO 9660 and the two
    // Joliet path tables together.
    quint64 pathTableBytes = 0;
    // libisofs 1.5.4 counts more continuation blocks for this folder than it
    // writes; the disc writer fills the gap.
    bool miscounted = false;
};

// The folder holding items (the disc's root: root).
FolderCost folderCost(const std::vector<Item>& items, bool root = false);

// A file's data blocks and the directory records it takes in each tree
// (files of 4 GiB and more take several).
quint64 dataBlocks(quint64 size);
quint32 sections(quint64 size);

// What an entry at the disc's root adds to the structures the selection
// shares, in bytes of a store counted in whole blocks: its records in the
// root directories and the root's continuation area, and, for a folder, its
// own path table records. Ers high where the neighbours decide (packing,
// names made unique).
quint64 rootItemBytes(const Item& item);

// The shared store's bytes for the root itself, and the blocks every image
// takes whatever it holds: system area, volume descriptors, the block of
// all empty files, the padding, the least size, the rounding of the shared
// store's parts, and of the track to libburn's 64 KiB chunks.
quint64 rootBaseBytes();
quint64 fixedBlocks();

// The identifiers libisofs records for name before making them unique: ISO
// 9660 level 3 (";1" not included) and Joliet (UCS-2).
std::string isoName(const QByteArray& name, bool folder);
std::u16string jolietName(const QByteArray& name, bool folder);

} // namespace IsoMeta
