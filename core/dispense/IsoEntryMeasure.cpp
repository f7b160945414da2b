// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/IsoEntryMeasure.h"

#include <climits>

#include <unistd.h>

#include <QFile>
#include <QFileInfo>

PlaceItem IsoEntryMeasure::measure(const QString& path, WalkEnd* end)
{
    m_item = PlaceItem();
    m_miscounted = 0;
    m_top = true;
    quint64 size = 0;
    const ItemKind kind = probeItem(path, size);
    if (end)
        *end = kind == ItemKind::Missing ? WalkEnd::Missing : WalkEnd::Complete;
    if (kind == ItemKind::File) {
        IsoMeta::Item it;
        it.name = QFile::encodeName(QFileInfo(path).fileName());
        it.size = size;
        char target[PATH_MAX];
        const QByteArray native = QFile::encodeName(path);
        const ssize_t n = ::readlink(native.constData(), target, sizeof target);
        if (n > 0 && !QFileInfo::exists(path)) {
            it.link = true;
            it.target = QByteArray(target, int(n));
        }
        m_item.blocks = it.link ? 0 : IsoMeta::dataBlocks(size);
        m_item.shared = IsoMeta::rootItemBytes(it);
    } else if (kind == ItemKind::Folder) {
        const WalkEnd e = walkFolder(*this, path);
        if (end)
            *end = e;
    }
    return m_item;
}

void IsoEntryMeasure::beginListing(const ItemName& own)
{
    if (m_top) {
        m_top = false;
        IsoMeta::Item it;
        it.name = QByteArray(own.bytes, int(own.size));
        it.folder = true;
        m_item.shared += IsoMeta::rootItemBytes(it);
    }
    m_listing.clear();
}

void IsoEntryMeasure::onName(const ItemName& name)
{
    IsoMeta::Item it;
    it.name = QByteArray(name.bytes, int(name.size));
    it.folder = name.folder;
    if (name.linkTarget) {
        it.link = true;
        it.target = QByteArray(name.linkTarget, int(name.linkSize));
    }
    m_listing.push_back(std::move(it));
}

void IsoEntryMeasure::onFile(const quint64& size)
{
    if (m_listing.empty() || m_listing.back().link)
        return;
    m_listing.back().size = size;
    m_item.blocks += IsoMeta::dataBlocks(size);
}

void IsoEntryMeasure::endListing()
{
    const IsoMeta::FolderCost c = IsoMeta::folderCost(m_listing);
    m_item.blocks += c.blocks;
    m_item.shared += c.pathTableBytes;
    m_miscounted += c.miscounted;
}
