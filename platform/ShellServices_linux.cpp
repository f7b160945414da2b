// SPDX-License-Identifier: GPL-3.0-or-later
// GLib's headers use "signals" as a name, which Qt defines as a macro: they
// come before any Qt header.
#include <gio/gio.h>

#include "control/ShellServices.h"
#include "core/Log.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
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
