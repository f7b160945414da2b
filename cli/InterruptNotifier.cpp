#include "cli/InterruptNotifier.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace {

int s_pipe[2] = {-1, -1};
struct sigaction s_oldInt;
struct sigaction s_oldTerm;

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // Nothing to do about a full pipe: one byte already waits there.
    if (::write(s_pipe[1], &byte, 1) < 0) {
    }
    errno = saved;
}

} // namespace

InterruptNotifier::InterruptNotifier(QObject* parent) : QObject(parent)
{
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
