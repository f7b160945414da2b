// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/FsCost.h"

// What entries cost on a FAT32 volume: a file its clusters; a folder is a
// file of 32-byte entries, its own "." and "..", and for each child one for
// the short name and one per 13 characters of the long name; the target
// folder grows by the entries' names, a store the selection shares. An entry
// holding a file of 4 GiB or more, or a folder of more than 65,536 entries,
// is refused, since FAT32 cannot store it; a plan whose entries would take
// the target folder past that many leaves out its smallest ones. The copy's
// checksum list shares the target folder's store.
class Fat32Cost : public FsCost
{
public:
    Fat32Cost(quint64 clusterSize, quint64 availableClusters);

    bool withinLimits(const PlaceItem& totals) const override;
    quint64 nameWeight(const ItemName& name) const override;
    void costName(const ItemName& name, bool top) override;
    void costFile(quint64 size, const ItemName& name) override;
    void costFolder(const FolderListing& l) override;
    void costManifestLine(quint64 bytes) override;
};
