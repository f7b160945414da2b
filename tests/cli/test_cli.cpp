#include <QtTest>

#include <csignal>

#include <sys/statvfs.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "dispense/Dispenser.h"
#include "model/EntriesModel.h"
#include "model/EntryPaths.h"

namespace {

struct Run
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run runProgram(const QString& program, const QStringList& args, int timeoutMs = 120000)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    Run r;
    if (!p.waitForStarted()) {
        r.err = "could not start " + program.toUtf8();
        return r;
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = "timed out";
        return r;
    }
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    return r;
}

Run cli(const QStringList& args, int timeoutMs = 120000)
{
    return runProgram(QStringLiteral(QM_CLI_PATH), args, timeoutMs);
}

// Root reads everything: unreadable folders are only unreadable to others.
Run asNobody(const QString& program, const QStringList& args)
{
    if (::geteuid() != 0)
        return runProgram(program, args);
    return runProgram(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups"), program} +
                          args);
}

bool isOneLine(const QByteArray& text)
{
    return text.endsWith('\n') && text.count('\n') == 1;
}

QString runText(const Run& r)
{
    return QStringLiteral("exit %1\nstdout: %2\nstderr: %3")
        .arg(r.code)
        .arg(QString::fromUtf8(r.out), QString::fromUtf8(r.err));
}

// Builds a tree below root from lines such as
//   "f a/b.txt 123"   a file of 123 bytes (folders made as needed)
//   "d a/empty"       a folder
//   "l a/up -> .."    a symbolic link
//   "x a/locked"      a folder others cannot read or enter (made last)
bool makeTree(const QString& root, const QStringList& spec)
{
    QDir dir(root);
    QStringList locked;
    for (const QString& line : spec) {
        const QStringList w = line.split(QLatin1Char(' '));
        const QString path = root + QLatin1Char('/') + w.value(1);
        const QString kind = w.value(0);
        if (kind == QLatin1String("d") || kind == QLatin1String("x")) {
            if (!dir.mkpath(w.value(1)))
                return false;
            if (kind == QLatin1String("x"))
                locked << path;
        } else if (kind == QLatin1String("f")) {
            dir.mkpath(QFileInfo(path).path());
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || !f.resize(w.value(2).toLongLong()))
                return false;
        } else if (kind == QLatin1String("l")) {
            dir.mkpath(QFileInfo(path).path());
            if (::symlink(QFile::encodeName(w.value(3)).constData(),
                          QFile::encodeName(path).constData()) != 0)
                return false;
        } else {
            return false;
        }
    }
    for (const QString& path : locked)
        QFile::setPermissions(path, QFileDevice::Permissions());
    return true;
}

// Every file below root (links not followed) with a hash of its content.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        QByteArray hash = "folder";
        if (!it.fileInfo().isDir() && f.open(QIODevice::ReadOnly))
            hash = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
        files.insert(path, hash);
    }
    return files;
}

std::array<QVector<Entry>, 5> groupsOf(DM* model)
{
    std::array<QVector<Entry>, 5> groups;
    for (int g = Dispensed; g <= NotInUse; ++g) {
        for (EntryPos pos = model->groupBegin(g); model->isValidPos(pos); ++pos.index)
            groups[g] << model->entryAt(pos);
    }
    return groups;
}

QStringList identsOf(const QVector<Entry>& entries)
{
    QStringList idents;
    for (const Entry& e : entries)
        idents << e.Ident;
    return idents;
}

Target makeTarget(const QString& fs, quint64 blockSize, quint64 freeBlocks)
{
    Target t;
    t.FileSystem = fs == QLatin1String("UDF") ? UDF : fs == QLatin1String("FAT") ? FAT : NTFS;
    t.BlockSize = blockSize;
    t.AvailableBlocks = freeBlocks;
    return t;
}

// Adds the entries "R path", "M path", "B path", "N path" (paths below root)
// to model as the window's Add does, then moves each into its group.
void addEntries(DM* model, const QString& root, const QStringList& groups)
{
    for (const QString& line : groups) {
        const int group = QStringLiteral("?RMBN").indexOf(line.at(0));
        EntryPos pos = model->addEntry(entryForPath(root + QLatin1Char('/') + line.mid(2)));
        if (group != Main)
            model->moveEntry(pos, group);
    }
}

// The window's dispense, in this process: the real Dispenser over the model,
// its result applied with applyDispense. Returns the wasted figure.
quint64 dispenseInProcess(bool& ok)
{
    ok = false;
    Dispenser d;
    QSignalSpy finished(&d, &IDispenser::do_finish);
    d.start();
    d.wait();
    if (finished.count() != 1 || !finished.at(0).at(0).toBool())
        return 0;
    ok = true;
    dataModel()->applyDispense(d.resultQueue(), d.wasted());
    return d.wasted();
}

struct TextReport
{
    QStringList paths;
    QByteArray wasted;
    QByteArray proven;
};

TextReport parseText(const QByteArray& out)
{
    TextReport r;
    QList<QByteArray> lines = out.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() >= 2) {
        r.proven = lines.takeLast();
        r.wasted = lines.takeLast();
    }
    for (const QByteArray& l : lines)
        r.paths << QFile::decodeName(l);
    return r;
}

QByteArray wastedLine(quint64 wasted, quint64 blockSize)
{
    return "Wasted: " + QByteArray::number(wasted) + " bytes (" +
           QByteArray::number(wasted / blockSize) + " blocks)";
}

