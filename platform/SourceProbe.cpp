#include "platform/SourceProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <blkid/blkid.h>

#include <QFile>

#include "platform/FileSystemChoice.h"

static QByteArray udevRecord(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool SourceProbe::fileSystem(const QString& source, QString& type, QString& version)
{
    const QByteArray name = QFile::encodeName(source);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        blkid_probe pr = blkid_new_probe_from_filename(name.constData());
        if (!pr)
            return false;
        blkid_probe_enable_superblocks(pr, 1);
        blkid_probe_set_superblocks_flags(pr, BLKID_SUBLKS_TYPE | BLKID_SUBLKS_VERSION);
        bool found = false;
        if (blkid_do_safeprobe(pr) == 0) {
            const char* value = nullptr;
            if (blkid_probe_lookup_value(pr, "TYPE", &value, nullptr) == 0) {
                type = QString::fromUtf8(value);
                found = true;
            }
            if (blkid_probe_lookup_value(pr, "VERSION", &value, nullptr) == 0)
                version = QString::fromUtf8(value);
        }
        blkid_free_probe(pr);
        return found;
    }
    struct stat st;
    if (::stat(name.constData(), &st) != 0 || !S_ISBLK(st.st_mode))
        return false;
    const QString record =
        QStringLiteral("/run/udev/data/b%1:%2").arg(major(st.st_rdev)).arg(minor(st.st_rdev));
    const QHash<QString, QString> props = FileSystemChoice::udevProperties(udevRecord(record));
    type = props.value(QStringLiteral("ID_FS_TYPE"));
    version = props.value(QStringLiteral("ID_FS_VERSION"));
    return !type.isEmpty();
}
