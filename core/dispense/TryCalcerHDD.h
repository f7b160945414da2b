#pragma once

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

protected:
    quint64 costOf(const PlaceItem& it) const override { return it.blocks; }
    quint64 gainOf(const PlaceItem& it) const override { return it.blocks; }
    bool countsMetadata() const override { return false; }

private:
    bool m_fat32;
};
