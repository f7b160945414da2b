// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Recorder.h"

#include "core/dispense/TargetDiscovery.h"

QString discStateMessage(DiscState::Status status)
{
    switch (status) {
    case DiscState::Writable:
        return QString();
    case DiscState::NoRecorder:
        return QStringLiteral("No recorder is connected there");
    case DiscState::Busy:
        return QStringLiteral("The drive is busy; try again when the other program is done");
    case DiscState::NoDisc:
        return QStringLiteral("No disc in the recorder");
    case DiscState::Closed:
        return QStringLiteral("The disc in the recorder is closed");
    case DiscState::NotWritable:
        return QStringLiteral("No writable disc in the recorder");
    case DiscState::Unreadable:
        break;
    }
    return QStringLiteral("The drive cannot be read");
}

void probeRecorder(Recorder& recorder, const QString& address, Target& target)
{
    const DiscState disc = recorder.inspect(address);
    if (disc.status != DiscState::Writable)
        throw TargetError{discStateMessage(disc.status)};
    // What the program's own writer writes, and Linux burners with it.
    if (target.FileSystem != UDF)
        target.FileSystem = ISO9660;
    target.BlockSize = 2048;
    target.AvailableBlocks = disc.freeBytes / 2048;
}
