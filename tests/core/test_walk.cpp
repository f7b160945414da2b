#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

#include <unistd.h>

#include <QtTest>

#include "core/dispense/FilesPlaceWalker.h"
#include "core/dispense/Walk.h"
#include "tests/common/TreeMaker.h"

namespace {

// Records what a walk reports: "D" per folder, the size per file.
class Recorder : public FilesPlaceWalker
{
public:
    QStringList events;
    int folders = 0;
    std::atomic_bool* stopOnFirstFile = nullptr;
    int maxDescriptors = 0;
    bool countDescriptors = false;

    void onFolder() override
    {
        events << QStringLiteral("D");
        ++folders;
        if (countDescriptors)
            maxDescriptors = qMax(maxDescriptors, openDescriptors());
    }
    void onFile(const quint64& size) override
    {
        events << QString::number(size);
        if (stopOnFirstFile)
            stopOnFirstFile->store(true);
    }
    // The file sizes in ascending order, joined by commas.
    QString files() const
    {
        QList<quint64> sizes;
        for (const QString& e : events)
            if (e != QLatin1String("D"))
                sizes << e.toULongLong();
        std::sort(sizes.begin(), sizes.end());
        QStringList out;
        for (quint64 s : sizes)
            out << QString::number(s);
        return out.join(QLatin1Char(','));
    }

    static int openDescriptors()
    {
        return QDir(QStringLiteral("/proc/self/fd"))
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
            .size();
    }
};

using TreeMaker::lines;

const char kHelperFlag[] = "--walk-helper";

// Run as its own process (as an unprivileged user): walks argv[2] and prints
// "<folders> <sorted file sizes>".
int walkHelper(const char* path)
{
    Recorder r;
    walkFolder(r, QFile::decodeName(path));
    std::printf("%d %s\n", r.folders, qPrintable(r.files()));
    return 0;
}

} // namespace

class TestWalk : public QObject
{
    Q_OBJECT
private slots:
    void trees_data();
    void trees();
    void breadthFirst();
    void deepTrees_data();
    void deepTrees();
    void unreadableFolder();
    void descriptorsStayFew();
    void stopRequest_data();
    void stopRequest();
    void probe_data();
    void probe();

private:
    QTemporaryDir m_tmp;
};

void TestWalk::trees_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("start"); // %T is the temporary folder
    QTest::addColumn<QString>("files");
    QTest::addColumn<int>("folders");

    const QStringList nested =
        lines({"d:t/A/A1", "d:t/B", "f:t/A/a=1", "f:t/B/b=2", "f:t/A/A1/c=3"});
    const QStringList outside = lines({"d:t", "f:out/o=7"});
    const auto row = [](const char* name, const QStringList& tree, const char* start,
                        const char* files, int folders) {
        QTest::newRow(name) << tree << QString::fromUtf8(start) << QString::fromUtf8(files)
                            << folders;
    };
    row("file sizes", lines({"f:t/a=0", "f:t/b=1", "f:t/c=4096", "f:t/d=4097"}), "%T/t",
        "0,1,4096,4097", 0);
    row("empty folder", lines({"d:t"}), "%T/t", "", 0);
    row("empty sub-folders", lines({"d:t/E", "d:t/F/G"}), "%T/t", "", 3);
    row("hidden items", lines({"f:t/.h=5", "f:t/.d/x=6", "d:t/.e"}), "%T/t", "5,6", 2);
    row("nested", nested, "%T/t", "1,2,3", 3);
    row("trailing slash", nested, "%T/t/", "1,2,3", 3);
    row("relative path", nested, "t", "1,2,3", 3);
    row("names nothing", nested, "%T/t/missing", "", 0);
    row("a file", nested, "%T/t/A/a", "", 0);
    row("empty path", nested, "", "", 0);
    row("link to file", lines({"f:t/x=4097", "l:t/l->x"}), "%T/t", "4097,4097", 0);
    row("dangling link", lines({"d:t", "l:t/l->nowhere"}), "%T/t", "0", 0);
    row("link to itself", lines({"d:t", "l:t/l->l"}), "%T/t", "0", 0);
    row("link loop", lines({"f:t/A/a=1", "l:t/A/up->.."}), "%T/t", "1", 1);
    row("mutual links",
        lines({"f:t/A/a=1", "f:t/B/b=2", "l:t/A/toB->../B", "l:t/B/toA->../A"}), "%T/t", "1,2",
        2);
    row("two links to one folder", outside + lines({"l:t/L1->../out", "l:t/L2->../out"}), "%T/t",
        "7", 1);
    row("start is a link", outside + lines({"l:t/L->../out"}), "%T/t/L", "7", 0);
    row("named pipe", lines({"p:t/fifo", "f:t/x=2"}), "%T/t", "0,2", 0);
    row("odd names",
        lines({"f:t/a\\b=1", "f:t/ sp ace =2", "f:t/\xc3\xa9t\xc3\xa9=3", "f:t/..x=4",
               "f:t/.../y=5"}),
        "%T/t", "1,2,3,4,5", 1);
}

