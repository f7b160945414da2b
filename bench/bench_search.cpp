// SPDX-License-Identifier: GPL-3.0-or-later
// The level search against the plain count-down of nextTry on instance
// families drawn from fixed seeds. The count-down is stopped at a cap; the
// search runs several times and its median is shown.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/dispense/CountDownSearch.h"
#include "core/dispense/TryCalcerHDD.h"
#include "core/dispense/TryCalcerUDF.h"

namespace {

using Clock = std::chrono::steady_clock;

double LiteralCapSeconds = 10.0;
const char* Only = nullptr; // run only the families whose name holds this
const double SearchCapSeconds = 10.0;
const int SearchRuns = 5;

struct Item
{
    std::vector<quint64> files; // sizes in bytes
    quint32 folders = 0;
    bool loose = false; // a single file (files[0]), not a folder
};

struct Family
{
    const char* name;
    int fileSystem; // 0 NTFS, 1 FAT32, 2 UDF
    quint64 blockSize;
    quint64 availableBlocks;
    std::vector<Item> items;
};

// A sparse file of size bytes with a 12-character name, made once per size.
QString looseFile(quint64 size)
{
    static QTemporaryDir dir;
    QFile file(
        dir.filePath(QStringLiteral("%1.raw").arg(size % 100000000, 8, 10, QLatin1Char('0'))));
    if (!file.exists() && !(file.open(QIODevice::WriteOnly) && file.resize(qint64(size)))) {
        std::fprintf(stderr, "cannot make a file of %llu bytes\n", (unsigned long long)size);
        std::exit(1);
    }
    return file.fileName();
}

std::unique_ptr<TryCalcerProto> makeCalc(const Family& f)
{
    std::unique_ptr<TryCalcerProto> c;
    if (f.fileSystem == 2)
        c = std::make_unique<TryCalcerUDF>(f.blockSize, f.availableBlocks);
    else
        c = std::make_unique<TryCalcerHDD>(f.blockSize, f.availableBlocks, f.fileSystem == 1);
    // Every item a folder of 12-character names, its sub-folders empty.
    const ItemName name{12, false};
    for (unsigned i = 0; i < f.items.size(); ++i) {
        if (f.items[i].loose) {
            c->addItem(looseFile(f.items[i].files[0]), i);
            continue;
        }
        c->beginItem();
        c->beginListing(name);
        for (quint64 s : f.items[i].files) {
            c->onName(name);
            c->onFile(s);
        }
        for (quint32 d = 0; d < f.items[i].folders; ++d)
            c->onName(name);
        c->endListing();
        for (quint32 d = 0; d < f.items[i].folders; ++d) {
            c->onFolder();
            c->beginListing(name);
            c->endListing();
        }
        c->endItem(i);
    }
    return c;
}

// Sets stop after seconds unless finished first.
class Timeout
{
public:
    Timeout(std::atomic_bool& stop, double seconds)
        : m_thread([this, &stop, seconds] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (!m_wake.wait_for(lock, std::chrono::duration<double>(seconds),
                                   [this] { return m_done; }))
                  stop = true;
          })
    {
    }
    ~Timeout()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};

struct Outcome
{
    double seconds = 0;
    qint64 free = 0;
    bool proven = false;   // nothing better exists
    bool finished = false; // ran to its end (or to 0 free)
    int improvements = 0;
    std::vector<qint64> trail;
};

Outcome runOnce(const Family& f, bool literal, double cap)
{
    auto calc = makeCalc(f);
    std::atomic_bool stop{false};
    Outcome o;
    const Clock::time_point start = Clock::now();
    {
        Timeout timeout(stop, cap);
        calc->prepare();
        o.free = calc->freeBlocks();
        const auto improved = [&o](qint64 free) {
            o.free = free;
            o.trail.push_back(free);
            ++o.improvements;
            return true;
        };
        o.finished = literal ? CountDownSearch::run(*calc, stop, improved)
                             : calc->findBetter(stop, improved);
        o.proven = o.finished || o.free == 0;
    }
    o.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return o;
}

