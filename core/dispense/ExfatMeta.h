// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// What exFAT stores for files and folders, in clusters and bytes. Measured on
// images made by mkfs.exfat and written through exfat-fuse with cp -r and
// rsync --inplace; the kernel's exfat driver lays out the same structures.
namespace ExfatMeta {

// A folder is a file of 32-byte directory entries.
constexpr quint64 EntryBytes = 32;
// The largest folder exFAT allows: 256 MiB of entries.
constexpr quint64 FolderEntryLimit = (quint64(256) << 20) / EntryBytes;

// Entries of the set that names an item in its folder: a file entry, a
// stream extension and one name entry per 15 UTF-16 code units.
quint64 entrySet(quint32 nameLength);

// Clusters of a file's data: whole clusters, none for an empty file, and no
// limit at 4 GiB.
quint64 fileClusters(quint64 size, quint64 clusterSize);

// Clusters of a new folder whose children's entry sets hold entries entries
// in all: sets follow each other across cluster boundaries, and even an
// empty folder takes a cluster. exFAT has no "." and ".." entries.
quint64 folderClusters(quint64 entries, quint64 clusterSize);

// Whether a folder of that many entries can exist.
bool folderFits(quint64 entries);

// Bytes a top-level name adds to the target folder, which already exists
// and grows by whole clusters for the selection's names together; what
// room its last cluster has is not known, so none is counted.
quint64 targetFolderBytes(quint32 nameLength);

// Whether exFAT can store a name of these UTF-8 bytes: it refuses control
// characters and " * / : < > ? \ |.
bool nameStorable(const char* bytes, quint32 size);

} // namespace ExfatMeta
