// SPDX-License-Identifier: GPL-3.0-or-later
// Times CopyEngine (copy, read back, manifest) against the same proof made
// with standard tools over the same files in the same run: the originals'
// checksum list by xxh128sum (what the engine makes while it copies), `cp -r`,
// then `xxh128sum -c` on the copy; for the record also without the list's
// time, and with sha256sum. 2 GiB of large files, and 20,000 small files,
// from one memory folder into another, so that the program's own work is
// what counts. Target: within 1.3x of the standard tools. Also times XXH3-128
// alone over memory, to show that the hash is never what the copy waits for.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "core/copy/ContentHash.h"
#include "core/copy/CopyEngine.h"

namespace {

constexpr int kRuns = 3;
constexpr double kTarget = 1.3;

bool writeRandom(const QString& path, qint64 size, std::mt19937_64& rng)
{
    QFile f(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !f.open(QIODevice::WriteOnly))
        return false;
    std::vector<quint64> block(1 << 17);
    quint64 state = rng();
    for (qint64 done = 0; done < size;) {
        for (quint64& x : block) { // splitmix64: random enough, and fast
            quint64 z = (state += 0x9E3779B97F4A7C15ull);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            x = z ^ (z >> 31);
        }
        const qint64 n = std::min<qint64>(qint64(block.size() * 8), size - done);
        if (f.write(reinterpret_cast<const char*>(block.data()), n) != n)
            return false;
        done += n;
    }
    return true;
}

bool shell(const QString& script, const QString& a = QString(), const QString& b = QString())
{
    return QProcess::execute(QStringLiteral("bash"), {QStringLiteral("-c"), script, a, b}) == 0;
}

double timed(const std::function<bool()>& work, bool& ok, int runs = kRuns)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        ok = work() && ok;
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

// One set of files: the three ways, best of kRuns each (sha256sum once). False on a failed run
// or a missed target.
bool compare(const char* what, const QString& src, const QStringList& entries, const QString& work,
             double hashRate)
{
    bool ok = true;
    const QString dst = work + QStringLiteral("/dst");
    const QString clean = QStringLiteral("rm -rf \"$0\" && mkdir -p \"$0\"");
    ok = shell(QStringLiteral("cd \"$0\" && find . -type f -printf '%P\\n' | sort > \"$1/list\""),
               src, work) &&
         ok;
    const double engine = timed(
        [&] {
            shell(clean, dst);
            CopyEngine copy(entries, CopyDestination{dst, QStringLiteral("bench"), dst});
            const bool done = copy.run();
            QFile::remove(copy.journalPath());
            return done;
        },
        ok);
    // The same proof with standard tools: the originals' checksum list (which
    // the engine makes while copying), cp -r, and the check of the copy.
    const auto standard = [&](const char* checker, bool listTimed, int runs) {
        const QString list = QStringLiteral("cd \"$0\" && xargs -d '\\n' %1 < \"%2/list\" > "
                                            "\"%2/sums\"")
                                 .arg(QLatin1String(checker), work);
        if (!listTimed)
            ok = shell(list, src) && ok;
        return timed(
            [&] {
                shell(clean, dst);
                return (!listTimed || shell(list, src)) &&
                       shell(QStringLiteral("cp -r \"$0\"/* \"$1\" && cd \"$1\" && %1 --quiet -c "
                                            "\"%2/sums\" >/dev/null 2>&1")
                                 .arg(QLatin1String(checker), work),
                             src, dst);
            },
            ok, runs);
    };
    const double xxh = standard("xxh128sum", true, kRuns);
    const double bare = standard("xxh128sum", false, kRuns);
    const double sha = standard("sha256sum", true, 1); // for the record only
    shell(QStringLiteral("rm -rf \"$0\""), dst);
    const bool fast = engine <= kTarget * xxh;
    quint64 bytes = 0;
    for (QDirIterator it(src, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        bytes += quint64(QFileInfo(it.next()).size());
    std::printf("%s: copy+verify %.0f ms; xxh128sum list + cp -r + xxh128sum -c %.0f ms "
                "(ratio %.2f, target %.1f) %s\n",
                what, engine, xxh, engine / xxh, kTarget, fast ? "ok" : "FAIL");
    std::printf("%s: cp -r + xxh128sum -c, the list made before, %.0f ms (ratio %.2f); the same "
                "with sha256sum, list timed, %.0f ms (ratio %.2f)\n",
                what, bare, engine / bare, sha, engine / sha);
    std::printf("%s: hashing it twice takes %.0f ms of the %.0f\n", what,
                2.0 * double(bytes) / hashRate / 1e6, engine);
    if (!ok)
        std::printf("FAIL %s: a run failed\n", what);
    return ok && fast;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Memory on both sides; the journals in a folder of the bench's own.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_copy-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));

    double hashRate = 0; // bytes per ns, that is GB/s
    {
        std::vector<char> block(64 << 20, 'x');
        ContentHash h;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 16; ++i)
            h.add(block.data(), block.size());
        (void)h.digest();
        hashRate = 16.0 * double(block.size()) / double(t.nsecsElapsed());
    }
    // The copy hashes every byte twice (read, and read back).
    const bool hashFast = hashRate >= 1.0;
    std::printf("XXH3-128 alone: %.1f GB/s on one core (needed: 1 GB/s) %s\n", hashRate,
                hashFast ? "ok" : "FAIL");

    std::mt19937_64 rng(7);
    bool ok = true;
    {
        const QString src = dir.filePath(QStringLiteral("large"));
        QStringList entries;
        for (int i = 0; i < 8; ++i) {
            entries << src + QStringLiteral("/film%1.bin").arg(i);
            ok = writeRandom(entries.last(), qint64(256) << 20, rng) && ok;
        }
        QDir().mkpath(dir.filePath(QStringLiteral("w1")));
        ok = ok && compare("2 GiB in 8 files", src, entries, dir.filePath(QStringLiteral("w1")),
                           hashRate);
        shell(QStringLiteral("rm -rf \"$0\""), src);
    }
    {
        const QString src = dir.filePath(QStringLiteral("small"));
        for (int f = 0; f < 20000; ++f)
            ok = writeRandom(QStringLiteral("%1/album%2/track%3.txt")
                                 .arg(src)
                                 .arg(f / 200, 3, 10, QLatin1Char('0'))
                                 .arg(f % 200),
                             qint64(rng() % 16384), rng) &&
                 ok;
        QStringList entries;
        for (const QString& a : QDir(src).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            entries << src + QLatin1Char('/') + a;
        QDir().mkpath(dir.filePath(QStringLiteral("w2")));
        ok = compare("20,000 small files", src, entries, dir.filePath(QStringLiteral("w2")),
                     hashRate) &&
             ok;
    }
    return ok && hashFast ? 0 : 1;
}
