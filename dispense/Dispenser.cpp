#include "dispense/Dispenser.h"

// Placeholder until the search lands: every run ends as cancelled.
Dispenser::Dispenser() : IDispenser(nullptr) {}

Dispenser::~Dispenser()
{
    cancel();
    wait();
}

void Dispenser::cancel()
{
    m_stopTrying = true;
    m_request = Cancel;
}

void Dispenser::accept()
{
    m_stopTrying = true;
    m_request = Accept;
}

void Dispenser::enough()
{
    m_stopTrying = true;
    m_request = Enough;
}

void Dispenser::run()
{
    emit do_finish(false);
}
