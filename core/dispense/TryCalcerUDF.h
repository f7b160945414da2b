#pragma once

#include "core/dispense/PlaceItem.h"
#include "core/dispense/TryCalcerProto.h"

// Placement on an optical disc written as UDF: an entry costs the blocks of
// its files plus what the metadata of the whole selection grows by.
class TryCalcerUDF : public TryCalcerProto
{
public:
    // Blocks every disc holds back for the file system itself.
    static constexpr quint64 ReservedBlocks = 262;

    TryCalcerUDF(quint64 blockSize, quint64 availableBlocks);

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
    bool countsMetadata() const override { return true; }
    void selectionSet() override;

private:
    qint64 metaNow() const;
    quint64 costOf(const UdfPlaceItem& it) const;
    quint64 gainOf(const UdfPlaceItem& it) const;

    std::vector<UdfPlaceItem> m_pending; // max-heap on block count
    std::vector<UdfPlaceItem> m_ordered;
    // While measuring: the entry's counts; from prepare on: the selection's.
    quint64 m_blocks = 0;
    quint32 m_files = 0;
    quint32 m_folders = 0;
};
