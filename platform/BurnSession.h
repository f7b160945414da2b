// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keeps libburn set up while any object of this class lives, in any thread:
// burn_initialize with the first, burn_finish after the last, so that a
// recorder probed while a disc is written does not shut libburn down.
class BurnSession
{
public:
    BurnSession();
    ~BurnSession();
    BurnSession(const BurnSession&) = delete;
    BurnSession& operator=(const BurnSession&) = delete;
    bool ok() const { return m_ok; }

    // Passes libburn's queued complaints to the diagnostics; returns the
    // text of the last one.
    static const char* lastMessage();

private:
    bool m_ok = false;
};
