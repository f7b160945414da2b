#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QVector>

// One line of /proc/self/mountinfo.
struct Mount
{
    QString device;     // MAJ:MIN of the mounted file system
    QString root;       // the folder of that file system mounted here
    QString mountPoint; // unescaped
    QString type;       // file-system type, such as ntfs3, vfat, fuseblk or fuse.sshfs
    QString source;     // unescaped; a device, an image file or a free text
    bool readOnly = false;

    bool isFuse() const;
};

// The mount table as the kernel shows it, in mount order (later mounts on the
// same point hide earlier ones). Plain text in, plain records out, so it can
// be fed from fixtures.
class MountTable
{
public:
    // Undoes the kernel's octal escapes (\040 space, \011 tab, \012 newline,
    // \134 backslash) and decodes the bytes as a local file name.
    static QString unescape(const QByteArray& field);
    // Lines that cannot be read are left out.
    static MountTable parse(const QByteArray& mountinfo);
    // The types /proc/filesystems marks "nodev" (no backing device).
    static QSet<QString> nodevTypes(const QByteArray& filesystems);
    // Reads /proc/self/mountinfo.
    static MountTable current();

    const QVector<Mount>& mounts() const { return m_mounts; }

    // The mounts that can be a target, in ascending mount-point order: disk
    // file systems (FUSE ones only over a device or an image file), writable,
    // not squashfs or iso9660, one per device (its ROOT "/" mount preferred).
    QVector<Mount> driveVolumes(const QSet<QString>& nodev) const;

    // The mount holding path: the one whose mount point is the longest prefix
    // of it, component by component; the latest of equal ones. -1 when none.
    int mountFor(const QString& path) const;

private:
    QVector<Mount> m_mounts;
};