// A Main group whose search cannot end in a lifetime: 80 files of odd,
// scattered block counts between a eleventh and a tenth of an odd capacity.
// At most ten fit, ten odd counts make an even sum and nine leave a tenth of
// the room free, so no selection fills the room exactly, yet no divisor of
// the counts shows it and the sums are too many to tabulate. (The files are
// sparse.) And an empty file in Background, which any finished Main level
// would take.
const quint64 s_endlessCapacity = (quint64(1) << 28) + 1;
const int s_endlessFiles = 80;

QStringList endlessSearchTree()
{
    const quint64 low = s_endlessCapacity / 11 + 1;
    const quint64 high = s_endlessCapacity / 10;
    quint64 x = 12345;
    QStringList spec;
    for (int i = 1; i <= s_endlessFiles; ++i) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        const quint64 blocks = (low + (x >> 33) % (high - low)) | 1;
        spec << QStringLiteral("f big/f%1 %2").arg(i).arg(blocks * 4096);
    }
    spec << QStringLiteral("f small/empty 0");
    return spec;
}

QStringList endlessSearchArgs(const QString& root)
{
    QStringList args{QStringLiteral("dispense"), QStringLiteral("--main")};
    for (int i = 1; i <= s_endlessFiles; ++i)
        args << QStringLiteral("%1/big/f%2").arg(root).arg(i);
    args << QStringLiteral("--background") << root + QStringLiteral("/small/empty");
    args << QStringLiteral("--fs") << QStringLiteral("NTFS") << QStringLiteral("--block-size")
         << QStringLiteral("4096") << QStringLiteral("--free-blocks")
         << QString::number(s_endlessCapacity);
    return args;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void help_data();
    void help();
    void errors_data();
    void errors();

    void sizeAgreesWithFind_data();
    void sizeAgreesWithFind();

    void volumesAndProbe();
    void ntfsVolume();

    void dispenseProject_data();
    void dispenseProject();
    void dispensePaths();
    void dispenseOutputForms();
    void vanishedEntryWarned();
    void nothingFits_data();
    void nothingFits();
    void timeLimitAccepts();
    void interruptCancels();
    void progressOnlyOnTerminal();

private:
    QString writeProject(const QString& file, const QString& root, const QStringList& groups,
                         const Target* target);
};

void TestCli::initTestCase()
{
    QVERIFY2(QFileInfo(QStringLiteral(QM_CLI_PATH)).isExecutable(), QM_CLI_PATH);
}

QString TestCli::writeProject(const QString& file, const QString& root, const QStringList& groups,
                              const Target* target)
{
    EntriesModel model;
    addEntries(&model, root, groups);
    if (target)
        model.setTarget(*target);
    if (!model.saveAs(file))
        return {};
    return file;
}

void TestCli::help_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("usage");
    const QString u = QStringLiteral("Usage: quillmarch-cli ");
    QTest::newRow("general") << QStringList{QStringLiteral("--help")}
                             << u + QStringLiteral("COMMAND");
    for (const char* command : {"volumes", "probe", "size", "dispense"}) {
        const QString c = QString::fromLatin1(command);
        QTest::newRow(command) << QStringList{c, QStringLiteral("--help")} << u + c;
        QTest::newRow(qPrintable(c + QStringLiteral(" -h")))
            << QStringList{c, QStringLiteral("-h")} << u + c;
        QTest::newRow(qPrintable(QStringLiteral("help ") + c))
            << QStringList{QStringLiteral("help"), c} << u + c;
    }
}

void TestCli::help()
{
    QFETCH(QStringList, args);
    QFETCH(QString, usage);
    const Run r = cli(args);
    QVERIFY2(r.code == 0, qPrintable(runText(r)));
    QVERIFY2(r.out.startsWith(usage.toUtf8()), r.out.constData());
    QVERIFY(r.err.isEmpty());
}

