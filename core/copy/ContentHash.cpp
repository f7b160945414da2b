// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/ContentHash.h"

#include <new>

#include <xxhash.h>

QByteArray Hash128::hex() const
{
    XXH128_hash_t h;
    h.high64 = high;
    h.low64 = low;
    XXH128_canonical_t c;
    XXH128_canonicalFromHash(&c, h);
    return QByteArray(reinterpret_cast<const char*>(c.digest), int(sizeof c.digest)).toHex();
}

bool Hash128::fromHex(const QByteArray& text, Hash128& out)
{
    if (text.size() != 32)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    bool ok1 = false, ok2 = false;
    out.high = text.left(16).toULongLong(&ok1, 16);
    out.low = text.mid(16).toULongLong(&ok2, 16);
    return ok1 && ok2;
}

ContentHash::ContentHash() : m_state(XXH3_createState())
{
    if (!m_state)
        throw std::bad_alloc();
    reset();
}

ContentHash::~ContentHash()
{
    XXH3_freeState(static_cast<XXH3_state_t*>(m_state));
}

void ContentHash::reset()
{
    XXH3_128bits_reset(static_cast<XXH3_state_t*>(m_state));
}

void ContentHash::add(const void* data, std::size_t size)
{
    XXH3_128bits_update(static_cast<XXH3_state_t*>(m_state), data, size);
}

Hash128 ContentHash::digest() const
{
    const XXH128_hash_t h = XXH3_128bits_digest(static_cast<const XXH3_state_t*>(m_state));
    return Hash128{h.high64, h.low64};
}
