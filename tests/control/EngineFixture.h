#pragma once

#include <algorithm>
#include <memory>

#include <QStringList>

#include "control/Engine.h"
#include "core/model/DM.h"
#include "tests/common/FakeViews.h"

// A list stand-in whose selection behaves like the entry list's: an inserted
// row is selected, a removed row leaves the selection and the rows after it
// move up, a rebuild selects nothing.
class ListingItems : public FakeItems
{
public:
    using FakeItems::FakeItems;

    void insertItem(const EntryPos& pos) override
    {
        FakeItems::insertItem(pos);
        addRow(pos);
    }
    void removeItem(const EntryPos& pos) override
    {
        FakeItems::removeItem(pos);
        dropRow(pos);
    }
    void moveItem(const EntryPos& from, const EntryPos& to) override
    {
        FakeItems::moveItem(from, to);
        dropRow(from);
        addRow(to);
    }
    void rebuildItems() override
    {
        FakeItems::rebuildItems();
        selection.clear();
    }
    void selectedPositions(std::vector<EntryPos>& out) override
    {
        out = selection;
        std::sort(out.begin(), out.end(), [](const EntryPos& a, const EntryPos& b) {
            return a.group != b.group ? a.group < b.group : a.index > b.index;
        });
    }

private:
    void addRow(const EntryPos& pos)
    {
        for (EntryPos& p : selection)
            if (p.group == pos.group && p.index >= pos.index)
                ++p.index;
        selection.push_back(pos);
    }
    void dropRow(const EntryPos& pos)
    {
        selection.erase(std::remove(selection.begin(), selection.end(), pos), selection.end());
        for (EntryPos& p : selection)
            if (p.group == pos.group && p.index > pos.index)
                --p.index;
    }
};

// One engine attached to recording views; the model is the process's one.
struct EngineFixture
{
    CallLog log;
    FakeDialogs dialogs{log};
    FakeActions actions{log};
    ListingItems items{log};
    FakeStatus status{log};
    Engine engine;

    EngineFixture()
    {
        dataModel()->newProject();
        engine.attachViews(&dialogs, &actions, &items, &status);
        log.take();
    }
    ~EngineFixture() { engine.detachViews(); }

    // The log lines that begin with prefix.
    QStringList calls(const QString& prefix) const
    {
        QStringList out;
        for (const QString& l : log.lines)
            if (l.startsWith(prefix))
                out << l;
        return out;
    }
    QString lastCall(const QString& prefix) const
    {
        const QStringList c = calls(prefix);
        return c.isEmpty() ? QString() : c.last();
    }
};

inline Entry makeEntry(const QString& name, quint64 size, bool valid = true, int kind = File,
                       const QString& folder = QStringLiteral("/data"))
{
    Entry e;
    e.Name = name;
    e.Path = folder;
    e.Ident = folder + QLatin1Char('/') + name;
    e.Size = size;
    e.IsValidSize = valid;
    e.Kind = kind;
    return e;
}

// Adds e to group; into Dispensed by way of origin, which the model remembers.
inline EntryPos placeEntry(const Entry& e, int group, int origin = Main)
{
    DM* m = dataModel();
    EntryPos p = m->addEntry(e);
    if (group == Dispensed) {
        if (origin != Main)
            m->moveEntry(p, origin);
        m->moveEntry(p, Dispensed);
    } else if (group != Main) {
        m->moveEntry(p, group);
    }
    return p;
}

// "D:a|R:b,c|M:|B:|N:" — the names of every group in order.
inline QString layoutText()
{
    static const char* const letters[] = {"D", "R", "M", "B", "N"};
    DM* m = dataModel();
    QStringList groups;
    for (int g = Dispensed; g < NoGroup; ++g) {
        QStringList names;
        for (EntryPos p = m->groupBegin(g); m->isValidPos(p); ++p.index)
            names << m->entryAt(p).Name;
        groups << QLatin1String(letters[g]) + QLatin1Char(':') + names.join(QLatin1Char(','));
    }
    return groups.join(QLatin1Char('|'));
}

// "2:3 2:1" as positions.
inline std::vector<EntryPos> positions(const QString& text)
{
    std::vector<EntryPos> out;
    for (const QString& item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char(':'));
        out.push_back(EntryPos{parts.at(0).toInt(), parts.at(1).toInt()});
    }
    return out;
}
