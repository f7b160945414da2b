// SPDX-License-Identifier: GPL-3.0-or-later
// The series planner against first-fit decreasing over the same costs, on
// collections made as sparse files: albums onto DVDs, films onto BD-25,
// 100,000 photos onto USB sticks, and a mix of priorities. Both measure every
// entry from the disk; the baseline is timed in the same run. The series must
// never need more media than first-fit decreasing, and on the realistic
// families at most the lower bound + 1: otherwise a FAIL line, and the exit
// status is 1.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/dispense/SeriesPlanner.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* Only = nullptr;  // run only the families whose name holds this
qint64 MediumLimitMs = SeriesPlanner::DefaultMediumTimeLimitMs; // a negative number: none

const quint64 MB = 1000 * 1000;
const quint64 GB = 1000 * MB;
const quint64 DvdSectors = 2298496;
const quint64 BdSectors = 12219392;

struct Family
{
    Target target;
    bool realistic;                        // held to the lower bound + 1
    std::vector<SeriesEntry> entries = {}; // made by the family's builder
    int next[NoGroup] = {};                // the next index in each group
};

quint64 between(std::mt19937_64& rng, quint64 lo, quint64 hi)
{
    return std::uniform_int_distribution<quint64>(lo, hi)(rng);
}

void sparseFile(const QString& path, quint64 size)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0 || ::ftruncate(fd, off_t(size)) != 0) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(path));
        std::exit(2);
    }
    ::close(fd);
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(path));
        std::exit(2);
    }
}

void addEntry(Family& f, int group, const QString& path)
{
    f.entries.push_back(SeriesEntry{EntryPos{group, f.next[group]++}, path});
}

// count album folders of 10-20 tracks of 3-12 MB.
void albums(Family& f, const QString& dir, int count, std::mt19937_64& rng, int group = Main)
{
    for (int a = 0; a < count; ++a) {
        const QString album =
            QStringLiteral("%1/Album %2").arg(dir).arg(a, 4, 10, QLatin1Char('0'));
        makeFolder(album);
        const int tracks = int(between(rng, 10, 20));
        for (int t = 1; t <= tracks; ++t)
            sparseFile(
                QStringLiteral("%1/%2 Track %2.flac").arg(album).arg(t, 2, 10, QLatin1Char('0')),
                between(rng, 3 * MB, 12 * MB));
        addEntry(f, group, album);
    }
}

// count files of lo to hi bytes, named like a camera's.
void files(Family& f, const QString& dir, int count, quint64 lo, quint64 hi, const char* stem,
           std::mt19937_64& rng, int group = Main)
{
    makeFolder(dir);
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/%2_%3.JPG")
                                 .arg(dir, QLatin1String(stem))
                                 .arg(i, 6, 10, QLatin1Char('0'));
        sparseFile(path, between(rng, lo, hi));
        addEntry(f, group, path);
    }
}

Family albumsOnDvds(const QString& dir)
{
    std::mt19937_64 rng(600);
    Family f{{dir, UDF, 2048, DvdSectors}, true};
    albums(f, dir, 600, rng);
    return f;
}

Family filmsOnBd(const QString& dir)
{
    std::mt19937_64 rng(200);
    Family f{{dir, UDF, 2048, BdSectors}, true};
    files(f, dir, 200, 700 * MB, 8 * GB, "FILM", rng);
    return f;
}

Family photosOnFat(const QString& dir)
{
    std::mt19937_64 rng(100000);
    const quint64 cluster = 32768;
    Family f{{dir, FAT, cluster, 64 * GB / cluster - 200}, true};
    files(f, dir, 100000, 2 * MB, 12 * MB, "IMG", rng);
    return f;
}

Family photosOnNtfs(const QString& dir)
{
    std::mt19937_64 rng(100001);
    Family f{{dir, NTFS, 4096, 16 * GB / 4096 - 2000}, true};
    files(f, dir, 100000, 2 * MB, 12 * MB, "DSC", rng);
    return f;
}

// Backups that must go first, an archive of albums and photos, and large
// videos as filler.
Family mixedOnDvds(const QString& dir)
{
    std::mt19937_64 rng(3);
    Family f{{dir, UDF, 2048, DvdSectors}, true};
    files(f, dir + QStringLiteral("/backup"), 40, 50 * MB, 900 * MB, "BAK", rng, Required);
    albums(f, dir + QStringLiteral("/music"), 300, rng);
    files(f, dir + QStringLiteral("/photos"), 3000, 1 * MB, 12 * MB, "IMG", rng);
    files(f, dir + QStringLiteral("/video"), 60, 100 * MB, 3 * GB, "MOV", rng, Background);
    return f;
}

// Items of a third of a medium and a little more: three never share one, so
// first-fit decreasing and the series both need one medium per two.
Family thirds(const QString& dir)
{
    std::mt19937_64 rng(31);
    const quint64 medium = 1000000;
    Family f{{dir, NTFS, 4096, medium}, false};
    files(f, dir, 300, (medium / 3 + 1000) * 4096, (medium / 3 + 30000) * 4096, "THIRD", rng);
    return f;
}

struct Baseline
{
    int media = 0;
    quint64 wastedBytes = 0;
    quint64 emptiestBytes = 0; // left free on the emptiest medium
    int apart = 0;
    double seconds = 0;
};

