// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "core/model/Entry.h"

// What a recorder says about the disc in it.
struct DiscState
{
    enum Status
    {
        Writable,    // blank or appendable: freeBytes is set
        NoRecorder,  // no drive at that address
        Busy,        // another program holds the drive
        Unreadable,  // the drive cannot be opened or does not answer
        NoDisc,      // the tray is empty
        Closed,      // the disc is finalised
        NotWritable, // a disc the drive cannot write (pressed, unsupported type)
    };
    Status status = Unreadable;
    quint64 freeBytes = 0;
};

// An optical recorder, reached by its burn address ("/dev/sr0", or
// "stdio:/path" for a pseudo-drive over a file).
class Recorder
{
public:
    virtual ~Recorder() = default;
    virtual DiscState inspect(const QString& address) = 0;
};

// The text shown for a disc that cannot be a target; empty for Writable.
QString discStateMessage(DiscState::Status status);

// Fills target with 2048-byte blocks and the disc's free blocks, written as
// ISO 9660 unless it was UDF already (chosen for a burner that writes UDF);
// throws TargetError with the message of the disc's state when it cannot be
// written. Path is kept.
void probeRecorder(Recorder& recorder, const QString& address, Target& target);
