// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QString>

// One status line on standard error, rewritten in place, shown only when
// standard error is a terminal: scripts and logs stay quiet.
class ProgressLine
{
public:
    ProgressLine();
    ~ProgressLine();

    bool enabled() const { return m_enabled; }
    // Replaces the line with text followed by the time since construction.
    void show(const QString& text);
    // Removes the line, leaving the cursor at the start of an empty line.
    void clear();

private:
    bool m_enabled = false;
    bool m_shown = false;
    QElapsedTimer m_clock;
};
