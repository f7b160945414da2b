// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/HashPipe.h"

HashPipe::HashPipe() : m_threaded(std::thread::hardware_concurrency() > 2)
{
    if (m_threaded)
        m_thread = std::thread([this] { work(); });
}

HashPipe::~HashPipe()
{
    if (!m_threaded)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void HashPipe::wait()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return !m_busy; });
}

void HashPipe::reset()
{
    wait();
    m_hash.reset();
}

void HashPipe::add(const char* data, std::size_t size)
{
    if (!m_threaded) {
        m_hash.add(data, size);
        return;
    }
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [this] { return !m_busy; });
        m_data = data;
        m_size = size;
        m_busy = true;
    }
    m_wake.notify_one();
}

void HashPipe::addNow(const char* data, std::size_t size)
{
    wait();
    m_hash.add(data, size);
}

Hash128 HashPipe::digest()
{
    wait();
    return m_hash.digest();
}

void HashPipe::work()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_busy || m_quit; });
        if (m_quit)
            return;
        const char* data = m_data;
        const std::size_t size = m_size;
        lock.unlock();
        m_hash.add(data, size);
        lock.lock();
        m_busy = false;
        m_done.notify_all();
    }
}