void TestCli::errors_data()
{
    QTest::addColumn<QStringList>("args"); // %T: a folder with a tree, projects and a kept file
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    const auto a = [](const char* words) {
        return QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
    const QString ntfs = QStringLiteral(" --fs NTFS --block-size 4096 --free-blocks 1000");
    const auto t = [&](const char* words) {
        return a(words) + ntfs.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };

    // Usage errors.
    QTest::newRow("no command") << QStringList() << 2 << "COMMAND";
    QTest::newRow("unknown command") << a("frobnicate") << 2 << "unknown command";
    QTest::newRow("help for unknown command") << a("help frobnicate") << 2 << "unknown command";
    QTest::newRow("volumes with argument") << a("volumes %T") << 2 << "unexpected";
    QTest::newRow("probe without path") << a("probe") << 2 << "PATH";
    QTest::newRow("probe two paths") << a("probe %T %T") << 2 << "one PATH";
    QTest::newRow("size without path") << a("size") << 2 << "PATH";
    QTest::newRow("size unknown option") << a("size --apparent %T") << 2 << "unknown option";
    QTest::newRow("dispense without project") << a("dispense") << 2 << "PROJECT";
    QTest::newRow("two projects") << t("dispense %T/good.qmp %T/good.qmp") << 2 << "unexpected";
    QTest::newRow("unknown option") << a("dispense %T/good.qmp --fast") << 2 << "unknown option";
    QTest::newRow("project and paths")
        << t("dispense %T/good.qmp --main %T/tree/a") << 2 << "not both";
    QTest::newRow("empty path list") << t("dispense --main --background") << 2 << "no PATH";
    QTest::newRow("paths without target")
        << a("dispense --main %T/tree/a") << 2 << "target is needed";
    QTest::newRow("fs alone") << a("dispense --main %T/tree/a --fs NTFS") << 2 << "go together";
    QTest::newRow("fs unknown")
        << a("dispense --main %T/tree/a --fs EXT4 --block-size 4096 --free-blocks 9") << 2
        << "unknown file system";
    QTest::newRow("block size 0")
        << a("dispense --main %T/tree/a --fs NTFS --block-size 0 --free-blocks 9") << 2
        << "--block-size";
    QTest::newRow("block size with unit")
        << a("dispense --main %T/tree/a --fs NTFS --block-size 4k --free-blocks 9") << 2
        << "--block-size";
    QTest::newRow("free blocks negative")
        << a("dispense --main %T/tree/a --fs NTFS --block-size 4096 --free-blocks -1") << 2
        << "--free-blocks";
    QTest::newRow("capacity overflows")
        << a("dispense --main %T/tree/a --fs NTFS --block-size 4294967296 --free-blocks "
             "4294967296")
        << 2 << "too large";
    QTest::newRow("target and figures") << t("dispense %T/good.qmp --target %T") << 2 << "excludes";
    QTest::newRow("time limit text")
        << t("dispense %T/good.qmp --time-limit soon") << 2 << "--time-limit";
    QTest::newRow("time limit negative")
        << t("dispense %T/good.qmp --time-limit -1") << 2 << "--time-limit";
    QTest::newRow("time limit without value")
        << a("dispense %T/good.qmp --time-limit") << 2 << "needs a value";
    QTest::newRow("option twice") << t("dispense %T/good.qmp --save %T/o1 --save %T/o2") << 2
                                  << "more than once";
    QTest::newRow("json and nul") << t("dispense %T/good.qmp --json -0") << 2 << "exclude";

    // Target and file errors.
    QTest::newRow("size of missing path") << a("size %T/missing") << 3 << "No such file";
    QTest::newRow("probe missing path") << a("probe %T/missing") << 3 << "No such file";
    QTest::newRow("missing project")
        << t("dispense %T/missing.qmp --save %T/out.qmp") << 3 << "No such file";
    QTest::newRow("project is a folder") << t("dispense %T/tree") << 3 << "is a folder";
    QTest::newRow("corrupt project")
        << t("dispense %T/corrupt.qmp --save %T/kept.qmp") << 3 << "cannot be read as a project";
    QTest::newRow("empty project file")
        << t("dispense %T/empty.qmp --save %T/out.qmp") << 3 << "cannot be read as a project";
    QTest::newRow("foreign root element")
        << t("dispense %T/foreign.qmp") << 3 << "cannot be read as a project";
    QTest::newRow("project without target")
        << a("dispense %T/good.qmp --save %T/out.qmp") << 3 << "no target";
    QTest::newRow("project target of block size 0")
        << a("dispense %T/zeroblock.qmp --save %T/kept.qmp") << 3 << "target";
    QTest::newRow("missing path to dispense")
        << t("dispense --main %T/tree/a %T/missing") << 3 << "No such file";
    QTest::newRow("missing target")
        << a("dispense %T/good.qmp --target %T/missing") << 3 << "No such file";
    QTest::newRow("save into missing folder")
        << t("dispense %T/good.qmp --save %T/nofolder/out.qmp") << 3 << "does not exist";
    QTest::newRow("save onto a folder")
        << t("dispense %T/good.qmp --save %T/tree") << 3 << "is a folder";

    // The temporary folder lies on the machine's disk or tmpfs, never NTFS or FAT32.
    QTest::newRow("probe unsupported") << a("probe %T") << 3 << "Unsupported file system";
    QTest::newRow("dispense unsupported target")
        << a("dispense %T/good.qmp --target %T --save %T/kept.qmp") << 3
        << "Unsupported file system";
}

void TestCli::errors()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    QVERIFY(makeTree(root, {QStringLiteral("f tree/a 5000"), QStringLiteral("f tree/b/c 7000")}));
    QVERIFY(!writeProject(root + QStringLiteral("/good.qmp"), root,
                          {QStringLiteral("M tree/a"), QStringLiteral("M tree/b")}, nullptr)
                 .isEmpty());
    Target zero = makeTarget(QStringLiteral("NTFS"), 0, 100);
    QVERIFY(!writeProject(root + QStringLiteral("/zeroblock.qmp"), root,
                          {QStringLiteral("M tree/a")}, &zero)
                 .isEmpty());
    const QList<QPair<const char*, QByteArray>> files = {
        {"/corrupt.qmp", "<?xml version=\"1.0\"?>\n<Quillmarch>\n    <Main>\n        <Entry>\n"},
        {"/empty.qmp", ""},
        {"/foreign.qmp", "<?xml version=\"1.0\"?>\n<Project><Main/></Project>\n"},
        {"/kept.qmp", "an earlier file that must stay as it is\n"}};
    for (const auto& f : files) {
        QFile file(root + QLatin1String(f.first));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(f.second);
    }
    for (QString& arg : args)
        arg.replace(QStringLiteral("%T"), root);

    const QMap<QString, QByteArray> before = snapshot(root);
    const Run r = cli(args);
    QVERIFY2(r.code == code, qPrintable(runText(r)));
    QVERIFY2(isOneLine(r.err), r.err.constData());
    QVERIFY2(r.err.startsWith("quillmarch-cli"), r.err.constData());
    QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
    QVERIFY2(r.out.isEmpty(), r.out.constData());
    QCOMPARE(snapshot(root), before);
}

