// SPDX-License-Identifier: GPL-3.0-or-later
#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtTest>

#include "core/model/EntriesModel.h"
#include "core/model/EntryPaths.h"
#include "core/model/ProjectData.h"
#include "core/model/ProjectFile.h"
#include "tests/common/TreeMaker.h"

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

const QByteArray entryA = "<Entry><Ident>/a</Ident><Size>1</Size><Kind>0</Kind></Entry>";

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip();
    void writtenLayout_data();
    void writtenLayout();
    void load_data();
    void load();
    void memoryStaysBounded();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void interruptedSaveLeavesOneWholeFile();
    void saveReplacesOnlyRegularFiles_data();
    void saveReplacesOnlyRegularFiles();

private:
    QTemporaryDir m_dir;
    QString path(const QString& n) const { return m_dir.filePath(QTest::currentDataTag() + n); }
};

// A project built as the commands build it, with folders of unknown size and a
// dispense result, is saved, loaded into another model and saved again.
void TestProjectFile::roundTrip()
{
    QRandomGenerator rng(7);
    // What a file name may hold and XML can carry: escapes, line ends, a surrogate pair.
    const QStringList bits{"",       "a Z9",     "/\\",
                           "<>&\"'", "\t\r\n\r", "\u00e9\u0085\u2028\ufffd\U0001F600"};
    const auto text = [&]() -> QString {
        return bits[rng.bounded(6)] + bits[rng.bounded(6)] + bits[rng.bounded(6)];
    };
    const auto size = [&] { return rng.generate64() >> rng.bounded(13, 64); }; // sums fit 64 bits
    EntriesModel a;
    a.setTarget({text(), int(rng.bounded(3)), 2048, size(), Target::NoInodeLimit, "uuid " + text()});
    quint64 sums[5] = {};
    for (int i = 0; i < 3000; ++i) {
        QString ident = "/" + text() + "/" + text() + QString::number(i), folder, name;
        splitPath(ident, folder, name);
        EntryPos p = a.addEntry({name, folder, ident, size(), rng.bounded(3) != 0, i % 2});
        sums[a.moveEntry(p, rng.bounded(1, 5)).group] += a.entryAt(p).Size;
    }
    EntryPos max = a.addEntry({"max", "/", "/max", ~0ull, true, File});
    a.moveEntry(max, NotInUse);
    DispenseQueue q;
    for (int g = Required; g <= Background; ++g)
        for (EntryPos p = a.groupBegin(g); a.isValidPos(p); p.index += rng.bounded(1, 4))
            q.push(p), sums[g] -= a.entryAt(p).Size, sums[Dispensed] += a.entryAt(p).Size;
    a.applyDispense(q, 77);
    const QString file = path("p.qmp");
    QVERIFY2(a.saveAs(file), qPrintable(a.lastError()));
    QVERIFY(!a.isModified() && a.isUntitled()); // only a load ends "untitled"
    const QByteArray bytes = fileBytes(file);

    EntriesModel b;
    b.addEntry({"old", "/", "/old", 1, true, File}); // an unsaved change the load drops
    QVERIFY2(b.load(file, "p"), qPrintable(b.lastError()));
    QString name;
    QVERIFY(!b.isModified() && !b.projectFile(name) && name == "p" && b.savePath() == file);
    QVERIFY(b.isDispensed() && b.hasTarget() && b.target() == a.target());
    QCOMPARE(b.totalCount(), a.totalCount());
    QCOMPARE(b.totalSize(), sums[Required] + sums[Main] + sums[Background]); // all sizes known
    QCOMPARE(b.wastedSize(), qMax(a.target().capacity(), sums[Dispensed]) - sums[Dispensed]);
    // Saved over its own file: the same bytes, so the same entries and origins.
    QVERIFY(b.save() && fileBytes(file) == bytes);

    // Written by hand: text around other content is joined; unknown elements are
    // passed over; a group read twice gets both; "udf" names no file system.
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly) &&
            f.write("<Quillmarch><Main><Entry><Ident>/<!--c-->a<b>x</b>b</Ident></Entry></Main><X>"
                    "<Entry/></X><Main><Y><Entry/></Y><Entry><Ident>/c</Ident></Entry></"
                    "Main><Target><BlockSize>1"
                    "</BlockSize><FileSystem>udf</FileSystem></Target></Quillmarch>"));
    f.close();
    QVERIFY(b.load(file, "p") && b.groupSize(Main) == 2 && !b.hasTarget());
    QCOMPARE(b.entryAt({Main, 0}).Ident, QString("/ab"));
}

