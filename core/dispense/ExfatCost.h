// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/FsCost.h"

// What entries cost on an exFAT volume (ExfatMeta): a file its clusters, with
// no 4 GiB limit; a folder a cluster chain of entry sets, one per child, and
// at least a cluster; the target folder grows by the entries' sets, a store
// the selection shares. A name exFAT refuses, or a folder past its 256 MiB of
// entries, refuses the entry. The copy's checksum list shares the target
// folder's store.
class ExfatCost : public FsCost
{
public:
    ExfatCost(quint64 clusterSize, quint64 availableClusters);

    bool withinLimits(const PlaceItem& totals) const override;
    quint64 nameWeight(const ItemName& name) const override;
    void costName(const ItemName& name, bool top) override;
    void costFolder(const FolderListing& l) override;
    void costManifestLine(quint64 bytes) override;
};
