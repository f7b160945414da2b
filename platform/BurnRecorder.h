// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Recorder.h"

// A recorder read through libburn, the library under xorriso and cdrskin.
// Grabbing spins the disc up and a busy drive is retried for a few seconds,
// so a call may take that long. Not for two threads at once.
class BurnRecorder : public Recorder
{
public:
    DiscState inspect(const QString& address) override;
};
