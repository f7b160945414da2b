// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BurnSession.h"

#include <mutex>

#include <libburn/libburn.h>

#include <QtGlobal>

#include "core/Log.h"

using namespace burn;

namespace {

std::mutex& lock()
{
    static std::mutex m;
    return m;
}

int users = 0;
thread_local char lastText[BURN_MSGS_MESSAGE_LEN];

} // namespace

BurnSession::BurnSession()
{
    std::lock_guard<std::mutex> guard(lock());
    if (users == 0) {
        if (!burn_initialize())
            return;
        burn_msgs_set_severities(const_cast<char*>("SORRY"), const_cast<char*>("NEVER"),
                                 const_cast<char*>(""));
    }
    ++users;
    m_ok = true;
}

BurnSession::~BurnSession()
{
    std::lock_guard<std::mutex> guard(lock());
    if (m_ok && --users == 0)
        burn_finish();
}

const char* BurnSession::lastMessage()
{
    int code = 0, osErrno = 0;
    char text[BURN_MSGS_MESSAGE_LEN], severity[80];
    while (burn_msgs_obtain(const_cast<char*>("SORRY"), &code, text, &osErrno, severity) > 0) {
        qCDebug(qmLog) << "libburn" << severity << Qt::hex << code << text;
        qstrncpy(lastText, text, sizeof lastText);
    }
    return lastText;
}
