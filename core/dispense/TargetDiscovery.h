// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "core/model/Entry.h"

// Raised by probeTarget when a target cannot be used; carries the text to show
// ("Unsupported file system", "No writable disc in the recorder", ...).
struct TargetError
{
    QString message;
};

// The roots a target can be picked from: mount points of disk volumes in
// ascending order, then the optical recorders' device paths.
void listDriveRoots(QStringList& roots);

// Fills FileSystem, BlockSize and AvailableBlocks for the volume or recorder
// holding target.Path (Path itself is kept), and a volume's Volume. Returns
// true when every field was probed; throws TargetError with a message when the
// target cannot be used, or when it names a Volume that is no longer there
// (not mounted, or another volume in its place).
bool probeTarget(bool wholeVolume, Target& target);
