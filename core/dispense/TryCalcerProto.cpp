// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerProto.h"

#include <algorithm>
#include <climits>
#include <limits>

#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "core/copy/CopyManifest.h"
#include "core/dispense/FillSearch.h"
#include "core/dispense/Walk.h"
#include "core/model/Entry.h"

TryCalcerProto::TryCalcerProto(std::unique_ptr<FsCost> cost)
    : m_cost(std::move(cost)), m_ledger(m_cost->sharedBlock(), m_cost->sharedStart()),
      m_capacity(qint64(std::min<quint64>(m_cost->capacity(), std::numeric_limits<qint64>::max()))),
      m_free(m_capacity)
{
}

ItemName TryCalcerProto::nameOf(const QString& name, const QByteArray& bytes)
{
    ItemName n;
    n.length = quint32(name.size());
    for (QChar c : name)
        n.wide = n.wide || c.unicode() > 0xFF;
    n.bytes = bytes.constData();
    n.size = quint32(bytes.size());
    return n;
}

void TryCalcerProto::onFile(const quint64& size)
{
    m_cost->costFile(size, m_lastName);
    if (m_tick)
        m_tick();
}

void TryCalcerProto::ListedPath::add(const char* text, quint32 size)
{
    bytes += size;
    for (quint32 i = 0; i < size; ++i) {
        const char c = text[i];
        if (c == '\\' || c == '\n' || c == '\r') {
            ++escapable;
            breaks = breaks || c != '\\';
        }
    }
}

// Names given without their bytes (measures made by hand) count a byte a unit.
void TryCalcerProto::ListedPath::addName(const ItemName& name)
{
    if (name.bytes)
        add(name.bytes, name.size);
    else
        bytes += name.length;
}

void TryCalcerProto::costManifestLine(ListedPath path, const ItemName& name)
{
    if (path.bytes > 0)
        path.add("/", 1);
    path.addName(name);
    m_cost->costManifestLine(CopyManifest::lineBytes(path.bytes, path.escapable, path.breaks));
}

void TryCalcerProto::beginListing(const ItemName& own)
{
    const bool start = m_atStart;
    if (m_atStart) {
        m_atStart = false;
        m_cost->costName(own, true);
        m_entryPath = ListedPath();
        m_entryPath.addName(own);
    }
    m_folderPath = m_entryPath;
    if (own.below) {
        m_folderPath.add(own.below, own.belowSize);
    } else if (!start) {
        // A listing made by hand: taken as a folder in the entry's own.
        m_folderPath.add("/", 1);
        m_folderPath.addName(own);
    }
    m_cost->beginListing(own);
    m_listing = FolderListing();
    m_listing.own = own;
    if (m_tick)
        m_tick();
}

void TryCalcerProto::onName(const ItemName& name)
{
    m_lastName = name;
    // Every file the copy writes has a line; a link that leads nowhere is
    // copied as a link.
    if (!name.folder && !name.linkTarget)
        costManifestLine(m_folderPath, name);
    m_listing.count += 1;
    m_listing.weight += m_cost->nameWeight(name);
    m_cost->costName(name, false);
}

void TryCalcerProto::endListing()
{
    m_cost->costFolder(m_listing);
}

void TryCalcerProto::beginItem()
{
    m_cost->beginItem();
    m_walkStopped = false;
    m_atStart = true;
    m_lastName = ItemName();
}

void TryCalcerProto::finishItem(unsigned index)
{
    m_cost->endItem(index);
    // A walk cut short measured the entry too small: never place it.
    if (m_walkStopped)
        m_cost->refuse(FsCost::WalkCut);
}

void TryCalcerProto::endItem(unsigned index)
{
    finishItem(index);
    if (m_cost->refusal() == FsCost::Placeable)
        m_store.queue(m_cost->item());
}

void TryCalcerProto::measureItem(const QString& path, unsigned index)
{
    beginItem();
    measure(path);
    finishItem(index);
}

void TryCalcerProto::addItem(const QString& path, unsigned index)
{
    beginItem();
    measure(path);
    endItem(index);
}

