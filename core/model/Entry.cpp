// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/Entry.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include <QCoreApplication>

#include "core/model/SizeText.h"

bool Entry::operator==(const Entry& o) const
{
    return Name == o.Name && Path == o.Path && Ident == o.Ident && Size == o.Size &&
           IsValidSize == o.IsValidSize && Kind == o.Kind && Issue == o.Issue;
}

bool operator<(const EntryPos& a, const EntryPos& b)
{
    if (a.group != b.group)
        return a.group < b.group;
    return unsigned(a.index) < unsigned(b.index);
}

bool Target::operator==(const Target& o) const
{
    return Path == o.Path && FileSystem == o.FileSystem && BlockSize == o.BlockSize &&
           AvailableBlocks == o.AvailableBlocks && AvailableInodes == o.AvailableInodes &&
           Volume == o.Volume;
}

bool Target::hasUsableFigures() const
{
    return figuresRefusal().isEmpty();
}

QString Target::figuresRefusal() const
{
    const BlockSizeRange range = blockSizeRange(FileSystem);
    if (range.largest == 0)
        return QCoreApplication::translate("Target", "Its file system is not one that can be "
                                                     "filled.");
    const bool powerOfTwo = BlockSize != 0 && (BlockSize & (BlockSize - 1)) == 0;
    if (!powerOfTwo || BlockSize < range.smallest || BlockSize > range.largest) {
        if (range.smallest == range.largest)
            return QCoreApplication::translate("Target", "Its block size of %1 bytes is not the "
                                                         "%2 bytes of %3.")
                .arg(BlockSize)
                .arg(range.smallest)
                .arg(fileSystemTitle(FileSystem));
        return QCoreApplication::translate("Target", "Its block size of %1 bytes is not a power "
                                                     "of two from %2 to %3, as %4 has.")
            .arg(BlockSize)
            .arg(sizeText(range.smallest), sizeText(range.largest), fileSystemTitle(FileSystem));
    }
    // So that no block arithmetic overflows.
    if (AvailableBlocks > quint64(std::numeric_limits<qint64>::max()) / BlockSize)
        return QCoreApplication::translate("Target", "Its capacity of %1 blocks of %2 bytes is "
                                                     "8 EiB or more.")
            .arg(AvailableBlocks)
            .arg(BlockSize);
    return QString();
}

// What each file system's own tools can make.
BlockSizeRange blockSizeRange(int fileSystem)
{
    switch (fileSystem) {
    case NTFS:
        return {512, quint64(2) << 20};
    case FAT:
        return {512, quint64(64) << 10};
    case UDF:
        return {2048, 2048};
    case EXFAT:
        return {512, quint64(32) << 20};
    case EXT4:
        return {1024, quint64(64) << 10};
    case ISO9660:
        return {2048, 2048};
    default:
        return {0, 0};
    }
}

const QString& fileSystemName(int fileSystem)
{
    static const QString names[] = {QStringLiteral("NTFS"), QStringLiteral("FAT"),
                                    QStringLiteral("UDF"),  QStringLiteral("exFAT"),
                                    QStringLiteral("ext4"), QStringLiteral("ISO9660")};
    static const QString none;
    return fileSystem >= 0 && fileSystem < int(std::size(names)) ? names[fileSystem] : none;
}

QString fileSystemTitle(int fileSystem)
{
    if (fileSystem == FAT)
        return QStringLiteral("FAT32");
    if (fileSystem == ISO9660)
        return QStringLiteral("ISO 9660");
    return fileSystemName(fileSystem);
}

int fileSystemOfName(const QString& word)
{
    // FUSE types (fuseblk) say nothing of what lies underneath.
    static const struct
    {
        const char* word;
        int fileSystem;
    } aliases[] = {
        {"ntfs3", NTFS}, {"ntfs-3g", NTFS}, {"fat32", FAT},
        {"vfat", FAT},   {"msdos", FAT},    {"iso", ISO9660},
    };
    for (int fs = 0; !fileSystemName(fs).isEmpty(); ++fs)
        if (word.compare(fileSystemName(fs), Qt::CaseInsensitive) == 0)
            return fs;
    for (const auto& a : aliases)
        if (word.compare(QLatin1String(a.word), Qt::CaseInsensitive) == 0)
            return a.fileSystem;
    return -1;
}

void DispenseQueue::push(const EntryPos& pos)
{
    m_heap.push_back(pos);
    std::push_heap(m_heap.begin(), m_heap.end());
}

void DispenseQueue::pop()
{
    std::pop_heap(m_heap.begin(), m_heap.end());
    m_heap.pop_back();
}
