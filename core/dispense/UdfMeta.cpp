// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/UdfMeta.h"

namespace UdfMeta {

// A file identifier: 38 bytes, the name with its compression byte (8 bits a
// character within Latin-1, otherwise 16), padded to 4 bytes.
quint64 nameBytes(const ItemName& name)
{
    const quint64 bytes = 38 + 1 + quint64(name.length) * (name.wide ? 2 : 1);
    return (bytes + 3) / 4 * 4;
}

quint64 folderBlocks(quint64 nameBytes)
{
    const quint64 parent = 40;
    return 1 + (parent + nameBytes + BlockSize - 1) / BlockSize;
}

} // namespace UdfMeta
