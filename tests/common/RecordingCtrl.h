#pragma once

#include <QPointer>
#include <QStringList>

#include "control/Ctrl.h"

// A controller that only records the calls it gets, one line of text each.
// recordingCtrl() installs it with setController()
// instead of the real one, so a view's commands can be checked one by one.
class RecordingCtrl : public Ctrl
{
    Q_OBJECT
public:
    QStringList calls;
    bool allowClose = true; // what queryClose answers

    // The views of the last attachViews, as QObjects (null once destroyed).
    QPointer<QObject> dialogs, actions, items, status;
    // Whether all four views were still alive when detachViews came.
    bool viewsAliveAtDetach = false;

    QStringList take()
    {
        QStringList out = calls;
        calls.clear();
        return out;
    }

    void attachViews(IViewDialogs* d, IViewActions* a, IViewItems* i, IViewStatus* s) override;
    void projectNew() override { calls << QStringLiteral("projectNew"); }
    void projectLoad() override { calls << QStringLiteral("projectLoad"); }
    void projectSave() override { calls << QStringLiteral("projectSave"); }
    void projectSaveAs() override { calls << QStringLiteral("projectSaveAs"); }
    void appExit() override { calls << QStringLiteral("appExit"); }
    void diskSelect() override { calls << QStringLiteral("diskSelect"); }
    void dispense() override { calls << QStringLiteral("dispense"); }
    void undispense() override { calls << QStringLiteral("undispense"); }
    void clipboardPost() override { calls << QStringLiteral("clipboardPost"); }
    void originalsDelete() override { calls << QStringLiteral("originalsDelete"); }
    void filesAdd() override { calls << QStringLiteral("filesAdd"); }
    void folderAdd() override { calls << QStringLiteral("folderAdd"); }
    void entryRemove() override { calls << QStringLiteral("entryRemove"); }
    void selectionAllInGroup() override { calls << QStringLiteral("selectionAllInGroup"); }
    void selectionInvertInGroup() override { calls << QStringLiteral("selectionInvertInGroup"); }
    void priorityUp() override { calls << QStringLiteral("priorityUp"); }
    void priorityDown() override { calls << QStringLiteral("priorityDown"); }
    void prioritySet(int group) override { calls << QStringLiteral("prioritySet %1").arg(group); }
    void about() override { calls << QStringLiteral("about"); }
    void pathsAdd(QStringList paths) override
    {
        calls << QStringLiteral("pathsAdd ") + paths.join(QLatin1Char('|'));
    }
    void selectionChanged() override { calls << QStringLiteral("selectionChanged"); }
    void entryReveal(const EntryPos& pos) override
    {
        calls << QStringLiteral("entryReveal {%1,%2}").arg(pos.group).arg(pos.index);
    }
    bool probeTarget(bool wholeVolume, Target& target) override;
    void listDriveRoots(QStringList& roots) override;
    bool queryClose() override
    {
        calls << QStringLiteral("queryClose");
        return allowClose;
    }
    void detachViews() override;
};

// The recording controller that controller() hands out in such programs.
RecordingCtrl& recordingCtrl();
