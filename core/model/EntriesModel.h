// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/DM.h"
#include "core/model/ProjectData.h"

// The one implementation of DM. Holds the entries by value; references handed
// out by entryAt and target stay valid until the next change of their group
// or of the target.
class EntriesModel : public DM
{
    Q_OBJECT
public:
    explicit EntriesModel(QObject* parent = nullptr);

    EntryPos addEntry(const Entry& entry) override;
    bool isValidPos(const EntryPos& pos) const override;
    int entryCount() const override;
    int groupSize(int group) const override;
    Entry& entryAt(const EntryPos& pos) override;
    void removeEntry(const EntryPos& pos) override;
    EntryPos& moveEntry(EntryPos& pos, int group) override;
    Regroup moveEntries(const std::vector<EntryPos>& from, const std::vector<int>& to) override;
    Regroup removeEntries(const std::vector<EntryPos>& positions) override;
    bool regroup(const Regroup& change, QVector<Entry>* removed = nullptr) override;
    bool revertChange(const Regroup& change, const QVector<Entry>& removed,
                      const QVector<int>& origins) override;
    QVector<int> dispensedOrigins() const override { return m_data.origins; }
    EntryPos entrySizeKnown(const EntryPos& pos) override;
    EntryPos groupBegin(int group) const override;
    bool hasTarget() const override;
    const Target& target() const override;
    void setTarget(const Target& target) override;
    Regroup applyDispense(DispenseQueue& queue, quint64 wasted) override;
    void forgetDispensed() override;
    Regroup undispense() override;
    bool isDispensed() const override;
    bool isModified() const override;
    bool isUntitled() const override;
    bool projectFile(QString& out) const override;
    void newProject() override;
    quint64 totalSize() const override;
    int totalCount() const override;
    quint64 wastedSize() const override;
    void setWastedSize(quint64 bytes) override { m_wasted = bytes; }
    void restoreResult(bool hasTarget, const Target& target, bool dispensed,
                       quint64 wasted) override;
    void setModified(bool modified) override { m_modified = modified; }
    bool save() override;
    bool saveAs(const QString& path) override;
    bool load(const QString& path, const QString& fileName) override;
    QString lastError() const override;
    QStringList lastWarnings() const override;
    QString savePath() const override;

    // Origin group of each dispensed entry, parallel to the Dispensed group.
    const QVector<int>& origins() const { return m_data.origins; }
    // The content a save writes.
    const ProjectData& data() const { return m_data; }

private:
    static bool counted(int group) { return group >= Required && group <= Background; }
    void recomputeTotals();
    // Keeps the caches as the entry e moves from one group to another (NoGroup: removed).
    void countMove(const Entry& e, int from, int to);
    int originAt(const EntryPos& pos) const;
    Regroup::Sizes groupSizes() const;
    // Moves the entries as change says, with their origins, and keeps the caches.
    void applyRegroup(const Regroup& change);
    // The groups are those change was made for (before), or those it leaves.
    bool fits(const Regroup& change, bool before) const;
    // The waste with nothing dispensed: the whole capacity, 0 without a target.
    quint64 fullCapacity() const;

    bool m_modified = false;
    bool m_untitled = true;
    QString m_projectFileName;
    QString m_filePath; // where save writes: the full path of the loaded or saved file
    ProjectData m_data;
    bool m_dispensed = false;
    unsigned __int128 m_totalSize = 0; // exact; totalSize() saturates
    int m_totalCount = 0;
    quint64 m_wasted = 0;
    QString m_lastError;
    QStringList m_lastWarnings;
};
