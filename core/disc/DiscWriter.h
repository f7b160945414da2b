// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

#include "core/copy/ContentHash.h"

// An entry to put at the disc's root, under its own name, and the bytes of
// its files as the plan measured them (0: not compared).
struct DiscEntry
{
    QString path;
    quint64 plannedBytes = 0;
};

// What to write: an ISO 9660 image with Rock Ridge and Joliet of the
// entries, to a recorder or to an image file.
struct DiscJob
{
    std::vector<DiscEntry> entries;
    QString volumeId; // empty: "QUILLMARCH"
    // A recorder ("/dev/sr0") or a libburn pseudo-drive ("stdio:/path"), or
    // else an image file to write.
    QString drive;
    QString imageFile;
    // The blocks the plan counted for the image; a bigger image means the
    // files changed since planning. 0: not compared.
    quint64 plannedBlocks = 0;
    // When the plan was made (ns since the epoch): a file changed later is
    // not what it counted. 0: not checked.
    qint64 plannedAtNs = 0;
    bool verify = true;
    // Leave a write-once disc open for another session.
    bool keepAppendable = false;
    // Write over a rewritable disc that already holds a file system.
    bool overwrite = false;
};

// Where a job stands; reported often while it runs.
struct DiscProgress
{
    enum Phase
    {
        Preparing,
        Writing,
        Closing,
        Verifying
    };
    Phase phase = Preparing;
    quint64 done = 0; // bytes of the phase
    quint64 total = 0;
    double bytesPerSecond = 0;
    int bufferPercent = -1; // the drive's buffer; -1 unknown
    int fifoPercent = -1;   // the data waiting for the drive
    int secondsLeft = -1;   // of the phase
};

// A file written and read back equal: its original as it was when written,
// its path in the image, and the hash both sides have.
struct DiscFile
{
    QString source;
    QString imagePath; // from the root, the entry's own name first
    quint64 size = 0;
    qint64 mtimeNs = 0; // the original's modification time
    Hash128 hash;
};

// How a job ended.
struct DiscResult
{
    enum Status
    {
        Written,   // and, when asked, every file read back equal
        Cancelled, // by the request; a write-once disc may be spoilt
        Refused,   // nothing was written: message says why
        Failed,    // writing or reading back went wrong: message says what
        Differs,   // written, but files read back differ (differing)
    };
    Status status = Failed;
    QString message;
    quint64 imageBlocks = 0; // the image's exact size, once known
    bool holdsFiles = false; // Refused: a rewritable disc holds files (see overwrite)
    QStringList differing;   // sources whose copy differs, with why
    bool verified = false;   // every file was read back and compared
    // The written session's identity, as libblkid and a mounted disc tell it
    // ("uuid 2024-05-01-12-30-00-25"): its volume descriptor's time to the
    // hundredth of a second. Empty before anything was written.
    QString volumeId;
    // Of a session added to a disc: the identity of the session before,
    // whose files the new one holds too.
    QString previousVolumeId;
    std::vector<DiscFile> files; // read back equal
};

// Writes discs and images. write() runs the whole job on the calling
// thread, calling progress on it and polling cancel; a job is refused
// before anything is written when the image does not fit the medium or the
// plan, the files changed since planning, or libisofs would write a damaged
// image.
class DiscWriter
{
public:
    virtual ~DiscWriter() = default;
    virtual DiscResult write(const DiscJob& job,
                             const std::function<void(const DiscProgress&)>& progress,
                             const std::atomic_bool& cancel) = 0;
};

// The platform's writer (libisofs and libburn on Linux).
std::unique_ptr<DiscWriter> createDiscWriter();
