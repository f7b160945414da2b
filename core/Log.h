// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// The program's diagnostics: silent unless turned on, for example with
// QT_LOGGING_RULES="quillmarch.debug=true".
Q_DECLARE_LOGGING_CATEGORY(qmLog)
