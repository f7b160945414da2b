// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFileSave.h"

#include <climits>
#include <cstdlib>

#include <errno.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
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

// The texts of a save, in the project file's context.
struct SaveText
{
    Q_DECLARE_TR_FUNCTIONS(ProjectFile)
};

// What a thing that is not a regular file is, as the end of a sentence.
QString notRegular(mode_t mode, bool viaLink)
{
    if (S_ISDIR(mode))
        return viaLink ? SaveText::tr("it is a link to a folder") : SaveText::tr("it is a folder");
    if (S_ISFIFO(mode))
        return viaLink ? SaveText::tr("it is a link to a FIFO, not to a regular file")
                       : SaveText::tr("it is a FIFO, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return viaLink ? SaveText::tr("it is a link to a device, not to a regular file")
                       : SaveText::tr("it is a device, not a regular file");
    return viaLink ? SaveText::tr("it is a link to something other than a regular file")
                   : SaveText::tr("it is not a regular file");
}

// The file a save replaces: path itself, or the regular file a link there
// names on the link's own file system. False with the reason otherwise.
struct Destination
{
    QByteArray file;
    bool exists = false;
    struct stat st = {};
};

bool destinationOf(const QString& path, Destination* d, QString* reason)
{
    d->file = QFile::encodeName(path);
    struct stat own;
    if (::lstat(d->file.constData(), &own) != 0) {
        if (errno != ENOENT) {
            *reason = withoutFullStop(qt_error_string(errno));
            return false;
        }
        d->exists = false;
        return true;
    }
    d->exists = true;
    d->st = own;
    if (!S_ISLNK(own.st_mode)) {
        if (S_ISREG(own.st_mode))
            return true;
        *reason = notRegular(own.st_mode, false);
        return false;
    }
    struct stat named, folder;
    if (::stat(d->file.constData(), &named) != 0) {
        *reason = errno == ENOENT ? SaveText::tr("it is a link to a file that does not exist")
                                  : withoutFullStop(qt_error_string(errno));
        return false;
    }
    if (!S_ISREG(named.st_mode)) {
        *reason = notRegular(named.st_mode, true);
        return false;
    }
    const QByteArray linkFolder = QFile::encodeName(QFileInfo(path).absolutePath());
    char resolved[PATH_MAX];
    if (::stat(linkFolder.constData(), &folder) != 0 || folder.st_dev != named.st_dev ||
        !::realpath(d->file.constData(), resolved)) {
        *reason = SaveText::tr("it is a link into another file system");
        return false;
    }
    d->file = resolved;
    d->st = named;
    return true;
}

// "user:group" of a file, by name where the system knows one.
QString ownerText(uid_t uid, gid_t gid)
{
    const struct passwd* user = ::getpwuid(uid);
    const struct group* grp = ::getgrgid(gid);
    return (user ? QString::fromLocal8Bit(user->pw_name) : QString::number(uid)) +
           QLatin1Char(':') + (grp ? QString::fromLocal8Bit(grp->gr_name) : QString::number(gid));
}

// Gives the new file the old one's owner, group and permissions, as far as
// the process may; what it could not keep, as a sentence, or empty.
QString keepOwnership(int fd, const QString& path, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, uid_t(-1), old.st_gid); // the group alone, if a member
    // After the owner: a change of owner drops the set-id bits.
    ::fchmod(fd, old.st_mode & 07777);
    struct stat now;
    if (::fstat(fd, &now) != 0 || (now.st_uid == old.st_uid && now.st_gid == old.st_gid))
        return QString();
    return SaveText::tr("The project was saved to \"%1\", but it now belongs to %2 instead of %3.")
        .arg(path, ownerText(now.st_uid, now.st_gid), ownerText(old.st_uid, old.st_gid));
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

QString saveRefusal(const QString& path)
{
    Destination d;
    QString reason;
    return destinationOf(path, &d, &reason) ? QString() : reason;
}

bool saveProjectBytes(const QString& path, const QByteArray& bytes, QString* error,
                      const std::function<bool()>& cancelled, QString* warning)
{
    const QString absoluteFolder = QFileInfo(path).absolutePath();
    if (!QFileInfo(absoluteFolder).isDir()) {
        setError(error, SaveText::tr("The project was not saved: the folder \"%1\" does not exist.")
                            .arg(absoluteFolder));
        return false;
    }

    Destination dest;
    QString reason;
    if (!destinationOf(path, &dest, &reason)) {
        setError(error, saveFailure(path, reason));
        return false;
    }
    const QByteArray& target = dest.file;
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : target.left(slash);
    const QByteArray base = target.mid(slash + 1);

    QByteArray temp;
    const int fd = createBeside(folder, base, &temp);
    if (fd < 0) {
        const int err = errno;
        reason = err == EACCES || err == EPERM || err == EROFS
                     ? SaveText::tr("the folder cannot be written to")
                     : withoutFullStop(qt_error_string(err));
        setError(error, saveFailure(path, reason));
        return false;
    }
    // The new file keeps what the old one had.
    const QString notKept = dest.exists ? keepOwnership(fd, path, dest.st) : QString();
    int err = 0;
    bool ok = writeToDisk(fd, bytes, &err);
    if (ok && cancelled && cancelled()) {
        ::unlink(temp.constData());
        setError(error, saveFailure(path, SaveText::tr("the save was cancelled")));
        return false;
    }
    // What is there now must still be what was checked: nothing, or the same
    // regular file.
    struct stat now;
    const bool present = ::lstat(target.constData(), &now) == 0;
    if (ok && (present != dest.exists ||
               (present && (!S_ISREG(now.st_mode) || now.st_dev != dest.st.st_dev ||
                            now.st_ino != dest.st.st_ino)))) {
        ::unlink(temp.constData());
        setError(error,
                 saveFailure(path, SaveText::tr("it was changed by another program meanwhile")));
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
    if (warning)
        *warning = notKept;
    return true;
}
