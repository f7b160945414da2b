// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include "core/copy/ContentHash.h"

// What a copy into one destination has done so far, kept outside the target
// (under $XDG_STATE_HOME/quillmarch/copies/), one file per target volume and
// destination folder. A copy run again after a cancel, a crash or a pulled
// stick skips the files recorded as read back equal and still as recorded;
// a file half written has no record and is written again. Records are
// appended, and flushed now and then: one lost in a crash only means that
// file is copied again.
class CopyJournal
{
public:
    struct Record
    {
        Hash128 hash;          // of the original as it was read
        quint64 size = 0;      // the original's, and so the copy's
        qint64 sourceTime = 0; // the original's modification time, ns
        qint64 targetTime = 0; // the copy's, as its file system keeps it
        bool verified = false; // read back from the target and equal
    };

    CopyJournal() = default;
    ~CopyJournal();
    CopyJournal(const CopyJournal&) = delete;
    CopyJournal& operator=(const CopyJournal&) = delete;

    // The journal of a destination: volumeId names the target volume, place
    // the destination below the volume's root.
    static QString pathFor(const QString& volumeId, const QString& place);

    // Reads the journal at path (none yet: empty) and, with forWriting, opens
    // it for appending. False with error when it cannot.
    bool open(const QString& path, bool forWriting, QString* error);
    const Record* find(const QByteArray& relative) const;
    bool knowsEntry(const QByteArray& name) const { return m_entries.contains(name); }

    // Each appends a line; flush() writes them out.
    void startEntry(const QByteArray& name);
    void record(const QByteArray& relative, const Record& r);
    void forget(const QByteArray& relative);
    bool flush(bool sync);
    // Rewrites the file with one line per record, dropping replaced lines.
    bool compact(QString* error);

private:
    void append(const QByteArray& line);

    QString m_path;
    QByteArray m_header;
    int m_fd = -1;
    QByteArray m_pending;
    QHash<QByteArray, Record> m_records;
    QSet<QByteArray> m_entries;
};
