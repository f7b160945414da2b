// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/ExfatMeta.h"

#include <algorithm>
#include <cstring>

namespace ExfatMeta {

namespace {

quint64 ceilDiv(quint64 a, quint64 b)
{
    return b ? a / b + (a % b != 0) : 0;
}

} // namespace

quint64 entrySet(quint32 nameLength)
{
    return 2 + ceilDiv(std::max<quint32>(nameLength, 1), 15);
}

quint64 fileClusters(quint64 size, quint64 clusterSize)
{
    return ceilDiv(size, clusterSize);
}

quint64 folderClusters(quint64 entries, quint64 clusterSize)
{
    return std::max<quint64>(1, ceilDiv(entries * EntryBytes, clusterSize));
}

bool folderFits(quint64 entries)
{
    return entries <= FolderEntryLimit;
}

quint64 targetFolderBytes(quint32 nameLength)
{
    return EntryBytes * entrySet(nameLength);
}

bool nameStorable(const char* bytes, quint32 size)
{
    // Bytes of multi-byte UTF-8 sequences are never below 0x80.
    for (quint32 i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x20 || std::strchr("\"*/:<>?\\|", c))
            return false;
    }
    return true;
}

} // namespace ExfatMeta
