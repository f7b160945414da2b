#pragma once

#include "core/dispense/TryCalcerProto.h"

// Placement on an optical disc written as UDF: an entry costs the blocks of
// its files plus what the metadata of the whole selection grows by.
class TryCalcerUDF : public TryCalcerProto
{
public:
    // Blocks every disc holds back for the file system itself.
    static constexpr quint64 ReservedBlocks = 262;

    TryCalcerUDF(quint64 blockSize, quint64 availableBlocks);

protected:
    quint64 costOf(const PlaceItem& it) const override;
    quint64 gainOf(const PlaceItem& it) const override;
    bool countsMetadata() const override { return true; }
};