quint64 capacityOf(const Family& f)
{
    auto calc = makeCalc(f);
    return quint64(calc->capacity());
}

void report(const Family& f)
{
    if (Only && !std::strstr(f.name, Only))
        return;
    std::vector<double> times;
    Outcome search;
    for (int r = 0; r < SearchRuns; ++r) {
        search = runOnce(f, false, SearchCapSeconds);
        times.push_back(search.seconds);
        if (!search.proven)
            break; // hit the cap: once is enough
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const Outcome literal = runOnce(f, true, LiteralCapSeconds);

    std::printf("%-34s items %6zu  capacity %10llu  free %9lld  %-9s  search %10.3f ms", f.name,
                f.items.size(), (unsigned long long)capacityOf(f), (long long)search.free,
                search.proven ? "optimal" : "NOT PROVEN", median * 1e3);
    std::printf("  count-down %s%9.1f ms (free %lld)  ratio %s%.0f", literal.finished ? "" : ">",
                literal.seconds * 1e3, (long long)literal.free, literal.finished ? "" : ">",
                literal.seconds / std::max(median, 1e-7));
    if (literal.proven)
        std::printf("  %s", literal.trail == search.trail ? "same" : "DIFFERENT");
    std::printf("\n");
    std::fflush(stdout);
}

quint64 between(std::mt19937_64& rng, quint64 lo, quint64 hi)
{
    return std::uniform_int_distribution<quint64>(lo, hi)(rng);
}

const quint64 MB = 1000 * 1000;
const quint64 GB = 1000 * MB;
const quint64 DvdSectors = 2298496;
const quint64 BdSectors = 12219392;

Family folders40()
{
    std::mt19937_64 rng(40);
    Family f{"40 folders 50-800 MB, DVD UDF", 2, 2048, DvdSectors, {}};
    for (int i = 0; i < 40; ++i) {
        Item it;
        quint64 left = between(rng, 50 * MB, 800 * MB);
        while (left > 0) {
            const quint64 s = std::min(left, between(rng, 1000, 8 * MB));
            it.files.push_back(s);
            left -= s;
        }
        it.folders = quint32(between(rng, 0, 30));
        f.items.push_back(std::move(it));
    }
    return f;
}

Family photos()
{
    std::mt19937_64 rng(2000);
    Family f{"2000 photos 1-12 MB, DVD UDF", 2, 2048, DvdSectors, {}};
    for (int i = 0; i < 2000; ++i)
        f.items.push_back(Item{{between(rng, 1 * MB, 12 * MB)}, 0});
    return f;
}

Family films()
{
    std::mt19937_64 rng(45);
    Family f{"45 films 2-20 GB, BD-25 UDF", 2, 2048, BdSectors, {}};
    for (int i = 0; i < 45; ++i)
        f.items.push_back(Item{{between(rng, 2 * GB, 20 * GB)}, 0});
    return f;
}

Family smallFiles()
{
    std::mt19937_64 rng(10000);
    const quint64 cluster = 32768;
    Family f{"10000 files, 32 GB FAT32 stick", 1, cluster, 32 * GB / cluster - 100, {}};
    for (int i = 0; i < 10000; ++i)
        f.items.push_back(Item{{between(rng, 1000, 8 * MB)}, 0});
    return f;
}

Family evenCounts()
{
    std::mt19937_64 rng(60);
    Family f{"60 even block counts, odd capacity", 0, 4096, 0, {}};
    quint64 total = 0;
    for (int i = 0; i < 60; ++i) {
        const quint64 blocks = 2 * between(rng, 1000, 500000);
        total += blocks;
        f.items.push_back(Item{{blocks * 4096}, 0});
    }
    f.availableBlocks = total / 2 | 1;
    return f;
}

// Block counts so large that exact fills are rare: little to prune by.
Family adversarial(const char* name, int n, quint64 lo, quint64 hi, quint64 blockSize)
{
    std::mt19937_64 rng(n * 1000 + 7);
    Family f{name, 0, blockSize, 0, {}};
    quint64 total = 0;
    for (int i = 0; i < n; ++i) {
        const quint64 blocks = between(rng, lo, hi);
        total += blocks;
        f.items.push_back(Item{{blocks * blockSize}, 0});
    }
    f.availableBlocks = total / 2;
    return f;
}

// Files of a few exact sizes, count of each: camera RAW photos, recordings of
// equal length, disc images.
Family sized(const char* name, int fileSystem, quint64 blockSize, quint64 availableBlocks,
             std::vector<std::pair<int, quint64>> sizes)
{
    Family f{name, fileSystem, blockSize, availableBlocks, {}};
    for (const auto& s : sizes)
        for (int i = 0; i < s.first; ++i)
            f.items.push_back(Item{{s.second}, 0, true});
    return f;
}

} // namespace

