// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

class InterruptNotifier;

// Runs long work on a thread of its own while the calling thread shows its
// progress on a terminal and turns Ctrl+C into a cancel request.
class WorkerRun
{
public:
    // status: the progress line, asked for four times a second (only when
    // standard error is a terminal). False when no thread could be started.
    static bool run(const std::function<void()>& work, InterruptNotifier& interrupt,
                    const std::function<void()>& cancel, const std::function<QString()>& status);
};
