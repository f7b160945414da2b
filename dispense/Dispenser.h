#pragma once

#include <atomic>

#include "dispense/IDispenser.h"
#include "model/Entry.h"

// The dispense search: one per dispense, run on its own thread, reading the
// model's target and groups while the GUI thread sits in the progress dialog.
class Dispenser : public IDispenser
{
public:
    enum DispenseRequest { Searching = 0, Cancel = 1, Enough = 2, Accept = 3 };

    Dispenser();
    // Cancels a search still running and waits for its thread.
    ~Dispenser() override;

    void cancel() override;
    void accept() override;
    void enough() override;

    // The result, valid after do_finish(true) and the thread's end.
    DispenseQueue& resultQueue() { return m_queue; }
    quint64 wasted() const { return m_wasted; }

protected:
    void run() override;

private:
    DispenseQueue m_queue;
    quint64 m_wasted = 0;
    std::atomic_int m_request{Searching};
    std::atomic_bool m_stopTrying{false};
};
