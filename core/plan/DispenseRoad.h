// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QSet>
#include <QString>

#include "core/dispense/SeriesPlanner.h"
#include "core/model/Entry.h"
#include "core/model/Regroup.h"
#include "core/plan/HeldPlan.h"

class DM;
class Dispenser;

// The steps of a dispense that need no window, taken the same way by the
// window's controller and the command line: the target probed again, the
// entries a series plans, what a finished search left out, and the result
// taken into the model with the plan that is held, whose block costs give
// the wasted figure. The front ends run the search and say what happened.
class DispenseRoad
{
public:
    explicit DispenseRoad(DM* model);

    // probe(wholeVolume, target): target discovery, or a stand-in for it.
    using Prober = std::function<bool(bool wholeVolume, Target& target)>;
    enum TargetCheck
    {
        TargetKept,      // known by its figures alone, or as probed before
        TargetRefreshed, // the model holds the figures of now
        TargetFailed     // it can no longer be used; problem says why
    };
    // The model's target probed again, so that a plan uses the room it has now.
    // Figures that Target::figuresRefusal refuses fail, the model unchanged.
    TargetCheck refreshTarget(const Prober& probe, QString& problem);
    // The probe alone, on any thread: fresh := the figures of target now.
    static TargetCheck probeAgain(const Prober& probe, const Target& target, Target& fresh,
                                  QString& problem);

    // An entry that would land in the target folder at the name an entry
    // before it takes (the same name from another folder, or one the
    // target's file system takes for it): only the first can be copied.
    struct NameClash
    {
        EntryPos pos;
        QString ident;
        QString holder; // the entry before it that keeps the name
    };
    // Required, Main and Background in list order: every entry whose name on
    // the model's target is taken by one before it.
    std::vector<NameClash> nameClashes() const;
    // Before a search: leaves the entries of nameClashes out of it, and
    // returns them for the front end to name.
    std::vector<NameClash> prepare(Dispenser& d) const;
    // For each dispensed entry in list order, the index of another dispensed
    // entry with the same name on the target (the first), or -1. Their
    // copies would be one: Post offers only the first, and no arrival check
    // approves any of them.
    std::vector<int> dispensedSameNames() const;

    // The entries a series plans: Required, Main and Background in list
    // order, but those whose path is in skip and those of nameClashes.
    std::vector<SeriesEntry> seriesEntries(const QSet<QString>& skip = {}) const;

    // An entry a search left out, and why: a SeriesPlanner::Apart, which
    // holds the SizeIssue of an entry whose size could not be known.
    struct LeftOut
    {
        EntryPos pos; // the search's, valid until the result is applied
        QString ident;
        int issue = NoSizeIssue;
    };
    // What a finished search (its thread ended) left out of the plan.
    struct Omissions
    {
        std::vector<LeftOut> unmeasured; // size unknown; in list order
        std::vector<LeftOut> refused;    // the target cannot hold it; in list order
        bool limitReached = false;       // a limit besides room dropped entries (Dispenser)
        int requiredNotFitted = 0;       // measured Required entries not chosen
        int unsearchedGroup = -1;        // an accepted search never reached it
    };
    // Marks the unmeasured entries in the model (after clearing every mark
    // when the search measured all groups) and names what was left out.
    // Before apply: the positions are the search's.
    Omissions takeOmissions(const Dispenser& d, bool measuredAll);

    // Takes the result of a search that ended with one: the chosen entries
    // go into "Dispensed" and the plan is held with the costs it measured.
    // Returns the change of the groups.
    Regroup apply(Dispenser& d);
    // Takes one medium of a series planned for medium (which becomes the
    // model's target): false, changing nothing, when it has no usable
    // figures or an entry is no longer where the plan saw it. change, when
    // given, receives the change of the groups.
    bool applyMedium(const Target& medium, const SeriesMedium& chosen,
                     std::optional<Regroup>* change = nullptr);
    // Holds the plan of a project just read: its dispensed entries measured
    // on its target. The waste stays unknown where one cannot be measured.
    void holdLoaded();
    // After dispensed entries left the group another way (deleted, removed,
    // moved): the plan and the waste of those that stayed.
    void followDispensed();
    // Puts every dispensed entry back into its group; nothing is held.
    // Returns the change of the groups.
    Regroup undispense();
    // Nothing is held (a new project, the dispensed entries gone).
    void drop() { m_plan = HeldPlan(); }
    // Holds plan again, as it was before Undo or Redo changed the result.
    void restore(const HeldPlan& plan) { m_plan = plan; }

    const HeldPlan& plan() const { return m_plan; }

private:
    Regroup hold(DispenseQueue& queue, HeldPlan plan);
    QStringList dispensedIdents() const;

    DM* m_model;
    HeldPlan m_plan;
};
