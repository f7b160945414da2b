// SPDX-License-Identifier: GPL-3.0-or-later
#include <atomic>

#include <QtTest>

#include "core/dispense/FolderSizeCalcer.h"
#include "tests/common/TestMounts.h"
#include "tests/common/TreeMaker.h"

// Measures slowly (1 ms a folder) and counts the folders, so that a test can
// stop it in the middle of a walk; runs out of memory at a file of 666 bytes.
class SlowCalcer : public FolderSizeCalcer
{
public:
    std::atomic_int folders{0};
    ~SlowCalcer() override { stop(); }
    void onFolder() override
    {
        ++folders;
        QThread::msleep(1);
    }
    void onFile(const quint64& size) override
    {
        size == 666 ? throw std::bad_alloc() : FolderSizeCalcer::onFile(size);
    }
};

class TestFolderSizeCalcer : public QObject
{
    Q_OBJECT
private slots:
    void jobsStopAndLifetime()
    {
        QTemporaryDir tmp;
        QStringList tree{"f:X/a=1",   "f:X/b=2", "f:X/S/c=4096", "f:Y/d=4097",
                         "f:M/m=666", "d:M/S",   "d:E",          "f:file=10"};
        for (int i = 0; i < 1000; ++i)
            tree << QStringLiteral("d:big/%1/%2").arg(i / 50).arg(i % 50);
        QVERIFY(TreeMaker::make(tmp.path(), tree));
        // "name=bytes", "name!issue" for a failed walk; queued here, not shared with the worker
        QStringList reports;
        SlowCalcer calcer;
        connect(&calcer, &FolderSizeCalcer::folderComplete, this, [&](QString path, quint64 bytes) {
            reports << QFileInfo(path).fileName() + '=' + QString::number(bytes);
        });
        connect(&calcer, &FolderSizeCalcer::folderFailed, this, [&](QString path, int issue) {
            reports << QFileInfo(path).fileName() + '!' + QString::number(issue);
        });
        calcer.start();
        // Jobs added while the thread waits come oldest first; a folder queued
        // twice is measured twice; each failure is its own folder's, none is a total.
        for (const char* job : {"X", "M", "Y", "X", "E", "missing", "file"})
            calcer.addFolder(tmp.filePath(job));
        QTRY_COMPARE(reports, QStringList({"X=4099", "M!3", "Y=4097", "X=4099", "E=0", "missing!2",
                                           "file!2"}));

        // Stopped in the middle of a walk: nothing is reported for it, and the
        // jobs left over go with the old run, so that after a new start Y comes first.
        reports.clear();
        calcer.folders = 0;
        for (int i = 0; i < 3; ++i)
            calcer.addFolder(tmp.filePath("big"));
        QTRY_VERIFY(calcer.folders > 10);
        calcer.stop();
        calcer.stop();
        QVERIFY2(calcer.isFinished() && calcer.folders < 1000,
                 qPrintable(QString::number(calcer.folders)));
        calcer.start();
        calcer.addFolder(tmp.filePath("Y"));
        QTRY_COMPARE(reports, QStringList{"Y=4097"});

        // Sparse files claim more than 64 bits hold: the total stops at the top.
        TestMounts mounts;
        const QString big = mounts.tmpfs(tmp.filePath("tmpfs"), 1);
        QM_NEED_VOLUME(mounts, big);
        const QString half = QString::number(std::numeric_limits<qint64>::max());
        QVERIFY(TreeMaker::make(big, {"f:W/a=" + half, "f:W/b=" + half, "f:W/c=3"}));
        reports.clear();
        calcer.addFolder(big + "/W");
        QTRY_COMPARE(reports, QStringList{"W=18446744073709551615"});

        FolderSizeCalcer().stop(); // never started: returns at once
        FolderSizeCalcer busy;     // destroyed while measuring: stops and joins
        busy.start();
        busy.addFolder(tmp.filePath("big"));
    }
};

QTEST_GUILESS_MAIN(TestFolderSizeCalcer)
#include "test_foldersizecalcer.moc"
