// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

#include "core/copy/ContentHash.h"

// Hashes blocks on a thread of its own while the caller goes on reading and
// writing, so that the hash is never what a copy waits for. One block at a
// time: add() waits until the block before is hashed, so the caller may
// reuse that block's buffer once add() returns; a caller alternating two
// buffers keeps the hash and the input/output busy at once.
class HashPipe
{
public:
    HashPipe();
    ~HashPipe();
    HashPipe(const HashPipe&) = delete;
    HashPipe& operator=(const HashPipe&) = delete;

    void reset();
    // Queues a block, which must stay unchanged until the next add() or
    // digest() returns.
    void add(const char* data, std::size_t size);
    // Hashes a block at once, on the caller's thread: cheaper for small files.
    void addNow(const char* data, std::size_t size);
    Hash128 digest();

private:
    void wait();
    void work();

    ContentHash m_hash;
    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    const char* m_data = nullptr; // the block waiting or being hashed
    std::size_t m_size = 0;
    bool m_busy = false;
    bool m_quit = false;
    const bool m_threaded;
    std::thread m_thread; // last: started once the rest is set up
};
