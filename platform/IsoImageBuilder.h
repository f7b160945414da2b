// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>

struct burn_source;
struct iso_data_source;
struct Iso_Dir;
struct Iso_Image;

// Builds with libisofs the ISO 9660 image (Rock Ridge for Linux, Joliet for
// Windows) of entries placed at the disc's root, laid out as
// core/dispense/IsoMeta counts it: links are followed as the folder walk
// follows them, a link that leads nowhere is kept as a link, a folder
// reached a second time and devices, pipes and sockets are left out. Not for
// two threads at once.
class IsoImageBuilder
{
public:
    // A file the image reads, as it was when added.
    struct Source
    {
        QByteArray path;      // on this machine
        QByteArray imagePath; // in the image, from the root, without a leading '/'
        quint64 size = 0;
        qint64 mtimeNs = 0;
        qint64 changedNs = 0; // the later of its modification and status change
    };

    explicit IsoImageBuilder(const QString& volumeId);
    ~IsoImageBuilder();
    IsoImageBuilder(const IsoImageBuilder&) = delete;
    IsoImageBuilder& operator=(const IsoImageBuilder&) = delete;

    // The tree of the last session of a disc to add to, read from src,
    // which the image then keeps; before any entry.
    bool importSession(iso_data_source* src, quint32 startBlock);
    // Adds the file or folder at path under its own name; bytes := the
    // bytes of its files. False with why() when it cannot be added.
    bool addEntry(const QString& path, quint64* bytes = nullptr);

    // The image's exact size in blocks for a session starting at
    // startBlock, as libisofs counts it; -1 with why().
    qint64 exactBlocks(quint32 startBlock = 0);
    // The image as a stream, for a session starting at startBlock; null with
    // why(). Owned by the caller (burn_source_free or its free_data).
    burn_source* stream(quint32 startBlock = 0);

    const std::vector<Source>& sources() const { return m_sources; }
    // The image's identity: its volume descriptor's time, to the hundredth
    // of a second and never the same twice in a process, as libblkid and a
    // mounted disc tell it ("uuid 2024-05-01-12-30-00-25").
    QString volumeId() const;
    const QString& why() const { return m_why; }
    Iso_Image* image() const { return m_image; }

    // Sets libisofs up once per process (UTF-8 names, messages queued, a
    // file that cannot be read in full ends the image rather than being
    // padded with zeros); false when libisofs cannot start.
    static bool initLibrary();
    // Passes libisofs's queued messages to the diagnostics; returns the
    // text of the first error that is not just the end of the image, else
    // of the last message.
    static QString drainMessages();

private:
    bool addChildren(Iso_Dir* dir, const QByteArray& path, const QByteArray& imagePath,
                     quint64& bytes);
    bool fail(const QString& why);
    burn_source* create(quint32 startBlock, bool willCancel);

    Iso_Image* m_image = nullptr;
    bool m_appending = false;
    std::vector<Source> m_sources;
    std::set<std::pair<quint64, quint64>> m_entered; // folders of the current entry
    QByteArray m_uuid;                               // YYYYMMDDhhmmsscc, in UTC
    QString m_why;
};
