// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Recorder.h"

#include <QCoreApplication>

#include "core/dispense/TargetDiscovery.h"

QString discStateMessage(DiscState::Status status)
{
    switch (status) {
    case DiscState::Writable:
        return QString();
    case DiscState::NoRecorder:
        return QCoreApplication::translate("Recorder", "No recorder is connected there");
    case DiscState::Busy:
        return QCoreApplication::translate(
            "Recorder", "The drive is busy; try again when the other program is done");
    case DiscState::NoDisc:
        return QCoreApplication::translate("Recorder", "No disc in the recorder");
    case DiscState::Closed:
        return QCoreApplication::translate("Recorder", "The disc in the recorder is closed");
    case DiscState::NotWritable:
        return QCoreApplication::translate("Recorder", "No writable disc in the recorder");
    case DiscState::Unreadable:
        break;
    }
    return QCoreApplication::translate("Recorder", "The drive cannot be read");
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
