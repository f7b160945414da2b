// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include <csignal>
#include <cstring>
#include <memory>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "core/copy/ContentArrival.h"
#include "core/copy/CopyEngine.h"
#include "core/copy/CopyList.h"
#include "core/copy/CopyManifest.h"
#include "core/dispense/NtfsCost.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"
#include "core/model/Entry.h"
#include "tests/common/TestMounts.h"
#include "tests/common/TreeMaker.h"

namespace {

void writeRandom(const QString& path, qint64 size, std::mt19937_64& rng)
{
    QFile f(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly));
    QByteArray block(64 * 1024, Qt::Uninitialized);
    for (qint64 done = 0; done < size; done += block.size()) {
        for (int i = 0; i + 8 <= block.size(); i += 8) {
            const quint64 x = rng();
            std::memcpy(block.data() + i, &x, 8);
        }
        f.write(block.constData(), std::min<qint64>(block.size(), size - done));
    }
}

// Photos, a deep folder, a film: random bytes from empty to a few MiB. The
// entries are the top-level items.
QStringList makeTree(const QString& root, bool links, qint64 film = 3 << 20)
{
    std::mt19937_64 rng(42);
    for (int i = 0; i < 40; ++i)
        writeRandom(QString("%1/photos/IMG_%2.jpg").arg(root).arg(i), qint64(rng() % 200000), rng);
    for (int i = 0; i < 5; ++i)
        writeRandom(QString("%1/photos/old/%2.png").arg(root).arg(i), i * 4097, rng);
    writeRandom(root + "/docs/a/b/c/deep.txt", 777, rng);
    writeRandom(root + "/docs/empty", 0, rng);
    writeRandom(root + "/film.bin", film, rng);
    if (links)
        TreeMaker::make(root, {"l:docs/photo->../photos/IMG_1.jpg", "l:docs/nowhere->gone"});
    return {root + "/photos", root + "/docs", root + "/film.bin"};
}

// Every file's content and every link's text below root.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        QFile f(fi.filePath());
        char link[4096];
        const ssize_t n =
            ::readlink(QFile::encodeName(fi.filePath()).constData(), link, sizeof link);
        if (n >= 0)
            out[fi.filePath()] = "link " + QByteArray(link, int(n));
        else if (fi.isFile() && f.open(QIODevice::ReadOnly))
            out[fi.filePath()] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Md5);
    }
    return out;
}

int sh(const QString& script, const QStringList& args = {})
{
    return QProcess::execute("bash", QStringList{"-c", script} + args);
}

quint64 freeClusters(const QString& fs, const QString& mount, const QString& image)
{
    if (fs == "FAT32") {
        QProcess p;
        p.start("minfo", {"-i", image, "::"});
        p.waitForFinished(-1);
        return QString(p.readAllStandardOutput())
            .section("free clusters=", 1)
            .section('\n', 0, 0)
            .toULongLong();
    }
    struct statvfs v;
    return ::statvfs(QFile::encodeName(mount).constData(), &v) ? 0 : v.f_bavail;
}

// Every file on the target is whole: equal to its original (links followed).
void checkNothingHalfWritten(const QString& source, const QString& target)
{
    const auto there = snapshot(target);
    for (auto it = there.begin(); it != there.end(); ++it) {
        const QString rel = it.key().mid(target.size());
        QFile original(source + rel);
        if (!rel.endsWith(CopyManifest::fileName()) && !it.value().startsWith("link "))
            QVERIFY2(original.open(QIODevice::ReadOnly) &&
                         QCryptographicHash::hash(original.readAll(), QCryptographicHash::Md5) ==
                             it.value(),
                     qPrintable(rel));
    }
}

// The ntfs-3g process serving image, or 0.
pid_t fuseDaemon(const QString& image)
{
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile f("/proc/" + pid + "/cmdline");
        if (pid.toInt() > 0 && f.open(QIODevice::ReadOnly)) {
            const QByteArray cmd = f.readAll();
            if (cmd.startsWith("ntfs-3g") && cmd.contains(QFile::encodeName(image)))
                return pid_t(pid.toInt());
        }
    }
    return 0;
}

} // namespace

