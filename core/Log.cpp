// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Log.h"

// Warnings and worse only: users see nothing of the routine chatter.
Q_LOGGING_CATEGORY(qmLog, "quillmarch", QtWarningMsg)
