// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/Arrival.h"

#include <cerrno>
#include <memory>
#include <string>

#include <dirent.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/model/Entry.h"

namespace {

std::string native(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Compares every file below the folder src with the one at the same place
// below dst; false with detail at the first that is missing or differs.
bool sameFiles(const std::string& src, const std::string& dst, const QString& rel, QString& detail)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(src.c_str()), ::closedir);
    if (!dir) {
        detail = QCoreApplication::translate("Arrival", "%1: the original could not be read").arg(rel);
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* d = ::readdir(dir.get());
        if (!d)
            break;
        const char* name = d->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        const std::string s = src + '/' + name, t = dst + '/' + name;
        const QString r = rel + QLatin1Char('/') + QFile::decodeName(name);
        struct stat ss, ts;
        if (::lstat(s.c_str(), &ss) != 0) {
            if (errno == ENOENT)
                continue; // gone meanwhile: nothing of it to lose
            detail = QCoreApplication::translate("Arrival", "%1: the original could not be read").arg(r);
            return false;
        }
        // A link is copied as a link, or what it points at as a file.
        const bool link = S_ISLNK(ss.st_mode);
        if ((link ? ::lstat(t.c_str(), &ts) : ::stat(t.c_str(), &ts)) != 0) {
            detail = QCoreApplication::translate("Arrival", "%1: not on the target").arg(r);
            return false;
        }
        if (link)
            continue;
        if (S_ISDIR(ss.st_mode)) {
            if (!S_ISDIR(ts.st_mode)) {
                detail = QCoreApplication::translate("Arrival", "%1: not a folder on the target").arg(r);
                return false;
            }
            if (!sameFiles(s, t, r, detail))
                return false;
        } else if (S_ISREG(ss.st_mode) && (!S_ISREG(ts.st_mode) || ts.st_size != ss.st_size)) {
            detail = QCoreApplication::translate("Arrival", "%1: %2 bytes on the target, %3 here")
                         .arg(r, QString::number(S_ISREG(ts.st_mode) ? qint64(ts.st_size) : 0),
                              QString::number(qint64(ss.st_size)));
            return false;
        }
    }
    if (errno != 0) {
        detail = QCoreApplication::translate("Arrival", "%1: the original could not be read").arg(rel);
        return false;
    }
    return true;
}

// One path lies inside the other (or they are the same).
bool nested(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
    if (ca.isEmpty() || cb.isEmpty())
        return false;
    return ca == cb || ca.startsWith(cb + QLatin1Char('/')) || cb.startsWith(ca + QLatin1Char('/'));
}

} // namespace

ArrivalCheck checkArrival(const Entry& entry, const QStringList& places)
{
    ArrivalCheck result;
    for (const QString& place : places) {
        if (place.isEmpty())
            continue;
        const QString candidate = QDir(place).filePath(entry.Name);
        struct stat copy, original;
        if (::stat(native(candidate).c_str(), &copy) != 0)
            continue;
        QString detail;
        if (::stat(native(entry.Ident).c_str(), &original) != 0) {
            detail = QCoreApplication::translate("Arrival", "%1: the original could not be read").arg(entry.Name);
        } else if (sameFile(original, copy) || nested(candidate, entry.Ident)) {
            detail = QCoreApplication::translate("Arrival", "%1: that is the original itself").arg(entry.Name);
        } else if (S_ISDIR(original.st_mode)) {
            if (!S_ISDIR(copy.st_mode))
                detail = QCoreApplication::translate("Arrival", "%1: not a folder on the target").arg(entry.Name);
            else if (sameFiles(native(entry.Ident), native(candidate), entry.Name, detail))
                return ArrivalCheck{Arrival::Arrived, QString()};
        } else if (!S_ISREG(copy.st_mode) || copy.st_size != original.st_size) {
            detail =
                QCoreApplication::translate("Arrival", "%1: %2 bytes on the target, %3 here")
                    .arg(entry.Name,
                         QString::number(S_ISREG(copy.st_mode) ? qint64(copy.st_size) : 0),
                         QString::number(qint64(original.st_size)));
        } else {
            return ArrivalCheck{Arrival::Arrived, QString()};
        }
        if (result.state == Arrival::NotFound)
            result = ArrivalCheck{Arrival::Different, detail};
    }
    return result;
}
