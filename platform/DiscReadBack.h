// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include <QStringList>

#include "platform/IsoImageBuilder.h"

struct iso_stream;

// Reads a written session back with libisofs and compares every file of
// the image with its source.
class DiscReadBack
{
public:
    // Compares the sources with their copies in the session starting at
    // startBlock of src (of which it takes a reference), calling progress
    // with the bytes compared. False when the session cannot be read at
    // all (failure()); differing() lists what differs.
    bool run(iso_data_source* src, quint32 startBlock,
             const std::vector<IsoImageBuilder::Source>& sources,
             const std::function<void(quint64)>& progress, const std::atomic_bool& cancel);
    const QStringList& differing() const { return m_differing; }
    const QString& failure() const { return m_failure; }
    bool cancelled() const { return m_cancelled; }

private:
    QStringList m_differing;
    QString m_failure;
    bool m_cancelled = false;
};

// True when the copy holds the same bytes as the file at source; why says
// what differs otherwise. The one place a copy's content is judged.
bool sameContent(iso_stream* copy, const QByteArray& source, QString* why,
                 const std::function<void(quint64)>& compared, const std::atomic_bool& cancel);
