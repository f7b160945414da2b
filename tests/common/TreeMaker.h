#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// Builds file trees for walk tests from lines like
//   "d:A/B"          a folder (parents are made as needed)
//   "f:A/x=4097"     a file of that many bytes
//   "l:A/l->target"  a symbolic link (target taken literally)
//   "p:A/fifo"       a named pipe
// relative to base. Returns false (with the bad line in error) on failure.
namespace TreeMaker {

inline QStringList lines(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* s : items)
        out << QString::fromUtf8(s);
    return out;
}

inline bool make(const QString& base, const QStringList& lines, QString* error = nullptr)
{
    for (const QString& line : lines) {
        const QChar kind = line.at(0);
        const QString rest = line.mid(2);
        const int eq = rest.lastIndexOf(QLatin1Char('='));
        const int arrow = rest.indexOf(QLatin1String("->"));
        const QString name = kind == QLatin1Char('f') ? rest.left(eq)
                             : kind == QLatin1Char('l') ? rest.left(arrow)
                                                        : rest;
        const QString path = base + QLatin1Char('/') + name;
        const QByteArray native = QFile::encodeName(path);
        bool ok = QDir().mkpath(kind == QLatin1Char('d') ? path : QFileInfo(path).path());
        if (kind == QLatin1Char('f')) {
            QFile f(path);
            ok = ok && f.open(QIODevice::WriteOnly) && f.resize(rest.mid(eq + 1).toLongLong());
        } else if (kind == QLatin1Char('l')) {
            ok = ok && ::symlink(QFile::encodeName(rest.mid(arrow + 2)).constData(),
                                 native.constData()) == 0;
        } else if (kind == QLatin1Char('p')) {
            ok = ok && ::mkfifo(native.constData(), 0644) == 0;
        } else if (kind != QLatin1Char('d')) {
            ok = false;
        }
        if (!ok) {
            if (error)
                *error = line;
            return false;
        }
    }
    return true;
}

// Removes a tree of any depth (QDir gives up on paths longer than the limit).
inline bool remove(const QString& path)
{
    return QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), path}) == 0;
}

// A chain of levels folders named name below base, made with descriptors so
// that its depth is not limited by the path limit. A file of bottomSize bytes
// goes into the deepest folder. Returns the full path of the deepest folder,
// or an empty string on failure.
inline QString makeChain(const QString& base, int levels, const QString& name, qint64 bottomSize)
{
    const QByteArray n = QFile::encodeName(name);
    int fd = ::open(QFile::encodeName(base).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return QString();
    QString path = base;
    for (int i = 0; i < levels; ++i) {
        if (::mkdirat(fd, n.constData(), 0755) != 0) {
            ::close(fd);
            return QString();
        }
        const int next = ::openat(fd, n.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        if (next < 0)
            return QString();
        fd = next;
        path += QLatin1Char('/') + name;
    }
    const int file = ::openat(fd, "bottom", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ::close(fd);
    if (file < 0)
        return QString();
    const bool ok = ::ftruncate(file, bottomSize) == 0;
    ::close(file);
    return ok ? path : QString();
}

} // namespace TreeMaker
