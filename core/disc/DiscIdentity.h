// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The identity of the last session on the disc at drive (a recorder such as
// "/dev/sr0", a libburn pseudo-drive "stdio:/path", or an image file), as
// DiscResult::volumeId names a session written: its volume descriptor's
// time. Empty, with why, when no disc or no ISO 9660 session is there.
// Implemented by the platform (qm_targets).
QString discVolumeId(const QString& drive, QString* why);
