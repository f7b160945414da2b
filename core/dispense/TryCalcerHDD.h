// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/dispense/TryCalcerProto.h"

// Placement on a hard-disk volume, NTFS or FAT32, counting what the file
// system itself needs besides the files' data.
//
// NTFS: a file's data takes no cluster while it fits into its 1 KiB file
// record; every file and folder takes a record and its share of an index
// block in its folder; a folder whose index outgrows its record takes an
// index block. Counted in units of at most a record, so that small entries
// are not rounded up to whole large clusters. The capacity holds back what
// the volume's own structures grow by.
//
// FAT32: a folder is a file of 32-byte entries, one for the short name and
// one per 13 characters of the long name for each child; the target folder
// grows by the entries' names (shared by the selection). An entry holding a
// file of 4 GiB or more, or a folder of more than 65,536 entries, is never
// placed, since FAT32 cannot store it; a plan whose entries would take the
// target folder past that many leaves out its smallest ones.
class TryCalcerHDD : public TryCalcerProto
{
public:
    TryCalcerHDD(quint64 blockSize, quint64 availableBlocks, bool fat32 = false);

    // Clusters an NTFS volume holds back for its own structures.
    static quint64 ntfsReserve(quint64 clusterSize);
    // The largest NTFS file that stays in its record, for a name of length.
    static quint64 ntfsResidentLimit(quint32 length);
    // Bytes of a large NTFS folder index that a name may take.
    static quint64 ntfsIndexShare(quint32 nameLength);

    void beginListing(const ItemName& own) override;
    void onName(const ItemName& name) override;

protected:
    quint64 nameWeight(const ItemName& name) const override;
    void costName(const ItemName& name, bool top) override;
    void costFile(quint64 size, const ItemName& name) override;
    void costFolder(const Listing& l) override;
    void finishItem() override;
    quint64 sharedLimit() const override;

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
    bool m_fat32;
    // Of the folder being listed: its children's NTFS index entries by size
    // in 8-byte steps, and their shares of a large index.
    std::array<quint32, 75> m_entrySizes{};
    quint64 m_shares = 0;
    // Its children in listing order, while their names fit one index block.
    std::vector<Child> m_children;
    std::string m_names;
    quint64 m_childBytes = 0;
};
