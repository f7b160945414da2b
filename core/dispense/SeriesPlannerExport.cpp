// SPDX-License-Identifier: GPL-3.0-or-later
// The lists of a series: written beside the old ones, then swapped in.
#include "core/dispense/SeriesPlanner.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

// The names exportLists writes and the only ones it removes: medium-NN.txt
// and .nul, NN from 1, at least two digits.
bool isListName(const QString& name)
{
    static const QRegularExpression form(QStringLiteral("^medium-(\\d{2,9})\\.(txt|nul)$"));
    const QRegularExpressionMatch m = form.match(name);
    return m.hasMatch() && m.captured(1).toInt() > 0;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    std::size_t left = std::size_t(bytes.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        left -= std::size_t(n);
    }
    return true;
}

// A folder descriptor closed with the object.
class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

QByteArray encoded(const QString& name)
{
    return QFile::encodeName(name);
}

// Removes the staging folder: the new lists left in it and, once the swap
// is done, the old ones set aside. An old list that could not be put back
// keeps the folder from going.
void removeStage(int folder, const QByteArray& stage, const QStringList& newNames,
                 const QStringList& oldNames = {})
{
    const Fd fd(
        ::openat(folder, stage.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() >= 0) {
        for (const QString& name : newNames)
            ::unlinkat(fd.get(), encoded(name).constData(), 0);
        for (const QString& name : oldNames)
            ::unlinkat(fd.get(), QByteArray("old/" + encoded(name)).constData(), 0);
        ::unlinkat(fd.get(), "old", AT_REMOVEDIR);
    }
    ::unlinkat(folder, stage.constData(), AT_REMOVEDIR);
}

} // namespace

QString SeriesPlanner::listName(int number, int count, bool nul)
{
    const int width = std::max(2, int(QString::number(count).size()));
    return QStringLiteral("medium-%1.%2")
        .arg(number, width, 10, QLatin1Char('0'))
        .arg(nul ? QStringLiteral("nul") : QStringLiteral("txt"));
}

bool SeriesPlanner::exportLists(const SeriesResult& result,
                                const std::function<QString(const EntryPos&)>& pathOf,
                                const QString& folder, QString& error, int* lineBreaks)
{
    QDir dir(folder);
    if (!dir.exists() && !dir.mkpath(QStringLiteral("."))) {
        error = QStringLiteral("Cannot make the folder %1").arg(folder);
        return false;
    }
    const Fd fd(
        ::open(encoded(dir.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) {
        error = QStringLiteral("Cannot open the folder %1: %2").arg(folder, qt_error_string(errno));
        return false;
    }
    const int count = int(result.media.size());
    QStringList written;
    for (int m = 0; m < count; ++m)
        written << listName(m + 1, count, false) << listName(m + 1, count, true);

    // Only regular files of the lists' names are ever replaced or removed:
    // a link there is not followed, a folder not emptied.
    QStringList old;
    const QStringList present =
        dir.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : present) {
        struct stat st;
        if (!isListName(name) ||
            ::fstatat(fd.get(), encoded(name).constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode)) {
            old << name;
        } else if (written.contains(name)) {
            error = QStringLiteral("%1 is not a list written before (it is a link, a folder or "
                                   "another special file); nothing was written")
                        .arg(dir.filePath(name));
            return false;
        }
    }

    // The new set in a folder of its own beside the old one: a failure
    // while writing leaves the old set as it was.
    QByteArray stage = encoded(dir.absolutePath()) + "/.medium-lists-XXXXXX";
    if (!::mkdtemp(stage.data())) {
        error = QStringLiteral("Cannot write into %1: %2").arg(folder, qt_error_string(errno));
        return false;
    }
    stage = stage.mid(stage.lastIndexOf('/') + 1);
    const Fd staged(
        ::openat(fd.get(), stage.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    int broken = 0;
    const auto fail = [&](const QString& name, int err) {
        error = QStringLiteral("Cannot write %1: %2").arg(dir.filePath(name), qt_error_string(err));
        removeStage(fd.get(), stage, written);
        return false;
    };
    if (staged.get() < 0)
        return fail(written.value(0), errno);
    for (int i = 0; i < written.size(); ++i) {
        const bool nul = i % 2 == 1;
        QByteArray bytes;
        for (const EntryPos& pos : result.media[std::size_t(i / 2)].entries) {
            const QString path = pathOf(pos);
            if (!nul && path.contains(QLatin1Char('\n'))) {
                ++broken;
                continue;
            }
            bytes += QFile::encodeName(path) + (nul ? '\0' : '\n');
        }
        const int file = ::openat(staged.get(), encoded(written.at(i)).constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (file < 0)
            return fail(written.at(i), errno);
        bool ok = writeAll(file, bytes) && ::fsync(file) == 0;
        int err = errno;
        if (::close(file) != 0 && ok) {
            ok = false;
            err = errno;
        }
        if (!ok)
            return fail(written.at(i), err);
    }

    // The swap: the old lists step aside, the new ones move in; anything
    // that fails puts the old set back.
    if (::mkdirat(staged.get(), "old", 0700) != 0)
        return fail(written.value(0), errno);
    const Fd aside(::openat(staged.get(), "old", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    QStringList movedOld, movedNew;
    int err = aside.get() < 0 ? errno : 0;
    for (const QString& name : old) {
        if (err)
            break;
        if (::renameat(fd.get(), encoded(name).constData(), aside.get(),
                       encoded(name).constData()) != 0)
            err = errno;
        else
            movedOld << name;
    }
    for (const QString& name : written) {
        if (err)
            break;
        if (::renameat(staged.get(), encoded(name).constData(), fd.get(),
                       encoded(name).constData()) != 0)
            err = errno;
        else
            movedNew << name;
    }
    if (err) {
        for (const QString& name : movedNew)
            ::renameat(fd.get(), encoded(name).constData(), staged.get(),
                       encoded(name).constData());
        for (const QString& name : movedOld)
            ::renameat(aside.get(), encoded(name).constData(), fd.get(), encoded(name).constData());
        return fail(written.value(movedNew.size()), err);
    }
    removeStage(fd.get(), stage, {}, old);
    ::fsync(fd.get());
    if (lineBreaks)
        *lineBreaks = broken;
    return true;
}