// Optional arguments: the count-down's cap in seconds; a part of the names of
// the families to run.
int main(int argc, char** argv)
{
    if (argc > 1)
        LiteralCapSeconds = std::atof(argv[1]);
    if (argc > 2)
        Only = argv[2];
    std::printf("search: median of %d runs (capped at %.0f s); count-down: one run capped at "
                "%.0f s; ratio = count-down / search\n",
                SearchRuns, SearchCapSeconds, LiteralCapSeconds);
    report(folders40());
    report(photos());
    report(films());
    report(smallFiles());
    report(evenCounts());
    report(adversarial("40 items of 1e8-1e9 blocks", 40, 100000000, 1000000000, 512));
    for (int n : {24, 40, 60})
        report(adversarial(n == 24   ? "24 items of 1e6-1e9 blocks"
                           : n == 40 ? "40 items of 1e6-1e9 blocks"
                                     : "60 items of 1e6-1e9 blocks",
                           n, 1000000, 1000000000, 512));
    report(adversarial("44 items of 1e11-1e12 blocks", 44, 100000000000ULL, 1000000000000ULL, 1));
    const quint64 raw1 = 25163776, raw2 = 31054848, raw3 = 19427328;
    const quint64 ntfs16 = 16 * GB / 4096, fat128 = 128 * GB / 32768, ntfs1t = 1000 * GB / 4096;
    report(sized("44 equal files 120 MB, DVD UDF", 2, 2048, DvdSectors, {{44, 120 * MB}}));
    report(sized("300 equal files 20 MB, DVD UDF", 2, 2048, DvdSectors, {{300, 20 * MB}}));
    report(
        sized("150+150 RAW of 2 sizes, DVD UDF", 2, 2048, DvdSectors, {{150, raw1}, {150, raw2}}));
    report(sized("150+150 RAW of 2 sizes, 8 GB NTFS", 0, 4096, 8 * GB / 4096,
                 {{150, raw1}, {150, raw2}}));
    report(sized("150+150 RAW of 2 sizes, 8 GB FAT32", 1, 32768, 8 * GB / 32768,
                 {{150, raw1}, {150, raw2}}));
    report(sized("3x100 RAW of 3 sizes, DVD UDF", 2, 2048, DvdSectors,
                 {{100, raw1}, {100, raw2}, {100, raw3}}));
    report(sized("20000 RAW of 1 size, BD-25 UDF", 2, 2048, BdSectors, {{20000, raw1}}));
    report(sized("20000 RAW of 3 sizes, BD-25 UDF", 2, 2048, BdSectors,
                 {{8000, raw1}, {7000, raw2}, {5000, raw3}}));
    report(sized("20000 RAW of 3 sizes, 128 GB FAT32", 1, 32768, fat128,
                 {{8000, raw1}, {7000, raw2}, {5000, raw3}}));
    report(
        sized("20000 RAW of 2 sizes, 16 GB NTFS", 0, 4096, ntfs16, {{10000, raw1}, {10000, raw2}}));
    report(sized("2000 recordings of 2 lengths, 32 GB FAT32", 1, 32768, 32 * GB / 32768,
                 {{1000, 57600044}, {1000, 86400044}}));
    report(sized("400 disc images, 3 sizes, 1 TB NTFS", 0, 4096, ntfs1t,
                 {{200, 4700372992}, {150, 8543666176}, {50, 734003200}}));
    return 0;
}