void TestProjectFile::writtenLayout_data()
{
    QTest::addColumn<int>("fileSystem");
    for (int fs : {NTFS, FAT, UDF, EXFAT, EXT4})
        QTest::newRow(qPrintable(fileSystemName(fs))) << fs;
}

// The file as this version writes it, with each file system's name (and the
// free inodes of ext4): older files must keep loading as they did, and
// elements a later version adds must leave this layout alone. Loads to the
// project it holds and is written back byte for byte.
void TestProjectFile::writtenLayout()
{
    QFETCH(int, fileSystem);
    const QByteArray layout = R"(<?xml version="1.0" encoding="UTF-8"?>
<Quillmarch>
    <Target>
        <Path>/media/stick</Path>
        <AvailableBlocks>500</AvailableBlocks>
        <BlockSize>2048</BlockSize>
        <FileSystem>%</FileSystem>
    </Target>
    <Dispensed>
        <Entry>
            <Ident>/music/live</Ident>
            <Size>900</Size>
            <Name>live</Name>
            <Path>/music</Path>
            <Kind>1</Kind>
            <Origin>3</Origin>
        </Entry>
    </Dispensed>
    <Required/>
    <Main>
        <Entry>
            <Ident>/a&amp;b&#9;&lt;c&gt;</Ident>
            <Size>18446744073709551615</Size>
            <Name>a&amp;b&#9;&lt;c&gt;</Name>
            <Path>/</Path>
            <Kind>0</Kind>
        </Entry>
    </Main>
    <Background/>
    <NotInUse/>
</Quillmarch>
)";
    QByteArray file = QByteArray(layout).replace('%', fileSystemName(fileSystem).toUtf8());
    ProjectData project;
    project.hasTarget = true;
    project.target = {"/media/stick", fileSystem, 2048, 500};
    if (fileSystem == EXT4) {
        file.replace("</FileSystem>\n",
                     "</FileSystem>\n        <AvailableInodes>321</AvailableInodes>\n");
        project.target.AvailableInodes = 321;
    }
    project.groups[Dispensed] = {{"live", "/music", "/music/live", 900, true, Folder}};
    project.origins = {Background};
    project.groups[Main] = {{"a&b\t<c>", "/", "/a&b\t<c>", ~0ull, true, File}};
    QFile f(path("p.qmp"));
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
    f.close();
    ProjectData read;
    QVERIFY(readProjectFile(f.fileName(), read) && read == project);
    QCOMPARE(read.groups, project.groups); // sizes known, kinds as stored
    QVERIFY(writeProjectFile(f.fileName(), project));
    QCOMPARE(fileBytes(f.fileName()), file);
}

void TestProjectFile::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    const QByteArray good =
        "<?xml version=\"1.0\"?>\n<Quillmarch><Target><Path>/m</Path><BlockSize>"
        "512</BlockSize><FileSystem>FAT</FileSystem></Target><Main>" +
        entryA + entryA + "</Main></Quillmarch>\n";
    const QString notOurs = "is not a Quillmarch project", damaged = "is damaged at line";
    QTest::newRow("missing file") << QByteArray("missing") << "was not found";
    QTest::newRow("pipe") << QByteArray("pipe") << "not a file";
    QTest::newRow("empty file") << QByteArray() << notOurs + ": it is empty";
    QTest::newRow("other root") << QByteArray(good).replace("Quillmarch", "Quillmarsh") << notOurs;
    QTest::newRow("root named like ours")
        << QByteArray(good).replace("Quillmarch>", "QuillmarchX>") << notOurs + ".";
    QTest::newRow("binary") << QByteArray(64, '\xfe') << notOurs;
    QTest::newRow("cut short") << good.left(good.size() - 3) << damaged;
    QTest::newRow("tags crossed") << QByteArray("<Quillmarch>\n<Main><Ident>/a</Main></Ident>")
                                  << damaged + " 2:";
    QTest::newRow("very deep nesting")
        << "<Quillmarch><Main><Entry>" + QByteArray("<a>").repeated(100000) << "nested too deeply";
}