void TestCli::sizeAgreesWithFind_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("paths"); // below the tree's root; "." is the root itself

    const QStringList files = {QStringLiteral("f a.bin 1"), QStringLiteral("f sub/b.bin 4097"),
                               QStringLiteral("f sub/deeper/c.bin 123456"),
                               QStringLiteral("f sub/zero 0"), QStringLiteral("f .hidden 77")};
    QTest::newRow("files and hidden files")
        << files
        << QStringList{QStringLiteral("."), QStringLiteral("sub"), QStringLiteral("a.bin"),
                       QStringLiteral("sub/zero")};
    QTest::newRow("link loop") << files + QStringList{QStringLiteral("l sub/deeper/up -> ../.."),
                                                      QStringLiteral("l sub/self -> .")}
                               << QStringList{QStringLiteral("."), QStringLiteral("sub"),
                                              QStringLiteral("sub/deeper")};
    QTest::newRow("link to a file")
        << files + QStringList{QStringLiteral("l sub/again -> ../a.bin"),
                               QStringLiteral("l link.bin -> sub/deeper/c.bin")}
        << QStringList{QStringLiteral("."), QStringLiteral("sub"), QStringLiteral("link.bin")};
    QTest::newRow("link to a folder outside")
        << files + QStringList{QStringLiteral("f ../outside/o.bin 5555"),
                               QStringLiteral("l other -> ../outside")}
        << QStringList{QStringLiteral("."), QStringLiteral("other")};
    QTest::newRow("dangling link")
        << files + QStringList{QStringLiteral("l sub/gone -> nowhere"),
                               QStringLiteral("l gone-dir -> sub/nothing/")}
        << QStringList{QStringLiteral("."), QStringLiteral("sub")};
    QTest::newRow("empty folders")
        << QStringList{QStringLiteral("d e1"), QStringLiteral("d e2/e3/e4"),
                       QStringLiteral("f e2/x 10")}
        << QStringList{QStringLiteral("."), QStringLiteral("e1"), QStringLiteral("e2/e3")};
    QTest::newRow("unreadable folder")
        << files + QStringList{QStringLiteral("x sub/locked"),
                               QStringLiteral("f sub/locked/secret 999"),
                               QStringLiteral("f sub/locked/inner/more 1000")}
        << QStringList{QStringLiteral("."), QStringLiteral("sub"), QStringLiteral("sub/locked")};
    QTest::newRow("everything at once")
        << files + QStringList{QStringLiteral("l sub/deeper/up -> ../.."),
                               QStringLiteral("l sub/again -> ../a.bin"),
                               QStringLiteral("l sub/gone -> nowhere"),
                               QStringLiteral("d e1/e2"),
                               QStringLiteral("x sub/locked"),
                               QStringLiteral("f sub/locked/secret 999")}
        << QStringList{QStringLiteral("."), QStringLiteral("sub")};
}

void TestCli::sizeAgreesWithFind()
{
    QFETCH(QStringList, tree);
    QFETCH(QStringList, paths);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    // The unprivileged user must be able to enter everything but the locked folders.
    QVERIFY(QFile::setPermissions(tmp.path(), QFileDevice::Permissions(0x7755)));
    const QString root = tmp.path() + QStringLiteral("/root");
    QVERIFY(makeTree(root, tree));

    QStringList args{QStringLiteral("size")};
    for (const QString& p : paths)
        args << (p == QLatin1String(".") ? root : root + QLatin1Char('/') + p);
    const Run r = asNobody(QStringLiteral(QM_CLI_PATH), args);
    QVERIFY2(r.code == 0, qPrintable(runText(r)));
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    const QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.size(), args.size()); // one line per path, and the final newline

    for (int i = 1; i < args.size(); ++i) {
        const Run found =
            asNobody(QStringLiteral("find"),
                     {QStringLiteral("-L"), args.at(i), QStringLiteral("-type"),
                      QStringLiteral("f"), QStringLiteral("-printf"), QStringLiteral("%s\n")});
        quint64 expected = 0;
        for (const QByteArray& size : found.out.split('\n'))
            expected += size.toULongLong();
        const QByteArray line = lines.at(i - 1);
        QCOMPARE(line, QByteArray::number(expected) + '\t' + QFile::encodeName(args.at(i)));
    }
    // The locked folders must be removable again.
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::setPermissions(it.next(), QFileDevice::Permissions(0x7700));
}

void TestCli::volumesAndProbe()
{
    const Run r = cli({QStringLiteral("volumes")});
    QVERIFY2(r.code == 0, qPrintable(runText(r)));
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    const QStringList names = {QStringLiteral("NTFS"), QStringLiteral("FAT"),
                               QStringLiteral("UDF")};
    for (const QByteArray& line : r.out.split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> f = line.split('\t');
        QVERIFY2(f.size() == 5 || f.size() == 2, line.constData());
        const QString root = QFile::decodeName(f.at(0));
        const Run probe = cli({QStringLiteral("probe"), root});
        if (f.size() == 2) {
            // A root that cannot be a target says why, and probe says the same.
            QVERIFY2(probe.code == 3, qPrintable(runText(probe)));
            QVERIFY2(probe.err.trimmed().endsWith(f.at(1)), probe.err.constData());
            continue;
        }
        QVERIFY2(names.contains(QString::fromLatin1(f.at(1))), line.constData());
        QCOMPARE(f.at(4).toULongLong(), f.at(2).toULongLong() * f.at(3).toULongLong());
        QVERIFY2(probe.code == 0, qPrintable(runText(probe)));
        const QList<QByteArray> p = probe.out.trimmed().split('\t');
        QCOMPARE(p.value(1), f.at(1));
        QCOMPARE(p.value(2), f.at(2));
    }
}

