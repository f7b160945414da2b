// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// The application's icons; each is drawn from its SVG source NAME.svg under
// :/Quillmarch/res/img/, at whatever size and pixel ratio it is asked for.
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
    CopyToTarget,
    IconCount
};

// The icons, loaded once from the compiled-in resources. GUI thread only.
class IconSet
{
public:
    IconSet();
    const QIcon& icon(IconId id) const;

    // The resource path of an icon's SVG source.
    static QString resourcePath(IconId id);

private:
    QIcon m_icons[IconCount];
};

// The process's icon set, built on first use and kept until exit.
const QIcon& icon(IconId id);
