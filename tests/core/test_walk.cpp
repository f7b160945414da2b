// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

#include <QtTest>

#include "core/dispense/FilesPlaceWalker.h"
#include "core/dispense/Walk.h"
#include "tests/common/TreeMaker.h"

// What a walk reports, as "folders:file sizes" (sizes sorted as text).
struct Recorder : FilesPlaceWalker
{
    int folders = 0;
    QStringList files;
    void onFolder() override { ++folders; }
    void onFile(const quint64& size) override { files << QString::number(size); }
    QString text()
    {
        files.sort();
        return QString::number(folders) + ':' + files.join(',');
    }
};

const char kHelperFlag[] = "--walk-helper";

// Run by trees in a process of its own: prints what probeFile and walkFolder
// find for path, with few descriptors allowed, so that a walk keeping one per
// folder fails.
int walkHelper(const char* path)
{
    const rlimit few{32, 32};
    ::setrlimit(RLIMIT_NOFILE, &few);
    quint64 size = 0;
    const QString start = QFile::decodeName(path);
    const QString probed = probeFile(start, size) ? QString::number(size) : "-";
    Recorder r;
    const char* ends[] = {"", " stopped", " unreadable", " missing", " out of memory"};
    const int end = int(walkFolder(r, start));
    return std::printf("%s %s%s\n", qPrintable(probed), qPrintable(r.text()), ends[end]) < 0;
}

class TestWalk : public QObject
{
    Q_OBJECT
private slots:
    void trees_data()
    {
        // A folder "locked" is made unreadable; "c:" makes below t a chain of
        // 60 folders of 100-letter names, too deep for any path to name, with
        // a file at the bottom.
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QString>("start"); // %T is the temporary folder
        QTest::addColumn<QString>("found"); // the start's size as a file or "-", the walk
        const auto row = [](const char* name, const QStringList& tree, const char* found,
                            const char* start = "%T/t") {
            QTest::newRow(name) << tree << QString(start) << QString(found);
        };
        const QStringList nested{"d:t/A/A1", "d:t/B", "f:t/A/a=1", "f:t/B/b=2", "f:t/A/A1/c=3"};
        QStringList wide;
        for (int i = 0; i < 300; ++i)
            wide << QStringLiteral("d:t/W%1/S").arg(i);
        row("file sizes", {"f:t/a=0", "f:t/b=1", "f:t/c=4096", "f:t/d=4097"}, "- 0:0,1,4096,4097");
        row("nested", nested, "- 3:1,2,3");
        row("trailing slash", nested, "- 3:1,2,3", "%T/t/");
        row("names nothing", nested, "- 0: missing", "%T/t/missing");
        row("a file", nested, "1 0: missing", "%T/t/A/a");
        row("link to file", {"f:t/x=4097", "l:t/l->x"}, "- 0:4097,4097");
        row("start is a link to a file", {"f:x=4097", "l:t->x"}, "4097 0: missing");
        row("hard link", {"f:t/x=4097", "h:t/h->t/x"}, "- 0:4097,4097");
        row("dangling link", {"d:t", "l:t/l->nowhere"}, "- 0:0");
        row("link to itself", {"d:t", "l:t/l->l"}, "- 0:0");
        row("link loop", {"f:t/A/a=1", "l:t/A/up->.."}, "- 1:1");
        row("mutual links", {"f:t/A/a=1", "f:t/B/b=2", "l:t/A/B->../B", "l:t/B/A->../A"},
            "- 2:1,2");
        row("two links to one folder", {"f:o/x=7", "l:t/L1->../o", "l:t/L2->../o"}, "- 1:7");
        row("start is a link", {"f:o/x=7", "l:t->o"}, "- 0:7");
        row("named pipe", {"p:t/fifo", "f:t/x=2"}, "- 0:0,2");
        row("hidden and odd names",
            {"f:t/.h=1", "f:t/.d/x=2", "f:t/a\\b=3", "f:t/ sp ace =4", "f:t/\xc3\xa9=5",
             "f:t/.../y=6"},
            "- 2:1,2,3,4,5,6");
        // Counted as a folder with nothing in it, and the total as unknown.
        row("unreadable folder", {"f:t/a=1", "f:t/locked/s=5", "d:t/locked/in", "f:t/open/sub/p=3"},
            "- 3:1,3 unreadable");
        row("unreadable start", {"f:t/locked/s=5"}, "- 0: unreadable", "%T/t/locked");
        row("600 folders", wide, "- 600:");
        const QString deep = "%T/t" + QString("/" + QString(100, 'n')).repeated(60);
        row("deeper than the path limit", {"d:t", "c:"}, "- 60:4097");
        row("start beyond the path limit", {"d:t", "c:"}, "- 3:4097",
            qPrintable(deep.chopped(303)));
        row("file beyond the path limit", {"d:t", "c:"}, "4097 0: missing",
            qPrintable(deep + "/bottom"));
    }

    // The walk runs in a copy of this program, as an unprivileged user when the
    // test runs as root, since root reads anything.
    void trees()
    {
        QFETCH(QStringList, tree);
        QFETCH(QString, start);
        QFETCH(QString, found);
        QTemporaryDir tmp;
        QVERIFY(TreeMaker::make(tmp.path(), tree.filter(QRegularExpression("^[^c]"))));
        const QString chain("cd %1/t && for i in $(seq 60); do mkdir %2 && cd %2 || exit 1; done; "
                            "truncate -s 4097 bottom");
        if (tree.contains("c:"))
            QCOMPARE(QProcess::execute("bash", {"-c", chain.arg(tmp.path(), QString(100, 'n'))}),
                     0);
        QVERIFY(
            QFile::setPermissions(tmp.path(), QFile::permissions(tmp.path()) | QFile::ExeOther));
        QFile::setPermissions(tmp.path() + "/t/locked", QFileDevice::Permissions());
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), tmp.path() + "/walk"));
        QStringList command{tmp.path() + "/walk", kHelperFlag, start.replace("%T", tmp.path())};
        if (::geteuid() == 0)
            command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} +
                      command;
        QProcess p;
        p.setWorkingDirectory(tmp.path());
        p.start(command.takeFirst(), command);
        QVERIFY(p.waitForFinished(60000));
        QFile::setPermissions(tmp.path() + "/t/locked",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QProcess::execute("rm", {"-rf", tmp.path()}); // QDir gives up past the path limit
        QCOMPARE(QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed(), found);
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kHelperFlag) == 0)
        return walkHelper(argv[2]);
    QCoreApplication app(argc, argv);
    TestWalk t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_walk.moc"
