#include "core/dispense/TryCalcerUDF.h"

#include "core/dispense/UdfMeta.h"

// A disc with no more than the reserve offers nothing (not a wrapped huge
// count).
TryCalcerUDF::TryCalcerUDF(quint64 blockSize, quint64 availableBlocks)
    : TryCalcerProto(blockSize,
                     availableBlocks > ReservedBlocks ? availableBlocks - ReservedBlocks : 0)
{
}

quint64 TryCalcerUDF::costOf(const PlaceItem& it) const
{
    const PlaceItem& s = m_chosen;
    return it.blocks +
           quint64(udfMetaBlocks(qint32(s.folders + it.folders), qint32(s.files + it.files)) -
                   udfMetaBlocks(qint32(s.folders), qint32(s.files)));
}

quint64 TryCalcerUDF::gainOf(const PlaceItem& it) const
{
    const PlaceItem& s = m_chosen;
    return it.blocks +
           quint64(udfMetaBlocks(qint32(s.folders), qint32(s.files)) -
                   udfMetaBlocks(qint32(s.folders - it.folders), qint32(s.files - it.files)));
}
