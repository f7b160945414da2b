// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

#include "core/model/Entry.h"

// The status bar as the controller sees it.
class IViewStatus
{
public:
    virtual ~IViewStatus() = default;

    virtual void showState(const QString& text) = 0;
    virtual void showTarget(const Target& target, quint64 capacity) = 0;
    virtual void showWasted(quint64 bytes) = 0;
    // The plan held: the bytes of the room it was made for that it takes, and
    // those it leaves free (its wasted space).
    virtual void showPlan(quint64 usedBytes, quint64 freeBytes)
    {
        Q_UNUSED(usedBytes);
        showWasted(freeBytes);
    }
    virtual void showNoTarget() = 0;
    virtual void showNoWasted() = 0;
    // When the target's figures were last probed (invalid: not since they
    // were read from the project file), and why the last probe failed.
    virtual void showTargetChecked(const QDateTime& when, const QString& problem)
    {
        Q_UNUSED(when);
        Q_UNUSED(problem);
    }
    virtual void showSelected(quint64 bytes, int count) = 0;
    virtual void showTotal(quint64 bytes, int count) = 0;

    // Long work on this thread starts: say so at once, before the thread
    // stops answering (busy pointer, text in the state label). endBusy
    // follows once for every beginBusy.
    virtual void beginBusy(const QString& text) { Q_UNUSED(text); }
    virtual void endBusy() {}

    // An error or a result, shown whole until the user closes it or the next
    // one takes its place; without a place of its own, the state text.
    enum MessageKind
    {
        Information,
        Positive,
        Warning,
        Error
    };
    virtual void showMessage(MessageKind kind, const QString& text)
    {
        Q_UNUSED(kind);
        showState(text);
    }
    // The message no longer applies (another project, another search).
    virtual void clearMessage() {}

    // Size (of the entries measured) and count of every group, after each
    // change of the groups.
    struct GroupTotals
    {
        quint64 bytes[NoGroup] = {};
        int counts[NoGroup] = {};
    };
    virtual void showGroupTotals(const GroupTotals& totals) { Q_UNUSED(totals); }

    // How the search that made a result ended: on its own (its result is
    // proven best), or taken early by the user or by the time limit.
    enum SearchEnd
    {
        SearchFinished,
        SearchStopped,
        SearchTimeLimit
    };
    // A result just applied: the bytes of the medium it takes and leaves
    // free. Shown until the groups or the target change.
    virtual void showOutcome(quint64 usedBytes, quint64 freeBytes, SearchEnd end)
    {
        Q_UNUSED(usedBytes);
        Q_UNUSED(freeBytes);
        Q_UNUSED(end);
    }
};
