// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <vector>

#include "core/copy/ContentHash.h"

class HashPipe;

// Reads a copy back and judges it against what was written: as many bytes,
// and the same XXH3-128 hash. The one judgement of a copy's content, for
// copies onto volumes (CopyEngine) and for files read back from a disc.
namespace ReadBack {

// Reads up to size into data; the bytes read, 0 at the end, -1 with errno set.
using Reader = std::function<qint64(char* data, std::size_t size)>;

// What a read found.
struct Sum
{
    quint64 bytes = 0;
    Hash128 hash;
    int error = 0;        // errno of a read that failed
    bool stopped = false; // cancel was seen; bytes and hash are partial
};

// Reads through read until it ends or limit bytes are in, hashing with hash
// while the next block is read into the other half of buffers (two blocks of
// block bytes, made so when smaller); tick gets the bytes of each block.
Sum read(const Reader& read, quint64 limit, HashPipe& hash, std::vector<char>& buffers,
         std::size_t block, const std::function<void(quint64)>& tick,
         const std::atomic_bool& cancel);

enum Verdict
{
    Equal,
    Shorter,  // fewer bytes came back than were written
    Different // as many bytes, but others
};
// What was read back of a copy, against the size and hash written.
Verdict judge(const Sum& copy, quint64 size, const Hash128& written);

} // namespace ReadBack
