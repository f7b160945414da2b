// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QString>

#include "core/dispense/FilesPlaceWalker.h"
#include "core/dispense/IsoMeta.h"
#include "core/dispense/PlaceItem.h"
#include "core/dispense/Walk.h"

// Measures an entry placed at the root of an ISO 9660 disc (IsoMeta): the
// blocks of its folders' structures and its files' data, and what it adds
// to the root's structures and the path tables, which the selection shares.
// The whole image then takes IsoMeta::fixedBlocks(), the sum of the entries'
// blocks, and the shared bytes with IsoMeta::rootBaseBytes() in whole blocks.
class IsoEntryMeasure : public FilesPlaceWalker
{
public:
    // Measures the file or folder at path (links followed, as the disc
    // writer does); the result's index is left 0.
    PlaceItem measure(const QString& path, WalkEnd* end = nullptr);
    // Folders of the last entry that libisofs 1.5.4 miscounts.
    int miscountedFolders() const { return m_miscounted; }

    void onFolder() override {}
    void onFile(const quint64& size) override;
    bool countsNames() const override { return true; }
    void beginListing(const ItemName& own) override;
    void onName(const ItemName& name) override;
    void endListing() override;

private:
    PlaceItem m_item;
    std::vector<IsoMeta::Item> m_listing;
    bool m_top = false;
    int m_miscounted = 0;
};
