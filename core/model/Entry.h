// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QString>
#include <QtGlobal>

// The five priority groups; the number is a group's identity everywhere
// (positions, origins, list rows, colours, the project file).
enum EntryGroup : int {
    Dispensed = 0,
    Required = 1,
    Main = 2,
    Background = 3,
    NotInUse = 4,
    NoGroup = 5
};

enum EntryKind : int { File = 0, Folder = 1 };

// What the target volume is formatted as, or an optical disc is written as
// (UDF, or ISO 9660 with Rock Ridge and Joliet).
enum FileSystemKind : int { NTFS = 0, FAT = 1, UDF = 2, EXFAT = 3, EXT4 = 4, ISO9660 = 5 };

// Why an entry's size is not known: the search leaves such an entry out
// rather than plan it with a size that is too small.
enum SizeIssue : int { NoSizeIssue = 0, Unreadable = 1, Vanished = 2, OutOfMemory = 3 };

// One file or folder of the project.
struct Entry
{
    QString Name;  // last component of Ident
    QString Path;  // the folder holding the item
    QString Ident; // full path; the item's identity for the walk, the clipboard and the trash
    quint64 Size = 0;
    bool IsValidSize = false;
    int Kind = File;
    int Issue = NoSizeIssue; // found when last measured; not kept in the project file

    bool operator==(const Entry& o) const;
    bool operator!=(const Entry& o) const { return !(*this == o); }
};

// Where an entry stands; right only while its group is unchanged.
struct EntryPos
{
    int group = NoGroup;
    int index = 0;

    bool operator==(const EntryPos& o) const { return group == o.group && index == o.index; }
    bool operator!=(const EntryPos& o) const { return !(*this == o); }
};

// Group first (signed), then index (unsigned): the order of DispenseQueue.
bool operator<(const EntryPos& a, const EntryPos& b);

// The storage medium to fill.
struct Target
{
    QString Path;
    int FileSystem = NTFS;
    quint64 BlockSize = 0;
    quint64 AvailableBlocks = 0;
    // New files, folders and links the volume can still take: the free
    // inodes of a file system with a fixed inode table (ext4), NoInodeLimit
    // where there is none.
    static constexpr quint64 NoInodeLimit = ~quint64(0);
    quint64 AvailableInodes = NoInodeLimit;
    // Which volume it is (VolumeIdentity), so that a check of the target never
    // takes another volume at Path, or the folder under an unmounted one, for
    // it; empty where it is not known (a disc, a medium described by figures,
    // projects saved before it was kept).
    QString Volume{};

    quint64 capacity() const { return AvailableBlocks * BlockSize; }
    // A known file system, a block size that is a power of two its file
    // system allows (blockSizeRange) and a capacity within 63 bits, so that
    // no block arithmetic overflows.
    bool hasUsableFigures() const;
    // Why hasUsableFigures is false, as a sentence; empty when it is true.
    // The one check of a target's figures: the picker, Dispense, the command
    // line and the project file all make it.
    QString figuresRefusal() const;
    bool operator==(const Target& o) const;
    bool operator!=(const Target& o) const { return !(*this == o); }
};

// a + b, or the largest count where the sum would wrap.
inline quint64 saturatingAdd(quint64 a, quint64 b)
{
    return a + b < a ? ~quint64(0) : a + b;
}

// The block sizes a file system can have, powers of two from smallest to
// largest; both 0 for an unknown one.
struct BlockSizeRange
{
    quint64 smallest;
    quint64 largest;
};
BlockSizeRange blockSizeRange(int fileSystem);

// The names the project file and the command line's output use for a
// FileSystemKind; empty for any other number.
const QString& fileSystemName(int fileSystem);
// The name a user knows it by (FAT32, not FAT), for the window.
QString fileSystemTitle(int fileSystem);
// The FileSystemKind a user's word names, in any case: the names above and
// the ones mount and blkid print (vfat, fat32, ntfs3, exfat, ...); -1 for
// none.
int fileSystemOfName(const QString& word);

// Max-priority queue of positions (binary heap, greatest position on top)
// carrying a search result to the model.
class DispenseQueue
{
public:
    void push(const EntryPos& pos);
    const EntryPos& top() const { return m_heap.front(); }
    void pop();
    bool empty() const { return m_heap.empty(); }
    std::size_t size() const { return m_heap.size(); }
    void clear() { m_heap.clear(); }
    // The heap's storage, in heap order.
    const std::vector<EntryPos>& items() const { return m_heap; }

private:
    std::vector<EntryPos> m_heap;
};
