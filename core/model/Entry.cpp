// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/Entry.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include <QCoreApplication>

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
    // exFAT and ext4 are recognised but not planned yet (targetRefusal says so first).
    if ((FileSystem < NTFS || FileSystem > UDF) && FileSystem != ISO9660)
        return QCoreApplication::translate("Target", "Its file system is not one that can be "
                                                     "filled.");
    if (FileSystem == ISO9660 && BlockSize != 2048)
        return QCoreApplication::translate("Target", "ISO 9660 discs have blocks of 2048 bytes, "
                                                     "not %1.")
            .arg(BlockSize);
    const bool powerOfTwo = BlockSize != 0 && (BlockSize & (BlockSize - 1)) == 0;
    if (!powerOfTwo || BlockSize < 512 || BlockSize > (quint64(1) << 21))
        return QCoreApplication::translate("Target", "Its block size of %1 bytes is not a power "
                                                     "of two from 512 bytes to 2 MiB.")
            .arg(BlockSize);
    // So that no block arithmetic overflows.
    if (AvailableBlocks > quint64(std::numeric_limits<qint64>::max()) / BlockSize)
        return QCoreApplication::translate("Target", "Its capacity of %1 blocks of %2 bytes is "
                                                     "8 EiB or more.")
            .arg(AvailableBlocks)
            .arg(BlockSize);
    return QString();
}

const QString& fileSystemName(int fileSystem)
{
    static const QString names[] = {QStringLiteral("NTFS"), QStringLiteral("FAT"),
                                    QStringLiteral("UDF"),  QStringLiteral("exFAT"),
                                    QStringLiteral("ext4"), QStringLiteral("ISO9660")};
    static const QString none;
    return fileSystem >= 0 && fileSystem < int(std::size(names)) ? names[fileSystem] : none;
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