// First-fit decreasing by each entry's cost on a medium of its own.
Baseline firstFitDecreasing(const Family& f)
{
    const Clock::time_point start = Clock::now();
    std::unique_ptr<TryCalcerProto> calc = createTryCalcer(f.target);
    const quint64 capacity = quint64(std::max<qint64>(calc->capacity(), 0));
    std::vector<PlaceItem> items;
    Baseline b;
    for (std::size_t i = 0; i < f.entries.size(); ++i) {
        calc->measureItem(f.entries[i].path, unsigned(i));
        if (calc->refusal() != FsCost::Placeable || calc->costAlone(calc->lastItem()) > capacity)
            ++b.apart;
        else
            items.push_back(calc->lastItem());
    }
    std::sort(items.begin(), items.end(), [&](const PlaceItem& x, const PlaceItem& y) {
        return calc->costAlone(x) > calc->costAlone(y);
    });
    std::vector<PlaceItem> bins; // each medium's totals
    for (const PlaceItem& it : items) {
        bool placed = false;
        for (PlaceItem& bin : bins) {
            const PlaceItem with{0, bin.blocks + it.blocks, bin.shared + it.shared};
            if (calc->costAlone(with) <= capacity) {
                bin = with;
                placed = true;
                break;
            }
        }
        if (!placed)
            bins.push_back(it);
    }
    b.media = int(bins.size());
    for (const PlaceItem& bin : bins) {
        const quint64 free = (capacity - calc->costAlone(bin)) * calc->unitSize();
        b.wastedBytes += free;
        b.emptiestBytes = std::max(b.emptiestBytes, free);
    }
    b.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return b;
}

bool report(const char* name, Family (*make)(const QString&))
{
    if (Only && !std::strstr(name, Only))
        return true;
    // Sparse files are made a hundred times faster in memory than on a disk.
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                             ? QStringLiteral("/dev/shm")
                             : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_series-XXXXXX"));
    const Clock::time_point made = Clock::now();
    const Family f = make(dir.path());
    const double making = std::chrono::duration<double>(Clock::now() - made).count();

    // The baseline first: both then find the same files in the page cache.
    const Baseline ffd = firstFitDecreasing(f);
    SeriesPlanner planner(f.target, f.entries);
    planner.setMediumTimeLimit(MediumLimitMs);
    const Clock::time_point start = Clock::now();
    if (!planner.run()) {
        std::printf("FAIL %s: the plan failed: %s\n", name, qPrintable(planner.failure()));
        return false;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const SeriesResult& r = planner.result();
    quint64 wasted = 0;
    int unproven = 0;
    for (const SeriesMedium& m : r.media) {
        wasted += m.wastedBytes;
        unproven += !m.proven;
    }
    const int media = int(r.media.size());
    std::printf("%-58s entries %6zu (made in %.1f s)\n", name, f.entries.size(), making);
    std::printf("    media:  series %3d  FFD %3d  lower bound %3llu  apart %d/%d%s\n", media,
                ffd.media, (unsigned long long)r.lowerBound, int(r.apart.size()), ffd.apart,
                unproven ? qPrintable(QStringLiteral("  (%1 media not proven best)").arg(unproven))
                         : "");
    // All but the last medium (of FFD's, the emptiest: they are in no order):
    // how full the media are that are burnt first.
    const quint64 last = r.media.empty() ? 0 : r.media.back().wastedBytes;
    std::printf("    wasted: series %14llu  FFD %14llu bytes in all\n", (unsigned long long)wasted,
                (unsigned long long)ffd.wastedBytes);
    std::printf("            series %14llu  FFD %14llu bytes but on the last medium\n",
                (unsigned long long)(wasted - last),
                (unsigned long long)(ffd.wastedBytes - ffd.emptiestBytes));
    std::printf("    time:   series %10.3f s  FFD %10.3f s  (series / FFD %.1f)\n", seconds,
                ffd.seconds, seconds / std::max(ffd.seconds, 1e-6));
    bool ok = true;
    if (media > ffd.media) {
        std::printf("FAIL %s: the series needs %d media, first-fit decreasing %d\n", name, media,
                    ffd.media);
        ok = false;
    }
    if (f.realistic && quint64(media) > r.lowerBound + 1) {
        std::printf("FAIL %s: the series needs %d media, more than the lower bound %llu + 1\n",
                    name, media, (unsigned long long)r.lowerBound);
        ok = false;
    }
    std::fflush(stdout);
    return ok;
}

} // namespace

// Optional arguments: a part of the names of the families to run ("" for
// all); each medium's time limit in seconds, negative for none.
int main(int argc, char** argv)
{
    if (argc > 1 && *argv[1])
        Only = argv[1];
    if (argc > 2)
        MediumLimitMs = qint64(std::atof(argv[2]) * 1000);
    std::printf("series against first-fit decreasing (FFD) over the same costs; each medium's "
                "search limited to %lld ms\n",
                (long long)MediumLimitMs);
    bool ok = true;
    ok &= report("600 albums of 10-20 tracks, DVD UDF", albumsOnDvds);
    ok &= report("200 films 0.7-8 GB, BD-25 UDF", filmsOnBd);
    ok &= report("100000 photos 2-12 MB, 64 GB FAT32", photosOnFat);
    ok &= report("100000 photos 2-12 MB, 16 GB NTFS", photosOnNtfs);
    ok &= report("mixed: 40 R, 300 albums + 3000 photos M, 60 videos B, DVD", mixedOnDvds);
    ok &= report("300 items just over a third, 4 GB NTFS", thirds);
    return ok ? 0 : 1;
}
