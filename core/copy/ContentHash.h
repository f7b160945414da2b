// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include <QByteArray>
#include <QtGlobal>

// A 128-bit content digest (XXH3-128), written as xxhsum -H2 writes it: 32
// hexadecimal digits, the high half first.
struct Hash128
{
    quint64 high = 0;
    quint64 low = 0;

    QByteArray hex() const;
    // Reads 32 hexadecimal digits; false for anything else.
    static bool fromHex(const QByteArray& text, Hash128& out);
    bool operator==(const Hash128& o) const { return high == o.high && low == o.low; }
    bool operator!=(const Hash128& o) const { return !(*this == o); }
};

// Hashes a stream of bytes with XXH3-128 as it is read. XXH3 runs at many
// GB/s on one core, so hashing while copying costs next to nothing; it is no
// defence against a forger, which an archive's copy does not need.
class ContentHash
{
public:
    ContentHash();
    ~ContentHash();
    ContentHash(const ContentHash&) = delete;
    ContentHash& operator=(const ContentHash&) = delete;

    void reset();
    void add(const void* data, std::size_t size);
    Hash128 digest() const;

private:
    void* m_state; // XXH3_state_t, kept out of the header
};