void TestWalk::trees()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, start);
    QFETCH(QString, files);
    QFETCH(int, folders);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    for (QString& line : tree)
        line.replace(QLatin1String("%T"), tmp.path());
    QString error;
    QVERIFY2(TreeMaker::make(tmp.path(), tree, &error), qPrintable(error));
    start.replace(QLatin1String("%T"), tmp.path());

    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(tmp.path());
    Recorder r;
    const bool complete = walkFolder(r, start);
    QDir::setCurrent(oldCwd);

    QVERIFY(complete);
    QCOMPARE(r.files(), files);
    QCOMPARE(r.folders, folders);
}

void TestWalk::breadthFirst()
{
    // Each file's size tells its depth (tens) within the tree.
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(TreeMaker::make(tmp.path(),
                            lines({"f:A/a=10", "f:B/b=11", "f:C/c=12", "f:A/A1/d=20", "f:B/B1/e=21",
                                   "f:C/C1/f=22", "f:A/A1/A2/g=30", "f:C/C1/C2/h=31", "f:top=0"})));
    Recorder r;
    QVERIFY(walkFolder(r, tmp.path()));
    QCOMPARE(r.folders, 8);
    QCOMPARE(r.files(), QStringLiteral("0,10,11,12,20,21,22,30,31"));
    int depth = 0;
    for (const QString& e : r.events) {
        if (e == QLatin1String("D"))
            continue;
        const int d = e.toInt() / 10;
        QVERIFY2(d >= depth, qPrintable(r.events.join(QLatin1Char(' '))));
        depth = d;
    }
}

void TestWalk::deepTrees_data()
{
    QTest::addColumn<int>("levels");
    QTest::addColumn<QString>("name");
    QTest::newRow("long names past the path limit") << 60 << QString(100, QLatin1Char('n'));
    QTest::newRow("10000 levels") << 10000 << QStringLiteral("d");
}

void TestWalk::deepTrees()
{
    QFETCH(int, levels);
    QFETCH(QString, name);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString bottom = TreeMaker::makeChain(tmp.path(), levels, name, 4097);
    QVERIFY(!bottom.isEmpty());
    QVERIFY(QFile::encodeName(bottom).size() > PATH_MAX);

    Recorder whole;
    const bool complete = walkFolder(whole, tmp.path());
    // A starting point and a file named by paths longer than the limit.
    const QString deepStart = bottom.left(bottom.size() - (name.size() + 1) * 3);
    Recorder part;
    const bool partComplete = walkFolder(part, deepStart);
    Recorder doubled;
    const bool doubledComplete =
        walkFolder(doubled, QString(deepStart).replace(QLatin1String("/"), QLatin1String("//")));
    quint64 size = 0;
    const bool probed = probeFile(bottom + QStringLiteral("/bottom"), size);
    const bool probedFolder = probeFile(bottom, size);
    TreeMaker::remove(tmp.path());

    QVERIFY(complete);
    QCOMPARE(whole.folders, levels);
    QCOMPARE(whole.files(), QStringLiteral("4097"));
    QVERIFY(partComplete);
    QCOMPARE(part.folders, 3);
    QCOMPARE(part.files(), QStringLiteral("4097"));
    QVERIFY(doubledComplete);
    QCOMPARE(doubled.events, part.events);
    QVERIFY(probed);
    QVERIFY(!probedFolder);
}

