#pragma once

#include <QIcon>

// The application's icons; each names its resource files NAME32.ico and
// NAME16.ico under :/Quillmarch/res/img/ (the main icon's end in "m").
enum IconId : int
{
    MainIcon,
    ClipboardPost,
    DiskSelect,
    Dispense,
    Undispense,
    FileAdd,
    FolderAdd,
    PriorityDown,
    PriorityUp,
    ProjectLoad,
    ProjectNew,
    ProjectSave,
    EntryRemove,
    IconCount
};

// The icons, loaded once from the compiled-in resources. GUI thread only.
class IconSet
{
public:
    IconSet();
    const QIcon& icon(IconId id) const;

    // The resource path of an icon's file of 16 or 32 pixels.
    static QString resourcePath(IconId id, int size);

private:
    QIcon m_icons[IconCount];
};

// The process's icon set, built on first use and kept until exit.
const QIcon& icon(IconId id);
