// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

struct Target;
class TryCalcerProto;

// The calculator for target's file system (NTFS, FAT32, UDF, exFAT, ext4,
// ISO 9660), with what its file system needs besides the files' data. None
// for an unknown file system or a block size it cannot have.
std::unique_ptr<TryCalcerProto> createTryCalcer(const Target& target);
