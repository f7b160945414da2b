// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include "core/dispense/FilesPlaceWalker.h"

// What UDF (ECMA-167) writes for files and folders, in 2048-byte blocks and
// bytes.
namespace UdfMeta {

constexpr quint64 BlockSize = 2048;

// The bytes of the identifier that names an item in its folder's directory.
quint64 nameBytes(const ItemName& name);

// Blocks of a folder whose directory holds nameBytes bytes of its children's
// identifiers: its file entry and its directory, which starts with the
// identifier of the parent.
quint64 folderBlocks(quint64 nameBytes);

} // namespace UdfMeta
