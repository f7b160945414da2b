// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BurnRecorder.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <libburn/libburn.h>

// libburn.h puts its names in a namespace when seen from C++.
using namespace burn;

#include <QElapsedTimer>
#include <QFile>

#include "platform/BurnSession.h"

namespace {

// Why a device cannot be opened, before libburn gets to try.
DiscState::Status openProblem(const QByteArray& device, int extraFlags)
{
    const int fd = ::open(device.constData(), O_RDONLY | O_NONBLOCK | extraFlags);
    if (fd >= 0) {
        ::close(fd);
        return DiscState::Writable;
    }
    switch (errno) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTDIR:
        return DiscState::NoRecorder;
    case EBUSY:
        return DiscState::Busy;
    default:
        return DiscState::Unreadable;
    }
}

DiscState inspectGrabbed(burn_drive* drive)
{
    DiscState disc;
    // The drive may still be reading the disc in.
    QElapsedTimer waited;
    waited.start();
    burn_disc_status status;
    while ((status = burn_disc_get_status(drive)) == BURN_DISC_UNREADY) {
        if (waited.elapsed() > 30000)
            return disc;
        ::usleep(100 * 1000);
    }
    switch (status) {
    case BURN_DISC_BLANK:
    case BURN_DISC_APPENDABLE:
        break;
    case BURN_DISC_EMPTY:
        disc.status = DiscState::NoDisc;
        return disc;
    case BURN_DISC_FULL:
        disc.status = DiscState::Closed;
        return disc;
    case BURN_DISC_UNSUITABLE:
        disc.status = DiscState::NotWritable;
        return disc;
    default:
        return disc;
    }

    burn_multi_caps* caps = nullptr;
    if (burn_disc_get_multi_caps(drive, BURN_WRITE_NONE, &caps, 0) <= 0 || !caps ||
        caps->advised_write_mode == BURN_WRITE_NONE) {
        burn_disc_free_multi_caps(&caps);
        disc.status = DiscState::NotWritable;
        return disc;
    }
    burn_write_opts* opts = burn_write_opts_new(drive);
    const burn_write_types mode = caps->advised_write_mode;
    burn_write_opts_set_write_type(opts, mode,
                                   mode == BURN_WRITE_SAO ? BURN_BLOCK_SAO : BURN_BLOCK_MODE1);
    const off_t bytes = burn_disc_available_space(drive, opts);
    burn_write_opts_free(opts);
    burn_disc_free_multi_caps(&caps);
    disc.status = DiscState::Writable;
    disc.freeBytes = bytes > 0 ? quint64(bytes) : 0;
    return disc;
}

} // namespace

DiscState BurnRecorder::inspect(const QString& address)
{
    DiscState disc;
    const bool pseudo = address.startsWith(QLatin1String("stdio:"));
    const QByteArray device = QFile::encodeName(address);
    if (!pseudo) {
        disc.status = openProblem(device, 0);
        if (disc.status != DiscState::Writable)
            return disc;
        disc.status = DiscState::Unreadable;
    }
    if (device.size() >= BURN_DRIVE_ADR_LEN)
        return disc;
    BurnSession session;
    if (!session.ok())
        return disc;

    char adr[BURN_DRIVE_ADR_LEN] = {};
    if (pseudo) {
        std::strcpy(adr, device.constData());
    } else if (burn_drive_convert_fs_adr(const_cast<char*>(device.constData()), adr) <= 0) {
        disc.status = DiscState::NoRecorder;
        BurnSession::lastMessage();
        return disc;
    }

    burn_drive_info* info = nullptr;
    const int grabbed = burn_drive_scan_and_grab(&info, adr, 0);
    if (grabbed > 0) {
        disc = inspectGrabbed(info[0].drive);
        burn_drive_release(info[0].drive, 0);
        burn_drive_info_free(info);
    } else if (grabbed == 0) {
        disc.status = DiscState::NoRecorder;
    } else if (!pseudo) {
        // libburn opens the drive exclusively; a mounted disc or a burning
        // program keeps it from doing so.
        const DiscState::Status why = openProblem(device, O_EXCL);
        disc.status = why == DiscState::Writable ? DiscState::Unreadable : why;
    }
    BurnSession::lastMessage();
    return disc;
}
