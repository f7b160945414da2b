// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/ReadBack.h"

#include <algorithm>
#include <cerrno>

#include "core/copy/HashPipe.h"

namespace ReadBack {

Sum read(const Reader& read, quint64 limit, HashPipe& hash, std::vector<char>& buffers,
         std::size_t block, const std::function<void(quint64)>& tick,
         const std::atomic_bool& cancel)
{
    Sum s;
    if (buffers.size() < 2 * block)
        buffers.resize(2 * block);
    hash.reset();
    for (int k = 0; s.bytes < limit; k ^= 1) {
        if (cancel.load(std::memory_order_relaxed)) {
            s.stopped = true;
            break;
        }
        char* data = buffers.data() + std::size_t(k) * block;
        const qint64 n = read(data, std::size_t(std::min<quint64>(block, limit - s.bytes)));
        if (n < 0)
            s.error = errno ? errno : EIO;
        if (n <= 0)
            break;
        // A file of one block is hashed at once: cheaper than a hand-over.
        if (limit <= block)
            hash.addNow(data, std::size_t(n));
        else
            hash.add(data, std::size_t(n));
        s.bytes += quint64(n);
        if (tick)
            tick(quint64(n));
    }
    s.hash = hash.digest();
    return s;
}

Verdict judge(const Sum& copy, quint64 size, const Hash128& written)
{
    if (copy.bytes != size)
        return Shorter;
    return copy.hash == written ? Equal : Different;
}

} // namespace ReadBack
