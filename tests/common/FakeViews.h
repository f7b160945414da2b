// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <functional>

#include <QStringList>

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "core/copy/TargetArrival.h"
#include "core/dispense/SeriesPlanner.h"
#include "core/model/DM.h"

// "D:a|R:b,c|M:|B:|N:": the names of every group in order, as the model holds
// them or as rows gives them.
inline QString layoutText(const QStringList* rows = nullptr)
{
    QStringList groups;
    for (int g = Dispensed; g < NoGroup; ++g) {
        QStringList names = rows ? rows[g] : QStringList();
        for (EntryPos p{g, 0}; !rows && dataModel()->isValidPos(p); ++p.index)
            names << dataModel()->entryAt(p).Name;
        groups << QString(QChar::fromLatin1("DRMBN"[g])) + ":" + names.join(',');
    }
    return groups.join('|');
}

// The four views in one, keeping what the user sees: the list's rows and selection, the
// actions, the title, the status figures. Dialogs take the next of `answers`, or cancel.
struct FakeViews : IViewDialogs, IViewActions, IViewItems, IViewStatus
{
    QString title, state, shownTarget, wasted, selected, total; // figures as "bytes count"
    // Remove (with the priorities), Save, Dispense, Undispense (with Post and Delete).
    static constexpr const char* ActionNames[] = {"Remove", "Save", "Dispense", "Undispense"};
    bool on[4] = {};
    QStringList rows[NoGroup], sized; // the list's rows; rows told their size
    std::vector<EntryPos> selection;
    QStringList answers, asked; // for the next dialogs; the dialogs shown
    SaveChoice saveChoice = DiscardChanges;
    bool closed = false, series = false; // Plan Series on
    std::vector<SeriesMedium> media;     // for the next series dialogs: the medium dispensed
    std::function<bool()> pick;
    std::function<bool(Dispenser*)> onRunDispense;

    bool ask(const char* dialog, QString& out)
    {
        asked << dialog;
        return !answers.isEmpty() && (out = answers.takeFirst(), true);
    }
    void turn(int i, bool state) { on[i] = state; }
    // The names of the actions on, as "Save Dispense"; and set so.
    QString actions() const
    {
        QStringList names;
        for (int i = 0; i < 4; ++i)
            on[i] ? names << ActionNames[i] : names;
        return names.join(' ');
    }
    void setActions(const QString& names)
    {
        for (int i = 0; i < 4; ++i)
            on[i] = names.split(' ').contains(ActionNames[i]);
    }

    void setTitle(const QString& t) override { title = t; }
    bool askFolderAdd(QStringList& f) override
    {
        QString s;
        return ask("folder", s) && !(f = s.split('|')).isEmpty();
    }
    bool askFilesAdd(QStringList& f) override
    {
        QString s;
        return ask("files", s) && !(f = s.split('|')).isEmpty();
    }
    bool askProjectSaveAs(QString& path) override { return ask("saveAs", path); }
    bool askProjectLoad(QString& path) override { return ask("load", path); }
    bool pickTarget() override { return pick(); }
    bool runDispense(Dispenser* d) override { return asked << "search", onRunDispense(d); }
    void showAbout() override { asked << "about"; }
    // "series NAMES CANDISPENSE"; the media are planned for the picked target
    bool runSeries(const Target& picked, const std::vector<SeriesEntry>& e, bool can,
                   SeriesMedium& m, Target& medium) override
    {
        medium = picked;
        QStringList names;
        for (const SeriesEntry& s : e)
            names << s.path.section('/', -1);
        asked << "series " + names.join(',') + ' ' + QString::number(can);
        return !media.empty() && (m = media.front(), media.erase(media.begin()), true);
    }
    void closeMainWindow() override { closed = true; }
    SaveChoice askSaveChanges() override { return asked << "saveChanges", saveChoice; }
    bool runArrivalCheck(TargetArrival& check) override { return check.run(), true; }
    // "delete ARRIVED of ROWS"; answers "none", a folder to look in, or else (nothing queued)
    // the ones that arrived.
    DeleteChoice askOriginalsDelete(const DeleteQuestion& q, QString& folder) override
    {
        const auto arrived = std::count_if(q.rows.begin(), q.rows.end(), [](const auto& r) {
            return r.state == Arrival::Arrived;
        });
        QString a = "arrived";
        ask(qPrintable(QString("delete %1 of %2").arg(arrived).arg(q.rows.size())), a);
        return a == "none"      ? DeleteNothing
               : a == "arrived" ? DeleteArrived
                                : (folder = a, LookInFolder);
    }

    void enableEntryActions(bool on) override { turn(0, on); }
    void enableSave(bool on) override { turn(1, on); }
    void enableDispense() override { turn(2, true); }
    void disableDispense() override { turn(2, false); }
    void enableSeries(bool on) override { series = on; }
    void setDispensed(bool d) override { turn(2, !d), turn(3, d); }

    // As in the entry list: an inserted row is selected, a removed one leaves
    // the selection and the rows after it move up, a rebuild selects nothing.
    void insertItem(const EntryPos& p) override
    {
        for (EntryPos& s : selection)
            s.index += s.group == p.group && s.index >= p.index;
        selection.push_back(p);
        rows[p.group].insert(p.index, dataModel()->entryAt(p).Name);
    }
    void removeItem(const EntryPos& p) override
    {
        selection.erase(std::remove(selection.begin(), selection.end(), p), selection.end());
        for (EntryPos& s : selection)
            s.index -= s.group == p.group && s.index > p.index;
        rows[p.group].removeAt(p.index);
    }
    void moveItem(const EntryPos& a, const EntryPos& b) override { removeItem(a), insertItem(b); }
    void updateItemSize(const EntryPos& p) override { sized << rows[p.group].value(p.index); }
    void rebuildItems() override
    {
        for (int g = Dispensed; g < NoGroup; ++g)
            rows[g] = layoutText().split('|')[g].mid(2).split(',', Qt::SkipEmptyParts);
        selection.clear();
    }
    int selectedCount() override { return int(selection.size()); }
    void selectedPositions(std::vector<EntryPos>& out) override
    {
        out = selection;
        std::sort(out.begin(), out.end(), [](const EntryPos& a, const EntryPos& b) {
            return a.group != b.group ? a.group < b.group : a.index > b.index;
        });
    }
    void regroupItems(const Regroup& change) override
    {
        for (EntryPos& s : selection)
            s = change.placeOf(s);
        for (const Regroup::Move& m : change.moves())
            m.to != NoGroup ? selection.push_back(change.placeOf(m.from)) : void();
        std::sort(selection.begin(), selection.end());
        selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
        selection.erase(std::remove_if(selection.begin(), selection.end(),
                                       [](const EntryPos& s) { return s.group == NoGroup; }),
                        selection.end());
        change.apply(rows);
    }
    int currentGroup() override { return NoGroup; }
    void selectAllInGroup(int) override {}
    void invertSelectionInGroup(int) override {}

    void showState(const QString& text) override { state = text; }
    void showTarget(const Target& t, quint64 n) override
    {
        shownTarget = t.Path + ' ' + QString::number(n);
    }
    void showWasted(quint64 bytes) override { wasted = QString::number(bytes); }
    void showNoTarget() override { shownTarget = "none"; }
    void showNoWasted() override { wasted = "none"; }
    void showSelected(quint64 b, int n) override { selected = QString("%1 %2").arg(b).arg(n); }
    void showTotal(quint64 b, int n) override { total = QString("%1 %2").arg(b).arg(n); }
};
