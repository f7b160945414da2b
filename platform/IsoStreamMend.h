// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <map>
#include <set>
#include <vector>

#include <QString>
#include <QtGlobal>

struct burn_source;

// libisofs 1.5.4 counts, for a folder whose Rock Ridge names spill into
// continuation areas, bytes it never writes (when a name's continuation
// would cross a block it adds the skipped rest of the block twice). When
// that makes a whole block, every later directory, path table and file
// lies one block before the address its records give: the image is
// damaged ("Calculated and written ECMA-119 tree end differ").
//
// The mend reads the stream's ISO 9660 directories as they pass and puts
// zero blocks where libisofs's addresses say the next structure starts, so
// the image comes out whole and exactly as long as libisofs announced.
// Anything else that does not add up ends the stream with an error.
class IsoStreamMend
{
public:
    // A stream that reads inner, which it takes over, mended; startBlock
    // is the session's first block.
    static burn_source* wrap(burn_source* inner, quint32 startBlock);
    // Of a stream made by wrap: the blocks put in so far, and why it ended
    // in error (empty while it did not); the ISO 9660 directories passed.
    static quint64 addedBlocks(burn_source* mended);
    static QString failure(burn_source* mended);
    static bool treePassed(burn_source* mended);

private:
    explicit IsoStreamMend(burn_source* inner, quint32 startBlock);
    ~IsoStreamMend();

    int read(unsigned char* buffer, int size);
    // Takes one block of libisofs's stream into the queue, after any
    // blocks missing before it; false on a failure.
    bool take(const unsigned char* block);
    void parseRecords(const unsigned char* block);
    void parseFields(const unsigned char* b, int from, int to);
    quint32 nextStart() const;
    bool fail(const QString& why);

    burn_source* m_inner;
    quint32 m_start;
    quint64 m_in = 0;  // blocks taken from libisofs
    quint64 m_out = 0; // blocks handed on (after the queue)
    quint64 m_added = 0;
    enum Phase
    {
        Head,
        Tree,
        Rest
    } m_phase = Head;
    quint32 m_root = 0, m_pathTable = 0;
    std::map<quint32, quint32> m_folders; // address -> bytes, of folders not yet passed
    quint32 m_folderEnd = 0;              // end of the folder being passed
    std::set<quint32> m_areas;            // continuation blocks announced
    std::deque<std::vector<unsigned char>> m_queue;
    QString m_failure;
    bool m_eof = false;

    friend struct IsoStreamMendAccess;
};
