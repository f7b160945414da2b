// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/CopyEngine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <new>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/copy/ContentHash.h"
#include "core/copy/CopyJournal.h"
#include "core/copy/CopyList.h"
#include "core/copy/CopyManifest.h"
#include "core/copy/HashPipe.h"
#include "core/copy/ReadBack.h"

namespace {

// Large enough that the system calls per byte do not matter, small enough
// that a cancel takes effect at once even on a slow stick.
constexpr std::size_t kBlock = std::size_t(1) << 20;

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 nsOf(const struct timespec& t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

QString text(const QByteArray& native)
{
    return QFile::decodeName(native);
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Opens a folder below root without following a link or leaving the volume
// on the way, so that a link or a mount planted on the target cannot lead
// the copy anywhere else (onto an original, say).
int openBeneath(int root, const QByteArray& relative)
{
    struct open_how how;
    std::memset(&how, 0, sizeof how);
    how.flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_NO_XDEV;
    const long fd = ::syscall(SYS_openat2, root, relative.constData(), &how, sizeof how);
    if (fd < 0 && errno == ENOSYS)
        return ::openat(root, relative.constData(),
                        O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    return int(fd);
}

// Errors after which the target can take nothing more.
bool targetFull(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

bool targetGone(int error)
{
    return error == EIO || error == ENODEV || error == ENXIO || error == ENOTCONN ||
           error == ESHUTDOWN || error == ESTALE || error == EROFS || error == ENOMEDIUM;
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

ssize_t readSome(int fd, char* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, data, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool sameItem(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

class CopyEngine::Run
{
public:
    explicit Run(CopyEngine& e) : m_e(e), m_buffer(2 * kBlock) {}
    ~Run()
    {
        for (Slot& s : m_slots)
            if (s.fd >= 0)
                ::close(s.fd);
        if (m_dest >= 0)
            ::close(m_dest);
    }

    void go();

private:
    enum Action
    {
        Copy,
        VerifyOnly,
        Skip
    };
    struct Written
    {
        std::size_t item;
        CopyJournal::Record record;
        bool earlier = false; // written by a run before this one
    };
    struct Slot
    {
        QByteArray path;
        int fd = -1;
        quint64 used = 0;
    };

    bool checkPlaces();
    bool openJournal();
    bool claimEntries();
    Action decide(const CopyItem& item, const CopyJournal::Record*& record);
    void makeFolder(const CopyItem& item);
    void makeLink(const CopyItem& item);
    void copyFile(std::size_t index);
    void verify(const Written& w);
    void writeManifest();
    void keepFolderTimes();

    // The descriptor of the folder holding relative (the destination for a
    // top-level item), and the item's own name; -1 with errno on failure.
    int parentOf(const QByteArray& relative, QByteArray& leaf);
    // Records a failure of the target met while working on relative, which
    // ends the copy when the target cannot go on; false then.
    bool targetError(int error, const QByteArray& relative, bool reading = false);
    void fatal(Outcome outcome, const QString& message);
    void problem(const QByteArray& relative, const QString& reason)
    {
        m_e.m_problems.push_back({text(relative), reason});
    }
    bool stopping() const { return m_fatal || m_e.m_cancel.load(std::memory_order_relaxed); }
    void phase(Phase p, quint64 bytes, int files);
    void report(bool now);
    // Work done; the first of a phase is reported at once, so that what
    // waits for a phase to get going need not wait for the clock.
    void tick(quint64 bytes)
    {
        m_p.bytesDone += bytes;
        m_work += bytes;
        report(m_firstTick);
        m_firstTick = false;
    }

    CopyEngine& m_e;
    int m_dest = -1;
    struct stat m_destStat;
    CopyList m_list;
    CopyJournal m_journal;
    std::vector<char> m_buffer; // two blocks: one is hashed while the other is read
    HashPipe m_hash;
    std::vector<Action> m_actions;
    std::vector<const CopyJournal::Record*> m_records;
    std::vector<Written> m_written;
    std::vector<std::size_t> m_redo; // earlier runs' copies that did not read back equal
    std::vector<bool> m_done;        // by item: the file is on the target, read back equal
    std::vector<Hash128> m_hashes;
    Slot m_slots[8];
    quint64 m_clock = 0;
    bool m_fatal = false;
    bool m_firstTick = false;
    Progress m_p;
    qint64 m_lastReport = -1;
    qint64 m_started = -1;
    qint64 m_lastFlush = 0;
    quint64 m_work = 0, m_workTotal = 0;
};

void CopyEngine::Run::fatal(Outcome outcome, const QString& message)
{
    if (m_fatal)
        return;
    m_fatal = true;
    m_e.m_outcome = outcome;
    m_e.m_message = message;
}

void CopyEngine::Run::phase(Phase p, quint64 bytes, int files)
{
    m_p.phase = p;
    m_p.bytesDone = 0;
    m_p.bytesTotal = bytes;
    m_p.filesDone = 0;
    m_p.filesTotal = files;
    m_p.current.clear();
    report(true);
    m_firstTick = true;
}

void CopyEngine::Run::report(bool now)
{
    const qint64 t = steadyMs();
    if (t - m_lastFlush >= 1000) {
        // A crash loses at most a second of records: those files are copied again.
        m_journal.flush(false);
        m_lastFlush = t;
    }
    if (!m_e.m_progress)
        return;
    if (!now && m_lastReport >= 0 && t - m_lastReport < 100)
        return;
    m_lastReport = t;
    if (m_started >= 0 && t > m_started) {
        m_p.bytesPerSecond = double(m_work) * 1000.0 / double(t - m_started);
        // A second or two in, the rate means something.
        m_p.secondsLeft =
            t - m_started >= 2000 && m_p.bytesPerSecond > 0
                ? qint64(double(m_workTotal - std::min(m_work, m_workTotal)) / m_p.bytesPerSecond)
                : -1;
    }
    m_e.m_progress(m_p);
}

int CopyEngine::Run::parentOf(const QByteArray& relative, QByteArray& leaf)
{
    const int slash = relative.lastIndexOf('/');
    leaf = relative.mid(slash + 1);
    if (slash < 0)
        return m_dest;
    const QByteArray folder = relative.left(slash);
    Slot* victim = &m_slots[0];
    for (Slot& s : m_slots) {
        if (s.fd >= 0 && s.path == folder) {
            s.used = ++m_clock;
            return s.fd;
        }
        if (s.used < victim->used)
            victim = &s;
    }
    const int fd = openBeneath(m_dest, folder);
    if (fd < 0)
        return -1;
    if (victim->fd >= 0)
        ::close(victim->fd);
    *victim = Slot{folder, fd, ++m_clock};
    return fd;
}

bool CopyEngine::Run::targetError(int error, const QByteArray& relative, bool reading)
{
    const QString where = text(relative);
    if (targetFull(error)) {
        fatal(TargetFull, tr("The target is full: %1 could not be written").arg(where));
        return false;
    }
    struct stat st;
    if (targetGone(error) || ::fstat(m_dest, &st) != 0 || !sameItem(st, m_destStat)) {
        fatal(TargetGone,
              tr("The target is no longer there or fails: %1 (%2)").arg(where, errorText(error)));
        return false;
    }
    problem(relative, (reading ? tr("could not be read back: %1")
                               : tr("could not be written on the target: %1"))
                          .arg(errorText(error)));
    return true;
}

bool CopyEngine::Run::checkPlaces()
{
    const QString& folder = m_e.m_destination.folder;
    m_dest = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dest < 0 || ::fstat(m_dest, &m_destStat) != 0) {
        fatal(Failed, tr("%1: %2").arg(folder, errorText(errno)));
        return false;
    }
    // The folders from the destination up to the root: none may be an entry.
    std::vector<struct stat> chain{m_destStat};
    for (int fd = ::openat(m_dest, "..", O_PATH | O_DIRECTORY | O_CLOEXEC); fd >= 0;) {
        struct stat st;
        const bool ok = ::fstat(fd, &st) == 0;
        const bool top = !ok || sameItem(st, chain.back()) || chain.size() > 4096;
        if (ok && !top)
            chain.push_back(st);
        const int up = top ? -1 : ::openat(fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = up;
    }
    // Names as the target's file system tells them apart.
    std::map<QString, QByteArray> names;
    for (const QString& entry : m_e.m_entries) {
        const QByteArray name = QFile::encodeName(QFileInfo(entry).fileName());
        const QString key = nameKey(QFile::decodeName(name), m_e.m_names);
        if (key == nameKey(CopyManifest::fileName(), m_e.m_names)) {
            fatal(Failed, tr("%1: an entry cannot have the name of the manifest").arg(entry));
            return false;
        }
        const auto taken = names.emplace(key, name);
        if (!taken.second) {
            fatal(Failed, tr("%1 and %2 are one name on the target: only one of them can be "
                             "copied into one folder")
                              .arg(text(taken.first->second), text(name)));
            return false;
        }
        struct stat original, there;
        if (::stat(QFile::encodeName(entry).constData(), &original) != 0)
            continue; // the list reports it
        for (const struct stat& st : chain) {
            if (sameItem(st, original)) {
                fatal(Failed,
                      tr("%1 lies inside %2: a copy into the original itself").arg(folder, entry));
                return false;
            }
        }
        if (::fstatat(m_dest, name.constData(), &there, 0) == 0 && sameItem(there, original)) {
            fatal(Failed, tr("%1 in %2 is the original itself").arg(text(name), folder));
            return false;
        }
    }
    return true;
}

bool CopyEngine::Run::openJournal()
{
    m_e.m_journalPath = m_e.m_destination.journalPath(quint64(m_destStat.st_dev));
    QString error;
    if (!m_journal.open(m_e.m_journalPath, true, &error)) {
        fatal(Failed,
              tr("The copy's journal %1 cannot be written: %2").arg(m_e.m_journalPath, error));
        return false;
    }
    return true;
}

// A name already in the destination that no earlier run of this copy made
// belongs to someone else: it is not overwritten.
bool CopyEngine::Run::claimEntries()
{
    for (const CopyItem& item : m_list.items()) {
        if (item.relative.contains('/'))
            continue;
        struct stat st;
        if (::fstatat(m_dest, item.relative.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            !m_journal.knowsEntry(item.relative)) {
            fatal(Failed, tr("%1 is already in %2 and was not put there by this copy: "
                             "copy into another folder, or remove it first")
                              .arg(text(item.relative), m_e.m_destination.folder));
            return false;
        }
    }
    for (const CopyItem& item : m_list.items())
        if (!item.relative.contains('/'))
            m_journal.startEntry(item.relative);
    if (!m_journal.flush(true)) {
        fatal(Failed, tr("The copy's journal %1 cannot be written: %2")
                          .arg(m_e.m_journalPath, errorText(errno)));
        return false;
    }
    return true;
}

CopyEngine::Run::Action CopyEngine::Run::decide(const CopyItem& item,
                                                const CopyJournal::Record*& record)
{
    record = m_journal.find(item.relative);
    if (!record)
        return Copy;
    struct stat src, dst;
    QByteArray leaf;
    const int parent = parentOf(item.relative, leaf);
    if (::stat(item.source.constData(), &src) != 0 || parent < 0 ||
        ::fstatat(parent, leaf.constData(), &dst, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(dst.st_mode) || quint64(src.st_size) != record->size ||
        nsOf(src.st_mtim) != record->sourceTime || quint64(dst.st_size) != record->size ||
        nsOf(dst.st_mtim) != record->targetTime)
        return Copy;
    return record->verified ? Skip : VerifyOnly;
}

void CopyEngine::Run::makeFolder(const CopyItem& item)
{
    QByteArray leaf;
    const int parent = parentOf(item.relative, leaf);
    if (parent < 0) {
        targetError(errno, item.relative);
        return;
    }
    struct stat st, original;
    if (::mkdirat(parent, leaf.constData(), 0755) != 0) {
        const int error = errno;
        if (error != EEXIST) {
            targetError(error, item.relative);
            return;
        }
        if (::fstatat(parent, leaf.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISDIR(st.st_mode)) {
            problem(item.relative, tr("is on the target already, and not as a folder"));
            return;
        }
        if (::stat(item.source.constData(), &original) == 0 && sameItem(st, original)) {
            fatal(Failed, tr("%1 on the target is the original itself").arg(text(item.relative)));
            return;
        }
    }
}

void CopyEngine::Run::makeLink(const CopyItem& item)
{
    QByteArray leaf;
    const int parent = parentOf(item.relative, leaf);
    if (parent < 0) {
        targetError(errno, item.relative);
        return;
    }
    if (::symlinkat(item.linkText.constData(), parent, leaf.constData()) == 0)
        return;
    int error = errno;
    if (error == EEXIST) {
        char there[4096];
        const ssize_t n = ::readlinkat(parent, leaf.constData(), there, sizeof there);
        if (n >= 0 && QByteArray(there, int(n)) == item.linkText)
            return;
        struct stat st;
        if (::fstatat(parent, leaf.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            !S_ISDIR(st.st_mode) && ::unlinkat(parent, leaf.constData(), 0) == 0 &&
            ::symlinkat(item.linkText.constData(), parent, leaf.constData()) == 0)
            return;
        error = errno;
    }
    if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL) {
        problem(item.relative, tr("a link that leads nowhere: the target cannot hold links"));
        return;
    }
    targetError(error, item.relative);
}

void CopyEngine::Run::copyFile(std::size_t index)
{
    const CopyItem& item = m_list.items()[index];
    m_p.current = text(item.relative);
    report(false);
    int src = ::open(item.source.constData(), O_RDONLY | O_CLOEXEC | O_NOATIME);
    if (src < 0 && errno == EPERM)
        src = ::open(item.source.constData(), O_RDONLY | O_CLOEXEC);
    struct stat before;
    if (src < 0 || ::fstat(src, &before) != 0 || !S_ISREG(before.st_mode)) {
        const int error = src < 0 ? errno : EINVAL;
        problem(item.relative, error == ENOENT
                                   ? tr("no longer exists")
                                   : tr("the original cannot be read: %1").arg(errorText(error)));
        if (src >= 0)
            ::close(src);
        tick(item.size);
        return;
    }
    if (before.st_size > off_t(kBlock))
        ::posix_fadvise(src, 0, 0, POSIX_FADV_SEQUENTIAL);
    QByteArray leaf;
    const int parent = parentOf(item.relative, leaf);
    struct stat there;
    if (parent >= 0 && ::fstatat(parent, leaf.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0) {
        // Never write through what is there: it could be the original, or a
        // hard link to anything.
        if (sameItem(there, before)) {
            ::close(src);
            fatal(Failed, tr("%1 on the target is the original itself").arg(text(item.relative)));
            return;
        }
        if (S_ISDIR(there.st_mode)) {
            ::close(src);
            problem(item.relative, tr("is on the target already, as a folder"));
            tick(item.size);
            return;
        }
        ::unlinkat(parent, leaf.constData(), 0);
    }
    const int dst = parent < 0 ? -1
                               : ::openat(parent, leaf.constData(),
                                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                          before.st_mode & 0777);
    if (dst < 0) {
        const int error = errno;
        ::close(src);
        if (targetError(error, item.relative))
            tick(item.size);
        return;
    }
    m_hash.reset();
    quint64 copied = 0;
    int readError = 0, writeError = 0;
    const quint64 expected = quint64(before.st_size);
    // Up to the length it had: a file that grows meanwhile shows in its time.
    for (int k = 0; copied < expected || expected == 0; k ^= 1) {
        if (m_e.m_cancel.load(std::memory_order_relaxed))
            break;
        char* block = m_buffer.data() + k * kBlock;
        const ssize_t n = readSome(src, block, kBlock);
        if (n < 0) {
            readError = errno;
            break;
        }
        if (n == 0)
            break;
        if (expected <= kBlock)
            m_hash.addNow(block, std::size_t(n));
        else
            m_hash.add(block, std::size_t(n));
        if (!writeAll(dst, block, std::size_t(n))) {
            writeError = errno;
            break;
        }
        copied += quint64(n);
        tick(quint64(n));
    }
    struct stat after, written;
    bool changed = false;
    const bool cancelled = m_e.m_cancel.load() && !readError && !writeError;
    if (!readError && !writeError && !cancelled) {
        changed = ::fstat(src, &after) != 0 || after.st_size != before.st_size ||
                  nsOf(after.st_mtim) != nsOf(before.st_mtim) || copied != quint64(before.st_size);
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        if (!changed &&
            (::futimens(dst, times) != 0 || ::fdatasync(dst) != 0 || ::fstat(dst, &written) != 0)) {
            writeError = errno;
        }
        if (!changed && !writeError)
            ::posix_fadvise(dst, 0, 0, POSIX_FADV_DONTNEED);
    }
    ::close(src);
    if (::close(dst) != 0 && !writeError && !readError && !cancelled && !changed) {
        writeError = errno;
    }
    if (readError || writeError || cancelled || changed) {
        // Never left looking complete.
        ::unlinkat(parent, leaf.constData(), 0);
        if (cancelled)
            return;
        m_work += item.size - std::min(item.size, copied);
        if (readError)
            problem(item.relative, tr("the original cannot be read: %1").arg(errorText(readError)));
        else if (changed)
            problem(item.relative, tr("the original changed while it was copied"));
        else
            targetError(writeError, item.relative);
        return;
    }
    m_e.m_copied += 1;
    m_e.m_bytesCopied += copied;
    m_p.filesDone += 1;
    CopyJournal::Record r;
    r.hash = m_hash.digest();
    r.size = copied;
    r.sourceTime = nsOf(before.st_mtim);
    r.targetTime = nsOf(written.st_mtim);
    m_journal.record(item.relative, r);
    m_written.push_back(Written{index, r});
}

void CopyEngine::Run::verify(const Written& w)
{
    const CopyItem& item = m_list.items()[w.item];
    m_p.current = text(item.relative);
    report(false);
    QByteArray leaf;
    const int parent = parentOf(item.relative, leaf);
    const int fd =
        parent < 0 ? -1 : ::openat(parent, leaf.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        m_journal.forget(item.relative);
        if (error == ENOENT)
            problem(item.relative, tr("is gone from the target"));
        else
            targetError(error, item.relative, true);
        m_work += w.record.size;
        return;
    }
    // Whatever of it is still cached was read from memory, not from the medium.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    // A copy of another size is not read at all.
    const ReadBack::Sum back = ReadBack::read(
        [fd](char* data, std::size_t size) { return qint64(readSome(fd, data, size)); },
        quint64(st.st_size) == w.record.size ? w.record.size : 0, m_hash, m_buffer, kBlock,
        [this](quint64 n) { tick(n); }, m_e.m_cancel);
    ::close(fd);
    if (back.stopped)
        return;
    m_work += w.record.size - std::min(w.record.size, back.bytes);
    if (back.error) {
        m_journal.forget(item.relative);
        targetError(back.error, item.relative, true);
        return;
    }
    const ReadBack::Verdict verdict = ReadBack::judge(back, w.record.size, w.record.hash);
    if (verdict != ReadBack::Equal) {
        m_journal.forget(item.relative);
        if (w.earlier) {
            // A crash may have cut what an earlier run wrote: written again.
            m_redo.push_back(w.item);
            return;
        }
        problem(item.relative, verdict == ReadBack::Shorter
                                   ? tr("%1 bytes on the target, %2 written")
                                         .arg(qint64(st.st_size))
                                         .arg(w.record.size)
                                   : tr("read back different from what was written: the medium "
                                        "does not keep what is written to it"));
        return;
    }
    CopyJournal::Record r = w.record;
    r.verified = true;
    r.targetTime = nsOf(st.st_mtim);
    m_journal.record(item.relative, r);
    m_done[w.item] = true;
    m_hashes[w.item] = r.hash;
    m_e.m_verified += 1;
    m_p.filesDone += 1;
}

void CopyEngine::Run::writeManifest()
{
    CopyManifest manifest;
    QString error;
    const QString& folder = m_e.m_destination.folder;
    if (!manifest.read(folder, &error))
        manifest = CopyManifest(); // unreadable: written anew
    // Lines of earlier copies into this folder stay while their files are there.
    for (const QByteArray& relative : manifest.paths()) {
        QByteArray leaf;
        struct stat st;
        const int parent = parentOf(relative, leaf);
        if (parent < 0 || ::fstatat(parent, leaf.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            manifest.remove(relative);
    }
    const auto& items = m_list.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].kind != CopyItem::File)
            continue;
        if (m_done[i])
            manifest.set(items[i].relative, m_hashes[i]);
        else
            manifest.remove(items[i].relative);
    }
    if (!manifest.write(m_dest, &error)) {
        const int e = errno;
        const QByteArray name = QFile::encodeName(CopyManifest::fileName());
        if (targetFull(e) || targetGone(e))
            targetError(e, name);
        else
            problem(name, error);
        return;
    }
    m_e.m_manifestPath = QDir(folder).filePath(CopyManifest::fileName());
}

void CopyEngine::Run::keepFolderTimes()
{
    const auto& items = m_list.items();
    // Children first: setting a folder's time before would see it changed again.
    for (std::size_t i = items.size(); i-- > 0;) {
        if (items[i].kind != CopyItem::Folder)
            continue;
        struct stat st;
        QByteArray leaf;
        const int parent = parentOf(items[i].relative, leaf);
        if (parent < 0 || ::stat(items[i].source.constData(), &st) != 0)
            continue;
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::utimensat(parent, leaf.constData(), times, AT_SYMLINK_NOFOLLOW);
    }
}

void CopyEngine::Run::go()
{
    phase(Listing, 0, 0);
    if (!checkPlaces())
        return;
    if (!m_list.build(m_e.m_entries, &m_e.m_cancel)) {
        m_e.m_outcome = Stopped;
        return;
    }
    for (const CopyList::Problem& p : m_list.problems())
        problem(p.relative, p.error == ENOENT
                                ? tr("no longer exists")
                                : tr("the original cannot be read: %1").arg(errorText(p.error)));
    if (!openJournal() || !claimEntries())
        return;

    const auto& items = m_list.items();
    m_actions.assign(items.size(), Copy);
    m_records.assign(items.size(), nullptr);
    m_done.assign(items.size(), false);
    m_hashes.assign(items.size(), Hash128());
    quint64 copyBytes = 0, verifyBytes = 0;
    int copyFiles = 0, verifyFiles = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].kind != CopyItem::File)
            continue;
        m_actions[i] = decide(items[i], m_records[i]);
        if (m_actions[i] == Copy) {
            copyBytes += items[i].size;
            copyFiles += 1;
        }
        if (m_actions[i] != Skip) {
            verifyBytes += m_actions[i] == Copy ? items[i].size : m_records[i]->size;
            verifyFiles += 1;
        } else {
            m_done[i] = true;
            m_hashes[i] = m_records[i]->hash;
            m_e.m_skipped += 1;
        }
    }
    m_workTotal = copyBytes + verifyBytes;
    m_started = steadyMs();

    phase(Copying, copyBytes, copyFiles);
    for (std::size_t i = 0; i < items.size() && !stopping(); ++i) {
        const CopyItem& item = items[i];
        switch (item.kind) {
        case CopyItem::Folder:
            makeFolder(item);
            break;
        case CopyItem::Link:
            makeLink(item);
            break;
        case CopyItem::Repeat:
            m_e.m_notes.push_back({text(item.relative), tr("a folder reached again through a link: "
                                                           "copied once only")});
            break;
        case CopyItem::Special:
            m_e.m_notes.push_back(
                {text(item.relative), tr("not a file or folder: nothing to copy")});
            break;
        case CopyItem::File:
            if (m_actions[i] == Copy)
                copyFile(i);
            else if (m_actions[i] == VerifyOnly)
                m_written.push_back(Written{i, *m_records[i], true});
            break;
        }
    }
    m_journal.flush(true);
    if (!stopping()) {
        phase(Verifying, verifyBytes, int(m_written.size()));
        for (const Written& w : m_written) {
            if (stopping())
                break;
            verify(w);
        }
        if (!m_redo.empty() && !stopping()) {
            const std::size_t from = m_written.size();
            for (const std::size_t i : m_redo)
                if (!stopping())
                    copyFile(i);
            for (std::size_t w = from; w < m_written.size() && !stopping(); ++w)
                verify(m_written[w]);
        }
        m_journal.flush(true);
    }
    if (!m_fatal && m_e.m_cancel.load()) {
        m_e.m_outcome = Stopped;
        m_e.m_message = tr("Cancelled: run the copy again to go on where it stopped");
    }
    if (!stopping()) {
        phase(Finishing, 0, 0);
        writeManifest();
        if (!m_fatal)
            keepFolderTimes();
    }
    QString error;
    m_journal.compact(&error);
    if (!m_fatal && !m_e.m_cancel.load())
        m_e.m_outcome = m_e.m_problems.empty() ? Complete : Incomplete;
}

CopyEngine::CopyEngine(const QStringList& entries, const CopyDestination& destination,
                       NameRule names)
    : m_entries(entries), m_destination(destination), m_names(names)
{
}

CopyEngine::~CopyEngine() = default;

bool CopyEngine::run()
{
    m_outcome = Failed;
    m_message.clear();
    m_problems.clear();
    m_notes.clear();
    m_copied = m_skipped = m_verified = 0;
    m_bytesCopied = 0;
    m_manifestPath.clear();
    try {
        Run r(*this);
        r.go();
    } catch (const std::bad_alloc&) {
        m_outcome = Failed;
        m_message = tr("The copy ran out of memory");
    }
    return m_outcome == Complete;
}