void TestCli::ntfsVolume()
{
    const QString mkntfs = QStandardPaths::findExecutable(
        QStringLiteral("mkntfs"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    const QString ntfs3g = QStandardPaths::findExecutable(QStringLiteral("ntfs-3g"));
    if (::geteuid() != 0 || !QFileInfo::exists(QStringLiteral("/dev/fuse")) || mkntfs.isEmpty() ||
        ntfs3g.isEmpty())
        QSKIP("needs root, /dev/fuse, mkntfs and ntfs-3g to mount an NTFS image");

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString image = tmp.path() + QStringLiteral("/ntfs.img");
    const QString mount = tmp.path() + QStringLiteral("/mnt");
    QVERIFY(QDir().mkpath(mount));
    {
        QFile f(image);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(32 << 20));
    }
    Run made = runProgram(
        mkntfs, {QStringLiteral("-F"), QStringLiteral("-f"), QStringLiteral("-q"), image});
    QVERIFY2(made.code == 0, qPrintable(runText(made)));
    made = runProgram(ntfs3g, {image, mount});
    if (made.code != 0)
        QSKIP(qPrintable(QStringLiteral("ntfs-3g cannot mount here: ") +
                         QString::fromUtf8(made.err)));
    struct Unmount
    {
        QString path;
        ~Unmount() { runProgram(QStringLiteral("umount"), {path}); }
    } unmount{mount};

    struct statvfs fs = {};
    QCOMPARE(::statvfs(QFile::encodeName(mount).constData(), &fs), 0);
    const QByteArray expected = QFile::encodeName(mount) + "\tNTFS\t" +
                                QByteArray::number(quint64(fs.f_frsize)) + '\t' +
                                QByteArray::number(quint64(fs.f_bavail)) + '\t' +
                                QByteArray::number(quint64(fs.f_frsize) * fs.f_bavail) + '\n';

    const Run probe = cli({QStringLiteral("probe"), mount});
    QVERIFY2(probe.code == 0, qPrintable(runText(probe)));
    QCOMPARE(probe.out, expected);

    const Run volumes = cli({QStringLiteral("volumes")});
    QVERIFY2(volumes.code == 0, qPrintable(runText(volumes)));
    QVERIFY2(volumes.out.split('\n').contains(expected.chopped(1)), volumes.out.constData());

    // Dispensing onto the mounted volume is dispensing onto its figures.
    QVERIFY(makeTree(tmp.path(),
                     {QStringLiteral("f tree/a 100000"), QStringLiteral("f tree/b/c 3000000"),
                      QStringLiteral("f tree/d 40000000")}));
    const QStringList paths{QStringLiteral("--main"), tmp.path() + QStringLiteral("/tree/a"),
                            tmp.path() + QStringLiteral("/tree/b"),
                            tmp.path() + QStringLiteral("/tree/d")};
    const Run onVolume = cli(QStringList{QStringLiteral("dispense")} + paths +
                             QStringList{QStringLiteral("--target"), mount});
    const Run onFigures =
        cli(QStringList{QStringLiteral("dispense")} + paths +
            QStringList{QStringLiteral("--fs"), QStringLiteral("NTFS"),
                        QStringLiteral("--block-size"), QString::number(fs.f_frsize),
                        QStringLiteral("--free-blocks"), QString::number(fs.f_bavail)});
    QVERIFY2(onVolume.code == 0, qPrintable(runText(onVolume)));
    QCOMPARE(onVolume.out, onFigures.out);
    QCOMPARE(parseText(onVolume.out).paths.size(), 2); // the 40 MB file does not fit
}

void TestCli::dispenseProject_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QString>("fs");
    QTest::addColumn<quint64>("blockSize");
    QTest::addColumn<quint64>("freeBlocks");
    QTest::addColumn<bool>("dispenseFirst"); // the project already holds a result

    const auto f = [](const char* name, int blocks, int blockSize = 4096) {
        return QStringLiteral("f tree/%1 %2").arg(QLatin1String(name)).arg(blocks * blockSize - 7);
    };
    const auto tree = [&](std::initializer_list<std::pair<const char*, int>> files) {
        QStringList spec;
        for (const auto& p : files)
            spec << f(p.first, p.second);
        return spec;
    };
    const auto in = [](const char* line) {
        return QString::fromUtf8(line).split(QLatin1Char(','));
    };

    QTest::newRow("everything fits") << tree({{"a", 3}, {"b", 5}, {"c", 1}}) << in("M a,M b,R c")
                                     << "NTFS" << quint64(4096) << quint64(100) << false;
    QTest::newRow("4 3 3 into 6") << tree({{"a", 4}, {"b", 3}, {"c", 3}}) << in("M a,M b,M c")
                                  << "NTFS" << quint64(4096) << quint64(6) << false;
    QTest::newRow("6 4 4 3 into 8")
        << tree({{"a", 6}, {"b", 4}, {"c", 4}, {"d", 3}}) << in("M a,M b,M c,M d") << "FAT"
        << quint64(4096) << quint64(8) << false;
    QTest::newRow("three levels share the room") << tree({{"r1", 5},
                                                          {"r2", 2},
                                                          {"m1", 9},
                                                          {"m2", 4},
                                                          {"m3", 3},
                                                          {"b1", 2},
                                                          {"b2", 1},
                                                          {"n1", 1}})
                                                 << in("R r1,R r2,M m1,M m2,M m3,B b1,B b2,N n1")
                                                 << "NTFS" << quint64(4096) << quint64(16) << false;
    QTest::newRow("required does not fit, the rest does")
        << tree({{"r1", 50}, {"m1", 4}, {"b1", 4}}) << in("R r1,M m1,B b1") << "NTFS"
        << quint64(4096) << quint64(9) << false;
    QStringList folders = tree({{"x", 2}});
    for (int i = 0; i < 40; ++i)
        folders << QStringLiteral("f tree/dir1/f%1 %2").arg(i).arg(1000 + i)
                << QStringLiteral("f tree/dir2/s%1/g 2049").arg(i % 25);
    QTest::newRow("udf folders with metadata") << folders << in("M dir1,M dir2,B x") << "UDF"
                                               << quint64(2048) << quint64(262 + 200) << false;
    QTest::newRow("a held result is put back first")
        << tree({{"a", 4}, {"b", 3}, {"c", 3}, {"d", 2}}) << in("R d,M a,M b,M c") << "NTFS"
        << quint64(4096) << quint64(8) << true;
}

