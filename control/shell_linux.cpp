// GLib's headers use "signals" as a name, which Qt defines as a macro: they
// come before any Qt header.
#include <gio/gio.h>

#include "control/ShellIcons.h"
#include "control/ShellServices.h"

#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDebug>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPixmap>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>

// The freedesktop.org counterparts of the desktop services: a clipboard file
// list every common file manager pastes, GIO's trash, the FileManager1 D-Bus
// interface, and the icon theme.

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
        qDebug() << "trash:" << path << (error ? error->message : "failed");
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
                             qDebug() << "ShowItems:" << w->error().message();
                             openFolder();
                         }
                         w->deleteLater();
                     });
}

namespace {

// Without a desktop session the theme is empty or bare "hicolor", which has
// next to no icons, and the offscreen platform does not even search the XDG
// data folders: fall back to Adwaita there.
void ensureIconTheme()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList dataIcons =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    for (const QString& folder : dataIcons) {
        if (!paths.contains(folder))
            paths.append(folder);
    }
    QIcon::setThemeSearchPaths(paths);
    const QString theme = QIcon::themeName();
    if (theme.isEmpty())
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    else if (theme == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

QIcon styleIcon(QStyle::StandardPixmap which)
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return app->style()->standardIcon(which);
    return QIcon();
}

QIcon themeIcon(const QString& name, QStyle::StandardPixmap otherwise)
{
    const QIcon icon = QIcon::fromTheme(name);
    return icon.isNull() ? styleIcon(otherwise) : icon;
}

// A mount point's parent lies on another device (or it is "/").
bool isMountPoint(const QString& folder)
{
    struct stat self;
    struct stat parent;
    if (::stat(QFile::encodeName(folder).constData(), &self) != 0 ||
        ::stat(QFile::encodeName(folder + QStringLiteral("/..")).constData(), &parent) != 0)
        return false;
    return self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
}

QIcon iconForName(const QString& name)
{
    ensureIconTheme();
    // Drive roots as the target picker lists them: recorders, then volumes.
    if (name.startsWith(QLatin1String("/dev/sr")))
        return themeIcon(QStringLiteral("media-optical"), QStyle::SP_DriveCDIcon);
    if (name.startsWith(QLatin1Char('/')) && QFileInfo(name).isDir()) {
        if (isMountPoint(name))
            return themeIcon(QStringLiteral("drive-harddisk"), QStyle::SP_DriveHDIcon);
        return themeIcon(QStringLiteral("folder"), QStyle::SP_DirIcon);
    }
    static const QMimeDatabase db;
    const QMimeType type = db.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    return icon.isNull() ? styleIcon(QStyle::SP_FileIcon) : icon;
}

// Pixmaps by key text (case-sensitive); entries are never replaced, and the
// pixmaps go with the process.
struct IconCache
{
    ~IconCache() { qDeleteAll(pixmaps); }
    QHash<QString, QPixmap*> pixmaps;
};

} // namespace

QPixmap* shellIcon(const QString& name)
{
    return new QPixmap(iconForName(name).pixmap(32, 32));
}

QPixmap* fileIcon(const QString& path)
{
    // Keyed by the type's text, not the path, so painting many files of few
    // types asks the theme a few times.
    static IconCache cache;
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QString key = dot < 0 ? path : path.mid(dot);
    QPixmap*& cached = cache.pixmaps[key];
    if (!cached)
        cached = shellIcon(key);
    return cached;
}
