// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
    virtual void showNoTarget() = 0;
    virtual void showNoWasted() = 0;
    virtual void showSelected(quint64 bytes, int count) = 0;
    virtual void showTotal(quint64 bytes, int count) = 0;

    // Long work on this thread starts: say so at once, before the thread
    // stops answering (busy pointer, text in the state label). endBusy
    // follows once for every beginBusy.
    virtual void beginBusy(const QString& text) { Q_UNUSED(text); }
    virtual void endBusy() {}
};
