#include "core/dispense/TryCalcerHDD.h"

#include <QFileInfo>

namespace {
// FAT32 stores a file's length in 32 bits.
constexpr quint64 Fat32FileLimit = Q_UINT64_C(1) << 32;
} // namespace

TryCalcerHDD::TryCalcerHDD(quint64 blockSize, quint64 availableBlocks, bool fat32)
    : TryCalcerProto(blockSize, availableBlocks), m_fat32(fat32)
{
}

void TryCalcerHDD::onFolder()
{
    TryCalcerProto::onFolder();
    if (m_fat32)
        m_item.blocks += 1;
}

void TryCalcerHDD::onFile(const quint64& size)
{
    TryCalcerProto::onFile(size);
    if (m_fat32 && size >= Fat32FileLimit)
        m_skipItem = true;
}

void TryCalcerHDD::addItem(const QString& path, unsigned index)
{
    beginItem();
    if (m_fat32 && QFileInfo(path).isDir())
        m_item.blocks += 1; // the entry's own folder
    measure(path);
    endItem(index);
}