// Into a model holding a loaded project, a dispense result and an unsaved change:
// a file that does not read gives a message saying why and where, and changes nothing.
void TestProjectFile::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    const QString p = path("p.qmp");
    QFile f(p);
    if (file == "pipe")
        QVERIFY(::mkfifo(QFile::encodeName(p).constData(), 0600) == 0);
    else if (file != "missing")
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
    f.close();
    EntriesModel m;
    QVERIFY(writeProjectFile(path("good.qmp"), {}) && m.load(path("good.qmp"), "good"));
    m.addEntry({"new", "/", "/new", 9, true, File});
    DispenseQueue q;
    q.push({Main, 0});
    m.applyDispense(q, 5);
    const auto state = [&] {
        QString s, name;
        QDebug(&s) << m.projectFile(name) << name << m.savePath() << m.isModified()
                   << m.isDispensed() << m.hasTarget() << m.entryCount() << m.origins()
                   << m.totalSize() << m.wastedSize();
        return s;
    };
    const QString before = state();
    ProjectData read;
    QVERIFY(!m.load(p, "p"));
    QCOMPARE(state(), before);
    const QString e = m.lastError();
    QVERIFY2(e.contains(message) && e.contains(p) && e.endsWith('.'), qPrintable(e));
    QVERIFY(!readProjectFile(p, read) && read == ProjectData());
}

void TestProjectFile::memoryStaysBounded()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer's shadow memory does not fit the address-space limit this test sets");
#endif
    QFile f(path("big.qmp")); // 100 MB of ordinary entries
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("<Quillmarch><Main>"));
    while (f.size() < 100 << 20)
        f.write(entryA.repeated(8000));
    f.write("</Main></Quillmarch>");
    f.close();
    // A read may take a few times the file's size; a runaway would take far more.
    ProjectData out;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGABRT, SIG_DFL); // out of memory ends the child at once, with no stack dump
        const rlimit rl{rlim_t(1000) << 20, RLIM_INFINITY};
        ::setrlimit(RLIMIT_DATA, &rl);
        ::_exit([&]() noexcept { return readProjectFile(f.fileName(), out) ? 0 : 1; }());
    }
    int status = 0;
    QVERIFY(::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

void TestProjectFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("where"); // or a text XML cannot carry, given to an entry
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only disk") << QString("readonly") << "cannot be written to";
    // Entries to save, with the disk one 4 KiB page short of the new file; the
    // tail of a small file used to wait in a buffer and fail unnoticed.
    QTest::newRow("full disk, 8 KB project") << QString("full 100") << "No space left";
    QTest::newRow("full disk, 41 KB project") << QString("full 500") << "No space left";
    QTest::newRow("NUL in a name") << QString("a") + QChar(0) << "/music/a";
    QTest::newRow("lone surrogate in a name") << QString("a") + QChar(0xD800) << "/music/a";
}

