// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

// One thing a copy creates below its destination folder.
struct CopyItem
{
    enum Kind : quint8
    {
        File,    // a file's data (a link to a file stands for it)
        Folder,  // made before its children
        Link,    // a link that leads nowhere, copied as the link it is
        Repeat,  // a folder reached again through a link: not copied twice
        Special, // a device, FIFO or socket: nothing that can be copied
    };
    Kind kind = File;
    QByteArray source;   // the original's path
    QByteArray relative; // below the destination, the entry's own name first
    quint64 size = 0;    // File: its length when listed
    QByteArray linkText; // Link: what it holds
};

// What copying entries into one folder creates, in the order the copy
// creates it: the entries in the order given, each folder just before its
// children, a folder's children by inode number, as cp -r creates them
// (one of the orders the NTFS cost covers), sub-folders entered where they
// come. Links are followed as the folder walk follows them, so that the copy
// is what the plan measured: each folder once per entry.
class CopyList
{
public:
    struct Problem
    {
        QByteArray relative;
        int error; // errno; ENOENT for an entry that no longer exists
    };

    // Lists entries (full paths); false when stop was seen.
    bool build(const QStringList& entries, const std::atomic_bool* stop = nullptr);

    const std::vector<CopyItem>& items() const { return m_items; }
    // Entries that no longer exist, folders that could not be listed.
    const std::vector<Problem>& problems() const { return m_problems; }
    quint64 fileBytes() const { return m_bytes; }
    int fileCount() const { return m_files; }

private:
    bool listEntry(const QByteArray& source, const QByteArray& name, const std::atomic_bool* stop);

    std::vector<CopyItem> m_items;
    std::vector<Problem> m_problems;
    quint64 m_bytes = 0;
    int m_files = 0;
};
