// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/VolumeIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QFileInfo>

#include "platform/MountTable.h"
#include "platform/SourceProbe.h"

CopyDestination VolumeIdentity::of(const QString& folder)
{
    CopyDestination d;
    d.folder = folder;
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const std::optional<Mount> mount =
        canonical.isEmpty() ? std::nullopt : MountTable::read().mountFor(canonical);
    if (!mount)
        return d;
    d.volumeRoot = mount->mountPoint;
    struct stat st;
    const QByteArray source = QFile::encodeName(mount->source);
    // Only a device or an image file can carry a UUID; a tmpfs and the like
    // are one volume for as long as they are mounted.
    if (::stat(source.constData(), &st) == 0 && (S_ISBLK(st.st_mode) || S_ISREG(st.st_mode))) {
        const QString uuid = SourceProbe::uuid(mount->source);
        if (!uuid.isEmpty()) {
            d.volumeId = QStringLiteral("uuid ") + uuid;
            return d;
        }
    }
    // The device number comes back for the next such mount: the birth of the
    // volume's root, where the file system keeps it, tells the two apart.
    struct statx here;
    if (::statx(AT_FDCWD, QFile::encodeName(mount->mountPoint).constData(), 0, STATX_BTIME,
                &here) == 0) {
        d.volumeId = QStringLiteral("%1 %2 device %3")
                         .arg(mount->type, mount->source)
                         .arg(quint64(makedev(here.stx_dev_major, here.stx_dev_minor)));
        if (here.stx_mask & STATX_BTIME)
            d.volumeId += QStringLiteral(" born %1.%2")
                              .arg(here.stx_btime.tv_sec)
                              .arg(here.stx_btime.tv_nsec, 9, 10, QLatin1Char('0'));
    }
    return d;
}
