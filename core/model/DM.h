// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/model/Entry.h"
#include "core/model/Regroup.h"

// The entries model's interface: the one store of a project. Only the
// controller writes; views and the dispense search read.
class DM : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual EntryPos addEntry(const Entry& entry) = 0;
    virtual bool isValidPos(const EntryPos& pos) const = 0;
    virtual int entryCount() const = 0;
    virtual int groupSize(int group) const = 0;
    virtual Entry& entryAt(const EntryPos& pos) = 0;
    virtual void removeEntry(const EntryPos& pos) = 0;
    virtual EntryPos& moveEntry(EntryPos& pos, int group) = 0;
    // The bulk forms (Regroup::moving and Regroup::removing say which
    // positions count), linear in the sizes of the groups they touch. They
    // return the change made, for the entry list to follow.
    virtual Regroup moveEntries(const std::vector<EntryPos>& from, const std::vector<int>& to) = 0;
    virtual Regroup removeEntries(const std::vector<EntryPos>& positions) = 0;
    // Undo and Redo of those: regroup applies a change made for the groups
    // as they are now (one they returned, again after it was reverted), and
    // gives the entries it takes out of the project in list order; revertChange
    // puts the groups back as they were before the change, the entries it took
    // out (as regroup gave them) in their places, and the dispensed entries
    // then come from origins. Both refuse, changing nothing, groups that are
    // not those the change starts (or ends) with.
    virtual bool regroup(const Regroup& change, QVector<Entry>* removed = nullptr) = 0;
    virtual bool revertChange(const Regroup& change, const QVector<Entry>& removed,
                              const QVector<int>& origins) = 0;
    // The group each dispensed entry came from, in list order.
    virtual QVector<int> dispensedOrigins() const = 0;
    virtual EntryPos entrySizeKnown(const EntryPos& pos) = 0;
    virtual EntryPos groupBegin(int group) const = 0;
    virtual bool hasTarget() const = 0;
    virtual const Target& target() const = 0;
    virtual void setTarget(const Target& target) = 0;
    // Both return the change of the groups they made.
    virtual Regroup applyDispense(DispenseQueue& queue, quint64 wasted) = 0;
    virtual void forgetDispensed() = 0;
    virtual Regroup undispense() = 0;
    virtual bool isDispensed() const = 0;
    virtual bool isModified() const = 0;
    virtual bool isUntitled() const = 0;
    virtual bool projectFile(QString& out) const = 0;
    virtual void newProject() = 0;
    virtual quint64 totalSize() const = 0;
    virtual int totalCount() const = 0;
    virtual quint64 wastedSize() const = 0;
    // The waste of the held result as its plan's block costs give it; not a
    // change of the project.
    virtual void setWastedSize(quint64 bytes) = 0;
    // What Undo and Redo put back besides the groups: the target (none when
    // !hasTarget), whether a result is held (never without dispensed
    // entries) and its waste.
    virtual void restoreResult(bool hasTarget, const Target& target, bool dispensed,
                               quint64 wasted) = 0;
    // The project counts as changed since it was last saved, or not: the
    // history of Undo and Redo knows.
    virtual void setModified(bool modified) = 0;
    virtual bool save() = 0;
    virtual bool saveAs(const QString& path) = 0;
    virtual bool load(const QString& path, const QString& fileName) = 0;

    // Why the last save or load failed, as a sentence for the status bar.
    virtual QString lastError() const = 0;
    // What the last successful load passed over, or what the last successful
    // save could not keep of the file it replaced; one sentence each.
    virtual QStringList lastWarnings() const { return {}; }
    // The file that save() writes to; empty when there is none yet.
    virtual QString savePath() const = 0;
};

// The one model of the process, created on first use.
DM* dataModel();
