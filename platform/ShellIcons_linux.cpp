// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ShellIcons.h"

#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QPixmap>
#include <QStandardPaths>
#include <QStyle>

// File and drive icons from the freedesktop.org icon theme.

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
    const QString name = path.section(QLatin1Char('/'), -1);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString key = dot < 0 ? path : name.mid(dot);
    QPixmap*& cached = cache.pixmaps[key];
    // The MIME database reads a bare ".mp4" as a hidden file of unknown type:
    // it is asked about a file name with that extension.
    if (!cached)
        cached = shellIcon(dot < 0 ? path : QStringLiteral("file") + key);
    return cached;
}
