// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

#include "core/disc/DiscRecord.h"
#include "core/copy/ContentArrival.h"

// Whether dispensed entries are on the disc in a recorder, by the program's
// record of that disc (DiscRecord): every file of an entry, listed now as
// the disc writer lists it, was written there and read back equal, and is
// unchanged since (size and time). Only a disc the program wrote and read
// back counts; a disc in the recorder that is not that one makes nothing
// arrived.
class DiscArrival
{
    Q_DECLARE_TR_FUNCTIONS(DiscArrival)

public:
    // The disc in drive, known by volumeId (discVolumeId), or not there
    // for the reason why; reads its record.
    DiscArrival(const QString& drive, const QString& volumeId, const QString& why);
    // The disc now in drive (discVolumeId).
    explicit DiscArrival(const QString& drive);

    // Whether path names a recorder (a device such as /dev/sr0) or a libburn
    // pseudo-drive ("stdio:PATH") rather than a folder.
    static bool isDrive(const QString& path);

    // Why no entry can have arrived (no disc, a disc not read back by the
    // program); empty when the disc is known.
    const QString& problem() const { return m_problem; }
    const QString& drive() const { return m_drive; }
    // Checks the entry (its full path).
    ArrivalCheck check(const QString& entry) const;
    // Just before the original goes: the same disc is still in the drive and
    // the entry still arrived.
    bool stillArrived(const QString& entry, QString& why) const;

private:
    QString m_drive, m_volumeId;
    DiscRecord m_record;
    QString m_problem;
};
