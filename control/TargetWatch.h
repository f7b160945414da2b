// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QObject>

#include "core/plan/DispenseRoad.h"

class QThread;

// Probes the target again on a thread of its own, so that a slow or vanished
// volume never holds up the window; the report comes on the thread that owns
// the watch. One probe at a time.
class TargetWatch : public QObject
{
    Q_OBJECT
public:
    explicit TargetWatch(DispenseRoad::Prober probe, QObject* parent = nullptr);
    // As stop().
    ~TargetWatch() override;

    // Probes target unless a probe is under way; checked follows.
    void check(const Target& target);
    bool isChecking() const { return m_checking; }
    // No report comes any more; a probe that does not end soon is left to end
    // on its own.
    void stop();

signals:
    // The probe of asked: fresh holds its figures of now (check is a
    // DispenseRoad::TargetCheck), or problem says why it cannot be used.
    void checked(const Target& asked, int check, const Target& fresh, const QString& problem);

private:
    struct Shared;

    DispenseRoad::Prober m_probe;
    std::shared_ptr<Shared> m_shared; // with the probe's thread
    QThread* m_thread = nullptr;
    bool m_checking = false;
};
