// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

struct Target;
class TryCalcerProto;

// The calculator for target's file system: NTFS and FAT32 by blocks of files,
// UDF and ISO 9660 with metadata. None for an unknown file system or a block size of 0.
std::unique_ptr<TryCalcerProto> createTryCalcer(const Target& target);
