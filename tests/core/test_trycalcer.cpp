// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <random>

#include <sys/statvfs.h>
#include <unistd.h>

#include <QtTest>

#include "core/copy/CopyEngine.h"
#include "core/copy/CopyManifest.h"
#include "core/disc/DiscWriter.h"
#include "core/dispense/MediumPlanner.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"
#include "core/model/Entry.h"
#include "tests/common/TestMounts.h"
#include "tests/common/TreeMaker.h"

Q_DECLARE_METATYPE(Target)

namespace {

// count files in folder, named by prefix and a number, padded to length.
QStringList named(const QString& folder, int count, int length, const QString& letter = "n")
{
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        lines << "f:" + (folder.isEmpty() ? QString() : folder + '/') +
                     letter.repeated(length - n.size()) + n + "=0";
    }
    return lines;
}

// A random tree of top-level entries taking about bytes (files rounded up to
// cluster when not 0): photos (files and albums), small files near the NTFS
// resident limit, deep chains of folders, long names, names of Cyrillic, CJK
// and emoji, folders of empty files (inodes), or small files and a sparse
// file of over 4 GiB (huge).
QStringList randomTree(const QString& kind, quint64 bytes, unsigned seed, quint64 cluster = 0)
{
    std::mt19937 rng(seed);
    const auto between = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const QStringList letters = QString::fromUtf8(kind == "wide" ? "ж щ ы ю я 中 文 字 😀 🙈"
                                                                 : "a b c d e f g h i j k l m "
                                                                   "n o p q r s t u v w x y z")
                                    .split(' ');
    const auto name = [&](int lo, int hi) {
        QString s;
        for (int n = between(lo, hi); s.size() < n;)
            s += letters[between(0, letters.size() - 1)];
        // mtools refuses DOS device names.
        return QStringList{"aux", "con", "nul", "prn"}.contains(s) ? s + 'x' : s;
    };
    QStringList lines;
    if (kind == "huge")
        lines << "f:huge=" + QString::number((quint64(9) << 29) + 12345), bytes -= quint64(9) << 29;
    for (quint64 e = 0, total = 0; total < bytes; ++e) {
        const QString top = QString::number(e) + name(1, kind == "long" ? 120 : 12);
        const int files = kind == "photos"   ? between(0, 1) * between(5, 20)
                          : kind == "inodes" ? between(50, 500)
                                             : between(20, 200);
        QString folder = top, file = top;
        for (int f = 0; f < std::max(files, 1); ++f) {
            const int size = kind == "photos"   ? between(100000, 3000000)
                             : kind == "inodes" ? 0
                                                : between(0, kind == "small" ? 1400 : 20000);
            // Paths stay within the 255 characters that mtools can write.
            folder += kind == "deep" && f % 10 == 0 ? '/' + name(3, 8) : QString();
            if (files)
                file = folder + '/' + QString::number(f) +
                       name(1, kind == "long"   ? 190
                               : kind == "wide" ? 60
                                                : 30);
            lines << "f:" + file + '=' + QString::number(size);
            total += (cluster ? (size + cluster - 1) / cluster * cluster : quint64(size)) +
                     (kind == "inodes" ? 64 : 2048);
        }
    }
    return lines;
}

// Plans paths onto target as Dispense does, as one level: the indices
// chosen, once the search came within 0.5% of the capacity (a proof could
// take long). free: the blocks of unitSize it leaves.
std::vector<unsigned> plan(const Target& target, const QStringList& paths, qint64* free)
{
    const std::unique_ptr<TryCalcerProto> calc = createTryCalcer(target);
    std::atomic_int request{MediumPlanner::Searching};
    std::atomic_bool stop{false};
    MediumPlanner planner(request, stop);
    MediumPlanner::Hooks hooks;
    hooks.measure = [&](const MediumPlanner::Level&, TryCalcerProto& c) {
        for (int i = 0; i < paths.size(); ++i)
            c.addItem(paths[i], unsigned(i));
    };
    hooks.improved = [&](qint64 f) {
        if (f <= calc->capacity() / 200)
            request = MediumPlanner::Enough, stop = true;
    };
    std::vector<unsigned> chosen;
    hooks.chosen = [&](const MediumPlanner::Level&, const std::vector<unsigned>& c) { chosen = c; };
    planner.plan(*calc, {{Required}}, hooks);
    *free = planner.best();
    return chosen;
}

} // namespace

