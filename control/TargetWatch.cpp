// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TargetWatch.h"

#include <mutex>

#include <QThread>

// What the watch and its probe's thread share: the watch is told of the
// result only while it is there to hear it.
struct TargetWatch::Shared
{
    std::mutex lock;
    TargetWatch* owner = nullptr;
};

namespace {
// Long enough for any volume that answers at all.
constexpr unsigned long StopWaitMs = 2000;
} // namespace

TargetWatch::TargetWatch(DispenseRoad::Prober probe, QObject* parent)
    : QObject(parent), m_probe(std::move(probe))
{
}

TargetWatch::~TargetWatch()
{
    stop();
}

void TargetWatch::check(const Target& target)
{
    if (m_checking)
        return;
    if (m_thread) { // done, its report delivered
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
    }
    if (!m_shared) {
        m_shared = std::make_shared<Shared>();
        m_shared->owner = this;
    }
    m_checking = true;
    m_thread = QThread::create([shared = m_shared, probe = m_probe, target] {
        Target fresh;
        QString problem;
        const int check = DispenseRoad::probeAgain(probe, target, fresh, problem);
        std::lock_guard<std::mutex> guard(shared->lock);
        if (TargetWatch* owner = shared->owner) {
            // Posted to the owner's thread; dropped there if it is gone by then.
            QMetaObject::invokeMethod(
                owner,
                [owner, target, check, fresh, problem] {
                    owner->m_checking = false;
                    emit owner->checked(target, check, fresh, problem);
                },
                Qt::QueuedConnection);
        }
    });
    m_thread->start();
}

void TargetWatch::stop()
{
    if (m_shared) {
        std::lock_guard<std::mutex> guard(m_shared->lock);
        m_shared->owner = nullptr;
    }
    m_shared.reset();
    m_checking = false;
    if (!m_thread)
        return;
    // A volume that does not answer holds its probe in the kernel: the thread
    // is left to end on its own, and nobody hears of it.
    if (m_thread->wait(StopWaitMs))
        delete m_thread;
    else
        connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    m_thread = nullptr;
}
