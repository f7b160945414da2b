// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/CopyManifest.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "core/copy/CopyList.h"

namespace {

bool needsEscape(const QByteArray& path)
{
    return path.contains('\n') || path.contains('\r');
}

QByteArray escaped(const QByteArray& path)
{
    QByteArray out;
    out.reserve(path.size() + 8);
    for (char c : path) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

bool unescape(const QByteArray& text, QByteArray& out)
{
    out.clear();
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        const char c = text[i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == '\\' ? '\\' : '\0';
        if (out.endsWith('\0'))
            return false;
    }
    return true;
}

QString errorText(const char* what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

QString CopyManifest::fileName()
{
    return QStringLiteral("XXH128SUMS");
}

quint64 CopyManifest::lineBytes(const QByteArray& relative)
{
    const quint64 escapable =
        quint64(relative.count('\\') + relative.count('\n') + relative.count('\r'));
    return lineBytes(quint64(relative.size()), escapable, needsEscape(relative));
}

quint64 CopyManifest::bytesFor(const CopyList& list)
{
    quint64 bytes = 0;
    for (const CopyItem& item : list.items())
        if (item.kind == CopyItem::File)
            bytes += lineBytes(item.relative);
    return bytes;
}

quint64 CopyManifest::bytesForEntries(const QStringList& entries)
{
    CopyList list;
    list.build(entries);
    return bytesFor(list);
}

bool CopyManifest::read(const QString& folder, QString* error)
{
    m_lines.clear();
    m_index.clear();
    m_skipped = 0;
    QFile file(QDir(folder).filePath(fileName()));
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    for (QByteArray line : all.split('\n')) {
        if (line.isEmpty())
            continue;
        const bool isEscaped = line.startsWith('\\');
        if (isEscaped)
            line.remove(0, 1);
        Hash128 hash;
        QByteArray path;
        if (line.size() < 35 || !Hash128::fromHex(line.left(32), hash) || line[32] != ' ' ||
            (line[33] != ' ' && line[33] != '*') ||
            !(isEscaped ? unescape(line.mid(34), path) : (path = line.mid(34), true))) {
            ++m_skipped;
            continue;
        }
        set(path, hash);
    }
    return true;
}

Hash128 CopyManifest::hash(const QByteArray& relative) const
{
    const auto it = m_index.constFind(relative);
    return it == m_index.constEnd() ? Hash128() : m_lines[std::size_t(*it)].hash;
}

void CopyManifest::set(const QByteArray& relative, const Hash128& hash)
{
    const auto it = m_index.constFind(relative);
    if (it != m_index.constEnd()) {
        m_lines[std::size_t(*it)].hash = hash;
        return;
    }
    m_index.insert(relative, int(m_lines.size()));
    m_lines.push_back(Line{relative, hash, false});
}

void CopyManifest::remove(const QByteArray& relative)
{
    const auto it = m_index.find(relative);
    if (it == m_index.end())
        return;
    m_lines[std::size_t(*it)].removed = true;
    m_index.erase(it);
}

QList<QByteArray> CopyManifest::paths() const
{
    QList<QByteArray> out;
    for (const Line& l : m_lines)
        if (!l.removed)
            out.append(l.relative);
    return out;
}

QByteArray CopyManifest::text() const
{
    QByteArray out;
    for (const Line& l : m_lines) {
        if (l.removed)
            continue;
        if (needsEscape(l.relative))
            out += '\\' + l.hash.hex() + "  " + escaped(l.relative) + '\n';
        else
            out += l.hash.hex() + "  " + l.relative + '\n';
    }
    return out;
}

bool CopyManifest::write(int folderFd, QString* error) const
{
    const QByteArray bytes = text();
    const QByteArray name = QFile::encodeName(fileName());
    const int fd =
        ::openat(folderFd, name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error)
            *error = fd < 0 ? errorText("cannot be opened") : QStringLiteral("not a plain file");
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    bool ok = true;
    const char* what = "cannot be written";
    // Shrinking first: the old lines never outlive the new ones on a crash
    // midway, and a longer file does not need room for both.
    if (::ftruncate(fd, 0) != 0)
        ok = false;
    for (qint64 done = 0; ok && done < bytes.size();) {
        const ssize_t n =
            ::pwrite(fd, bytes.constData() + done, std::size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else
            done += n;
    }
    if (ok && ::fdatasync(fd) != 0)
        ok = false;
    if (ok) {
        what = "did not read back as written";
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        QByteArray back(bytes.size(), Qt::Uninitialized);
        qint64 got = 0;
        while (got < back.size()) {
            const ssize_t n =
                ::pread(fd, back.data() + got, std::size_t(back.size() - got), off_t(got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
        }
        ok = got == back.size() && back == bytes;
        if (!ok && got == back.size())
            errno = EIO; // the medium does not keep what is written to it
    }
    const int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        what = "cannot be closed";
    } else {
        errno = saved;
    }
    if (!ok && error)
        *error = errorText(what);
    return ok;
}
