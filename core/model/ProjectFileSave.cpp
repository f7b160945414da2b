// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFileSave.h"

#include <climits>
#include <cstdlib>

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "core/model/ProjectFileText.h"

namespace {

QString saveFailure(const QString& path, const QString& reason)
{
    return QCoreApplication::translate("ProjectFile", "The project was not saved to \"%1\": %2.")
        .arg(path, reason);
}

// Writes every byte, whatever short writes the system makes; false with
// errno set otherwise (ENOSPC for a short write that names no error).
bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// The file a save replaces: path itself, or the file a link there names.
QByteArray fileToReplace(const QString& path, struct stat* old, bool* hadOld)
{
    QByteArray target = QFile::encodeName(path);
    *hadOld = ::stat(target.constData(), old) == 0;
    char resolved[PATH_MAX];
    if (*hadOld && ::realpath(target.constData(), resolved))
        target = resolved;
    return target;
}

// A new file of our own in folder, named after base; -1 with errno set when
// none can be made.
int createBeside(const QByteArray& folder, const QByteArray& base, QByteArray* temp)
{
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        *temp = folder + "/." + base.left(200) + '.' + QByteArray::number(::getpid()) + '.' +
                QByteArray::number(attempt) + ".tmp";
        fd = ::open(temp->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    return fd;
}

// Writes the bytes, flushes them to the disk and closes fd; false with the
// first error in *err.
bool writeToDisk(int fd, const QByteArray& bytes, int* err)
{
    bool ok = writeAll(fd, bytes.constData(), std::size_t(bytes.size())) && ::fsync(fd) == 0;
    *err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        *err = errno;
    }
    return ok;
}

} // namespace

bool saveProjectBytes(const QString& path, const QByteArray& bytes, QString* error,
                      const std::function<bool()>& cancelled)
{
    const QString absoluteFolder = QFileInfo(path).absolutePath();
    if (!QFileInfo(absoluteFolder).isDir()) {
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "The project was not saved: the folder \"%1\" "
                                                    "does not exist.")
                            .arg(absoluteFolder));
        return false;
    }

    struct stat old;
    bool hadOld = false;
    const QByteArray target = fileToReplace(path, &old, &hadOld);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : target.left(slash);
    const QByteArray base = target.mid(slash + 1);

    QByteArray temp;
    const int fd = createBeside(folder, base, &temp);
    if (fd < 0) {
        const int err = errno;
        const QString reason =
            err == EACCES || err == EPERM || err == EROFS
                ? QCoreApplication::translate("ProjectFile", "the folder cannot be written to")
                : withoutFullStop(qt_error_string(err));
        setError(error, saveFailure(path, reason));
        return false;
    }
    // The new file keeps what the old one allowed.
    if (hadOld)
        ::fchmod(fd, old.st_mode & 07777);
    int err = 0;
    bool ok = writeToDisk(fd, bytes, &err);
    if (ok && cancelled && cancelled()) {
        ::unlink(temp.constData());
        setError(error, saveFailure(path, QCoreApplication::translate("ProjectFile",
                                                                      "the save was cancelled")));
        return false;
    }
    if (ok && ::rename(temp.constData(), target.constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        setError(error, saveFailure(path, withoutFullStop(qt_error_string(err))));
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
