// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SourceProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <blkid/blkid.h>
#include <libudev.h>

#include <QFile>

namespace {

bool probeWithBlkid(blkid_probe pr, QString& type, QString& version)
{
    blkid_probe_enable_superblocks(pr, 1);
    blkid_probe_set_superblocks_flags(pr, BLKID_SUBLKS_TYPE | BLKID_SUBLKS_VERSION);
    if (blkid_do_safeprobe(pr) != 0)
        return false;
    const char* value = nullptr;
    if (blkid_probe_lookup_value(pr, "VERSION", &value, nullptr) == 0)
        version = QString::fromUtf8(value);
    if (blkid_probe_lookup_value(pr, "TYPE", &value, nullptr) != 0)
        return false;
    type = QString::fromUtf8(value);
    return true;
}

// udev probed the device with libblkid when it appeared and keeps the answer
// readable for everyone.
bool probeWithUdev(const QByteArray& device, QString& type, QString& version)
{
    struct stat st;
    if (::stat(device.constData(), &st) != 0 || !S_ISBLK(st.st_mode))
        return false;
    udev* u = udev_new();
    udev_device* dev = u ? udev_device_new_from_devnum(u, 'b', st.st_rdev) : nullptr;
    if (dev) {
        type = QString::fromUtf8(udev_device_get_property_value(dev, "ID_FS_TYPE"));
        version = QString::fromUtf8(udev_device_get_property_value(dev, "ID_FS_VERSION"));
        udev_device_unref(dev);
    }
    udev_unref(u);
    return !type.isEmpty();
}

} // namespace

bool SourceProbe::fileSystem(const QString& source, QString& type, QString& version)
{
    const QByteArray name = QFile::encodeName(source);
    // Partitions are root:disk 0660: a desktop user cannot open them.
    blkid_probe pr = blkid_new_probe_from_filename(name.constData());
    if (!pr)
        return probeWithUdev(name, type, version);
    const bool found = probeWithBlkid(pr, type, version);
    blkid_free_probe(pr);
    return found;
}

QString SourceProbe::uuid(const QString& source)
{
    const QByteArray name = QFile::encodeName(source);
    QString found;
    if (blkid_probe pr = blkid_new_probe_from_filename(name.constData())) {
        blkid_probe_enable_superblocks(pr, 1);
        blkid_probe_set_superblocks_flags(pr, BLKID_SUBLKS_UUID);
        const char* value = nullptr;
        if (blkid_do_safeprobe(pr) == 0 &&
            blkid_probe_lookup_value(pr, "UUID", &value, nullptr) == 0)
            found = QString::fromUtf8(value);
        blkid_free_probe(pr);
        return found;
    }
    struct stat st;
    if (::stat(name.constData(), &st) != 0 || !S_ISBLK(st.st_mode))
        return found;
    udev* u = udev_new();
    if (udev_device* dev = u ? udev_device_new_from_devnum(u, 'b', st.st_rdev) : nullptr) {
        found = QString::fromUtf8(udev_device_get_property_value(dev, "ID_FS_UUID"));
        udev_device_unref(dev);
    }
    udev_unref(u);
    return found;
}

bool SourceProbe::ext4Bigalloc(const QString& source)
{
    // The superblock starts 1024 bytes in; its magic is at 0x38, the
    // read-only compatible features at 0x64, bigalloc among them as 0x200.
    const int fd = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    unsigned char sb[0x68];
    const bool read = ::pread(fd, sb, sizeof sb, 1024) == ssize_t(sizeof sb);
    ::close(fd);
    const auto le = [&sb](int at, int bytes) {
        quint32 v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = v << 8 | sb[at + i];
        return v;
    };
    return read && le(0x38, 2) == 0xEF53 && (le(0x64, 4) & 0x200) != 0;
}
