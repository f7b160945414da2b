#include "core/Log.h"

// Warnings and worse only: users see nothing of the routine chatter.
Q_LOGGING_CATEGORY(qmLog, "quillmarch", QtWarningMsg)