void TestCli::dispenseProject()
{
    QFETCH(QStringList, tree);
    QFETCH(QStringList, groups);
    QFETCH(QString, fs);
    QFETCH(quint64, blockSize);
    QFETCH(quint64, freeBlocks);
    QFETCH(bool, dispenseFirst);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    QVERIFY(makeTree(root, tree));
    const QString project = root + QStringLiteral("/project.qmp");
    const QString out = root + QStringLiteral("/out.qmp");
    Target target = makeTarget(fs, blockSize, freeBlocks);
    target.Path = root;
    QVERIFY(!writeProject(project, root + QStringLiteral("/tree"), groups, &target).isEmpty());
    if (dispenseFirst) {
        // A result taken with a larger target, saved in the project.
        DM* model = dataModel();
        QVERIFY(model->load(project, project));
        Target larger = target;
        larger.AvailableBlocks *= 3;
        model->setTarget(larger);
        bool ok = false;
        dispenseInProcess(ok);
        QVERIFY(ok);
        model->setTarget(target);
        QVERIFY(model->saveAs(project));
        QVERIFY(model->isDispensed());
    }
    const QByteArray projectBytes = snapshot(root).value(project);

    const Run r = cli({QStringLiteral("dispense"), project, QStringLiteral("--save"), out});
    QVERIFY2(r.code == 0, qPrintable(runText(r)));
    QVERIFY2(r.err.isEmpty(), r.err.constData());
    QCOMPARE(snapshot(root).value(project), projectBytes);

    // The window's dispense on the same project and target, in this process.
    DM* model = dataModel();
    QVERIFY(model->load(project, project));
    if (model->isDispensed())
        model->undispense();
    bool ok = false;
    const quint64 wasted = dispenseInProcess(ok);
    QVERIFY(ok);
    const auto expected = groupsOf(model);
    QVERIFY(!expected[Dispensed].isEmpty());

    const TextReport report = parseText(r.out);
    QCOMPARE(report.paths, identsOf(expected[Dispensed]));
    QCOMPARE(report.wasted, wastedLine(wasted, blockSize));
    QCOMPARE(report.proven, QByteArray("Proven best: yes"));

    // The saved project opens with the same groups, origins and target.
    EntriesModel saved;
    QVERIFY2(saved.load(out, out), qPrintable(saved.lastError()));
    QVERIFY(saved.isDispensed());
    const auto savedGroups = groupsOf(&saved);
    for (int g = Dispensed; g <= NotInUse; ++g)
        QCOMPARE(identsOf(savedGroups[g]), identsOf(expected[g]));
    QVERIFY(savedGroups == expected);
    QCOMPARE(saved.origins(), static_cast<EntriesModel*>(model)->origins());
    QCOMPARE(saved.target(), target);
}

void TestCli::dispensePaths()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    QVERIFY(makeTree(root, {QStringLiteral("f r.bin 10000"), QStringLiteral("f m1/a 30000"),
                            QStringLiteral("f m1/sub/b 2100"), QStringLiteral("d m1/empty"),
                            QStringLiteral("f m2.bin 20000"), QStringLiteral("f m3/c 9000"),
                            QStringLiteral("f bg/d 5000"), QStringLiteral("f bg/e 3000")}));
    const quint64 folderSizes[] = {30000 + 2100, 9000, 8000}; // m1, m3, bg
    const QString out = root + QStringLiteral("/out.qmp");
    const QStringList args = {QStringLiteral("dispense"),
                              QStringLiteral("--required"),
                              root + QStringLiteral("/r.bin"),
                              QStringLiteral("--main"),
                              root + QStringLiteral("/m1/"),
                              root + QStringLiteral("/m2.bin"),
                              root + QStringLiteral("/m3"),
                              QStringLiteral("--background"),
                              root + QStringLiteral("/bg"),
                              QStringLiteral("--fs"),
                              QStringLiteral("FAT"),
                              QStringLiteral("--block-size"),
                              QStringLiteral("2048"),
                              QStringLiteral("--free-blocks"),
                              QStringLiteral("30"),
                              QStringLiteral("--save"),
                              out};
    const Run r = cli(args);
    QVERIFY2(r.code == 0, qPrintable(runText(r)));

    // The same entries added in the window, with their folder sizes measured.
    DM* model = dataModel();
    model->newProject();
    addEntries(model, root,
               {QStringLiteral("R r.bin"), QStringLiteral("M m1/"), QStringLiteral("M m2.bin"),
                QStringLiteral("M m3"), QStringLiteral("B bg")});
    int folder = 0;
    for (int g = Required; g <= Background; ++g) {
        for (EntryPos pos = model->groupBegin(g); model->isValidPos(pos); ++pos.index) {
            Entry& e = model->entryAt(pos);
            if (e.Kind == Folder) {
                e.Size = folderSizes[folder++];
                e.IsValidSize = true;
                model->entrySizeKnown(pos);
            }
        }
    }
    QCOMPARE(folder, 3);
    Target target = makeTarget(QStringLiteral("FAT"), 2048, 30);
    model->setTarget(target);
    bool ok = false;
    const quint64 wasted = dispenseInProcess(ok);
    QVERIFY(ok);
    const auto expected = groupsOf(model);

    const TextReport report = parseText(r.out);
    QCOMPARE(report.paths, identsOf(expected[Dispensed]));
    QCOMPARE(report.wasted, wastedLine(wasted, 2048));
    EntriesModel saved;
    QVERIFY2(saved.load(out, out), qPrintable(saved.lastError()));
    QVERIFY(groupsOf(&saved) == expected);
    QCOMPARE(saved.origins(), static_cast<EntriesModel*>(model)->origins());
    QCOMPARE(saved.target(), target);
}

