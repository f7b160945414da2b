// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/disc/DiscWriter.h"

// Writes the image that IsoImageBuilder makes, mended by IsoStreamMend, to
// an image file (renamed into place once whole) or with libburn to a
// recorder or stdio pseudo-drive, in the write mode the medium needs; then
// reads it back with DiscReadBack.
class IsoDiscWriter : public DiscWriter
{
public:
    DiscResult write(const DiscJob& job, const std::function<void(const DiscProgress&)>& progress,
                     const std::atomic_bool& cancel) override;
};
