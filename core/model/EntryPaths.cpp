#include "core/model/EntryPaths.h"

#include "core/dispense/Walk.h"

void splitPath(QString& path, QString& parent, QString& name)
{
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const int i = path.lastIndexOf(QLatin1Char('/'));
    if (i < 0) {
        parent = path;
        name = path;
    } else if (path.size() == 1) {
        parent = path;
        name = path;
    } else {
        parent = i == 0 ? QStringLiteral("/") : path.left(i);
        name = path.mid(i + 1);
    }
}

Entry entryForPath(const QString& path)
{
    Entry e;
    e.Ident = path;
    splitPath(e.Ident, e.Path, e.Name);
    quint64 size = 0;
    if (probeFile(e.Ident, size)) {
        e.Kind = File;
        e.IsValidSize = true;
        e.Size = size;
    } else {
        e.Kind = Folder;
        e.IsValidSize = false;
        e.Size = 0;
    }
    return e;
}
