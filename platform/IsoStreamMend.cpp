// SPDX-License-Identifier: GPL-3.0-or-later
#define LIBISOFS_WITHOUT_LIBBURN
#include "platform/IsoStreamMend.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <libisofs/libisofs.h>

#include "core/Log.h"

namespace {

constexpr int B = 2048;

quint32 le32(const unsigned char* p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

} // namespace

// The C callbacks of the stream.
struct IsoStreamMendAccess
{
    static IsoStreamMend* of(burn_source* s) { return static_cast<IsoStreamMend*>(s->data); }
    static int read(burn_source* s, unsigned char* buffer, int size)
    {
        return of(s)->read(buffer, size);
    }
    static off_t size(burn_source* s) { return of(s)->m_inner->get_size(of(s)->m_inner); }
    static int setSize(burn_source* s, off_t size)
    {
        burn_source* in = of(s)->m_inner;
        return in->set_size ? in->set_size(in, size) : 0;
    }
    static void free(burn_source* s) { delete of(s); }
    static int cancel(burn_source* s)
    {
        burn_source* in = of(s)->m_inner;
        return in->version > 0 && in->cancel ? in->cancel(in) : 1;
    }
};

burn_source* IsoStreamMend::wrap(burn_source* inner, quint32 startBlock)
{
    auto* s = static_cast<burn_source*>(std::calloc(1, sizeof(burn_source)));
    if (!s)
        return nullptr;
    s->refcount = 1;
    s->get_size = IsoStreamMendAccess::size;
    s->set_size = IsoStreamMendAccess::setSize;
    s->free_data = IsoStreamMendAccess::free;
    s->data = new IsoStreamMend(inner, startBlock);
    s->version = 1;
    s->read_xt = IsoStreamMendAccess::read;
    s->cancel = IsoStreamMendAccess::cancel;
    return s;
}

quint64 IsoStreamMend::addedBlocks(burn_source* mended)
{
    return IsoStreamMendAccess::of(mended)->m_added;
}

QString IsoStreamMend::failure(burn_source* mended)
{
    return IsoStreamMendAccess::of(mended)->m_failure;
}

bool IsoStreamMend::treePassed(burn_source* mended)
{
    return IsoStreamMendAccess::of(mended)->m_phase == Rest;
}

IsoStreamMend::IsoStreamMend(burn_source* inner, quint32 startBlock)
    : m_inner(inner), m_start(startBlock)
{
}

IsoStreamMend::~IsoStreamMend()
{
    if (m_inner->free_data)
        m_inner->free_data(m_inner);
    std::free(m_inner);
}

bool IsoStreamMend::fail(const QString& why)
{
    if (m_failure.isEmpty())
        m_failure = why;
    return false;
}

int IsoStreamMend::read(unsigned char* buffer, int size)
{
    int given = 0;
    unsigned char block[B];
    while (given < size && m_failure.isEmpty()) {
        if (m_queue.empty()) {
            if (m_eof)
                break;
            const int n = m_inner->read_xt(m_inner, block, B);
            if (n == B) {
                take(block);
                continue;
            }
            if (n != 0)
                fail(QCoreApplication::translate("IsoStreamMend",
                                                 "libisofs could not make the image"));
            m_eof = true;
            // The image must end where libisofs said it would.
            const quint64 announced = quint64(m_inner->get_size(m_inner)) / B;
            if (m_in + m_added != announced)
                fail(QCoreApplication::translate("IsoStreamMend",
                                                 "The image ended after %1 of %2 blocks")
                         .arg(m_in + m_added)
                         .arg(announced));
            continue;
        }
        std::vector<unsigned char>& front = m_queue.front();
        const int n = std::min<int>(size - given, int(front.size()));
        std::memcpy(buffer + given, front.data(), std::size_t(n));
        front.erase(front.begin(), front.begin() + n);
        given += n;
        if (front.empty()) {
            m_queue.pop_front();
            ++m_out;
        }
    }
    return given > 0 || m_failure.isEmpty() ? given : -1;
}

bool IsoStreamMend::take(const unsigned char* block)
{
    // Where this block lands in the mended image.
    quint32 at = quint32(m_start + m_in + m_added);
    if (m_phase == Head && m_in == 16) {
        if (block[0] != 1 || std::memcmp(block + 1, "CD001", 5) != 0)
            return fail(QCoreApplication::translate("IsoStreamMend",
                                                    "The image has no ISO 9660 volume descriptor"));
        m_root = le32(block + 156 + 2);
        m_folders[m_root] = le32(block + 156 + 10);
        m_pathTable = le32(block + 140);
    } else if (m_phase == Head && m_in > 16 && at == m_root) {
        m_phase = Tree;
    }
    while (m_phase == Tree) {
        if (at < m_folderEnd) {
            parseRecords(block);
            break;
        }
        const auto folder = m_folders.find(at);
        if (folder != m_folders.end()) {
            m_folderEnd = at + (folder->second + B - 1) / B;
            m_folders.erase(folder);
            parseRecords(block);
            break;
        }
        if (m_areas.erase(at)) {
            parseFields(block, 0, B);
            break;
        }
        if (at == m_pathTable) {
            m_phase = Rest;
            break;
        }
        // Between two structures: libisofs wrote fewer blocks than it
        // counted for the folder before.
        const quint32 next = nextStart();
        if (next <= at || !m_areas.empty())
            return fail(QCoreApplication::translate("IsoStreamMend",
                                                    "The image's folders do not add up at block %1")
                            .arg(at));
        qCDebug(qmLog) << "libisofs left out" << next - at << "blocks at" << at << "; put in";
        m_queue.insert(m_queue.end(), next - at, std::vector<unsigned char>(B, 0));
        m_added += next - at;
        at = next;
    }
    m_queue.emplace_back(block, block + B);
    ++m_in;
    return true;
}

quint32 IsoStreamMend::nextStart() const
{
    return m_folders.empty() ? m_pathTable : std::min(m_folders.begin()->first, m_pathTable);
}

void IsoStreamMend::parseRecords(const unsigned char* b)
{
    for (int o = 0; o + 34 <= B;) {
        const int length = b[o];
        if (length < 34 || o + length > B)
            break; // the rest of the block is empty
        const int idLength = b[o + 32];
        const bool self = idLength == 1 && (b[o + 33] == 0 || b[o + 33] == 1);
        if ((b[o + 25] & 2) && !self)
            m_folders[le32(b + o + 2)] = le32(b + o + 10);
        parseFields(b, o + 33 + idLength + (idLength % 2 ? 0 : 1), o + length);
        o += length;
    }
}

// System use fields: a CE announces a block of the continuation area.
void IsoStreamMend::parseFields(const unsigned char* b, int from, int to)
{
    for (int o = from; o + 4 <= to;) {
        const int length = b[o + 2];
        if (length < 4 || o + length > to)
            break;
        if (b[o] == 'C' && b[o + 1] == 'E' && length >= 28)
            m_areas.insert(le32(b + o + 4));
        o += length;
    }
}
