// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "core/copy/CopyDestination.h"

// Names the volume a folder lies on, so that a copy's journal and the check
// of its content find the same volume again after a remount, and never take
// another volume mounted at the same path for it. Implemented by the
// platform layer (platform/VolumeIdentity_linux.cpp).
class VolumeIdentity
{
public:
    // folder with the identity of its volume: the file system's UUID where
    // its device or image can tell it, else the mount's type, source and
    // device, and when its root was made where the file system keeps that.
    static CopyDestination of(const QString& folder);
};