void TryCalcerProto::measure(const QString& path)
{
    m_walkStopped = false;
    m_itemIssue = NoSizeIssue;
    quint64 size = 0;
    switch (probeItem(path, size)) {
    case ItemKind::File: {
        m_atStart = false;
        const QFileInfo info(path);
        m_ownName = QFile::encodeName(info.fileName());
        m_lastName = nameOf(info.fileName(), m_ownName);
        // A link that leads nowhere is copied as the link it is.
        if (info.isSymLink() && !info.exists()) {
            char target[PATH_MAX];
            const ssize_t n =
                ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
            m_ownLink = QByteArray(target, n > 0 ? int(n) : 0);
            m_lastName.linkTarget = m_ownLink.constData();
            m_lastName.linkSize = quint32(m_ownLink.size());
        }
        m_cost->costName(m_lastName, true);
        m_cost->costFile(size, m_lastName);
        if (!m_lastName.linkTarget)
            costManifestLine(ListedPath(), m_lastName);
        m_lastName = ItemName(); // its bytes go with this scope
        return;
    }
    case ItemKind::Folder:
        break;
    case ItemKind::Missing:
        m_itemIssue = sizeIssueOf(WalkEnd::Missing);
        m_cost->refuse(FsCost::SizeUnknown);
        return;
    case ItemKind::Other:
        // A device or pipe: nothing that can be copied, so never planned.
        m_cost->refuse(FsCost::NotCopyable);
        return;
    }
    const WalkEnd end = walkFolder(*this, path, m_walkStop);
    m_walkStopped = end == WalkEnd::Stopped;
    m_itemIssue = sizeIssueOf(end);
    // Planned with a size that is too small, it could overfill the target.
    if (m_itemIssue != NoSizeIssue)
        m_cost->refuse(FsCost::SizeUnknown);
}

void TryCalcerProto::select(std::size_t p)
{
    const PlaceItem& it = m_store.ordered()[p];
    m_selection[p] = true;
    m_free -= qint64(m_ledger.costOf(it));
    m_ledger.add(it);
}

void TryCalcerProto::deselect(std::size_t p)
{
    const PlaceItem& it = m_store.ordered()[p];
    m_selection[p] = false;
    m_free += qint64(m_ledger.gainOf(it));
    m_ledger.remove(it);
}

void TryCalcerProto::useSelection(const std::vector<unsigned>& indices)
{
    for (std::size_t p = 0; p < m_selection.size(); ++p)
        if (m_selection[p])
            deselect(p);
    std::vector<char> wanted;
    for (unsigned i : indices) {
        wanted.resize(std::max<std::size_t>(wanted.size(), i + 1));
        wanted[i] = 1;
    }
    const std::vector<PlaceItem>& items = m_store.ordered();
    for (std::size_t p = 0; p < items.size(); ++p)
        if (items[p].index < wanted.size() && wanted[items[p].index])
            select(p);
}

void TryCalcerProto::prepare()
{
    m_store.order();
    const std::vector<PlaceItem>& items = m_store.ordered();
    m_selection.assign(items.size(), false);
    m_free = m_capacity;
    m_ledger.clearSelection();
    for (std::size_t p = 0; p < items.size(); ++p)
        if (m_ledger.costOf(items[p]) <= quint64(m_free))
            select(p);
}

void TryCalcerProto::getSelection(std::vector<unsigned>& v) const
{
    v.clear();
    for (std::size_t p = 0; p < m_selection.size(); ++p)
        if (m_selection[p])
            v.push_back(m_store.ordered()[p].index);
}

bool TryCalcerProto::keepMediumLimits()
{
    bool dropped = false;
    // Largest first: the smallest selected items are last.
    for (std::size_t p = m_selection.size(); p-- > 0;) {
        if (m_cost->withinLimits(m_ledger.total()))
            break;
        if (m_selection[p]) {
            deselect(p);
            dropped = true;
        }
    }
    return dropped;
}

void TryCalcerProto::beginLevel(qint64 capacity)
{
    m_ledger.closeLevel();
    m_store.clear();
    m_selection.clear();
    m_capacity = capacity;
    m_free = capacity;
}

bool TryCalcerProto::nextTry(const std::atomic_bool& stop)
{
    const int n = int(m_selection.size());
    int j = 0;
    while (j < n) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        const int p = n - 1 - j;
        if (m_selection[p]) {
            deselect(p);
            if (m_free >= 0)
                return true;
            j = 0; // still too large: count down from the lowest digit again
        } else {
            select(p);
            ++j;
        }
    }
    return false;
}

FillSearch TryCalcerProto::levelSearch() const
{
    const std::vector<PlaceItem>& ordered = m_store.ordered();
    const quint64 sharedBlock = m_ledger.sharedBlock();
    std::vector<FillItem> items;
    items.reserve(ordered.size());
    for (const PlaceItem& it : ordered)
        items.push_back(FillItem{it.blocks, sharedBlock ? it.shared : 0});
    return FillSearch(std::move(items), m_capacity, sharedBlock, m_ledger.base().shared);
}

void TryCalcerProto::takeSelection(const std::vector<char>& flags, qint64 free)
{
    const std::vector<PlaceItem>& items = m_store.ordered();
    m_ledger.clearSelection();
    for (std::size_t p = 0; p < flags.size(); ++p) {
        m_selection[p] = flags[p] != 0;
        if (m_selection[p])
            m_ledger.add(items[p]);
    }
    m_free = free;
}

bool TryCalcerProto::findBetter(const std::atomic_bool& stop,
                                const std::function<bool(qint64)>& improved)
{
    return levelSearch().run(m_free, stop,
                             [this, &improved](const std::vector<char>& sel, qint64 free) {
                                 takeSelection(sel, free);
                                 return improved(free);
                             });
}
