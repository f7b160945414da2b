#include "control/ShellIcons.h"
#include "control/ShellServices.h"

#include <QPixmap>

// Placeholders until the shell services land.
void postFilesToClipboard(const QStringList& paths)
{
    Q_UNUSED(paths);
}

bool deleteToRecycleBin(const QString& path)
{
    Q_UNUSED(path);
    return false;
}

void revealInFileManager(const QString& folder, const QString& item)
{
    Q_UNUSED(folder);
    Q_UNUSED(item);
}

QPixmap* shellIcon(const QString& name)
{
    Q_UNUSED(name);
    return new QPixmap;
}

QPixmap* fileIcon(const QString& path)
{
    static QPixmap none;
    Q_UNUSED(path);
    return &none;
}