void TestProjectFile::failedSaveKeepsOldFile()
{
    QFETCH(QString, where);
    QFETCH(QString, message);
    const QString folder = path("projects"), file = folder + "/p.qmp";
    const QByteArray dir = QFile::encodeName(folder);
    QVERIFY(QDir().mkpath(folder));
    const auto unmount = qScopeGuard([&] { ::umount2(dir.constData(), MNT_DETACH); });
    // Root writes anywhere a mount lets it: a small disk of its own, made read-only or filled.
    const int entries = where == "readonly" ? 1 : where.mid(5).toInt();
    if ((where == "readonly" || where.startsWith("full")) &&
        ::mount("tmpfs", dir.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("Mounting a small tmpfs is not permitted here");
    EntriesModel m;
    m.addEntry({"a", "/", "/a", 1, true, File});
    QVERIFY2(m.saveAs(file), qPrintable(m.lastError()));
    const QByteArray old = fileBytes(file);
    for (int i = 0; i < entries; ++i)
        m.addEntry({QString("track %1").arg(i), "/music", QString("/music/track %1").arg(i), 1,
                    true, File});
    QVERIFY(writeProjectFile(m_dir.filePath("size.qmp"), m.data()));
    const qint64 pages = (QFileInfo(m_dir.filePath("size.qmp")).size() + 4095) / 4096;
    struct statvfs fs;
    QFile fill(folder + "/fill"); // written, not sparse: it takes the pages it says
    // Only the small disk is filled: elsewhere room is all the real disk has.
    const qint64 room = !where.startsWith("full") || ::statvfs(dir.constData(), &fs)
                            ? 0
                            : qint64(fs.f_bavail * fs.f_frsize);
    const QByteArray filler(qMax<qint64>(0, room - (pages - 1) * 4096), 'f');
    QVERIFY(!where.startsWith("full") || (fill.open(QIODevice::WriteOnly) &&
                                          fill.write(filler) == filler.size() && fill.flush()));
    if (where == "readonly")
        QVERIFY(::mount(nullptr, dir.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0);
    else if (entries == 0)
        m.addEntry({where, "/music", "/music/" + where, 1, true, File});
    QVERIFY2(!m.save() && m.lastError().contains(message), qPrintable(m.lastError()));
    QVERIFY(!m.saveAs(folder + "/other.qmp"));
    QString name;
    QVERIFY(m.isModified() && m.projectFile(name) && name == file && m.savePath() == file);
    QCOMPARE(fileBytes(file), old);
    // No temporary file is left behind.
    fill.remove();
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"p.qmp"});
}

// A save cancelled at its last moment, or killed at any moment, leaves the old
// file or the new one, whole.
void TestProjectFile::interruptedSaveLeavesOneWholeFile()
{
    const QString file = path("p.qmp");
    ProjectData small, large;
    large.groups[Main].fill(Entry{"a", "/", "/a", 1, true, File}, 20000);
    QVERIFY(writeProjectFile(file, small));
    const QByteArray old = fileBytes(file);
    QVERIFY(!writeProjectFile(file, large, nullptr, [] { return true; }));
    QCOMPARE(fileBytes(file), old);
    QVERIFY(writeProjectFile(file, large));
    const QByteArray big = fileBytes(file);
    for (int delay = 0; delay < 40; delay += 4) {
        const pid_t pid = ::fork();
        if (pid == 0)
            for (int i = 0;; ++i)
                writeProjectFile(file, i % 2 ? large : small);
        QThread::msleep(delay);
        ::kill(pid, SIGKILL);
        QVERIFY(::waitpid(pid, nullptr, 0) == pid);
        const QByteArray now = fileBytes(file);
        QVERIFY2(now == old || now == big, qPrintable(QString::number(now.size())));
    }
}

void TestProjectFile::saveReplacesOnlyRegularFiles_data()
{
    QTest::addColumn<QString>("there");   // TreeMaker line of what stands at "p.qmp"
    QTest::addColumn<int>("owner");       // of a file there; -1 root
    QTest::addColumn<bool>("asNobody");   // the save runs as uid 65534
    QTest::addColumn<QString>("message"); // empty: saved
    QTest::newRow("FIFO") << "p:p.qmp" << -1 << false << "a FIFO";
    QTest::newRow("device") << "c:p.qmp" << -1 << false << "a device";
    QTest::newRow("folder") << "d:p.qmp" << -1 << false << "a folder";
    QTest::newRow("link to nothing") << "l:p.qmp->gone" << -1 << false << "does not exist";
    QTest::newRow("link into another file system")
        << "l:p.qmp->other/o.qmp" << -1 << false << "another file system";
    QTest::newRow("link beside") << "l:p.qmp->o.qmp" << -1 << false << "";
    QTest::newRow("file of another user") << "f:p.qmp=5" << 65534 << false << "";
    QTest::newRow("saved over root's file by another user")
        << "f:p.qmp=5" << -1 << true << "now belongs to nobody";
}

// As root, which may replace anything: what is not a regular file (or a link
// to one beside it) stays as it was, and a replaced file keeps its owner.
void TestProjectFile::saveReplacesOnlyRegularFiles()
{
    QFETCH(QString, there);
    QFETCH(int, owner);
    QFETCH(bool, asNobody);
    QFETCH(QString, message);
    if (::geteuid() != 0)
        QSKIP("Needs root: device nodes, mounts and files of other users");
    const QString folder = path("d"), file = folder + "/p.qmp";
    QVERIFY(QDir().mkpath(folder + "/other"));
    const QByteArray other = QFile::encodeName(folder + "/other");
    const auto unmount = qScopeGuard([&] { ::umount2(other.constData(), MNT_DETACH); });
    QVERIFY(::mount("tmpfs", other.constData(), "tmpfs", 0, "size=64k") == 0);
    // The other user may enter and write the folder.
    for (const QString& f : {m_dir.path(), folder})
        QVERIFY(QFile::setPermissions(f, QFileDevice::Permissions(0x7777)));
    const QByteArray p = QFile::encodeName(file);
    QVERIFY(TreeMaker::make(folder, {"f:o.qmp=7", "f:other/o.qmp=7"}));
    QVERIFY(there[0] == 'c' ? ::mknod(p.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0
                            : TreeMaker::make(folder, {there}));
    QVERIFY(::chmod(p.constData(), 0666) == 0 || there[0] == 'l');
    QVERIFY(owner < 0 || ::chown(p.constData(), uid_t(owner), gid_t(owner)) == 0);
    struct stat before, after, named;
    QVERIFY(::lstat(p.constData(), &before) == 0);

    ProjectData data;
    data.groups[Main] << Entry{"a", "/", "/a", 1, true, File};
    QString error, warning;
    bool saved = false;
    if (asNobody) {
        // Another user's save, in a process of its own.
        const pid_t pid = ::fork();
        if (pid == 0) {
            const bool ok = ::setgroups(0, nullptr) == 0 && ::setresgid(65534, 65534, 65534) == 0 &&
                            ::setresuid(65534, 65534, 65534) == 0 &&
                            writeProjectFile(file, data, &error, {}, &warning) &&
                            warning.contains(message) && warning.contains("root:root");
            ::_exit(ok ? 0 : 1);
        }
        int status = 1;
        QVERIFY(::waitpid(pid, &status, 0) == pid);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "no warning, or not saved");
        saved = true;
    } else {
        saved = writeProjectFile(file, data, &error, {}, &warning);
        QVERIFY2(saved == message.isEmpty() && error.contains(message), qPrintable(error));
        QVERIFY(warning.isEmpty());
    }
    QVERIFY(::lstat(p.constData(), &after) == 0);
    QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
    // What a link names is replaced only beside it.
    QCOMPARE(QFileInfo(folder + "/o.qmp").size() > 7, there.endsWith("->o.qmp"));
    QCOMPARE(QFileInfo(folder + "/other/o.qmp").size(), 7);
    if (!saved || there[0] == 'l')
        return;
    QVERIFY(after.st_ino != before.st_ino && ::stat(p.constData(), &named) == 0);
    QCOMPARE(named.st_uid, asNobody ? uid_t(65534) : before.st_uid);
    QCOMPARE(named.st_gid, asNobody ? gid_t(65534) : before.st_gid);
    QCOMPARE(named.st_mode & 07777, before.st_mode & 07777);
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "test_projectfile.moc"
