// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/InterruptNotifier.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace {

int s_pipe[2] = {-1, -1};
volatile std::sig_atomic_t s_signal = 0;
struct sigaction s_oldInt;
struct sigaction s_oldTerm;

void onSignal(int signal)
{
    const int saved = errno;
    if (s_signal == 0)
        s_signal = signal;
    const char byte = 1;
    // Nothing to do about a full pipe: one byte already waits there.
    if (::write(s_pipe[1], &byte, 1) < 0) {
    }
    errno = saved;
}

} // namespace

InterruptNotifier::InterruptNotifier(QObject* parent) : QObject(parent)
{
    s_signal = 0;
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InterruptNotifier::onReadable);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the next Ctrl+C gets the default action and ends the process.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, &s_oldInt);
    sigaction(SIGTERM, &action, &s_oldTerm);
}

InterruptNotifier::~InterruptNotifier()
{
    if (!m_notifier)
        return;
    sigaction(SIGINT, &s_oldInt, nullptr);
    sigaction(SIGTERM, &s_oldTerm, nullptr);
    delete m_notifier;
    ::close(s_pipe[0]);
    ::close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
}

int InterruptNotifier::caughtSignal()
{
    return s_signal;
}

bool InterruptNotifier::runUninterrupted(
    const std::function<bool(const std::function<bool()>&)>& work, bool* cancelled)
{
    sigset_t block, old;
    sigemptyset(&block);
    sigaddset(&block, SIGINT);
    sigaddset(&block, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &block, &old);
    // Held signals wait as pending; one caught by another thread shows in s_signal.
    const auto signalled = [&] {
        sigset_t pending;
        sigpending(&pending);
        if (s_signal == 0 && sigismember(&pending, SIGINT))
            s_signal = SIGINT;
        else if (s_signal == 0 && sigismember(&pending, SIGTERM))
            s_signal = SIGTERM;
        *cancelled = s_signal != 0;
        return *cancelled;
    };
    *cancelled = false;
    const bool done = work(signalled);
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return done;
}

void InterruptNotifier::onReadable()
{
    char buffer[16];
    while (::read(s_pipe[0], buffer, sizeof buffer) > 0) {
    }
    if (m_interrupted)
        return;
    m_interrupted = true;
    emit interrupted();
}
