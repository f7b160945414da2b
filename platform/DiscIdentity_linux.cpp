// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscIdentity.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>

#include "core/disc/DiscRecord.h"

namespace {

constexpr off_t B = 2048;

} // namespace

QString discVolumeId(const QString& drive, QString* why)
{
    const bool pseudo = drive.startsWith(QLatin1String("stdio:"));
    const QByteArray path = QFile::encodeName(pseudo ? drive.mid(6) : drive);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (why)
            *why = errno == ENOMEDIUM
                       ? QCoreApplication::translate("DiscIdentity", "No disc in the recorder")
                       : QCoreApplication::translate("DiscIdentity", "The drive cannot be read");
        return QString();
    }
    // The kernel mounts the last session of a disc written in several: so
    // does this.
    off_t session = 0;
    struct stat st;
    struct cdrom_multisession ms;
    std::memset(&ms, 0, sizeof ms);
    ms.addr_format = CDROM_LBA;
    if (::fstat(fd, &st) == 0 && S_ISBLK(st.st_mode) && ::ioctl(fd, CDROMMULTISESSION, &ms) == 0 &&
        ms.xa_flag)
        session = ms.addr.lba;
    unsigned char pvd[B];
    const ssize_t n = ::pread(fd, pvd, B, (session + 16) * B);
    const int error = errno;
    ::close(fd);
    if (n != B || pvd[0] != 1 || std::memcmp(pvd + 1, "CD001", 5) != 0) {
        if (why)
            *why = n < 0 && error == ENOMEDIUM
                       ? QCoreApplication::translate("DiscIdentity", "No disc in the recorder")
                       : QCoreApplication::translate("DiscIdentity", "The disc holds no files");
        return QString();
    }
    // The modification time, "YYYYMMDDhhmmsscc", as libblkid reads it.
    const QByteArray t(reinterpret_cast<const char*>(pvd) + 830, 16);
    for (char c : t)
        if (c < '0' || c > '9') {
            if (why)
                *why = QCoreApplication::translate("DiscIdentity",
                                                   "The disc was not written by this program");
            return QString();
        }
    return DiscRecord::volumeIdOf(t);
}