void TestWalk::unreadableFolder()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(TreeMaker::make(tmp.path(), lines({"f:t/a=1", "f:t/locked/s=5", "d:t/locked/inner",
                                               "f:t/open/o=2", "f:t/open/sub/p=3"})));
    const QString locked = tmp.path() + QStringLiteral("/t/locked");
    QStringList command;
    if (::geteuid() == 0) {
        // Root reads anything: walk as an unprivileged user instead. The
        // temporary folder and a copy of this program must be reachable for it.
        QVERIFY(QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ReadOther |
                                                      QFile::ExeOther));
        QVERIFY(
            QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString exe = tmp.path() + QStringLiteral("/walker");
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), exe));
        const QStringList asNobody{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                   QStringLiteral("--clear-groups")};
        if (QProcess::execute(QStringLiteral("setpriv"),
                              asNobody + QStringList{QStringLiteral("true")}) != 0)
            QSKIP("setpriv cannot switch to an unprivileged user here: cannot make a folder "
                  "unreadable");
        command = QStringList{QStringLiteral("setpriv")} + asNobody + QStringList{exe};
    } else {
        QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
        command = QStringList{QCoreApplication::applicationFilePath()};
    }
    command << QString::fromLatin1(kHelperFlag) << tmp.path() + QStringLiteral("/t");
    QProcess p;
    p.start(command.takeFirst(), command);
    QVERIFY(p.waitForFinished(30000));
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(p.exitCode(), 0);
    // The locked folder counts as a folder with nothing in it.
    QCOMPARE(out, QStringLiteral("3 1,2,3"));
}

void TestWalk::descriptorsStayFew()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QStringList tree;
    for (int i = 0; i < 300; ++i)
        tree << QStringLiteral("f:W%1/S/f=1").arg(i);
    QVERIFY(TreeMaker::make(tmp.path(), tree));
    const int before = Recorder::openDescriptors();
    Recorder r;
    r.countDescriptors = true;
    QVERIFY(walkFolder(r, tmp.path()));
    QCOMPARE(r.folders, 600);
    QVERIFY2(r.maxDescriptors - before <= 12,
             qPrintable(QString::number(r.maxDescriptors - before)));
    QCOMPARE(Recorder::openDescriptors(), before);
}

void TestWalk::stopRequest_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<bool>("stopFirst");
    QTest::addColumn<int>("maxFiles");
    QTest::addColumn<int>("folders");

    const QStringList small = lines({"f:a=1", "f:b=2", "f:A/c=3", "f:B/d=4", "f:B/C/e=5"});
    QStringList wide = lines({"f:A/x=1"});
    for (int i = 0; i < 5000; ++i)
        wide << QStringLiteral("f:f%1=1").arg(i);
    QTest::newRow("before the start") << small << true << 0 << 0;
    QTest::newRow("at the first file") << small << false << 2 << 0;
    QTest::newRow("inside a large folder") << wide << false << 4999 << 0;
}

void TestWalk::stopRequest()
{
    QFETCH(QStringList, tree);
    QFETCH(bool, stopFirst);
    QFETCH(int, maxFiles);
    QFETCH(int, folders);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(TreeMaker::make(tmp.path(), tree));
    std::atomic_bool stop{stopFirst};
    Recorder r;
    r.stopOnFirstFile = &stop;
    QVERIFY(!walkFolder(r, tmp.path(), &stop));
    QVERIFY2(r.events.size() - r.folders <= maxFiles, qPrintable(QString::number(r.events.size())));
    QCOMPARE(r.folders, folders);
}

void TestWalk::probe_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isFile");
    QTest::addColumn<quint64>("size");
    QTest::newRow("file") << "big" << true << Q_UINT64_C(4097);
    QTest::newRow("folder") << "dir" << false << Q_UINT64_C(0);
    QTest::newRow("names nothing") << "missing" << false << Q_UINT64_C(0);
    QTest::newRow("file with slash") << "big/" << false << Q_UINT64_C(0);
    QTest::newRow("link to file") << "tofile" << true << Q_UINT64_C(4097);
    QTest::newRow("link to folder") << "todir" << false << Q_UINT64_C(0);
    QTest::newRow("dangling link") << "dangling" << true << Q_UINT64_C(0);
    QTest::newRow("named pipe") << "fifo" << true << Q_UINT64_C(0);
}

void TestWalk::probe()
{
    QFETCH(QString, path);
    QFETCH(bool, isFile);
    QFETCH(quint64, size);

    QVERIFY(m_tmp.isValid());
    const QString base = m_tmp.path() + QStringLiteral("/probe");
    if (!QFileInfo::exists(base))
        QVERIFY(TreeMaker::make(base, lines({"f:big=4097", "d:dir", "l:tofile->big",
                                             "l:todir->dir", "l:dangling->missing", "p:fifo"})));
    quint64 got = 12345;
    const bool result = probeFile(base + QLatin1Char('/') + path, got);
    QCOMPARE(result, isFile);
    if (isFile)
        QCOMPARE(got, size);
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kHelperFlag) == 0)
        return walkHelper(argv[2]);
    QCoreApplication app(argc, argv);
    TestWalk t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_walk.moc"
