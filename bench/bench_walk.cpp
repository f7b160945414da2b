// SPDX-License-Identifier: GPL-3.0-or-later
// Times walkFolder against `du -sb` on a generated tree of about 200,000
// files in 20,000 folders (warm cache, same run), and checks the walk's byte
// total against the files' lengths as `find -L` lists them.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "core/dispense/FilesPlaceWalker.h"
#include "core/dispense/Walk.h"

namespace {

constexpr int kTop = 20;
constexpr int kPerTop = 1000; // 20,000 leaf folders, 20,021 with the tops and the root
constexpr int kFilesPerFolder = 10;
constexpr int kRuns = 7;

class Totaller : public FilesPlaceWalker
{
public:
    quint64 bytes = 0;
    quint64 files = 0;
    quint64 folders = 0;
    void onFolder() override { ++folders; }
    void onFile(const quint64& size) override
    {
        bytes += size;
        ++files;
    }
};

bool makeTree(const QByteArray& root)
{
    quint32 seed = 12345;
    char name[64];
    for (int t = 0; t < kTop; ++t) {
        std::snprintf(name, sizeof name, "%s/top%02d", root.constData(), t);
        if (::mkdir(name, 0755) != 0)
            return false;
        const int top = ::open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (top < 0)
            return false;
        for (int d = 0; d < kPerTop; ++d) {
            std::snprintf(name, sizeof name, "folder%04d", d);
            if (::mkdirat(top, name, 0755) != 0)
                return false;
            const int dir = ::openat(top, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (dir < 0)
                return false;
            for (int f = 0; f < kFilesPerFolder; ++f) {
                std::snprintf(name, sizeof name, "file%02d.dat", f);
                const int fd = ::openat(dir, name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
                if (fd < 0)
                    return false;
                seed = seed * 1103515245u + 12345u;
                // Lengths from 0 to about 1 MiB; sparse, so the tree is quick to make.
                const bool ok = ::ftruncate(fd, off_t((seed >> 8) % (1u << 20))) == 0;
                ::close(fd);
                if (!ok)
                    return false;
            }
            ::close(dir);
        }
        ::close(top);
    }
    return true;
}

// Wall-clock and processor time of one run, in milliseconds.
struct Timing
{
    double wall = 0;
    double cpu = 0;
};

double threadCpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double childrenCpuMs()
{
    rusage ru;
    getrusage(RUSAGE_CHILDREN, &ru);
    const auto ms = [](const timeval& tv) {
        return double(tv.tv_sec) * 1e3 + double(tv.tv_usec) / 1e3;
    };
    return ms(ru.ru_utime) + ms(ru.ru_stime);
}

Timing timeWalk(const QString& root, Totaller& out)
{
    Timing r;
    QElapsedTimer t;
    const double cpu0 = threadCpuMs();
    t.start();
    out = Totaller();
    walkFolder(out, root);
    r.wall = double(t.nsecsElapsed()) / 1e6;
    r.cpu = threadCpuMs() - cpu0;
    return r;
}

// du's own processor time is read from what the finished child used.
Timing timeDu(const QString& root, bool& ok)
{
    Timing r;
    QProcess du;
    du.setStandardOutputFile(QProcess::nullDevice());
    const double cpu0 = childrenCpuMs();
    QElapsedTimer t;
    t.start();
    du.start(QStringLiteral("du"), {QStringLiteral("-sb"), root});
    ok = du.waitForFinished(-1) && du.exitCode() == 0;
    r.wall = double(t.nsecsElapsed()) / 1e6;
    r.cpu = childrenCpuMs() - cpu0;
    return r;
}

quint64 findTotal(const QString& root, bool& ok)
{
    QProcess find;
    find.start(QStringLiteral("find"),
               {QStringLiteral("-L"), root, QStringLiteral("-type"), QStringLiteral("f"),
                QStringLiteral("-printf"), QStringLiteral("%s\\n")});
    ok = find.waitForFinished(-1) && find.exitCode() == 0;
    quint64 sum = 0;
    const QList<QByteArray> lines = find.readAllStandardOutput().split('\n');
    for (const QByteArray& l : lines)
        if (!l.isEmpty())
            sum += l.toULongLong();
    return sum;
}

// The least of the runs: the one least disturbed by whatever else the machine does.
double best(const std::vector<double>& v)
{
    return *std::min_element(v.begin(), v.end());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // An existing tree may be given instead of the generated one.
    QTemporaryDir tmp;
    QString root = app.arguments().value(1);
    if (root.isEmpty()) {
        if (!tmp.isValid()) {
            std::fprintf(stderr, "no temporary folder\n");
            return 1;
        }
        root = tmp.path();
        QElapsedTimer t;
        t.start();
        if (!makeTree(QFile::encodeName(root))) {
            std::fprintf(stderr, "could not make the tree: %s\n", std::strerror(errno));
            return 1;
        }
        std::printf("tree: %d files in %d folders, made in %.1f s\n",
                    kTop * kPerTop * kFilesPerFolder, kTop * kPerTop + kTop,
                    double(t.elapsed()) / 1000);
    }

    // Warm the caches, then alternate the two so both see the same state.
    Totaller walk;
    timeWalk(root, walk);
    bool duOk = false;
    timeDu(root, duOk);
    if (!duOk) {
        std::fprintf(stderr, "du -sb failed\n");
        return 1;
    }
    std::vector<double> walkWall, walkCpu, duWall, duCpu;
    for (int i = 0; i < kRuns; ++i) {
        const Timing w = timeWalk(root, walk);
        walkWall.push_back(w.wall);
        walkCpu.push_back(w.cpu);
        const Timing d = timeDu(root, duOk);
        duWall.push_back(d.wall);
        duCpu.push_back(d.cpu);
    }
    bool findOk = false;
    const quint64 expected = findTotal(root, findOk);

    const double w = best(walkWall), d = best(duWall);
    const double wc = best(walkCpu), dc = best(duCpu);
    std::printf("walkFolder: %.1f ms wall, %.1f ms cpu (best of %d); %llu files, %llu folders\n", w,
                wc, kRuns, (unsigned long long)walk.files, (unsigned long long)walk.folders);
    std::printf("du -sb:     %.1f ms wall, %.1f ms cpu (best of %d)\n", d, dc, kRuns);
    std::printf("ratio walk/du: %.2f wall, %.2f cpu %s\n", w / d, wc / dc,
                w <= d ? "(ok: at most du's time)" : "(SLOWER than du)");
    const bool bytesOk = findOk && expected == walk.bytes;
    std::printf("bytes: walk %llu, find -L %llu: %s\n", (unsigned long long)walk.bytes,
                (unsigned long long)expected, bytesOk ? "equal" : "DIFFERENT");
    return bytesOk ? 0 : 1;
}
