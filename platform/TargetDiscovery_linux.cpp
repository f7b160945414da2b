// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TargetDiscovery.h"

#include <algorithm>

#include <sys/statvfs.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "core/copy/VolumeIdentity.h"
#include "platform/BurnRecorder.h"
#include "platform/FileSystemChoice.h"
#include "platform/MountTable.h"
#include "platform/SourceProbe.h"

// Volumes are the mounted disk file systems of the mount table; recorders are
// the /dev/srN devices, read through libburn.

namespace {

// Made when thrown: the translation is installed after static initialisation.
QString unreadable()
{
    return QCoreApplication::translate("TargetDiscovery", "The drive cannot be read");
}

QByteArray readSmallFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

// The /dev/srN device that path names (directly or through a link such as
// /dev/cdrom); empty when it is no recorder.
QString recorderDevice(const QString& path)
{
    static const QRegularExpression sr(QStringLiteral("^/dev/sr[0-9]+$"));
    const QString resolved = QFileInfo(path).canonicalFilePath();
    if (sr.match(resolved).hasMatch())
        return resolved;
    return sr.match(path).hasMatch() ? path : QString();
}

QStringList recorderDevices()
{
    QStringList names = QDir(QStringLiteral("/sys/class/block"))
                            .entryList({QStringLiteral("sr*")}, QDir::AllEntries | QDir::System);
    QList<int> numbers;
    for (const QString& n : names) {
        bool ok = false;
        const int number = n.mid(2).toInt(&ok);
        if (ok)
            numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    QStringList devices;
    for (int number : numbers)
        devices.append(QStringLiteral("/dev/sr") + QString::number(number));
    return devices;
}

void probeVolume(const QString& path, bool wholeVolume, Target& target)
{
    // A target that names its volume must still be that volume: neither the
    // folder an unmounted one leaves behind nor another volume mounted there.
    const QString expected = target.Volume;
    const QString notMounted =
        QCoreApplication::translate("TargetDiscovery", "The volume is not mounted");
    const QFileInfo info(path);
    if (!info.exists())
        throw TargetError{expected.isEmpty() ? unreadable() : notMounted};
    const QString canonical = info.canonicalFilePath();
    const std::optional<Mount> found = MountTable::read().mountFor(canonical);
    if (!found)
        throw TargetError{unreadable()};
    const Mount& m = *found;
    const QString volume = VolumeIdentity::of(canonical).volumeId;
    if (!expected.isEmpty() && volume != expected)
        throw TargetError{
            m.mountPoint == canonical
                ? QCoreApplication::translate(
                      "TargetDiscovery", "Another volume is mounted there; pick the target again")
                : notMounted};
    if (m.readOnly)
        throw TargetError{
            QCoreApplication::translate("TargetDiscovery", "The volume is mounted read-only")};

    struct statvfs vfs;
    if (::statvfs(QFile::encodeName(m.mountPoint).constData(), &vfs) != 0 || vfs.f_frsize == 0)
        throw TargetError{unreadable()};
    // A plan for room the volume cannot have would overfill it.
    if (vfs.f_bavail > vfs.f_blocks)
        throw TargetError{QCoreApplication::translate(
            "TargetDiscovery", "The volume reports more free space than its size")};

    const bool probed = m.source.startsWith(QLatin1Char('/'));
    QString type, version;
    int kind = -1;
    QString why;
    switch (FileSystemChoice::fromMountType(m.type)) {
    case FileSystemChoice::IsNtfs:
        kind = NTFS;
        break;
    case FileSystemChoice::IsFat:
        if (FileSystemChoice::isFat32ClusterCount(vfs.f_blocks))
            kind = FAT;
        break;
    case FileSystemChoice::IsExfat:
        kind = EXFAT;
        break;
    case FileSystemChoice::IsExt4:
        // The ext4 driver mounts ext2 and ext3 volumes too; where the source
        // cannot be read, the mount's word is taken.
        if (probed && SourceProbe::fileSystem(m.source, type, version) &&
            type != QLatin1String("ext4"))
            why = FileSystemChoice::refusal(type);
        else if (probed && SourceProbe::ext4Bigalloc(m.source))
            why = QCoreApplication::translate("FileSystemChoice",
                                              "ext4 with bigalloc cannot be planned: it allocates "
                                              "clusters larger than the blocks it reports");
        else
            kind = EXT4;
        break;
    case FileSystemChoice::ProbeSource:
        if (probed && SourceProbe::fileSystem(m.source, type, version)) {
            kind = FileSystemChoice::fromProbe(type, version);
            if (kind < 0)
                why = FileSystemChoice::refusal(type, true);
        }
        break;
    case FileSystemChoice::IsUnsupported:
        break;
    }
    if (kind < 0)
        throw TargetError{why.isEmpty() ? FileSystemChoice::refusal(m.type) : why};
    target.FileSystem = kind;
    target.Volume = volume;
    target.BlockSize = vfs.f_frsize;
    target.AvailableBlocks = wholeVolume ? vfs.f_blocks : vfs.f_bavail;
    // f_files means nothing on exFAT; ext4's inode table is fixed.
    target.AvailableInodes = kind != EXT4  ? Target::NoInodeLimit
                             : wholeVolume ? vfs.f_files
                                           : vfs.f_favail;
}

} // namespace

void listDriveRoots(QStringList& roots)
{
    roots.clear();
    const QSet<QString> nodev =
        MountTable::nodevTypes(readSmallFile(QStringLiteral("/proc/filesystems")));
    for (const Mount& m : MountTable::read().driveVolumes(nodev))
        roots.append(m.mountPoint);
    roots.append(recorderDevices());
}

bool probeTarget(bool wholeVolume, Target& target)
{
    if (target.Path.isEmpty())
        return false;
    // A libburn pseudo-drive over a file is a recorder too.
    const QString recorder =
        target.Path.startsWith(QLatin1String("stdio:")) ? target.Path : recorderDevice(target.Path);
    if (!recorder.isEmpty()) {
        BurnRecorder burner;
        probeRecorder(burner, recorder, target);
        return true;
    }
    probeVolume(target.Path, wholeVolume, target);
    return true;
}
