// SPDX-License-Identifier: GPL-3.0-or-later
// GLib's headers use "signals" as a name, which Qt defines as a macro: they
// come before any Qt header.
#include <gio/gio.h>

#include "control/ShellServices.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Log.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QMimeData>
#include <QUrl>

// The freedesktop.org counterparts of the desktop services: a clipboard file
// list every common file manager pastes, GIO's trash and the FileManager1
// D-Bus interface.

void postFilesToClipboard(const QStringList& paths)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QList<QUrl> urls;
    QStringList lines;
    QByteArray copied("copy");
    for (const QString& path : paths) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        const QUrl url = QUrl::fromLocalFile(absolute);
        urls.append(url);
        lines.append(absolute);
        copied += '\n' + url.toEncoded();
    }
    // Each format is read by some file manager and missing any one breaks a
    // paste in it; GNOME's and MATE's lists take no trailing newline.
    auto* data = new QMimeData;
    data->setUrls(urls);
    data->setData(QStringLiteral("x-special/gnome-copied-files"), copied);
    data->setData(QStringLiteral("x-special/mate-copied-files"), copied);
    data->setData(QStringLiteral("application/x-kde-cutselection"), QByteArray("0"));
    data->setText(lines.join(QLatin1Char('\n')));
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

bool deleteToRecycleBin(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    GFile* file = g_file_new_for_path(name.constData());
    GError* error = nullptr;
    const bool moved = g_file_trash(file, nullptr, &error);
    if (!moved)
        qCDebug(qmLog) << "trash:" << path << (error ? error->message : "failed");
    g_clear_error(&error);
    g_object_unref(file);
    return moved;
}

namespace {

// One item of a trash, as its .trashinfo file describes it.
struct TrashItem
{
    QString info;     // the .trashinfo file
    QString file;     // the item in the trash
    QString origPath; // where it came from
    QDateTime deleted;
};

QString trText(const char* text)
{
    return QCoreApplication::translate("ShellServices", text);
}

// The top folder of the volume that holds path (or would, for one gone).
QString topFolderOf(const QString& path)
{
    QString dir = QFileInfo(path).absolutePath();
    struct stat st;
    while (::stat(QFile::encodeName(dir).constData(), &st) != 0 && dir != QLatin1String("/"))
        dir = QFileInfo(dir).path();
    for (;;) {
        const QString up = QFileInfo(dir).path();
        struct stat above;
        if (dir == QLatin1String("/") || ::stat(QFile::encodeName(up).constData(), &above) != 0 ||
            above.st_dev != st.st_dev)
            return dir;
        dir = up;
    }
}

// The items of the trash in folder trash, whose relative paths start at top.
QVector<TrashItem> readTrash(const QString& trash, const QString& top)
{
    QVector<TrashItem> items;
    const QDir infos(trash + QStringLiteral("/info"));
    const QStringList names =
        infos.entryList({QStringLiteral("*.trashinfo")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        QFile file(infos.filePath(name));
        if (!file.open(QIODevice::ReadOnly) || file.size() > 65536)
            continue;
        TrashItem item;
        item.info = file.fileName();
        item.file = trash + QStringLiteral("/files/") + name.chopped(10);
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("Path=")) {
                const QString path =
                    QFile::decodeName(QByteArray::fromPercentEncoding(line.mid(5)));
                item.origPath = QDir::cleanPath(
                    path.startsWith(QLatin1Char('/')) ? path : top + QLatin1Char('/') + path);
            } else if (line.startsWith("DeletionDate=")) {
                item.deleted =
                    QDateTime::fromString(QString::fromLatin1(line.mid(13).trimmed()), Qt::ISODate);
            }
        }
        if (!item.origPath.isEmpty() && item.deleted.isValid())
            items.append(item);
    }
    return items;
}

// Moves from to to unless anything is at to; the reason when it did not.
QString moveBack(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from), dest = QFile::encodeName(to);
    struct stat st;
    if (::lstat(dest.constData(), &st) == 0)
        return trText("something else is in its place");
    QDir().mkpath(QFileInfo(to).path());
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, dest.constData(), RENAME_NOREPLACE) ==
        0)
        return QString();
    // A file system that cannot refuse to replace: checked just above.
    if ((errno == EINVAL || errno == ENOSYS) && ::rename(source.constData(), dest.constData()) == 0)
        return QString();
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QStringList restoreFromRecycleBin(const QStringList& paths, const QDateTime& since)
{
    // The trash of the home folder, and those of the volumes the paths are on
    // (the freedesktop.org trash: where GIO puts what it is given).
    const QString home = QFile::decodeName(g_get_user_data_dir()) + QStringLiteral("/Trash");
    const QString uid = QString::number(::getuid());
    QHash<QString, QVector<TrashItem>> trashes;
    const auto items = [&](const QString& trash, const QString& top) -> QVector<TrashItem>& {
        auto it = trashes.find(trash);
        if (it == trashes.end())
            it = trashes.insert(trash, readTrash(trash, top));
        return *it;
    };
    // DeletionDate has whole seconds.
    const QDateTime from = since.addMSecs(-since.time().msec());
    QStringList why;
    for (const QString& given : paths) {
        const QString path = QDir::cleanPath(QFileInfo(given).absoluteFilePath());
        const QString top = topFolderOf(path);
        const QString volume = top == QLatin1String("/") ? QString() : top;
        TrashItem* latest = nullptr;
        for (const auto& [trash, root] : {std::pair<QString, QString>{home, QFileInfo(home).path()},
                                          {volume + QStringLiteral("/.Trash/") + uid, top},
                                          {volume + QStringLiteral("/.Trash-") + uid, top}}) {
            for (TrashItem& item : items(trash, root)) {
                if (item.origPath == path && item.deleted >= from &&
                    (!latest || item.deleted > latest->deleted))
                    latest = &item;
            }
        }
        struct stat st;
        if (!latest || ::lstat(QFile::encodeName(latest->file).constData(), &st) != 0) {
            why << trText("no longer in the trash");
            continue;
        }
        const QString failed = moveBack(latest->file, path);
        if (failed.isEmpty()) {
            QFile::remove(latest->info);
            latest->origPath.clear(); // taken
        } else {
            qCDebug(qmLog) << "restore:" << path << failed;
        }
        why << failed;
    }
    return why;
}

void revealInFileManager(const QString& folder, const QString& item)
{
    const QUrl folderUrl = QUrl::fromLocalFile(folder);
    const auto openFolder = [folderUrl] { QDesktopServices::openUrl(folderUrl); };
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolder();
        return;
    }
    const QString shown = item.isEmpty() ? folder : item;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QString::fromLatin1(QUrl::fromLocalFile(shown).toEncoded())} << QString();
    // Asynchronous: a file manager being started must not freeze the window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [openFolder](QDBusPendingCallWatcher* w) {
                         if (w->isError()) {
                             qCDebug(qmLog) << "ShowItems:" << w->error().message();
                             openFolder();
                         }
                         w->deleteLater();
                     });
}
