// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/CopyDestination.h"

#include <QDir>
#include <QFileInfo>

#include "core/copy/CopyJournal.h"

QString CopyDestination::journalPath(quint64 device) const
{
    const QString volume = volumeId.isEmpty() ? QStringLiteral("device %1").arg(device) : volumeId;
    QString place = QFileInfo(folder).canonicalFilePath();
    const QString root = QFileInfo(volumeRoot).canonicalFilePath();
    if (!root.isEmpty() && (place == root || place.startsWith(root + QLatin1Char('/')))) {
        const QString below = QDir(root).relativeFilePath(place);
        place = below == QLatin1String(".") ? QStringLiteral("/") : QLatin1Char('/') + below;
    }
    return CopyJournal::pathFor(volume, place);
}
