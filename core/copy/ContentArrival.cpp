// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/ContentArrival.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "core/copy/CopyJournal.h"
#include "core/copy/CopyList.h"
#include "core/copy/CopyManifest.h"

namespace {

constexpr std::size_t kBlock = std::size_t(1) << 20;

qint64 nsOf(const struct timespec& t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

bool sameItem(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Looks the item up below root, refusing links and mounts on the way (the
// item itself may be a link: it is looked at, not followed).
int statBeneath(int root, const QByteArray& relative, struct stat& st)
{
    const int slash = relative.lastIndexOf('/');
    if (slash < 0)
        return ::fstatat(root, relative.constData(), &st, AT_SYMLINK_NOFOLLOW);
    struct open_how how;
    std::memset(&how, 0, sizeof how);
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_NO_XDEV;
    const QByteArray folder = relative.left(slash);
    const int fd = int(::syscall(SYS_openat2, root, folder.constData(), &how, sizeof how));
    if (fd < 0)
        return -1;
    const int r = ::fstatat(fd, relative.constData() + slash + 1, &st, AT_SYMLINK_NOFOLLOW);
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return r;
}

int openBeneath(int root, const QByteArray& relative)
{
    struct open_how how;
    std::memset(&how, 0, sizeof how);
    how.flags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_NO_XDEV;
    return int(::syscall(SYS_openat2, root, relative.constData(), &how, sizeof how));
}

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One item's state, as far as a change of it shows: which inode, its type
// and, for a file, its length and times.
void addState(ContentHash& seen, const struct stat& st, bool file)
{
    const qint64 fields[] = {qint64(st.st_dev),           qint64(st.st_ino),
                             qint64(st.st_mode),          file ? qint64(st.st_size) : 0,
                             file ? nsOf(st.st_mtim) : 0, file ? nsOf(st.st_ctim) : 0};
    seen.add(fields, sizeof fields);
}

bool sameState(const struct stat& a, const struct stat& b)
{
    return sameItem(a, b) && a.st_size == b.st_size && nsOf(a.st_mtim) == nsOf(b.st_mtim) &&
           nsOf(a.st_ctim) == nsOf(b.st_ctim);
}

// The original is newer than its copy by more than FAT's two seconds: it was
// changed after the copy was made.
bool changedSince(const struct stat& original, const struct stat& copy)
{
    return nsOf(original.st_mtim) > nsOf(copy.st_mtim) + qint64(2000000000);
}

} // namespace

QString ArrivalCheck::detail() const
{
    return where.isEmpty() ? why : where + QStringLiteral(": ") + why;
}

QString ArrivalCheck::reason() const
{
    const qsizetype slash = where.indexOf(QLatin1Char('/'));
    return slash < 0 ? why : where.mid(slash + 1) + QStringLiteral(": ") + why;
}

ContentArrival::ContentArrival(const CopyDestination& place) : m_place(place)
{
    m_folder =
        ::open(QFile::encodeName(place.folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st;
    const quint64 device = m_folder >= 0 && ::fstat(m_folder, &st) == 0 ? quint64(st.st_dev) : 0;
    auto manifest = std::make_unique<CopyManifest>();
    if (m_folder >= 0 && manifest->read(place.folder, nullptr) && manifest->size() > 0)
        m_manifest = std::move(manifest);
    auto journal = std::make_unique<CopyJournal>();
    if (m_manifest && journal->open(place.journalPath(device), false, nullptr))
        m_journal = std::move(journal);
}

ContentArrival::~ContentArrival()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

bool ContentArrival::sameContent(int a, int b, quint64& differsAt, QString& why)
{
    m_buffers.resize(2 * kBlock);
    char* const x = m_buffers.data();
    char* const y = x + kBlock;
    quint64 at = 0;
    ::posix_fadvise(b, 0, 0, POSIX_FADV_DONTNEED);
    for (;;) {
        if (stopRequested()) {
            m_stopped = true;
            why = tr("the check was stopped");
            return false;
        }
        // Both read to a full block (or the end), so that the blocks line up.
        std::size_t got[2] = {0, 0};
        const int fds[2] = {a, b};
        char* bufs[2] = {x, y};
        for (int side = 0; side < 2; ++side) {
            while (got[side] < kBlock) {
                const ssize_t n = ::read(fds[side], bufs[side] + got[side], kBlock - got[side]);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0) {
                    why = side ? tr("cannot be read on the target: %1")
                                     .arg(QString::fromLocal8Bit(std::strerror(errno)))
                               : tr("the original could not be read");
                    return false;
                }
                if (n == 0)
                    break;
                got[side] += std::size_t(n);
            }
        }
        m_p.bytesDone += got[0] + got[1];
        const qint64 t = steadyMs();
        if (m_progress && (m_lastReport < 0 || t - m_lastReport >= 100)) {
            m_lastReport = t;
            m_progress(m_p);
        }
        if (got[0] != got[1] || std::memcmp(x, y, got[0]) != 0) {
            std::size_t i = 0;
            while (i < got[0] && i < got[1] && x[i] == y[i])
                ++i;
            differsAt = at + i;
            return false;
        }
        if (got[0] < kBlock)
            return true;
        at += got[0];
    }
}

ArrivalCheck ContentArrival::check(const QString& entry)
{
    m_stopped = false;
    m_trusted = m_read = 0;
    const QString name = QFileInfo(entry).fileName();
    if (m_folder < 0)
        return ArrivalCheck{Arrival::NotChecked, name, tr("its place on the target cannot be read"),
                            Hash128()};
    CopyList list;
    if (!list.build({entry}, m_stop)) {
        m_stopped = true;
        return ArrivalCheck{Arrival::NotChecked, name, tr("the check was stopped"), Hash128()};
    }
    ContentHash seen;
    ArrivalCheck result = compare(list, true, seen);
    if (result.state == Arrival::Arrived)
        result.seen = seen.digest();
    return result;
}

bool ContentArrival::unchanged(const QString& entry, const ArrivalCheck& arrived, QString& why)
{
    // The path may lead elsewhere now: another volume mounted over it.
    struct stat checked, now;
    if (m_folder < 0 || arrived.state != Arrival::Arrived || ::fstat(m_folder, &checked) != 0 ||
        ::stat(QFile::encodeName(m_place.folder).constData(), &now) != 0 ||
        !sameItem(checked, now)) {
        why = tr("the target is no longer where it was checked");
        return false;
    }
    CopyList list;
    list.build({entry});
    ContentHash seen;
    const ArrivalCheck again = compare(list, false, seen);
    if (again.state != Arrival::Arrived) {
        why = again.reason();
        return false;
    }
    if (seen.digest() != arrived.seen) {
        why = tr("changed since it was checked");
        return false;
    }
    return true;
}

ArrivalCheck ContentArrival::compare(const CopyList& list, bool read, ContentHash& seen)
{
    const auto result = [](Arrival state, const QByteArray& rel, const QString& why) {
        return ArrivalCheck{state, QFile::decodeName(rel), why, Hash128()};
    };
    const auto differs = [&](const QByteArray& rel, const QString& why) {
        return result(Arrival::Differs, rel, why);
    };
    const auto missing = [&](const QByteArray& rel) {
        return result(Arrival::Missing, rel, tr("not on the target"));
    };
    if (!list.problems().empty()) {
        const CopyList::Problem& p = list.problems().front();
        struct stat there;
        if (p.error == ENOENT && !p.relative.contains('/') &&
            ::fstatat(m_folder, p.relative.constData(), &there, AT_SYMLINK_NOFOLLOW) != 0)
            return missing(p.relative);
        if (p.error == ENOENT)
            return differs(p.relative, tr("the original no longer exists"));
        return differs(p.relative, tr("the original could not be read (%1)")
                                       .arg(QString::fromLocal8Bit(std::strerror(p.error))));
    }
    if (list.items().empty())
        return ArrivalCheck{Arrival::NotChecked, QString(), tr("nothing to check"), Hash128()};
    // The place must not be the original or lie inside it.
    const CopyItem& top = list.items().front();
    struct stat original, here;
    if (::stat(top.source.constData(), &original) == 0) {
        for (int fd = ::dup(m_folder); fd >= 0;) {
            const bool ok = ::fstat(fd, &here) == 0;
            if (ok && sameItem(here, original)) {
                ::close(fd);
                return differs(top.relative, tr("that is the original itself"));
            }
            const int up = ok ? ::openat(fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC) : -1;
            struct stat above;
            const bool root = up < 0 || ::fstat(up, &above) != 0 || sameItem(above, here);
            ::close(fd);
            if (root) {
                if (up >= 0)
                    ::close(up);
                break;
            }
            fd = up;
        }
    }
    for (const CopyItem& item : list.items()) {
        if (item.kind == CopyItem::Repeat || item.kind == CopyItem::Special)
            continue;
        seen.add(item.relative.constData(), std::size_t(item.relative.size()) + 1);
        struct stat src, dst;
        if (statBeneath(m_folder, item.relative, dst) != 0) {
            const int error = errno;
            if (!item.relative.contains('/') && error == ENOENT)
                return missing(item.relative);
            if (error == EXDEV || error == ELOOP)
                return differs(item.relative, tr("a link or another volume on the way to it"));
            return differs(item.relative, error == ENOENT
                                              ? tr("not on the target")
                                              : QString::fromLocal8Bit(std::strerror(error)));
        }
        if (item.kind == CopyItem::Link) {
            char there[4096];
            const ssize_t n =
                S_ISLNK(dst.st_mode)
                    ? ::readlinkat(m_folder, item.relative.constData(), there, sizeof there)
                    : -1;
            if (n < 0 || QByteArray(there, int(n)) != item.linkText)
                return differs(item.relative, tr("not the same link on the target"));
            addState(seen, dst, false);
            continue;
        }
        if (::stat(item.source.constData(), &src) != 0)
            return differs(item.relative, tr("the original could not be read"));
        if (sameItem(src, dst))
            return differs(item.relative, tr("that is the original itself"));
        if (S_ISLNK(dst.st_mode))
            return differs(item.relative, tr("a link on the target"));
        addState(seen, src, item.kind == CopyItem::File);
        addState(seen, dst, item.kind == CopyItem::File);
        if (item.kind == CopyItem::Folder) {
            if (!S_ISDIR(dst.st_mode))
                return differs(item.relative, tr("not a folder on the target"));
            continue;
        }
        if (!S_ISREG(dst.st_mode))
            return differs(item.relative, tr("not a file on the target"));
        // Another name shares its data there (the original, reached through a
        // hard link, say): only where the original has such names too.
        if (dst.st_nlink > 1 && src.st_nlink < 2)
            return differs(item.relative, tr("a hard link to another file on the target"));
        if (dst.st_size != src.st_size)
            return differs(item.relative,
                           (changedSince(src, dst)
                                ? tr("%1 bytes on the target, %2 here, changed after it was copied")
                                : tr("%1 bytes on the target, %2 here"))
                               .arg(qint64(dst.st_size))
                               .arg(qint64(src.st_size)));
        if (!read)
            continue;
        // A verified copy, unchanged on both sides since it was read back; a
        // copy without a block of data stands for nothing unless read.
        const CopyJournal::Record* r = m_journal ? m_journal->find(item.relative) : nullptr;
        const bool holes = dst.st_blocks == 0 && src.st_blocks > 0 && dst.st_size > 0;
        if (r && r->verified && !holes && m_manifest->contains(item.relative) &&
            m_manifest->hash(item.relative) == r->hash && r->size == quint64(src.st_size) &&
            r->sourceTime == nsOf(src.st_mtim) && r->targetTime == nsOf(dst.st_mtim)) {
            m_trusted += 1;
            m_p.bytesDone += 2 * quint64(src.st_size);
            continue;
        }
        m_p.current = QFile::decodeName(item.source);
        const int a = ::open(item.source.constData(), O_RDONLY | O_CLOEXEC);
        const int b = a < 0 ? -1 : openBeneath(m_folder, item.relative);
        QString why;
        quint64 differsAt = ~quint64(0);
        struct stat openedA, openedB;
        const bool opened = a >= 0 && b >= 0 && ::fstat(a, &openedA) == 0 &&
                            ::fstat(b, &openedB) == 0 && sameState(openedA, src) &&
                            sameState(openedB, dst);
        bool same = opened && sameContent(a, b, differsAt, why);
        // Written to while it was read: what was compared is not what is there.
        if (same && (::fstat(a, &openedA) != 0 || ::fstat(b, &openedB) != 0 ||
                     !sameState(openedA, src) || !sameState(openedB, dst))) {
            same = false;
            why = tr("changed while it was compared");
        }
        if (a < 0)
            why = tr("the original could not be read");
        else if (b < 0)
            why = tr("cannot be read on the target");
        else if (!opened)
            why = tr("changed while it was compared");
        else if (!same && differsAt != ~quint64(0))
            why = holes && dst.st_size > 4096 ? tr("no data on the target, only its length")
                  : changedSince(src, dst)
                      ? tr("different content from byte %1 on, changed after it was copied")
                            .arg(differsAt)
                      : tr("different content from byte %1 on").arg(differsAt);
        if (a >= 0)
            ::close(a);
        if (b >= 0)
            ::close(b);
        if (m_stopped)
            return result(Arrival::NotChecked, item.relative, why);
        if (!same)
            return differs(item.relative, why);
        m_read += 1;
    }
    return ArrivalCheck{Arrival::Arrived, QString(), QString(), Hash128()};
}
