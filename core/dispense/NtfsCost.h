// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/dispense/FsCost.h"

// What entries cost on an NTFS volume: a file's data takes no cluster while
// it fits into its 1 KiB file record; every file and folder takes a record
// and its share of an index block in its folder; a folder whose index
// outgrows its record takes an index block, and may move its security
// descriptor and an attribute list out of it. Counted in units of at most a
// record, so that small entries are not rounded up to whole large clusters.
// The capacity holds back what the volume's own structures grow by, and the
// copy's checksum list.
class NtfsCost : public FsCost
{
public:
    NtfsCost(quint64 clusterSize, quint64 availableClusters);

    // Clusters an NTFS volume holds back for its own structures.
    static quint64 reserve(quint64 clusterSize);
    // The largest file that stays in its record, for a name of length.
    static quint64 residentLimit(quint32 length);
    // Bytes of a large folder index that a name may take.
    static quint64 indexShare(quint32 nameLength);

    quint64 nameWeight(const ItemName& name) const override;
    void costName(const ItemName& name, bool top) override;
    void beginListing(const ItemName& own) override;
    void costFile(quint64 size, const ItemName& name) override;
    void costFolder(const FolderListing& l) override;
    void costManifestLine(quint64 bytes) override;

protected:
    void finishItem() override;

private:
    // What growing a folder's index root may move out of its record.
    struct RootMoves
    {
        bool security = false;
        bool attributeList = false;
        void add(const RootMoves& o)
        {
            security = security || o.security;
            attributeList = attributeList || o.attributeList;
        }
    };
    RootMoves rootMoves(quint64 base) const;
    RootMoves anyOrderMoves(quint64 base) const;
    RootMoves crossing(quint64 base, quint64 before, quint64 entry) const;
    RootMoves inOrder(quint64 base, const std::vector<quint32>& order) const;
    // Bytes the bitmap and allocation of an index block add to the record.
    qint64 movedOut() const;
    // A child of the folder being listed, as the orders of copying tools need it.
    struct Child
    {
        quint64 inode;
        quint32 entry;            // bytes in the index
        quint32 nameAt, nameSize; // in m_names
        bool folder;
    };

    quint64 m_clusterSize;
    quint64 m_perCluster; // units in a cluster
    quint64 m_metaBytes = 0;
    // Of the folder being listed: its children's index entries by size in
    // 8-byte steps, and their shares of a large index.
    std::array<quint32, 75> m_entrySizes{};
    quint64 m_shares = 0;
    // Its children in listing order, while their names fit one index block.
    std::vector<Child> m_children;
    std::string m_names;
    quint64 m_childBytes = 0;
};
