// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where a copy goes: a folder on the target volume, and what names that
// volume, so that a run after a remount finds the journal of the one before
// and a check does not take another volume at the same path for the target.
struct CopyDestination
{
    QString folder;
    QString volumeId;   // the volume's identity (its UUID, say); empty: the folder's device
    QString volumeRoot; // its mount point; empty: the folder's path counts from /

    // The journal of copies into this place (see CopyJournal); device: the
    // folder's, used when volumeId is empty.
    QString journalPath(quint64 device) const;
};