void TestCli::dispenseOutputForms()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    QVERIFY(makeTree(root, {QStringLiteral("f a 9000"), QStringLiteral("f b 5000"),
                            QStringLiteral("f c\twith\ttab 4000"), QStringLiteral("f d/e 12000"),
                            QStringLiteral("f \"q\" 100")}));
    QStringList base = {QStringLiteral("dispense"), QStringLiteral("--required"),
                        root + QStringLiteral("/\"q\""), QStringLiteral("--main")};
    for (const char* name : {"a", "b", "c\twith\ttab", "d"})
        base << root + QLatin1Char('/') + QString::fromUtf8(name);
    base << QStringLiteral("--fs") << QStringLiteral("NTFS") << QStringLiteral("--block-size")
         << QStringLiteral("1024") << QStringLiteral("--free-blocks") << QStringLiteral("22");

    const Run text = cli(base);
    QVERIFY2(text.code == 0, qPrintable(runText(text)));
    const TextReport report = parseText(text.out);
    QVERIFY(!report.paths.isEmpty());

    const Run nul = cli(base + QStringList{QStringLiteral("-0")});
    QVERIFY2(nul.code == 0, qPrintable(runText(nul)));
    QVERIFY(nul.out.endsWith('\0'));
    QStringList nulPaths;
    for (const QByteArray& p : nul.out.chopped(1).split('\0'))
        nulPaths << QFile::decodeName(p);
    QCOMPARE(nulPaths, report.paths);

    const Run json = cli(base + QStringList{QStringLiteral("--json")});
    QVERIFY2(json.code == 0, qPrintable(runText(json)));
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json.out, &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QStringList jsonPaths;
    for (const QJsonValue& e : o.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject entry = e.toObject();
        jsonPaths << entry.value(QStringLiteral("path")).toString();
        const QFileInfo info(jsonPaths.last());
        QCOMPARE(entry.value(QStringLiteral("kind")).toString(),
                 info.isDir() ? QStringLiteral("folder") : QStringLiteral("file"));
        const qint64 size = info.isDir() ? 12000 : info.size();
        QCOMPARE(entry.value(QStringLiteral("size")).toVariant().toLongLong(), size);
        QVERIFY(!entry.value(QStringLiteral("origin")).toString().isEmpty());
    }
    QCOMPARE(jsonPaths, report.paths);
    const quint64 wasted = o.value(QStringLiteral("wasted_bytes")).toVariant().toULongLong();
    QCOMPARE(wastedLine(wasted, 1024), report.wasted);
    QCOMPARE(o.value(QStringLiteral("wasted_blocks")).toVariant().toULongLong(), wasted / 1024);
    QCOMPARE(o.value(QStringLiteral("proven_best")).toBool(), true);
    const QJsonObject t = o.value(QStringLiteral("target")).toObject();
    QCOMPARE(t.value(QStringLiteral("file_system")).toString(), QStringLiteral("NTFS"));
    QCOMPARE(t.value(QStringLiteral("capacity")).toVariant().toULongLong(), quint64(22 * 1024));
}

void TestCli::vanishedEntryWarned()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), {QStringLiteral("f a 5000"), QStringLiteral("f gone 6000")}));
    const QString project = tmp.path() + QStringLiteral("/p.qmp");
    QVERIFY(!writeProject(project, tmp.path(), {QStringLiteral("M a"), QStringLiteral("B gone")},
                          nullptr)
                 .isEmpty());
    QVERIFY(QFile::remove(tmp.path() + QStringLiteral("/gone")));
    const Run r =
        cli({QStringLiteral("dispense"), project, QStringLiteral("--fs"), QStringLiteral("NTFS"),
             QStringLiteral("--block-size"), QStringLiteral("4096"),
             QStringLiteral("--free-blocks"), QStringLiteral("2")});
    QVERIFY2(r.code == 0, qPrintable(runText(r)));
    QVERIFY2(isOneLine(r.err) && r.err.contains("/gone does not exist"), r.err.constData());
}

