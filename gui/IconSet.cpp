#include "gui/IconSet.h"

namespace {
const char* const baseNames[IconCount] = {
    "MainIcon",   "ClipboardPost", "DiskSelect",   "Dispense",   "Undispense",
    "FileAdd",    "FolderAdd",     "PriorityDown", "PriorityUp", "ProjectLoad",
    "ProjectNew", "ProjectSave",   "EntryRemove"};
}

IconSet::IconSet()
{
    // The resources live in a static library: without this call the linker
    // drops them and every icon comes out empty.
    Q_INIT_RESOURCE(quillmarch);
    for (int i = 0; i < IconCount; ++i) {
        const IconId id = IconId(i);
        // No size given: each file tells its own image sizes.
        m_icons[i].addFile(resourcePath(id, 32), QSize(), QIcon::Normal, QIcon::Off);
        m_icons[i].addFile(resourcePath(id, 16), QSize(), QIcon::Normal, QIcon::Off);
    }
}

const QIcon& IconSet::icon(IconId id) const
{
    return m_icons[id];
}

QString IconSet::resourcePath(IconId id, int size)
{
    QString path = QStringLiteral(":/Quillmarch/res/img/") + QLatin1String(baseNames[id]) +
                   QString::number(size);
    if (id == MainIcon)
        path += QLatin1Char('m');
    return path + QStringLiteral(".ico");
}

const QIcon& icon(IconId id)
{
    static const IconSet set;
    return set.icon(id);
}
