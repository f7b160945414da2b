// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <map>

#include <QtTest>

#include "core/model/EntriesModel.h"
#include "core/model/SizeText.h"

class TestEntriesModel : public QObject
{
    Q_OBJECT
private slots:
    void randomOperations();
    void edgeCases();
};

// Random adds, removes, moves, size reports, dispenses, undispenses and forgets, one by one and
// in bulk, against plain lists of names and origins; the cached totals must stay the sums over
// groups 1..3. A bulk operation must do what its one-by-one steps in list order would.
void TestEntriesModel::randomOperations()
{
    QRandomGenerator rng(1);
    const auto counted = [](int g) { return g >= Required && g <= Background; };
    EntriesModel m;
    QVector<QString> want[5];
    QVector<int> origins;
    bool dispensed = false;
    for (int step = 0; step < 8000; ++step) {
        if (step == 4000)
            m.setTarget({"/media/disk", NTFS, 4096, 1000});
        const int op = rng.bounded(12), g = rng.bounded(5), n = want[g].size();
        EntryPos p{g, n ? int(rng.bounded(n)) : 0};
        if (op <= 2) {
            const QString id = QString::number(step);
            p = m.addEntry({id, "/", "/" + id, step * 977ull, step % 3 != 0, step % 3 == 0});
            QCOMPARE(p, (EntryPos{Main, int(want[Main].size())}));
            want[Main] << id;
        } else if (op == 3 && n) {
            m.removeEntry(p);
            want[g].removeAt(p.index);
            if (g == Dispensed)
                origins.removeAt(p.index);
        } else if (op <= 5 && n) {
            // A parked entry put straight into Dispensed would go back to Main.
            const int from = g == Dispensed ? origins.takeAt(p.index) : counted(g) ? g : Main;
            const int to = rng.bounded(5);
            want[to] << want[g].takeAt(p.index);
            if (to == Dispensed)
                origins << from;
            QVERIFY(&m.moveEntry(p, to) == &p && p == (EntryPos{to, int(want[to].size()) - 1}));
        } else if (op == 6 && n && !m.entryAt(p).IsValidSize) {
            m.entryAt(p).IsValidSize = true; // its size has been there all along
            QCOMPARE(m.entrySizeKnown(p), p);
        } else if (op == 7) {
            DispenseQueue q;
            for (int c = Required; c <= Background; ++c)
                for (int i = 0; i < want[c].size(); ++i)
                    if (rng.bounded(4) == 0)
                        q.push({c, i});
            std::vector<EntryPos> chosen = q.items();
            m.applyDispense(q, step);
            QVERIFY(q.empty() && m.isModified() && m.wastedSize() == quint64(step));
            // Greatest position first, so each take leaves the others in place.
            std::sort(chosen.rbegin(), chosen.rend());
            for (const EntryPos& c : chosen)
                want[Dispensed] << want[c.group].takeAt(c.index), origins << c.group;
            dispensed = !want[Dispensed].isEmpty(); // a result that chose nothing is none
        } else if (op >= 10) {
            // Any order, repeats and positions past the end; the first destination counts.
            std::vector<EntryPos> from;
            std::vector<int> to;
            std::map<EntryPos, std::pair<int, QString>> dest; // destination, name
            QStringList names;
            for (int k = rng.bounded(40); k > 0; --k) {
                const int c = rng.bounded(5);
                from.push_back({c, int(rng.bounded(want[c].size() + 1))});
                to.push_back(op == 11 ? NoGroup : int(rng.bounded(6)) - 1);
                names << want[c].value(from.back().index);
                if (!names.back().isEmpty())
                    dest.insert({from.back(), {to.back(), names.back()}});
            }
            const Regroup change = op == 10 ? m.moveEntries(from, to) : m.removeEntries(from);
            for (const auto& [at, move] : dest) { // one by one, in list order
                const auto& [d, name] = move;
                const int i = want[at.group].indexOf(name);
                if (d < 0)
                    continue;
                want[at.group].removeAt(i);
                const int origin = at.group == Dispensed ? origins.takeAt(i)
                                   : counted(at.group)   ? at.group
                                                         : Main;
                if (d < NoGroup)
                    want[d] << name;
                if (d == Dispensed)
                    origins << origin;
            }
            for (std::size_t i = 0; i < from.size(); ++i) { // each one is where it says
                const EntryPos now = change.placeOf(from[i]);
                const int d = names[i].isEmpty() ? -1 : dest.at(from[i]).first;
                if (names[i].isEmpty())
                    QCOMPARE(now, from[i]);
                else if (d == NoGroup)
                    QCOMPARE(now.group, int(NoGroup));
                else
                    QVERIFY(m.entryAt(now).Name == names[i] &&
                            now.group == (d < 0 ? from[i].group : d));
            }
        } else if (op >= 8) {
            op == 8 ? void(m.undispense()) : m.forgetDispensed();
            for (int i = origins.size() - 1; op == 8 && i >= 0; --i)
                want[origins[i]] << want[Dispensed][i];
            want[Dispensed].clear();
            origins.clear();
            dispensed = false;
            QCOMPARE(m.wastedSize(), m.hasTarget() ? m.target().capacity() : 0);
        }
        quint64 size = 0;
        for (int c = Dispensed; c <= NotInUse; ++c) {
            QVector<QString> names;
            for (EntryPos i = m.groupBegin(c); m.isValidPos(i); ++i.index) {
                names << m.entryAt(i).Name;
                size += counted(c) && m.entryAt(i).IsValidSize ? m.entryAt(i).Size : 0;
            }
            QVERIFY2(names == want[c], qPrintable(QString("group %1 at step %2").arg(c).arg(step)));
        }
        QCOMPARE(m.origins(), origins);
        QCOMPARE(QString::asprintf("%d %llu %d", m.totalCount(), m.totalSize(), m.isDispensed()),
                 QString::asprintf("%d %llu %d",
                                   int(want[1].size() + want[2].size() + want[3].size()), size,
                                   dispensed));
    }
}

void TestEntriesModel::edgeCases()
{
    EntriesModel m;
    QString name;
    QVERIFY(m.projectFile(name) && name == "New Project" && !m.isModified() && !m.hasTarget());
    m.addEntry({"a", "/", "/a", 1, true, File});
    // Past either end or outside the five groups is no position.
    QVERIFY(!m.isValidPos({Main, 1}) && !m.isValidPos({Main, -1}) && !m.isValidPos({Required, 0}) &&
            !m.isValidPos({NoGroup, 0}) && !m.isValidPos({-1, 0}));
    // Never given a file, it has nowhere to be saved to.
    QVERIFY(!m.save() && m.isModified() && !m.lastError().isEmpty());
    m.setTarget({"/t", FAT, 512, 3});
    m.newProject();
    QVERIFY(!m.isModified() && !m.hasTarget() && m.entryCount() == 0);

    const quint64 K = 1024, M = K * K, G = M * K, T = G * K;
    const quint64 bytes[] = {0,         K - 1, K,     K + 512, M - 1, M + 1,
                             G + G / 2, T - 1, T + 1, T * K,   ~0ull};
    const char* texts[] = {"0 B",     "1023 B",  "1.0 KiB", "1.5 KiB", "1.0 MiB", "1.0 MiB",
                           "1.5 GiB", "1.0 TiB", "1.0 TiB", "1.0 PiB", "16.0 EiB"};
    for (int i = 0; i < 11; ++i)
        QCOMPARE(sizeText(bytes[i]), QString(texts[i]));
}

QTEST_GUILESS_MAIN(TestEntriesModel)
#include "test_entriesmodel.moc"
