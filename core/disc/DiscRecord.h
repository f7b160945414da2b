// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "core/disc/DiscWriter.h"

// What the program knows of a disc it wrote and read back equal: the disc's
// identity (DiscResult::volumeId) and each file with its original, as that
// was when written, and the hash both sides had. Kept outside the disc,
// under $XDG_STATE_HOME/quillmarch/discs/ (~/.local/state when unset), one
// file per disc, so that the arrival check can take a disc's word for what
// it holds while it is in the recorder.
class DiscRecord
{
public:
    // The identity of a session whose volume descriptor bears time
    // ("YYYYMMDDhhmmsscc"), as libblkid names it: "uuid YYYY-MM-DD-hh-mm-ss-cc".
    static QString volumeIdOf(const QByteArray& time);

    // Writes the record of the verified disc volumeId holding the entries
    // named names at its root, replacing any; false with error when it cannot.
    static bool save(const QString& volumeId, const QStringList& names,
                     const std::vector<DiscFile>& files, QString* error);
    // Reads the record of volumeId; false when there is none that can be read.
    bool load(const QString& volumeId);

    const std::vector<DiscFile>& files() const { return m_files; }
    QStringList names() const { return QStringList(m_entries.begin(), m_entries.end()); }
    // The file at imagePath on the disc (the entry's own name first).
    const DiscFile* find(const QString& imagePath) const;
    // Whether the entry named name was written to the disc.
    bool holdsEntry(const QString& name) const { return m_entries.contains(name); }

private:
    static QString pathFor(const QString& volumeId);

    std::vector<DiscFile> m_files;
    QHash<QString, std::size_t> m_index; // imagePath -> m_files
    QSet<QString> m_entries;             // the names at the root
};
