// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include <QStringList>

#include "core/disc/DiscWriter.h"
#include "platform/IsoImageBuilder.h"

// Reads a written session back with libisofs and judges every file of the
// image against its source, by size and XXH3-128 hash (ReadBack), the
// source read alongside the disc.
class DiscReadBack
{
public:
    // Compares the sources with their copies in the session starting at
    // startBlock of src (of which it takes a reference), calling progress
    // with the bytes read from the disc. False when the session cannot be
    // read at all (failure()); differing() lists what differs, verified()
    // what read back equal.
    bool run(iso_data_source* src, quint32 startBlock,
             const std::vector<IsoImageBuilder::Source>& sources,
             const std::function<void(quint64)>& progress, const std::atomic_bool& cancel);
    const QStringList& differing() const { return m_differing; }
    const std::vector<DiscFile>& verified() const { return m_verified; }
    const QString& failure() const { return m_failure; }
    bool cancelled() const { return m_cancelled; }

private:
    QStringList m_differing;
    std::vector<DiscFile> m_verified;
    QString m_failure;
    bool m_cancelled = false;
};
