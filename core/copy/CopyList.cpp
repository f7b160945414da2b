// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/CopyList.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

namespace {

struct Child
{
    quint64 inode;
    QByteArray name;
    unsigned char type;
};

// A folder being copied: its children in creation order and the next one.
struct Frame
{
    QByteArray source, relative;
    std::vector<Child> children;
    std::size_t next = 0;
};

bool isDot(const char* n)
{
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

} // namespace

bool CopyList::build(const QStringList& entries, const std::atomic_bool* stop)
{
    m_items.clear();
    m_problems.clear();
    m_bytes = 0;
    m_files = 0;
    for (const QString& entry : entries) {
        QString clean = entry;
        while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
            clean.chop(1);
        if (!listEntry(QFile::encodeName(clean), QFile::encodeName(QFileInfo(clean).fileName()),
                       stop))
            return false;
    }
    return true;
}

bool CopyList::listEntry(const QByteArray& source, const QByteArray& name,
                         const std::atomic_bool* stop)
{
    std::set<std::pair<dev_t, ino_t>> entered;
    std::vector<Frame> stack;

    // Classifies one item as the walk counts it; folders are queued on stack.
    const auto add = [&](const QByteArray& src, const QByteArray& rel, int dirFd, const char* leaf,
                         unsigned char type) {
        struct stat st;
        CopyItem item;
        item.source = src;
        item.relative = rel;
        if (type != DT_DIR && type != DT_LNK && type != DT_REG) {
            if (::fstatat(dirFd, leaf, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT)
                    m_problems.push_back({rel, errno});
                return;
            }
            type = S_ISLNK(st.st_mode)   ? DT_LNK
                   : S_ISDIR(st.st_mode) ? DT_DIR
                   : S_ISREG(st.st_mode) ? DT_REG
                                         : DT_FIFO;
        }
        if (type == DT_LNK || type == DT_REG) {
            if (::fstatat(dirFd, leaf, &st, 0) != 0) {
                if (type == DT_REG && errno == ENOENT)
                    return; // removed since it was listed
                if (errno != ENOENT && errno != ELOOP && errno != ENOTDIR) {
                    m_problems.push_back({rel, errno});
                    return;
                }
                char text[4096];
                const ssize_t n = ::readlinkat(dirFd, leaf, text, sizeof text);
                if (n < 0) {
                    if (errno != ENOENT)
                        m_problems.push_back({rel, errno});
                    return;
                }
                item.kind = CopyItem::Link;
                item.linkText = QByteArray(text, int(n));
                m_items.push_back(std::move(item));
                return;
            }
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_FIFO;
        }
        if (type == DT_REG || type == DT_FIFO) {
            item.kind = type == DT_REG ? CopyItem::File : CopyItem::Special;
            item.size = type == DT_REG ? quint64(st.st_size) : 0;
            if (type == DT_REG) {
                m_bytes += item.size;
                m_files += 1;
            }
            m_items.push_back(std::move(item));
            return;
        }
        // A folder: listed now, its children copied right after it.
        const int fd = ::openat(dirFd, leaf, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            m_problems.push_back({rel, errno});
            return;
        }
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(fd), ::closedir);
        if (!dir) {
            ::close(fd);
            m_problems.push_back({rel, errno});
            return;
        }
        if (::fstat(fd, &st) != 0 || !entered.insert({st.st_dev, st.st_ino}).second) {
            item.kind = CopyItem::Repeat;
            m_items.push_back(std::move(item));
            return;
        }
        item.kind = CopyItem::Folder;
        m_items.push_back(item);
        Frame frame{src, rel, {}, 0};
        for (;;) {
            errno = 0;
            const dirent* d = ::readdir(dir.get());
            if (!d)
                break;
            if (!isDot(d->d_name))
                frame.children.push_back(
                    Child{quint64(d->d_ino), QByteArray(d->d_name), d->d_type});
        }
        if (errno != 0)
            m_problems.push_back({rel, errno});
        std::stable_sort(frame.children.begin(), frame.children.end(),
                         [](const Child& a, const Child& b) { return a.inode < b.inode; });
        stack.push_back(std::move(frame));
    };

    {
        // The entry itself, looked up from its parent folder.
        const int slash = source.lastIndexOf('/');
        const QByteArray parent = slash < 0    ? QByteArray(".")
                                  : slash == 0 ? QByteArray("/")
                                               : source.left(slash);
        const int fd = ::open(parent.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        struct stat st;
        if (fd < 0 ||
            ::fstatat(fd, source.constData() + slash + 1, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            const int error = errno;
            if (fd >= 0)
                ::close(fd);
            m_problems.push_back({name, error});
            return true;
        }
        add(source, name, fd, source.constData() + slash + 1, DT_UNKNOWN);
        ::close(fd);
    }
    unsigned sinceCheck = 0;
    int parentFd = -1;
    QByteArray parentPath;
    while (!stack.empty()) {
        if (++sinceCheck % 256 == 0 && stop && stop->load()) {
            if (parentFd >= 0)
                ::close(parentFd);
            return false;
        }
        Frame& top = stack.back();
        if (top.next == top.children.size()) {
            stack.pop_back();
            continue;
        }
        const Child child = top.children[top.next++];
        const QByteArray src = top.source + '/' + child.name;
        const QByteArray rel = top.relative + '/' + child.name;
        // The folder's descriptor, kept while its children follow one another.
        if (parentFd < 0 || parentPath != top.source) {
            if (parentFd >= 0)
                ::close(parentFd);
            parentPath = top.source;
            parentFd = ::open(parentPath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        }
        if (parentFd < 0) {
            m_problems.push_back({rel, errno});
            continue;
        }
        add(src, rel, parentFd, child.name.constData(), child.type);
    }
    if (parentFd >= 0)
        ::close(parentFd);
    return true;
}
