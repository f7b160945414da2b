#include <memory>

#include <QtTest>

#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"
#include "core/dispense/UdfMeta.h"
#include "core/model/Entry.h"
#include "tests/common/TreeMaker.h"

Q_DECLARE_METATYPE(Target)

class TestTryCalcer : public QObject
{
    Q_OBJECT
private slots:
    void udfMeta()
    {
        const int samples[][3] = {{0, 0, 0},     {0, 1, 1},      {1, 0, 2},         {20, 34, 74},
                                  {21, 0, 43},   {0, 35, 36},    {42, 0, 86},       {43, 0, 88},
                                  {84, 0, 172},  {85, 0, 174},   {0, 70, 71},       {0, 71, 73},
                                  {0, 290, 298}, {10, 100, 122}, {100, 1000, 1231}, {63, 0, 128},
                                  {0, 108, 110}};
        for (const auto& s : samples)
            QVERIFY2(udfMetaBlocks(s[0], s[1]) == s[2],
                     qPrintable(QString::number(s[0]) + ' ' + QString::number(s[1])));
    }

    void costs_data()
    {
        QTest::addColumn<Target>("target");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("placed"); // "capacity:cost" alone, "" for no calculator
        const auto row = [](const char* name, int fs, quint64 bs, quint64 available,
                            const char* entry, const char* placed) {
            QTest::newRow(name) << Target{"/x", fs, bs, available} << QString(entry)
                                << QString(placed);
        };
        // top: files of 0, 1, 4096 and 4097 bytes, in it and in two sub-folders.
        row("NTFS folder", NTFS, 4096, 1000, "top", "1000:4");
        row("NTFS file", NTFS, 4096, 1000, "single", "1000:2");
        row("NTFS missing", NTFS, 4096, 1000, "missing", "1000:-"); // never planned
        row("NTFS device", NTFS, 4096, 1000, "/dev/zero", "1000:-");
        row("NTFS 4 GiB", NTFS, 4096, 2000000, "huge", "2000000:1048576");
        row("FAT32 folder", FAT, 4096, 1000, "top", "1000:7"); // a block for each of its 3 folders
        row("FAT32 4 GiB - 1", FAT, 4096, 2000000, "large", "2000000:1048576");
        row("FAT32 4 GiB", FAT, 4096, 2000000, "huge", "2000000:-"); // FAT32 cannot hold it
        // UDF holds 262 blocks back; the metadata of 2 folders and 4 files is 8 blocks.
        row("UDF folder", UDF, 2048, 1000, "top", "738:14");
        row("UDF file", UDF, 2048, 1000, "single", "738:4");
        row("UDF 263 free", UDF, 2048, 263, "single", "1:-");
        row("UDF 262 free", UDF, 2048, 262, "single", "0:-");
        row("unknown file system", 3, 4096, 1000, "top", "");
        row("block size 0", NTFS, 0, 1000, "top", "");
    }

    // Entries measured from disk, each alone on the target.
    void costs()
    {
        QFETCH(Target, target);
        QFETCH(QString, entry);
        QFETCH(QString, placed);
        QTemporaryDir dir;
        QVERIFY(TreeMaker::make(dir.path(), {"f:top/zero=0", "f:top/a/one=1", "f:top/a/b/full=4096",
                                             "f:top/a/b/over=4097", "f:single=4097",
                                             "f:huge=4294967296", "f:large=4294967295"}));
        const std::unique_ptr<TryCalcerProto> calc = createTryCalcer(target);
        QCOMPARE(bool(calc), !placed.isEmpty());
        if (!calc)
            return;
        calc->addItem(dir.filePath(entry), 7);
        calc->prepare();
        std::vector<unsigned> chosen;
        calc->getSelection(chosen);
        const qint64 cost = calc->capacity() - calc->freeBlocks();
        QCOMPARE(QString::number(calc->capacity()) + ':' +
                     (chosen.empty() ? "-" : QString::number(cost)),
                 placed);
    }
};

QTEST_GUILESS_MAIN(TestTryCalcer)
#include "test_trycalcer.moc"