class TestTryCalcer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("MTOOLS_SKIP_CHECK", "1"); }

    void costs_data()
    {
        QTest::addColumn<Target>("target");
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("placed"); // "capacity:cost" alone, "" for no calculator
        // A last tree line "i:N" gives the target N free inodes.
        const auto row = [](const char* name, int fs, quint64 bs, quint64 available,
                            QStringList tree, const char* entry, const char* placed) {
            Target t{"/x", fs, bs, available};
            if (!tree.isEmpty() && tree.last().startsWith("i:"))
                t.AvailableInodes = tree.takeLast().mid(2).toULongLong();
            QTest::newRow(name) << t << tree << QString(entry) << QString(placed);
        };
        const QStringList top{"f:top/zero=0", "f:top/a/one=1", "f:top/a/b/full=4096",
                              "f:top/a/b/over=4097"};
        const QString n255(255, 'n'), d52(52, 'd'), d83(83, 'd'), d84(84, 'd'), d184(184, 'd');
        // NTFS: a record per item and an index share for the entry's own name
        // (1220 bytes for a 1-letter name, 3072 for 255), counted in KiB after
        // a reserve (25 clusters at 4 KiB, 172 at 512 B, 7 at 64 KiB) and the
        // manifest's record, name and a cluster less a KiB; data only past the
        // resident limit; each file's manifest line (35 bytes and its path) in
        // a store of KiB. A folder index out of its record (904
        // bytes used): a block. When some order of names can overflow the
        // record (checked on ntfs-3g), the security descriptor's cluster, and
        // past 32 bytes an attribute list; so too when an empty root or, under
        // 4 KiB clusters, the block's runs leave the record too full. Past one
        // block: shares, both moves.
        row("NTFS resident", NTFS, 4096, 1000, {"f:a=664"}, "a", "3895:3");
        row("NTFS past resident", NTFS, 4096, 1000, {"f:a=665"}, "a", "3895:7");
        row("NTFS 255 past resident", NTFS, 4096, 1000, {"f:" + n255 + "=161"}, qPrintable(n255),
            "3895:8");
        row("NTFS index in record", NTFS, 4096, 1000, named("d", 4, 4) << "f:d/eeeeeeee=0", "d",
            "3895:8");
        row("NTFS index block", NTFS, 4096, 1000, named("d", 4, 4) << "f:d/eeeeeeeeeeee=0", "d",
            "3895:12");
        row("NTFS index, long names", NTFS, 4096, 1000, named("d", 3, 56), "d", "3895:10");
        row("NTFS security descriptor", NTFS, 4096, 1000, named(d52, 4, 20), qPrintable(d52),
            "3895:15");
        row("NTFS no attribute list", NTFS, 4096, 1000, named(d83, 3, 36), qPrintable(d83),
            "3895:14");
        row("NTFS attribute list", NTFS, 4096, 1000, named(d84, 3, 36), qPrintable(d84), "3895:19");
        row("NTFS root out of record", NTFS, 4096, 1000, named(d184, 1, 23), qPrintable(d184),
            "3895:14");
        // Order rows, on tmpfs (listed as created, or in reverse): a 60-letter
        // name after two of one letter moves the descriptor; first or last,
        // as listed and by inode, it does not. By bytes, rsync puts it there,
        // or not, or may create the folder so.
        const QString o(120, 'o'), m60(60, 'm'), z60(60, 'z');
        QStringList five;
        for (const char* n : {"Y", "Z", "n", "o", "p"})
            five << "f:" + o + '/' + n + "=0";
        row("NTFS order: by name", NTFS, 4096, 1000,
            QStringList{"f:" + o + '/' + m60 + "=0"} + five, qPrintable(o), "3895:17");
        row("NTFS order: none", NTFS, 4096, 1000, QStringList{"f:" + o + '/' + z60 + "=0"} + five,
            qPrintable(o), "3895:13");
        row("NTFS order: rsync folder", NTFS, 4096, 1000, QStringList{"d:" + o + '/' + z60} + five,
            qPrintable(o), "3895:17");
        row("NTFS two index blocks", NTFS, 4096, 1000, named("d", 50, 30), "d", "3895:85");
        row("NTFS 512 B index block", NTFS, 512, 1000, named("d", 6, 1), "d", "825:28");
        row("NTFS 64 KiB file", NTFS, 65536, 1000, {"f:a=665"}, "a", "63487:67");
        row("NTFS missing", NTFS, 4096, 1000, {}, "missing", "3895:-"); // left out, not empty
        row("NTFS device", NTFS, 4096, 1000, {}, "/dev/zero", "3895:-");
        row("NTFS reserve only", NTFS, 4096, 25, {"f:a=0"}, "a", "0:-");
        // FAT32: 2 + (1 + ceil(L / 13)) entries of 32 bytes a child per folder;
        // the target folder takes whole clusters for the top names, the
        // manifest's two and its lines; a cluster is held back for the two
        // chains that store stands for (so on exFAT too).
        row("FAT32 folders", FAT, 4096, 1000, top, "top", "998:7");
        row("FAT32 long names", FAT, 512, 1000, named("d", 20, 26), "d", "998:6");
        row("FAT32 longer names", FAT, 512, 1000, named("d", 20, 27), "d", "998:8");
        row("FAT32 65,534 entries", FAT, 4096, 2000, named("d", 16383, 27), "d", "1998:768");
        row("FAT32 65,538 entries", FAT, 4096, 2000, named("d", 16384, 27), "d", "1998:-");
        row("FAT32 4 GiB - 1", FAT, 4096, 2000000, {"f:large=4294967295"}, "large",
            "1999998:1048576");
        row("FAT32 4 GiB", FAT, 4096, 2000000, {"f:huge=4294967296"}, "huge", "1999998:-");
        // "*": every top-level entry; the target folder takes 65,536 entries,
        // two of them the manifest's.
        row("FAT32 target folder full", FAT, 4096, 2000, named("", 3200, 255), "*", "1998:732");
        // UDF: 262 blocks held back; a block per file entry, a folder's entry
        // and directory (identifiers of pad4(39 + name bytes): 57 of 141
        // bytes would fit 4 blocks, padded they take 5).
        row("UDF folders", UDF, 2048, 1000, top, "top", "738:17");
        row("UDF file", UDF, 2048, 1000, {"f:single=4097"}, "single", "738:5");
        row("UDF long names", UDF, 2048, 1000, named("d", 57, 102), "d", "738:64");
        row("UDF wide names", UDF, 2048, 1000, named("d", 60, 100, "\xd0\xb6"), "d", "738:70");
        row("UDF 263 free", UDF, 2048, 263, {"f:single=4097"}, "single", "1:-");
        row("UDF 262 free", UDF, 2048, 262, {}, "missing", "0:-");
        // exFAT: whole clusters, 4 GiB and more too; a folder of 32-byte
        // entries, 2 + ceil(L / 15) a child (L in UTF-16 units), at least a
        // cluster; the target folder whole clusters for the top names, the
        // manifest's set and its lines, the first of them held back.
        row("exFAT empty file", EXFAT, 4096, 1000, {"f:a=0"}, "a", "998:0");
        row("exFAT 4 GiB file", EXFAT, 4096, 2000000, {"f:huge=4294967296"}, "huge",
            "1999998:1048576");
        row("exFAT empty folder", EXFAT, 4096, 1000, {"d:d"}, "d", "998:1");
        row("exFAT one cluster of sets", EXFAT, 4096, 1000, named("d", 32, 30), "d", "998:1");
        row("exFAT a set more", EXFAT, 4096, 1000, named("d", 33, 30), "d", "998:2");
        row("exFAT 15 letters", EXFAT, 4096, 1000, named("d", 42, 15), "d", "998:1");
        row("exFAT 16 letters", EXFAT, 4096, 1000, named("d", 42, 16), "d", "998:2");
        row("exFAT 15 wide letters", EXFAT, 4096, 1000, named("d", 42, 15, "\xd0\xb6"), "d",
            "998:1");
        row("exFAT 64 KiB clusters", EXFAT, 65536, 1000, {"f:a=65537"}, "a", "998:2");
        row("exFAT name refused", EXFAT, 4096, 1000, {"f:d/a:b=1"}, "d", "998:-");
        // ext4: 4 blocks held back, and 3 for the manifest (its name's share,
        // its lines' rounding, its extent tree's leaf), whose inode comes off
        // the free ones; every name its worst htree leaf share in the target
        // folder, where the lines go too. A folder: one block while "." and "..", entries
        // of 8 + pad4(UTF-8 bytes) and the checksum tail fit, then an index
        // root over leaves at worst half full; past 4 blocks an extent tree.
        // A file: past two allocation windows of 2,048 blocks, an extent tree.
        row("ext4 empty file", EXT4, 4096, 1000, {"f:a=0"}, "a", "993:0");
        row("ext4 two windows", EXT4, 4096, 10000, {"f:a=16777216"}, "a", "9993:4096");
        row("ext4 past two windows", EXT4, 4096, 10000, {"f:a=16777217"}, "a", "9993:4098");
        row("ext4 one folder block", EXT4, 4096, 1000, named("d", 338, 4), "d", "993:4");
        row("ext4 folder index", EXT4, 4096, 1000, named("d", 339, 4), "d", "993:7");
        row("ext4 folder extent tree", EXT4, 4096, 1000, named("d", 1000, 4), "d", "993:19");
        row("ext4 names by bytes", EXT4, 4096, 1000, named("d", 47, 40, "\xd0\xb6"), "d", "993:5");
        row("ext4 1 KiB long names", EXT4, 1024, 1000, named("d", 4, 255), "d", "993:7");
        row("ext4 1 KiB fullest index", EXT4, 1024, 20000, named("d", 7749, 255), "d",
            "19993:10178");
        row("ext4 1 KiB index full", EXT4, 1024, 20000, named("d", 7750, 255), "d", "19993:-");
        // A link that leads nowhere is copied as one: past 59 bytes, a block.
        row("ext4 link of 59 bytes", EXT4, 4096, 1000, {"l:d/l->" + QString(59, 'x')}, "d",
            "993:1");
        row("ext4 link of 60 bytes", EXT4, 4096, 1000, {"l:d/l->" + QString(60, 'x')}, "d",
            "993:2");
        // Every file and folder an inode.
        row("ext4 inodes enough", EXT4, 4096, 1000, named("d", 3, 4) << "i:5", "d", "993:1");
        row("ext4 inodes short", EXT4, 4096, 1000, named("d", 3, 4) << "i:4", "d", "993:-");
        // ISO 9660 + Rock Ridge + Joliet: 215 blocks held back (system area,
        // descriptors, padding, the root's own records); data in whole blocks,
        // an empty file none; a folder's ISO and Joliet directories whole
        // blocks (records of 5-letter names: 16 beside "." and ".." in the
        // first ISO block); the entry's records in the root shared.
        row("ISO empty file", ISO9660, 2048, 1000, {"f:a=0"}, "a", "785:1");
        row("ISO 2048 bytes", ISO9660, 2048, 1000, {"f:a=2048"}, "a", "785:2");
        row("ISO 2049 bytes", ISO9660, 2048, 1000, {"f:a=2049"}, "a", "785:3");
        row("ISO 16 names", ISO9660, 2048, 1000, named("d", 16, 5), "d", "785:3");
        row("ISO 17 names", ISO9660, 2048, 1000, named("d", 17, 5), "d", "785:4");
        row("ISO 217 free", ISO9660, 2048, 217, {"f:a=1"}, "a", "2:2");
        row("ISO 216 free", ISO9660, 2048, 216, {"f:a=1"}, "a", "1:-");
        row("ISO in 4 KiB blocks", ISO9660, 4096, 1000, top, "top", "");
        row("unknown file system", 7, 4096, 1000, top, "top", "");
        row("block size 0", NTFS, 0, 1000, top, "top", "");
    }

    // Entries measured from disk, each alone on the target.
    void costs()
    {
        QFETCH(Target, target);
        QFETCH(QStringList, tree);
        QFETCH(QString, entry);
        QFETCH(QString, placed);
        QTemporaryDir tmp;
        TestMounts mounts;
        // Large trees are made faster in memory.
        const bool ordered = QByteArray(QTest::currentDataTag()).startsWith("NTFS order");
        const bool inMemory = ordered || tree.size() > 5000;
        const QDir dir(inMemory ? mounts.tmpfs(tmp.filePath("t"), 16) : tmp.path());
        if (inMemory)
            QM_NEED_VOLUME(mounts, dir.path() == "." ? QString() : dir.path());
        QVERIFY(TreeMaker::make(dir.path(), tree));
        const std::unique_ptr<TryCalcerProto> calc = createTryCalcer(target);
        QCOMPARE(bool(calc), !placed.isEmpty());
        if (!calc)
            return;
        const QStringList all = dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& e : entry == "*" ? all : QStringList{entry})
            calc->addItem(dir.filePath(e), 7);
        calc->prepare();
        calc->keepMediumLimits();
        std::vector<unsigned> chosen;
        calc->getSelection(chosen);
        const qint64 cost = calc->capacity() - calc->freeBlocks();
        QCOMPARE(QString(QString::number(calc->capacity()) + ':' +
                         (chosen.empty() ? "-" : QString::number(cost))),
                 placed);
    }

    // A later level pays for what it adds to the target folder's directory
    // that the earlier level started: twice 1000 bytes of names share a block.
    void sharedAcrossLevels()
    {
        const auto calc = createTryCalcer(Target{"/x", UDF, 2048, 1262});
        calc->queueItem(PlaceItem{0, 10, 1000});
        calc->prepare();
        calc->useSelection({0});
        calc->beginLevel(calc->freeBlocks());
        calc->queueItem(PlaceItem{0, 5, 1000});
        calc->prepare();
        QCOMPARE(calc->freeBlocks(), 1000 - 11 - 5);
    }

    // Plans onto fresh volumes as Dispense does, copies the chosen entries
    // there as a user would (cp -r, rsync --inplace, a tar pipe, the
    // program's own copy: "engine"), and compares the free space left with
    // the prediction. QM_FILL_SWEEP=1 adds cluster sizes and trees (slow;
    // see tools/).
    void realVolumes_data()
    {
        QTest::addColumn<int>("fs");
        QTest::addColumn<int>("cluster");
        QTest::addColumn<int>("mebibytes");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("tool");
        const auto row = [](int fs, int c, int mib, const char* kind, const char* tool) {
            QTest::addRow("%s %d %s %s", qPrintable(fileSystemTitle(fs)), c, kind, tool)
                << fs << c << mib << kind << tool;
        };
        row(NTFS, 4096, 48, "photos", "cp");
        row(NTFS, 4096, 16, "small", "engine");
        row(FAT, 512, 34, "long", "mcopy"); // FAT32 needs 65,525 clusters at least
        row(FAT, 512, 34, "deep", "mcopy");
        row(EXFAT, 4096, 8, "wide", "engine");
        row(EXT4, 1024, 16, "long", "rsync");
        row(EXT4, 4096, 16, "inodes", "cp");
        // Discs: the image the program's own writer makes of the plan.
        row(ISO9660, 2048, 16, "small", "image");
        row(ISO9660, 2048, 24, "long", "image");
        if (qEnvironmentVariableIsEmpty("QM_FILL_SWEEP"))
            return;
        // Sparse images: FAT32 at 64 KiB clusters takes 4 GiB. Each tool
        // creates a folder's children in an order of its own.
        for (const char* tool : {"cp", "rsync", "tar", "mcopy"})
            for (int c : {512, 1024, 4096, 16384, 65536})
                for (const char* kind : {"photos", "small", "deep", "long"}) {
                    const bool fat = tool == QString("mcopy");
                    row(fat ? FAT : NTFS, c,
                        std::max(kind == QString("photos") ? 160 : 48,
                                 fat ? 65600 / (1048576 / c) + 2 : 0),
                        kind, tool);
                }
        // Thousands of folders, where the slack is 1% of the free space.
        for (const char* tool : {"cp", "rsync", "tar"})
            row(NTFS, 4096, 1024, "deep", tool);
        // exFAT through exfat-fuse, ext4 through the kernel (onto which cp
        // and rsync copy as an unprivileged user).
        for (const char* tool : {"cp", "rsync", "engine"}) {
            for (int c : {4096, 32768, 131072})
                for (const char* kind : {"photos", "small", "deep", "long", "wide", "huge"})
                    row(EXFAT, c,
                        kind == QString("huge")     ? 6144
                        : kind == QString("photos") ? 160
                                                    : 48,
                        kind, tool);
            for (int b : {1024, 4096})
                for (const char* kind : {"photos", "small", "deep", "long", "wide", "inodes"})
                    row(EXT4, b, kind == QString("photos") ? 160 : 48, kind, tool);
        }
        // A CD of every kind, a DVD-5 of photos, a DVD DL with a file past 4 GiB.
        for (const char* kind : {"photos", "small", "deep", "long", "wide"})
            QTest::addRow("ISO 9660 CD %s", kind) << int(ISO9660) << 2048 << 703 << kind << "image";
        QTest::newRow("ISO 9660 DVD photos") << int(ISO9660) << 2048 << 4482 << "photos"
                                             << "image";
        QTest::newRow("ISO 9660 DVD DL huge") << int(ISO9660) << 2048 << 8152 << "huge"
                                              << "image";
    }

    void realVolumes()
    {
        QFETCH(int, fs);
        QFETCH(int, cluster);
        QFETCH(int, mebibytes);
        QFETCH(QString, kind);
        QFETCH(QString, tool);
        QTemporaryDir dir;
        const QString image = dir.filePath("v.img"), source = dir.filePath("src");
        TestMounts mounts;
        const QString folder = dir.filePath("v"),
                      mount = fs == NTFS    ? mounts.ntfs(folder, mebibytes, false, cluster)
                              : fs == EXFAT ? mounts.exfat(folder, mebibytes, cluster)
                              : fs == EXT4
                                  ? mounts.ext4(folder, mebibytes, "-b " + QString::number(cluster))
                                  : QString();
        struct statvfs v = {};
        const auto freeBytes = [&]() -> quint64 {
            if (fs != FAT)
                return ::statvfs(QFile::encodeName(mount).constData(), &v)
                           ? 0
                           : v.f_bavail * v.f_frsize;
            QProcess p; // FAT32: the free count of the FSInfo sector
            p.start("minfo", {"-i", image, "::"});
            const QString out = p.waitForFinished(-1) ? p.readAllStandardOutput() : "";
            return out.section("free clusters=", 1).section('\n', 0, 0).toULongLong() * cluster;
        };
        if (fs != FAT && fs != ISO9660)
            QM_NEED_VOLUME(mounts, mount);
        const char* mkfs = "truncate -s ${0}M $1 && mkfs.fat -F 32 -S 512 -s $2 $1 >/dev/null";
        if (fs == FAT && QProcess::execute("sh", {"-c", mkfs, QString::number(mebibytes), image,
                                                  QString::number(cluster / 512)}))
            QSKIP("needs mkfs.fat");
        // A blank disc of that size.
        const quint64 freeBefore = fs == ISO9660 ? quint64(mebibytes) << 20 : freeBytes(),
                      inodes = v.f_favail;
        QVERIFY2(freeBefore > 0, "no free space read (mtools missing?)");
        QVERIFY(TreeMaker::make(
            source, randomTree(kind, kind == "inodes" ? inodes * 96 : freeBefore * 3 / 2,
                               cluster + mebibytes, fs == FAT ? cluster : 0)));
        // The unprivileged user who copies onto ext4 reads them.
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755)));

        const QStringList entries = QDir(source).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QStringList all, paths, names;
        for (const QString& e : entries)
            all << source + '/' + e;
        Target t{mount, fs, quint64(cluster), freeBefore / cluster};
        t.AvailableInodes = fs == EXT4 ? inodes : t.AvailableInodes;
        // The program's own copy adds its manifest, which the plan holds room for.
        const bool engine = tool == "engine";
        qint64 free = 0;
        for (unsigned i : plan(t, all, &free))
            paths << all[int(i)], names << entries[int(i)];
        const quint64 predicted = quint64(free) * createTryCalcer(t)->unitSize();

        if (fs == ISO9660) {
            DiscJob job;
            for (const QString& p : paths)
                job.entries.push_back({p, 0});
            job.imageFile = image;
            job.verify = false;
            std::atomic_bool cancel{false};
            const DiscResult r = createDiscWriter()->write(
                job, [](const DiscProgress&) {}, cancel);
            QVERIFY2(r.status == DiscResult::Written, qPrintable(r.message));
            const quint64 real = freeBefore - r.imageBlocks * 2048;
            // 0.1% of the disc, or of a CD (the smallest) for the small ones.
            const quint64 slack = std::max<quint64>(freeBefore, 359847 * 2048) / 1000;
            qInfo("%s: %d of %d entries, free before %llu, predicted %llu, real %llu (%+lld)",
                  QTest::currentDataTag(), int(paths.size()), int(entries.size()), freeBefore,
                  predicted, real, qlonglong(real - predicted));
            QVERIFY(real >= predicted);
            QVERIFY(real <= predicted + slack);
            return;
        }
        const char* tar =
            "set -o pipefail; tar -C \"$0\" -cf - -- \"${@:2}\" | tar -C \"$1\" -xf -";
        // Onto ext4 as a user, who may not take the blocks kept for root.
        const QStringList user{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        const QStringList copy =
            (fs == EXT4 && ::chown(QFile::encodeName(mount).constData(), 65534, 65534) == 0
                 ? user
                 : QStringList()) +
            (fs == FAT       ? QStringList{"mcopy", "-s", "-i", image} + paths + QStringList{"::/"}
             : tool == "tar" ? QStringList{"bash", "-c", tar, source, mount} + names
             : tool == "rsync"
                 ? QStringList{"rsync", "-r", "--inplace"} + paths + QStringList{mount}
                 : QStringList{"cp", "-r", "--sparse=never"} + paths + QStringList{mount});
        QString failure;
        if (engine) {
            qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath("state")));
            CopyEngine copier(paths, CopyDestination{mount, "test", mount});
            if (!copier.run())
                failure = copier.message() + (copier.problems().empty()
                                                  ? QString()
                                                  : ' ' + copier.problems().front().path + ": " +
                                                        copier.problems().front().reason);
        } else {
            QProcess p;
            p.start(copy.first(), copy.mid(1));
            QVERIFY(p.waitForFinished(-1));
            if (p.exitCode() != 0)
                failure = p.readAllStandardError().left(300);
        }
        // ext4 holds on to preallocated blocks until they are needed or the
        // volume goes.
        if (fs == EXT4)
            QVERIFY(QProcess::execute(
                        "sh", {"-c", "umount \"$0\" && mount -o loop \"$0.img\" \"$0\"", folder}) ==
                    0);
        // A copy other than the program's writes no XXH128SUMS: the room the
        // plan holds for it stays free.
        const quint64 real = freeBytes(),
                      slack = std::max<quint64>(freeBefore / 100, 2 << 20) +
                              (engine ? 0 : CopyManifest::bytesForEntries(paths));
        qInfo("%s: %d of %d entries, free before %llu, predicted %llu, real %llu (%+lld)",
              QTest::currentDataTag(), int(paths.size()), int(entries.size()), freeBefore,
              predicted, real, qlonglong(real - predicted));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(real >= predicted);
        QVERIFY(real <= predicted + slack);
    }
};

QTEST_GUILESS_MAIN(TestTryCalcer)
#include "test_trycalcer.moc"
