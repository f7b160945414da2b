// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/CopyJournal.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QByteArray s_magic = "quillmarch copy journal 1";

QByteArray encoded(const QByteArray& path)
{
    return path.toPercentEncoding("/!$&'()*+,;=:@~ ");
}

bool writeAll(int fd, const QByteArray& bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray recordLine(const QByteArray& relative, const CopyJournal::Record& r)
{
    return (r.verified ? "V\t" : "W\t") + r.hash.hex() + '\t' + QByteArray::number(r.size) + '\t' +
           QByteArray::number(r.sourceTime) + '\t' + QByteArray::number(r.targetTime) + '\t' +
           encoded(relative) + '\n';
}

} // namespace

CopyJournal::~CopyJournal()
{
    if (m_fd >= 0) {
        flush(true);
        ::close(m_fd);
    }
}

QString CopyJournal::pathFor(const QString& volumeId, const QString& place)
{
    QString state = QString::fromLocal8Bit(qgetenv("XDG_STATE_HOME"));
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    ContentHash key;
    const QByteArray text = volumeId.toUtf8() + '\n' + QFile::encodeName(place);
    key.add(text.constData(), std::size_t(text.size()));
    return state + QStringLiteral("/quillmarch/copies/") + QString::fromLatin1(key.digest().hex()) +
           QStringLiteral(".journal");
}

bool CopyJournal::open(const QString& path, bool forWriting, QString* error)
{
    m_path = path;
    m_records.clear();
    m_entries.clear();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = file.readAll().split('\n');
        // A last line cut short by a crash has no line feed: it is dropped.
        for (int i = 1; i + 1 < lines.size(); ++i) {
            const QList<QByteArray> f = lines.at(i).split('\t');
            if (f.size() == 2 && f[0] == "E") {
                m_entries.insert(QByteArray::fromPercentEncoding(f[1]));
            } else if (f.size() == 2 && f[0] == "F") {
                m_records.remove(QByteArray::fromPercentEncoding(f[1]));
            } else if (f.size() == 6 && (f[0] == "V" || f[0] == "W")) {
                Record r;
                bool ok[3] = {};
                r.verified = f[0] == "V";
                r.size = f[2].toULongLong(&ok[0]);
                r.sourceTime = f[3].toLongLong(&ok[1]);
                r.targetTime = f[4].toLongLong(&ok[2]);
                if (Hash128::fromHex(f[1], r.hash) && ok[0] && ok[1] && ok[2])
                    m_records.insert(QByteArray::fromPercentEncoding(f[5]), r);
            }
        }
    } else if (file.exists()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!forWriting)
        return true;
    if (!QDir().mkpath(QFileInfo(path).path())) {
        if (error)
            *error = QCoreApplication::translate("CopyJournal", "cannot make the folder %1")
                         .arg(QFileInfo(path).path());
        return false;
    }
    m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                  0600);
    if (m_fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!file.exists() || file.size() == 0)
        m_pending = s_magic + '\n';
    return true;
}

const CopyJournal::Record* CopyJournal::find(const QByteArray& relative) const
{
    const auto it = m_records.constFind(relative);
    return it == m_records.constEnd() ? nullptr : &*it;
}

void CopyJournal::append(const QByteArray& line)
{
    m_pending += line;
}

void CopyJournal::startEntry(const QByteArray& name)
{
    if (!m_entries.contains(name)) {
        m_entries.insert(name);
        append("E\t" + encoded(name) + '\n');
    }
}

void CopyJournal::record(const QByteArray& relative, const Record& r)
{
    m_records.insert(relative, r);
    append(recordLine(relative, r));
}

void CopyJournal::forget(const QByteArray& relative)
{
    if (m_records.remove(relative))
        append("F\t" + encoded(relative) + '\n');
}

bool CopyJournal::flush(bool sync)
{
    if (m_fd < 0)
        return false;
    const bool ok = writeAll(m_fd, m_pending);
    m_pending.clear();
    return ok && (!sync || ::fdatasync(m_fd) == 0);
}

bool CopyJournal::compact(QString* error)
{
    if (m_fd < 0)
        return false;
    m_pending.clear();
    QSaveFile out(m_path);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(s_magic + '\n');
        for (const QByteArray& name : qAsConst(m_entries))
            out.write("E\t" + encoded(name) + '\n');
        for (auto it = m_records.constBegin(); it != m_records.constEnd(); ++it)
            out.write(recordLine(it.key(), it.value()));
    }
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    // Appends go on into the new file.
    ::close(m_fd);
    m_fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    return m_fd >= 0;
}
