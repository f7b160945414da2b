#pragma once

#include "core/dispense/PlaceItem.h"
#include "core/dispense/TryCalcerProto.h"

// Placement on a hard-disk volume (NTFS, FAT32): an entry costs the blocks of
// its files. On FAT32 every folder takes a block too, and an entry holding a
// file of 4 GiB or more is never placed, since FAT32 cannot store it.
class TryCalcerHDD : public TryCalcerProto
{
public:
    TryCalcerHDD(quint64 blockSize, quint64 availableBlocks, bool fat32 = false);

    void onFolder() override;
    void onFile(const quint64& size) override;
    void addItem(const QString& path, unsigned index) override;
    void prepare() override;
    void beginLevel(qint64 capacity) override;
    bool nextTry(const std::atomic_bool& stop) override;
    unsigned itemIndex(int position) const override;
    void beginItem() override;
    void endItem(unsigned index) override;

protected:
    void fillItems(std::vector<FillItem>& out) const override;
    bool countsMetadata() const override { return false; }

private:
    std::vector<PlaceItem> m_pending; // max-heap on block count
    std::vector<PlaceItem> m_ordered;
    quint64 m_blocks = 0;
    bool m_fat32;
    bool m_tooLarge = false; // a file FAT32 cannot hold
};
