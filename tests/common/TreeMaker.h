// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringList>

// Builds file trees for tests from lines like
//   "d:A/B"          a folder (parents are made as needed)
//   "f:A/x=4097"     a file of that many bytes (sparse)
//   "l:A/l->target"  a symbolic link (target taken literally)
//   "h:A/h->A/x"     a hard link to a file (target relative to base)
//   "p:A/fifo"       a named pipe
// relative to base. Returns false at the first line that fails.
namespace TreeMaker {

inline bool make(const QString& base, const QStringList& lines)
{
    for (const QString& line : lines) {
        const char kind = line.at(0).toLatin1();
        const QString rest = line.mid(2);
        const int eq = rest.lastIndexOf('='), arrow = rest.indexOf("->");
        const bool isLink = kind == 'l' || kind == 'h';
        const QString path = base + '/' +
                             (kind == 'f' ? rest.left(eq)
                              : isLink    ? rest.left(arrow)
                                          : rest);
        const QByteArray native = QFile::encodeName(path),
                         target = QFile::encodeName(rest.mid(arrow + 2));
        const QByteArray linked = QFile::encodeName(base + '/' + rest.mid(arrow + 2));
        QFile f(path);
        if (!QByteArray("dflhp").contains(kind) ||
            !QDir().mkpath(kind == 'd' ? path : QFileInfo(path).path()) ||
            (kind == 'f' &&
             !(f.open(QIODevice::WriteOnly) && f.resize(rest.mid(eq + 1).toLongLong()))) ||
            (kind == 'l' && ::symlink(target.constData(), native.constData()) != 0) ||
            (kind == 'h' && ::link(linked.constData(), native.constData()) != 0) ||
            (kind == 'p' && ::mkfifo(native.constData(), 0644) != 0))
            return false;
    }
    return true;
}

} // namespace TreeMaker
