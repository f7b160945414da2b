// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/copy/ContentHash.h"

class CopyList;

// The checksum list a copy leaves in its destination folder, one line per
// file in the format of xxhsum -H2: 32 hexadecimal digits, two spaces, the
// path below that folder. `xxh128sum -c XXH128SUMS` run in the folder checks
// the medium without Quillmarch. A path holding a line break is written with
// GNU coreutils' escapes (the line starts with a backslash), which older
// xxhsum versions cannot read; every other path is written as it is.
class CopyManifest
{
public:
    static QString fileName();
    // The bytes the line of a file at relative path takes.
    static quint64 lineBytes(const QByteArray& relative);
    // The same from the path's length in bytes, how many of them are
    // backslashes or line breaks, and whether any is a line break.
    static quint64 lineBytes(quint64 pathBytes, quint64 escapable, bool hasBreak)
    {
        // Digits, two spaces, the path, a line feed; an escaped one a backslash
        // more, and one for each character escaped.
        return hasBreak ? 36 + pathBytes + escapable : 35 + pathBytes;
    }
    // The bytes the manifest of the files of list takes on the target: room
    // the plan has to hold back besides the entries.
    static quint64 bytesFor(const CopyList& list);
    // The same for the files of entries (full paths), listed as a copy would.
    static quint64 bytesForEntries(const QStringList& entries);

    // Reads the manifest in folder. A missing one reads as empty; false with
    // error when it exists but cannot be read. Lines of other formats are
    // skipped and counted.
    bool read(const QString& folder, QString* error);
    int skippedLines() const { return m_skipped; }

    bool contains(const QByteArray& relative) const { return m_index.contains(relative); }
    Hash128 hash(const QByteArray& relative) const;
    // Adds or replaces a file's line; new ones go last.
    void set(const QByteArray& relative, const Hash128& hash);
    void remove(const QByteArray& relative);
    int size() const { return int(m_index.size()); }
    // The files' paths in the order of the lines.
    QList<QByteArray> paths() const;
    QByteArray text() const;

    // Writes the manifest into the folder open as folderFd, in place (no
    // temporary name: NTFS would need room the plan does not count), flushed
    // and read back. False with error when any step fails.
    bool write(int folderFd, QString* error) const;

private:
    struct Line
    {
        QByteArray relative;
        Hash128 hash;
        bool removed = false;
    };
    std::vector<Line> m_lines;
    QHash<QByteArray, int> m_index; // relative path -> m_lines
    int m_skipped = 0;
};
