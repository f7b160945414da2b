// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include "control/Ctrl.h"

// A controller that only records the calls it gets, one line of text each, so
// a view's commands can be checked one by one.
// clang-format off
class RecordingCtrl : public Ctrl
{
    Q_OBJECT
public:
    QStringList calls;
    QStringList take() { return qExchange(calls, {}); }

#define QM_RECORD(op) void op() override { calls << QStringLiteral(#op); }
    QM_RECORD(projectNew) QM_RECORD(projectLoad) QM_RECORD(projectSave) QM_RECORD(projectSaveAs)
    QM_RECORD(appExit) QM_RECORD(diskSelect) QM_RECORD(dispense) QM_RECORD(undispense)
    QM_RECORD(clipboardPost) QM_RECORD(originalsDelete) QM_RECORD(filesAdd) QM_RECORD(folderAdd)
    QM_RECORD(entryRemove) QM_RECORD(selectionAllInGroup) QM_RECORD(selectionInvertInGroup)
    QM_RECORD(priorityUp) QM_RECORD(priorityDown) QM_RECORD(about) QM_RECORD(selectionChanged)
    QM_RECORD(planSeries) QM_RECORD(viewActivated) QM_RECORD(discWrite) QM_RECORD(imageWrite)
    QM_RECORD(copyToTarget)
#undef QM_RECORD
    void prioritySet(int group) override { calls << QStringLiteral("prioritySet %1").arg(group); }
    void entriesMoveTo(int group) override { calls << QStringLiteral("entriesMoveTo %1").arg(group); }
    void undoStep(ProjectStep&) override { calls << "undoStep"; }
    void redoStep(ProjectStep&) override { calls << "redoStep"; }
    void savedStateReached(bool) override {}
    void projectLoadFrom(const QString& path) override { calls << "projectLoadFrom " + path; }
    void pathsAdd(QStringList paths) override { calls << "pathsAdd " + paths.join('|'); }
    void entryReveal(const EntryPos& p) override
    {
        calls << QStringLiteral("entryReveal %1,%2").arg(p.group).arg(p.index);
    }
    // No drives, no views to keep, and closing is always fine.
    void attachViews(IViewDialogs*, IViewActions*, IViewItems*, IViewStatus*) override {}
    bool probeTarget(bool, Target&) override { return false; }
    void listDriveRoots(QStringList& roots) override { roots.clear(); }
    bool queryClose() override { return true; }
    void detachViews() override {}
};
// clang-format on

// The recorder, installed as controller() on every call: before building a widget that uses it.
RecordingCtrl& recordingCtrl();
