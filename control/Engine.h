// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <list>
#include <memory>

#include <QDateTime>

#include "control/Ctrl.h"
#include "control/IViewStatus.h"
#include "control/ProjectStep.h"
#include "control/TargetWatch.h"
#include "core/dispense/FolderSizeCalcer.h"
#include "core/plan/DispenseRoad.h"

class DiscRun;
class Dispenser;

// The one controller: runs every command on the GUI thread, changes the model
// and pushes the new state to the four views (which it does not own).
class Engine : public Ctrl
{
    Q_OBJECT
public:
    explicit Engine(QObject* parent = nullptr);
    ~Engine() override;

    void attachViews(IViewDialogs* dialogs, IViewActions* actions, IViewItems* items,
                     IViewStatus* status) override;
    void projectNew() override;
    void projectLoad() override;
    void projectLoadFrom(const QString& path) override;
    void projectSave() override;
    void projectSaveAs() override;
    void appExit() override;
    void diskSelect() override;
    void dispense() override;
    void planSeries() override;
    void undispense() override;
    void clipboardPost() override;
    void copyToTarget() override;
    void originalsDelete() override;
    void discWrite() override;
    void imageWrite() override;
    void filesAdd() override;
    void folderAdd() override;
    void entryRemove() override;
    void selectionAllInGroup() override;
    void selectionInvertInGroup() override;
    void priorityUp() override;
    void priorityDown() override;
    void prioritySet(int group) override;
    void about() override;
    void pathsAdd(QStringList paths) override;
    void selectionChanged() override;
    void entryReveal(const EntryPos& pos) override;
    void entriesMoveTo(int group) override;
    void undoStep(ProjectStep& step) override;
    void redoStep(ProjectStep& step) override;
    void savedStateReached(bool reached) override;
    void viewActivated() override;
    bool probeTarget(bool wholeVolume, Target& target) override;
    void listDriveRoots(QStringList& roots) override;
    bool queryClose() override;
    void detachViews() override;

    // Pushes the title, totals, state text, target and wasted figure to the views.
    void refreshViews();
    // The plan of the result held, for what copies or writes it.
    const HeldPlan& heldPlan() const { return m_road.plan(); }

private slots:
    void on_folderCalcComplete(QString path, quint64 size);
    void on_folderCalcFailed(QString path, int issue);
    void on_targetChecked(const Target& asked, int check, const Target& fresh,
                          const QString& problem);

private:
    // A folder whose size was asked for and not yet reported: its path and
    // where its entry stood when asked.
    struct PendingSize
    {
        QString ident;
        EntryPos pos;
    };

    // Replaces the project with the one at path, without asking; a failure
    // keeps the old one.
    void replaceProject(QString path);
    // Probes the target again before a plan and shows the fresh figures;
    // false, with a message, when it can no longer be used.
    bool reprobeTarget();
    // Shows the marks of what a search left out; a sentence saying how many
    // and why, empty when none.
    QString leftOutText(const DispenseRoad::Omissions& omissions);
    // Sentences naming the entries left out for their names on the target,
    // and those the target cannot hold; empty when none.
    QString nameClashText(const std::vector<DispenseRoad::NameClash>& clashes) const;
    QString refusedText(const DispenseRoad::Omissions& omissions) const;
    // Takes a result into the model through the road's step take (which
    // gives the change of the groups), and shows it with how its search
    // ended; an Undo step.
    void applyResult(int count, const std::function<std::optional<Regroup>()>& take,
                     IViewStatus::SearchEnd end);
    // What a search that chose nothing says, as the command line says it.
    QString nothingFitsText(const Dispenser& d, const DispenseRoad::Omissions& omissions,
                            const QStringList& notes) const;
    // What the last load passed over, or what the last save could not keep of
    // the file it replaced, in the message area.
    void showLastWarnings();
    // Pushes the project's total (IViewStatus::showTotal) and each group's
    // size and count.
    void pushTotals();
    // Before the project is replaced: true when it has no unsaved changes or
    // the user saved or gave them up.
    bool mayDropChanges();
    // Moves every selected entry to destination(its group), skipping those for
    // which it gives -1, and updates the list, totals and actions; an Undo
    // step named by name(number of entries moved).
    void moveSelection(const std::function<int(int group)>& destination,
                       const std::function<QString(int count)>& name);
    // A step of the project about to change: the side before it.
    std::unique_ptr<ProjectStep> beginStep(const QString& name) const;
    // The step done: the side after it, into the history.
    void endStep(std::unique_ptr<ProjectStep> step);
    // Undo (toAfter false) or Redo of step, and the views after it.
    void replayStep(ProjectStep& step, bool toAfter);
    // The originals of a step back from the trash, or into it again; the
    // files that did not follow, named.
    QString replayTrash(ProjectStep& step, bool toAfter) const;
    // The target probed again on its own thread, unless it was a moment ago.
    void checkTarget(bool evenIfRecent = true);
    // Shows the size and number of the selected entries; returns the number.
    int showSelectionSummary();
    // Remove and the priority actions on exactly while anything is selected.
    void updateEntryActions();
    // Dispense, Undispense, Post, Copy and Delete as the model's state allows.
    void showDispenseActions();
    // Write Disc and Write Image... as the result held and the target allow.
    void showDiscActions();
    // The recorder of a disc target; empty for any other target.
    static QString targetDrive();
    // Writes the held plan through run, asking before a rewritable disc's
    // files are written over, and says how it ended.
    void writeHeldPlan(DiscRun& run, const QString& drive);
    // Copy to Target on when a result is held and the target can be copied onto.
    void showCopyAction();
    // The dispensed entries that a copy or a paste takes (of a set that shares
    // a name on the target, the first); held: the others.
    QStringList offeredEntries(QStringList* held) const;
    // After a command changed the entries at these positions: when any was
    // dispensed, the held result follows; true then.
    bool followResult(const std::vector<EntryPos>& changed);
    // Queues the folder entry at pos for the folder-size thread.
    void requestFolderSize(const EntryPos& pos);
    // Where the entry that request was made for stands now; false when it is
    // gone (removed, replaced with the project) or already has its size.
    bool findPendingEntry(const PendingSize& request, EntryPos& pos) const;
    // Drops the request path's report answers; pos := its entry. False when
    // nobody waits for it any more.
    bool takePendingEntry(const QString& path, EntryPos& pos);

    // beginBusy for its lifetime when the work is large enough to be felt.
    class Busy
    {
    public:
        Busy(IViewStatus* status, std::size_t rows, const QString& text);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        IViewStatus* m_status;
    };
    // The state text of a refresh: "READY", or the folders still being measured.
    QString readyText() const;

    IViewDialogs* m_dialogs = nullptr;
    IViewActions* m_actions = nullptr;
    IViewItems* m_items = nullptr;
    IViewStatus* m_status = nullptr;
    std::list<PendingSize> m_pendingSizes; // oldest request first
    QString m_arrivalFolder; // a folder on the target the user pointed to; per project
    QString m_copyFolder;    // where the last Copy to Target went; per project
    DispenseRoad m_road;     // the steps shared with the command line; holds the plan
    FolderSizeCalcer m_calcer;
    TargetWatch m_watch;
    QDateTime m_targetChecked; // when the target's figures were probed; invalid: as read
    QString m_targetProblem;   // why the last probe failed; empty when it did not
};