class TestCopy : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The journals of these copies stay in the test's own folder.
        QVERIFY(m_state.isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state.path()));
    }

    void manifestRoundTrip()
    {
        QTemporaryDir dir;
        CopyManifest m;
        const QByteArray odd = "a\\b/new\nline\r";
        m.set("plain name", Hash128{1, 2});
        m.set(odd, Hash128{3, 4});
        const int fd = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(m.write(fd, nullptr));
        ::close(fd);
        QCOMPARE(QFileInfo(dir.filePath(CopyManifest::fileName())).size(),
                 qint64(CopyManifest::lineBytes("plain name") + CopyManifest::lineBytes(odd)));
        CopyManifest back;
        QVERIFY(back.read(dir.path(), nullptr));
        QCOMPARE(back.paths(), (QList<QByteArray>{"plain name", odd}));
        QVERIFY(back.hash(odd) == (Hash128{3, 4}) && back.skippedLines() == 0);
    }

    // The planner counts each entry's manifest lines as the copy writes them:
    // paths from the entry's own name down, escaped where they hold a line
    // break, a link to a file as the file, a link that leads nowhere not.
    void manifestLinesPlanned_data()
    {
        QTest::addColumn<QStringList>("tree");
        QTest::newRow("file") << QStringList{"f:e=5"};
        QTest::newRow("deep folders") << QStringList{"f:e/a/bb/ccc/x=1", "f:e/a/y=0", "d:e/z"};
        QTest::newRow("wide names") << QStringList{"f:e/ж中/😀.txt=3"};
        QTest::newRow("escaped") << QStringList{"f:e/new\nline/back\\slash=1", "f:e/a\\b=1"};
        QTest::newRow("links") << QStringList{"f:e/f=1", "l:e/to file->f", "l:e/nowhere->gone"};
    }

    void manifestLinesPlanned()
    {
        QFETCH(QStringList, tree);
        QTemporaryDir dir;
        QVERIFY(TreeMaker::make(dir.path(), tree));
        const QString entry = dir.filePath("e");
        const auto calc = createTryCalcer(Target{dir.path(), NTFS, 4096, 1000});
        calc->measureItem(entry, 0);
        QCOMPARE(calc->lastItem().shared, CopyManifest::bytesForEntries({entry}));
        QVERIFY(calc->lastItem().shared > 0);
    }

    // A plan to zero waste, with the manifest the planner counts (on exFAT
    // and ext4 costed by hand as one more file), is copied, read back,
    // checkable by xxh128sum, and trusted afterwards without reading the
    // files again. FAT32's costs are exact: there the plan errs high by the
    // target folder's slack and a cluster at most. A name that differs only
    // in case is the same file on exFAT, another one on ext4.
    void copiesPlanExactly_data()
    {
        QTest::addColumn<QString>("fs");
        for (const char* fs : {"tmpfs", "NTFS", "FAT32", "exFAT", "ext4"})
            QTest::newRow(fs) << fs;
    }

    void copiesPlanExactly()
    {
        QFETCH(QString, fs);
        QTemporaryDir dir;
        TestMounts mounts;
        const QString src = dir.filePath("src"), folder = dir.filePath("t"),
                      image = folder + ".img";
        // No links where FAT and exFAT cannot store them.
        const QStringList entries = makeTree(src, fs != "FAT32" && fs != "exFAT");
        const int kind = fs == "FAT32" ? FAT : fs == "exFAT" ? EXFAT : fs == "ext4" ? EXT4 : NTFS;
        const quint64 cluster = kind == FAT ? 512 : 4096;
        quint64 needed = 1;
        // The fewest free clusters on which the plan takes every entry.
        const auto plan = [&](quint64 free) {
            auto calc = createTryCalcer(Target{folder, kind, cluster, free});
            for (int i = 0; i < entries.size(); ++i)
                calc->addItem(entries[i], unsigned(i));
            calc->prepare();
            return calc;
        };
        const auto takesAll = [&](quint64 free) {
            std::vector<unsigned> chosen;
            plan(free)->getSelection(chosen);
            return chosen.size() == std::size_t(entries.size());
        };
        for (quint64 hi = quint64(1) << 20; needed < hi;) {
            const quint64 mid = (needed + hi) / 2;
            if (takesAll(mid))
                hi = mid;
            else
                needed = mid + 1;
        }
        const auto planned = plan(needed);
        QVERIFY(quint64(planned->freeBlocks()) * planned->unitSize() < cluster);
        QString mount;
        if (fs == "tmpfs") {
            mount = mounts.tmpfs(folder, 64);
        } else if (fs != "FAT32") {
            // No blocks kept for root on ext4: the copy runs as root.
            mount = kind == NTFS   ? mounts.ntfs(folder, 64, false, 4096)
                    : kind == EXT4 ? mounts.ext4(folder, 64, "-b 4096 -m 0")
                                   : mounts.exfat(folder, 64, 4096);
            // A filler leaves exactly the room the plan needs.
            for (int round = 0; !mount.isEmpty() && round < 6; ++round) {
                const qint64 extra = qint64(freeClusters(fs, mount, image)) - qint64(needed);
                if (extra == 0)
                    break;
                QFile filler(mount + "/filler");
                QVERIFY(filler.open(QIODevice::ReadWrite));
                const qint64 size = filler.size() + extra * qint64(cluster);
                QVERIFY(size >= 0);
                if (extra > 0) {
                    filler.seek(filler.size());
                    filler.write(QByteArray(int(extra * qint64(cluster)), 'x'));
                } else {
                    filler.resize(size);
                }
                filler.close();
                ::sync();
            }
            QCOMPARE(freeClusters(fs, mount, image), needed);
        } else {
            QVERIFY(sh("truncate -s 40M \"$0\" && mkfs.vfat -F 32 -S 512 -s 1 \"$0\" >/dev/null",
                       {image}) == 0);
            const quint64 extra = freeClusters(fs, mount, image) - needed;
            QVERIFY(sh("head -c $1 /dev/zero > \"$0.f\" && mcopy -i \"$0\" \"$0.f\" ::/filler",
                       {image, QString::number(extra * cluster)}) == 0);
            QCOMPARE(freeClusters(fs, mount, image), needed);
            mount = mounts.fat32(folder, 40);
        }
        QM_NEED_VOLUME(mounts, mount);
        const auto before = snapshot(src);

        CopyEngine engine(entries, CopyDestination{mount, "test " + fs, mount});
        QVERIFY2(engine.run(),
                 qPrintable(engine.message() + (engine.problems().empty()
                                                    ? QString()
                                                    : engine.problems().front().path + ": " +
                                                          engine.problems().front().reason)));
        QCOMPARE(engine.filesVerified(), engine.filesCopied());
        QCOMPARE(QFileInfo(mount + "/XXH128SUMS").size(),
                 qint64(CopyManifest::bytesForEntries(entries)));
        QCOMPARE(sh("cd \"$0\" && xxh128sum --quiet -c XXH128SUMS", {mount}), 0);
        QFileInfo film(mount + "/film.bin");
        QVERIFY(qAbs(film.lastModified().msecsTo(QFileInfo(src + "/film.bin").lastModified())) <=
                2000);
        for (const QString& e : entries) {
            ContentArrival arrival(CopyDestination{mount, "test " + fs, mount});
            const ArrivalCheck check = arrival.check(e);
            QVERIFY2(check.state == Arrival::Arrived, qPrintable(check.detail()));
            QVERIFY(arrival.filesTrusted() > 0 && arrival.filesRead() == 0);
        }
        if (kind == EXFAT || kind == EXT4) {
            // An original named as its copy but for case: on exFAT that is its copy.
            QVERIFY(QDir(src).rename("photos", "Photos"));
            const ArrivalCheck check =
                ContentArrival(CopyDestination{mount, "test " + fs, mount}).check(src + "/Photos");
            QCOMPARE(int(check.state), int(kind == EXFAT ? Arrival::Arrived : Arrival::Missing));
            QVERIFY(QDir(src).rename("Photos", "photos"));
        }
        QCOMPARE(snapshot(src), before);
        if (fs == "FAT32") {
            mounts.unmountAll();
            QCOMPARE(sh("fsck.fat -n \"$0\"", {image}), 0);
            QVERIFY(freeClusters(fs, mount, image) <= 2);
        }
    }

    // A copy that differs is never approved, whoever made it.
    void differenceFound_data()
    {
        QTest::addColumn<QString>("copier");
        QTest::addColumn<QString>("damage");
        for (const char* copier : {"engine", "cp"})
            for (const char* damage : {"flip", "pad"})
                QTest::addRow("%s %s", copier, damage) << copier << damage;
        QTest::newRow("fake stick") << "engine"
                                    << "behind";
    }

    void differenceFound()
    {
        QFETCH(QString, copier);
        QFETCH(QString, damage);
        QTemporaryDir dir;
        TestMounts mounts;
        const QString src = dir.filePath("src"), folder = dir.filePath("t");
        const QStringList entries = makeTree(src, true);
        const QString mount =
            damage == "behind" ? mounts.ntfs(folder, 64, false) : mounts.tmpfs(folder, 64);
        QM_NEED_VOLUME(mounts, mount);
        const QString victim = mount + "/photos/IMG_7.jpg";
        const CopyDestination place{mount, "test", mount};
        if (copier == "engine") {
            CopyEngine engine(entries, place);
            bool damaged = false;
            // A stick that keeps less than it takes: the data is gone
            // from the medium once all is written.
            engine.setProgress([&](const CopyEngine::Progress& p) {
                if (damage != "behind" || damaged || p.phase != CopyEngine::Verifying)
                    return;
                QFile original(src + "/photos/IMG_7.jpg"), img(folder + ".img");
                QVERIFY(original.open(QIODevice::ReadOnly) && img.open(QIODevice::ReadWrite));
                const QByteArray head = original.read(4096), all = img.readAll();
                const int at = all.indexOf(head);
                QVERIFY(at > 0);
                img.seek(at);
                img.write(QByteArray(4096, 0));
                damaged = true;
            });
            const bool complete = engine.run();
            QCOMPARE(complete, damage != "behind");
            if (damage == "behind") {
                QCOMPARE(engine.outcome(), CopyEngine::Incomplete);
                QCOMPARE(engine.problems().size(), std::size_t(1));
                QCOMPARE(engine.problems().front().path, QString("photos/IMG_7.jpg"));
                CopyManifest m;
                QVERIFY(m.read(mount, nullptr) && !m.contains("photos/IMG_7.jpg") &&
                        m.contains("photos/IMG_8.jpg"));
            }
        } else {
            QCOMPARE(
                sh("cp -r --preserve=timestamps \"${@:1}\" \"$0\"", QStringList{mount} + entries),
                0);
            ContentArrival before(place);
            const ArrivalCheck check = before.check(src + "/photos");
            QVERIFY2(check.state == Arrival::Arrived, qPrintable(check.detail()));
            QVERIFY(before.filesRead() > 40 && before.filesTrusted() == 0);
        }
        if (damage != "behind") {
            const qint64 size = QFileInfo(victim).size();
            QVERIFY(size > 8192);
            QFile f(victim);
            QVERIFY(f.open(QIODevice::ReadWrite));
            if (damage == "flip") {
                f.seek(size / 2);
                const char c = f.read(1).at(0);
                f.seek(size / 2);
                f.write(QByteArray(1, char(c ^ 0x20)));
            } else {
                QVERIFY(f.resize(size / 2) && f.resize(size)); // cut short, then padded
            }
        }
        ContentArrival arrival(place);
        const ArrivalCheck check = arrival.check(src + "/photos");
        QCOMPARE(int(check.state), int(Arrival::Differs));
        QVERIFY2(check.detail().startsWith("photos/IMG_7.jpg: different content"),
                 qPrintable(check.detail()));
        QCOMPARE(int(arrival.check(src + "/film.bin").state), int(Arrival::Arrived));
    }

    // Stopped half way by a cancel, a full target or a pulled stick: nothing
    // half written is left looking whole, and running again completes it.
    void stopsAndResumes_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("full") << "full";
        QTest::newRow("unmounted") << "unmounted";
    }

    void stopsAndResumes()
    {
        QFETCH(QString, cause);
        QTemporaryDir dir;
        TestMounts mounts;
        const QString src = dir.filePath("src"), folder = dir.filePath("t");
        const QStringList entries = makeTree(src, cause != "full", 12 << 20);
        QString mount = cause == "unmounted" ? mounts.ntfs(folder, 64, false)
                                             : mounts.tmpfs(folder, cause == "full" ? 8 : 64);
        QM_NEED_VOLUME(mounts, mount);
        const auto before = snapshot(src);
        CopyList list;
        QVERIFY(list.build(entries));
        const CopyDestination place{mount, "test " + cause, mount};
        CopyEngine first(entries, place);
        // Progress comes at most every 100 ms: a fast copy may be past the
        // film by then, and the stick is pulled while it is read back instead.
        bool pulledLate = false, pulled = false;
        first.setProgress([&](const CopyEngine::Progress& p) {
            const bool late = cause == "unmounted" && p.phase == CopyEngine::Verifying;
            if (pulled || (!late && (p.phase != CopyEngine::Copying ||
                                     (cause != "cancel" && p.bytesDone < (6 << 20)))))
                return;
            if (cause == "cancel")
                first.cancel(); // amid the first file
            if (const pid_t daemon = cause == "unmounted" ? fuseDaemon(folder + ".img") : 0) {
                ::kill(daemon, SIGKILL); // the stick is pulled
                pulled = true, pulledLate = late;
                // Gone only once the kernel says so; until then writes still land.
                struct stat st;
                for (int i = 0; i < 1000 && ::stat(qPrintable(mount), &st) == 0; ++i)
                    ::usleep(10000);
            }
        });
        QVERIFY(!first.run());
        const CopyEngine::Outcome expected = cause == "cancel" ? CopyEngine::Stopped
                                             : cause == "full" ? CopyEngine::TargetFull
                                                               : CopyEngine::TargetGone;
        QCOMPARE(int(first.outcome()), int(expected));
        if (cause == "unmounted") {
            mounts.unmountAll();
            mount = mounts.ntfs(folder, 0, false); // the image again, as it was left
            QVERIFY2(!mount.isEmpty(), qPrintable(mounts.why()));
        } else if (cause == "full") {
            QCOMPARE(sh("mount -o remount,size=64M \"$0\"", {mount}), 0);
        } else {
            // Cancelled again once all is written, before it is read back.
            CopyEngine second(entries, place);
            second.setProgress([&](const CopyEngine::Progress& p) {
                if (p.phase == CopyEngine::Verifying)
                    second.cancel();
            });
            QVERIFY(!second.run() && second.outcome() == CopyEngine::Stopped);
            QCOMPARE(second.filesCopied(), list.fileCount());
        }
        QVERIFY(!QFile::exists(mount + "/XXH128SUMS"));
        if (cause != "unmounted") // the file being written could not be removed: the journal knows
            checkNothingHalfWritten(src, mount);

        if (cause == "cancel") {
            // As if a crash had lost data the journal thought written: same
            // size and time, other bytes. It is written again, not reported.
            const QString film = mount + "/film.bin";
            const QDateTime time = QFileInfo(film).lastModified();
            QFile f(film);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.write("\0\0\0\0", 4) == 4);
            QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
        }
        // What was written whole is only read back; the film (cut short,
        // never reached, or damaged) is written again.
        CopyEngine again(entries, place);
        QVERIFY2(again.run(), qPrintable(again.message()));
        if (!pulledLate) // else the film may have been whole and synced already
            QCOMPARE(again.filesCopied(), 1);
        QCOMPARE(again.filesVerified(), list.fileCount());
        QCOMPARE(sh("cd \"$0\" && xxh128sum --quiet -c XXH128SUMS", {mount}), 0);
        checkNothingHalfWritten(src, mount);
        QCOMPARE(snapshot(src), before);
    }

    // A target that is the originals' folder again (a bind mount) is neither written to nor
    // taken for a copy of them. Links, hard links and mounts inside a copy: test_arrival.
    void originalNeverCounts()
    {
        QTemporaryDir dir;
        TestMounts mounts;
        const QString src = dir.filePath("src");
        const QStringList entries = makeTree(src, false);
        const auto before = snapshot(src);
        const QString place = mounts.readOnlyBind(src, dir.filePath("bind"));
        QM_NEED_VOLUME(mounts, place);
        CopyEngine engine(entries, CopyDestination{place, QString(), QString()});
        QVERIFY(!engine.run() && engine.message().contains("original itself"));
        ContentArrival arrival(CopyDestination{place, QString(), QString()});
        const ArrivalCheck check = arrival.check(src + "/photos");
        QCOMPARE(int(check.state), int(Arrival::Differs));
        QCOMPARE(check.detail(), QString("photos: that is the original itself"));
        QCOMPARE(snapshot(src), before);
    }

private:
    QTemporaryDir m_state;
};

QTEST_GUILESS_MAIN(TestCopy)
#include "test_copy.moc"