void TestCli::nothingFits_data()
{
    QTest::addColumn<QStringList>("args"); // %T: the folder with the files
    QTest::addColumn<QByteArray>("wasted");
    const QStringList figures = {QStringLiteral("--fs"), QStringLiteral("NTFS"),
                                 QStringLiteral("--block-size"), QStringLiteral("4096"),
                                 QStringLiteral("--free-blocks")};
    QTest::newRow("full volume") << QStringList{QStringLiteral("--main"), QStringLiteral("%T/a"),
                                                QStringLiteral("%T/b")} +
                                        figures + QStringList{QStringLiteral("0")}
                                 << QByteArray("Wasted: 0 bytes (0 blocks)");
    QTest::newRow("everything too large")
        << QStringList{QStringLiteral("--required"), QStringLiteral("%T/b")} + figures +
               QStringList{QStringLiteral("2")}
        << QByteArray("Wasted: 8192 bytes (2 blocks)");
    QTest::newRow("only parked entries")
        << QStringList{QStringLiteral("%T/parked.qmp")} + figures + QStringList{QStringLiteral("9")}
        << QByteArray("Wasted: 36864 bytes (9 blocks)");
}

void TestCli::nothingFits()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, wasted);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), {QStringLiteral("f a 5000"), QStringLiteral("f b 90000")}));
    QVERIFY(!writeProject(tmp.path() + QStringLiteral("/parked.qmp"), tmp.path(),
                          {QStringLiteral("N a")}, nullptr)
                 .isEmpty());
    for (QString& a : args)
        a.replace(QStringLiteral("%T"), tmp.path());
    const QString out = tmp.path() + QStringLiteral("/out.qmp");
    const Run r = cli(QStringList{QStringLiteral("dispense")} + args +
                      QStringList{QStringLiteral("--save"), out});
    QVERIFY2(r.code == 1, qPrintable(runText(r)));
    QVERIFY2(isOneLine(r.err) && r.err.contains("Nothing fits"), r.err.constData());
    const TextReport report = parseText(r.out);
    QVERIFY(report.paths.isEmpty());
    QCOMPARE(report.wasted, wasted);
    QVERIFY(!QFileInfo::exists(out));
}

void TestCli::timeLimitAccepts()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), endlessSearchTree()));
    const QString out = tmp.path() + QStringLiteral("/out.qmp");
    const Run r = cli(endlessSearchArgs(tmp.path()) +
                      QStringList{QStringLiteral("--time-limit"), QStringLiteral("0.5"),
                                  QStringLiteral("--save"), out, QStringLiteral("--json")});
    QVERIFY2(r.code == 0, qPrintable(runText(r)));
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(o.value(QStringLiteral("proven_best")).toBool(true), false);

    // The best selection of Main so far, and nothing of Background, which
    // the accepted search never reached.
    quint64 used = 0;
    for (const QJsonValue& e : o.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject entry = e.toObject();
        QCOMPARE(entry.value(QStringLiteral("origin")).toString(), QStringLiteral("Main"));
        used += entry.value(QStringLiteral("size")).toVariant().toULongLong() / 4096;
    }
    QVERIFY(used > 0 && used < s_endlessCapacity);
    QCOMPARE(o.value(QStringLiteral("wasted_bytes")).toVariant().toULongLong(),
             (s_endlessCapacity - used) * 4096);

    EntriesModel saved;
    QVERIFY2(saved.load(out, out), qPrintable(saved.lastError()));
    QCOMPARE(saved.groupSize(Dispensed), o.value(QStringLiteral("entries")).toArray().size());
    QCOMPARE(saved.groupSize(Background), 1);
}

void TestCli::interruptCancels()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), endlessSearchTree()));
    const QString out = tmp.path() + QStringLiteral("/out.qmp");
    QProcess p;
    p.start(QStringLiteral(QM_CLI_PATH),
            endlessSearchArgs(tmp.path()) + QStringList{QStringLiteral("--save"), out});
    QVERIFY(p.waitForStarted());
    QVERIFY(!p.waitForFinished(1500)); // searching, and would go on for ages
    ::kill(pid_t(p.processId()), SIGINT);
    QVERIFY2(p.waitForFinished(30000), "Ctrl+C did not end the search");
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(isOneLine(err) && err.contains("Cancelled"), err.constData());
    QVERIFY(p.readAllStandardOutput().isEmpty());
    QVERIFY(!QFileInfo::exists(out));
}

void TestCli::progressOnlyOnTerminal()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), endlessSearchTree()));
    const QStringList args =
        endlessSearchArgs(tmp.path()) +
        QStringList{QStringLiteral("--time-limit"), QStringLiteral("0.8"), QStringLiteral("-0")};

    const Run quiet = cli(args);
    QVERIFY2(quiet.code == 0, qPrintable(runText(quiet)));
    QVERIFY2(quiet.err.isEmpty(), quiet.err.constData());

    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        QSKIP("script(1) is needed to give the program a terminal");
    // script runs the command on a pseudo-terminal and copies what it shows.
    const QString command = QStringLiteral(QM_CLI_PATH) + QLatin1Char(' ') +
                            args.join(QLatin1Char(' ')) + QStringLiteral(" >/dev/null");
    const Run onTerminal =
        runProgram(script, {QStringLiteral("-qefc"), command, QStringLiteral("/dev/null")});
    QVERIFY2(onTerminal.code == 0, qPrintable(runText(onTerminal)));
    QVERIFY2(onTerminal.out.contains("Searching: best so far wastes"), onTerminal.out.constData());
    // The line is erased at the end, leaving nothing behind on the terminal.
    QVERIFY2(onTerminal.out.endsWith("\r\x1b[K"), onTerminal.out.constData());
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
