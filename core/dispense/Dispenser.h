// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <vector>

#include <QString>

#include "core/dispense/IDispenser.h"
#include "core/model/Entry.h"

class TryCalcerProto;

// The dispense search: one per dispense, run on its own thread, reading the
// model's target and groups while the GUI thread sits in the progress dialog.
// Level by level (Required, Main, Background) it picks the entries that leave
// the fewest blocks of the target free; each level gets the room the one
// before left. A request that comes while a level is measured ends the
// measuring at once: the entries measured so far make up that level.
class Dispenser : public IDispenser
{
public:
    enum DispenseRequest
    {
        Searching = 0,
        Cancel = 1,
        Enough = 2,
        Accept = 3
    };

    Dispenser();
    // Cancels a search still running and waits for its thread.
    ~Dispenser() override;

    void cancel() override;
    void accept() override;
    void enough() override;

    // The result, valid after do_finish(true) and the thread's end.
    DispenseQueue& resultQueue() { return m_queue; }
    quint64 wasted() const { return m_wasted; }

    // An entry the search left out because its size could not be known.
    struct LeftOut
    {
        EntryPos pos;
        int issue; // SizeIssue
    };
    // After the thread's end, also of a run without a result: the entries
    // measured so far that were left out, in list order.
    const std::vector<LeftOut>& leftOut() const { return m_leftOut; }
    // Entries to leave out of the search, named before it starts (another
    // entry takes their name on the target).
    void leaveOut(std::vector<EntryPos> positions);
    // An entry the target's file system can never hold, as measured: why is a
    // FsCost::Refusal (a file of 4 GiB or more on FAT32, a folder of too
    // many entries, a name exFAT refuses, more inodes than an ext4 volume has
    // free, a device). After the thread's end, in list order.
    struct Refused
    {
        EntryPos pos;
        int why;
    };
    const std::vector<Refused>& refused() const { return m_refused; }
    // The chosen selection lost entries to a limit of the medium besides its
    // room: the entries of the target folder (65,536 on FAT32, 256 MiB of
    // them on exFAT) or the free inodes (ext4).
    bool limitReached() const { return m_limitReached; }
    // The measured Required entries the chosen selection does not hold,
    // those refused aside.
    int requiredNotFitted() const { return m_requiredNotFitted; }
    // The first group with entries that an accepted search never reached; -1
    // when every group was searched.
    int unsearchedGroup() const { return m_unsearchedGroup; }
    // What one searched level had and chose, so that a plan can be checked:
    // the chosen entries' blocks plus the blocks of sharedBlock bytes their
    // shared bytes add to sharedBefore fit room.
    struct Considered
    {
        EntryPos pos;
        quint64 blocks = 0; // of unitSize bytes, its own
        quint64 shared = 0; // bytes in the shared store (0 without one)
        bool chosen = false;
    };
    struct Level
    {
        int group = Required;
        qint64 room = 0; // blocks free at the level's start
        quint64 unitSize = 0;
        quint64 sharedBlock = 0;         // 0: no shared store
        quint64 sharedBefore = 0;        // bytes chosen at earlier levels
        std::vector<Considered> entries; // every measured entry, in list order
    };
    // After the thread's end, the levels searched, in order.
    const std::vector<Level>& levels() const { return m_levels; }
    // Why the search ended without a result when nobody cancelled it; empty
    // otherwise.
    const QString& failure() const { return m_failure; }

protected:
    void run() override;

private:
    // The search itself; run() turns an allocation failure into a failed end.
    void search();
    // Keeps what the level just searched had and chose; see levels().
    void recordLevel(const TryCalcerProto& calc, int group, const std::vector<unsigned>& selection);

    DispenseQueue m_queue;
    std::vector<EntryPos> m_skipped; // sorted
    std::vector<LeftOut> m_leftOut;
    std::vector<Refused> m_refused;
    bool m_limitReached = false;
    std::vector<Level> m_levels;
    int m_requiredNotFitted = 0;
    int m_unsearchedGroup = -1;
    QString m_failure;
    quint64 m_wasted = 0;
    std::atomic_int m_request{Searching};
    // Set by every request: ends the search of a level, or the measuring of
    // one (a folder walk included).
    std::atomic_bool m_stopTrying{false};
};
