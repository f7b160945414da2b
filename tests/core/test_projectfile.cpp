#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "core/model/EntriesModel.h"
#include "core/model/ProjectData.h"
#include "core/model/ProjectFile.h"

Q_DECLARE_METATYPE(ProjectData)

namespace {

const quint64 Big = Q_UINT64_C(1) << 63;
const quint64 Max = ~Q_UINT64_C(0);

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

Entry entry(const QString& ident, quint64 size, int kind = File,
            const QString& name = QStringLiteral("n"), const QString& path = QStringLiteral("/p"),
            bool valid = true)
{
    return Entry{name, path, ident, size, valid, kind};
}

QString num(quint64 v)
{
    return QString::number(v);
}

// Readable text of a project, so a failed comparison shows where it differs.
QString dump(const ProjectData& d)
{
    const Target& t = d.target;
    QStringList out{
        d.hasTarget
            ? QStringList{t.Path, num(t.FileSystem), num(t.BlockSize), num(t.AvailableBlocks)}.join(
                  '|')
            : QStringLiteral("no target")};
    for (int g = 0; g < 5; ++g)
        for (const Entry& e : d.groups[g])
            out << QStringList{num(g), e.Ident,     num(e.Size),       e.Name,
                               e.Path, num(e.Kind), num(e.IsValidSize)}
                       .join('|');
    for (int o : d.origins)
        out << QStringLiteral("origin ") + num(o);
    return out.join('\n');
}

// Equal field by field; the dump shows where they differ.
#define COMPARE_DATA(actual, expected)                                                             \
    do {                                                                                           \
        QCOMPARE(dump(actual), dump(expected));                                                    \
        QVERIFY((actual) == (expected));                                                           \
    } while (0)

// What the model holds, read through its interface.
ProjectData modelData(EntriesModel& m)
{
    ProjectData d;
    for (int g = 0; g < 5; ++g)
        for (EntryPos p = m.groupBegin(g); m.isValidPos(p); ++p.index)
            d.groups[g].append(m.entryAt(p));
    d.origins = m.origins();
    d.hasTarget = m.hasTarget();
    if (d.hasTarget)
        d.target = m.target();
    return d;
}

// Everything a user could notice of a model, for "nothing changed" checks.
QString modelState(EntriesModel& m)
{
    QString name;
    const bool untitled = m.projectFile(name);
    return QStringList{name,
                       num(untitled),
                       num(m.isModified()),
                       num(m.isDispensed()),
                       num(m.totalCount()),
                       num(m.totalSize()),
                       num(m.wastedSize()),
                       m.filePath(),
                       dump(modelData(m))}
        .join('\n');
}

QByteArray project(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Quillmarch>" + body + "</Quillmarch>\n";
}

QByteArray entryXml(const QByteArray& ident, const QByteArray& size, const QByteArray& kind,
                    const QByteArray& extra = QByteArray())
{
    return "<Entry><Ident>" + ident + "</Ident><Size>" + size + "</Size><Name>n</Name>" +
           "<Path>/p</Path><Kind>" + kind + "</Kind>" + extra + "</Entry>";
}

// Characters a Linux file name may hold and XML 1.0 can carry, with the ones
// that need escaping or character references.
QString randomText(QRandomGenerator& rng)
{
    static const QString pool = QStringLiteral("abcXYZ019 ._-/\\<>&\"'\t\n\r\u00e9\u00df\u4e2d"
                                               "\u007f\u0085\u00a0\ufffd\u2028") +
                                QString::fromUtf8("\xf0\x9f\x98\x80"); // a surrogate pair
    QString s;
    for (int i = rng.bounded(0, 24); i > 0; --i) {
        const int k = rng.bounded(pool.size());
        s += pool.at(k).isSurrogate() ? pool.right(2) : QString(pool.at(k));
    }
    if (rng.bounded(8) == 0)
        s += QStringLiteral("\r\n");
    return s;
}

quint64 randomSize(QRandomGenerator& rng)
{
    // 0, 2^63 and above, the largest, small, anything.
    const quint64 kinds[] = {0, Big + rng.generate64() % Big, Max, rng.bounded(100000u),
                             rng.generate64()};
    return kinds[rng.bounded(5)];
}

ProjectData randomProject(quint32 seed, bool withTarget, int perGroup)
{
    QRandomGenerator rng(seed);
    ProjectData d;
    d.hasTarget = withTarget;
    if (withTarget)
        d.target = Target{randomText(rng), int(rng.bounded(3)), 1 + rng.generate64() % Max,
                          randomSize(rng)};
    for (int g = 0; g < 5; ++g) {
        for (int i = rng.bounded(perGroup + 1); i > 0; --i) {
            d.groups[g].append(entry(randomText(rng), randomSize(rng), rng.bounded(2),
                                     randomText(rng), randomText(rng)));
            if (g == Dispensed)
                d.origins.append(rng.bounded(1, 4));
        }
    }
    return d;
}

// Mounts a read-only view of dir over itself; false when this machine forbids it.
bool bindReadOnly(const QString& dir)
{
    const QByteArray d = QFile::encodeName(dir);
    if (::mount(d.constData(), d.constData(), nullptr, MS_BIND, nullptr) != 0)
        return false;
    if (::mount(nullptr, d.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        ::umount2(d.constData(), MNT_DETACH);
        return false;
    }
    return true;
}

struct Unmount
{
    QString dir;
    ~Unmount()
    {
        if (!dir.isEmpty())
            ::umount2(QFile::encodeName(dir).constData(), MNT_DETACH);
    }
};

qint64 vmSizeBytes()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void writesExactText_data();
    void writesExactText();
    void roundTripsThroughModel_data();
    void roundTripsThroughModel();
    void modelBuiltByOperationsRoundTrips();
    void readsLenientContent_data();
    void readsLenientContent();
    void failedReadChangesNothing_data();
    void failedReadChangesNothing();
    void readsNonFilesWithoutBlocking();
    void unreadableFileIsReported();
    void memoryStaysBounded();
    void saveFailureKeepsOldFile_data();
    void saveFailureKeepsOldFile();
    void refusesTextsXmlCannotCarry_data();
    void refusesTextsXmlCannotCarry();
    void loadSetsModelState_data();
    void loadSetsModelState();
    void saveReplacesFile();

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

void TestProjectFile::writesExactText_data()
{
    QTest::addColumn<ProjectData>("data");
    QTest::addColumn<QByteArray>("text");

    const Entry live = entry(QStringLiteral("/music/Live"), 900, Folder, QStringLiteral("Live"),
                             QStringLiteral("/music"));
    ProjectData example;
    example.hasTarget = true;
    example.target = Target{QStringLiteral("/media/e"), NTFS, 4096, 500};
    example.groups[Main] << live;
    QTest::newRow("one folder in Main")
        << example << QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<Quillmarch>
    <Target>
        <Path>/media/e</Path>
        <AvailableBlocks>500</AvailableBlocks>
        <BlockSize>4096</BlockSize>
        <FileSystem>NTFS</FileSystem>
    </Target>
    <Dispensed/>
    <Required/>
    <Main>
        <Entry>
            <Ident>/music/Live</Ident>
            <Size>900</Size>
            <Name>Live</Name>
            <Path>/music</Path>
            <Kind>1</Kind>
        </Entry>
    </Main>
    <Background/>
    <NotInUse/>
</Quillmarch>
)");

    ProjectData other;
    other.groups[Dispensed] << live;
    other.origins << Main;
    other.groups[NotInUse] << entry(QStringLiteral("/a\\b<c>&\"d'\t\n\r\u00e9"), Big, File,
                                    QString(), QStringLiteral("\r\n"));
    QTest::newRow("no target, origin, escapes, empty text, 2^63")
        << other << QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<Quillmarch>
    <Dispensed>
        <Entry>
            <Ident>/music/Live</Ident>
            <Size>900</Size>
            <Name>Live</Name>
            <Path>/music</Path>
            <Kind>1</Kind>
            <Origin>2</Origin>
        </Entry>
    </Dispensed>
    <Required/>
    <Main/>
    <Background/>
    <NotInUse>
        <Entry>
            <Ident>/a\b&lt;c&gt;&amp;&quot;d'&#9;&#10;&#13;é</Ident>
            <Size>9223372036854775808</Size>
            <Name></Name>
            <Path>&#13;&#10;</Path>
            <Kind>0</Kind>
        </Entry>
    </NotInUse>
</Quillmarch>
)");
}

// The model saves through the same writer: the round trip below checks that
// its file is byte-identical to the writer's.
void TestProjectFile::writesExactText()
{
    QFETCH(ProjectData, data);
    QFETCH(QByteArray, text);
    const QString file = path(QStringLiteral("exact.qmp"));
    QString error;
    QVERIFY2(writeProjectFile(file, data, &error), qPrintable(error));
    QCOMPARE(fileBytes(file), text);
}

void TestProjectFile::roundTripsThroughModel_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("withTarget");
    QTest::addColumn<int>("perGroup");
    QTest::newRow("target, large") << 1u << true << 800;
    QTest::newRow("no target, small") << 4u << false << 2;
}

void TestProjectFile::roundTripsThroughModel()
{
    QFETCH(quint32, seed);
    QFETCH(bool, withTarget);
    QFETCH(int, perGroup);

    const ProjectData data = randomProject(seed, withTarget, perGroup);
    const QString first = path(QStringLiteral("first.qmp"));
    const QString second = path(QStringLiteral("second.qmp"));
    QString error;
    QVERIFY2(writeProjectFile(first, data, &error), qPrintable(error));

    EntriesModel a;
    QVERIFY2(a.load(first, QStringLiteral("first")), qPrintable(a.lastError()));
    COMPARE_DATA(modelData(a), data);

    // Saved by the model and read into another: equal field by field, byte-identical file.
    QVERIFY2(a.saveAs(second), qPrintable(a.lastError()));
    QCOMPARE(fileBytes(second), fileBytes(first));
    EntriesModel b;
    QVERIFY2(b.load(second, QStringLiteral("second")), qPrintable(b.lastError()));
    COMPARE_DATA(modelData(b), data);
}

// Built the way the commands do it, with folders whose size is still unknown:
// the saved project reads back equal, a stored size counting as known.
void TestProjectFile::modelBuiltByOperationsRoundTrips()
{
    QRandomGenerator rng(42);
    EntriesModel m;
    m.setTarget(Target{QStringLiteral("/media/stick"), FAT, 32768, Big + 5});
    for (int i = 0; i < 300; ++i) {
        EntryPos p = m.addEntry(entry(QStringLiteral("/data/") + randomText(rng), randomSize(rng),
                                      rng.bounded(2), randomText(rng), QStringLiteral("/data"),
                                      rng.bounded(3) != 0));
        m.moveEntry(p, rng.bounded(1, 5));
    }
    DispenseQueue q;
    for (int g = Required; g <= Background; ++g)
        for (EntryPos p = m.groupBegin(g); m.isValidPos(p); p.index += 3)
            q.push(p);
    m.applyDispense(q, 77);
    QVERIFY(m.groupSize(Dispensed) > 50);

    const QString file = path(QStringLiteral("ops.qmp"));
    QVERIFY2(m.saveAs(file), qPrintable(m.lastError()));
    ProjectData expected = modelData(m);
    for (QVector<Entry>& g : expected.groups)
        for (Entry& e : g)
            e.IsValidSize = true;
    EntriesModel back;
    QVERIFY2(back.load(file, QStringLiteral("ops")), qPrintable(back.lastError()));
    COMPARE_DATA(modelData(back), expected);
}

void TestProjectFile::readsLenientContent_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<ProjectData>("expected");

    const Entry a = entry(QStringLiteral("/a"), 1, File);
    const Entry b = entry(QStringLiteral("/b"), 2, Folder);
    const Entry c = entry(QStringLiteral("/c"), 3, File);
    const QByteArray ea = entryXml("/a", "1", "0");
    const QByteArray eb = entryXml("/b", "2", "1");
    const QByteArray ec = entryXml("/c", "3", "0");
    const QByteArray tgt = "<Target><Path>/mnt</Path><AvailableBlocks>10</AvailableBlocks>"
                           "<BlockSize>512</BlockSize><FileSystem>FAT</FileSystem></Target>";
    ProjectData base;
    base.hasTarget = true;
    base.target = Target{QStringLiteral("/mnt"), FAT, 512, 10};
    base.groups[Main] << a;
    base.groups[Dispensed] << b;
    base.origins << Background;
    const QByteArray baseBody = tgt + "<Dispensed>" +
                                entryXml("/b", "2", "1", "<Origin>3</Origin>") + "</Dispensed>" +
                                "<Main>" + ea + "</Main>";

    QTest::newRow("plain") << project(baseBody) << base;
    QTest::newRow("no declaration, other spacing")
        << QByteArray("<Quillmarch>\n\t" + baseBody + "\n</Quillmarch>") << base;

    // Unknown things at every level are passed over, with whatever they hold:
    // in the root, the target, a group, an entry and inside a field.
    QTest::newRow("unknown elements at every level")
        << project("<Extra><Main>" + ec + "</Main></Extra>" +
                   "<Target><Colour>red</Colour><Path>/mnt</Path><AvailableBlocks>10"
                   "</AvailableBlocks><BlockSize>512</BlockSize><Entry/><FileSystem>FAT"
                   "</FileSystem></Target>"
                   "<Dispensed><Origin>1</Origin><x/>" +
                   entryXml("/b", "2", "1", "<Origin>3</Origin><Date>x</Date><Entry/>") +
                   "<Ident>/z</Ident></Dispensed>"
                   "<Main>stray text<Other>" +
                   ec +
                   "</Other>"
                   "<Entry><Ident>/<b>bold</b>a</Ident><Size>1</Size><Name>n</Name><Path>/p"
                   "</Path><Kind>0</Kind><Note><Ident>/zz</Ident></Note></Entry>" +
                   "<Target><Path>/x</Path><BlockSize>1</BlockSize><FileSystem>UDF</FileSystem>"
                   "</Target></Main><Zzz/>text")
        << base;
    QTest::newRow("comments, instructions, attributes, CDATA")
        << project("<!-- c -->" + tgt + "<?pi x?><Dispensed a=\"1\">" +
                   entryXml("/b", "2", "1", "<Origin>3</Origin>") +
                   "</Dispensed><Main><Entry k=\"v\"><Ident><![CDATA[/a]]></Ident><Size>1"
                   "<!-- c --></Size><Name>n</Name><Path>/<?x?>p</Path><Kind>0</Kind></Entry>"
                   "</Main>")
        << base;

    // Groups in any order and repeated: entries in file order.
    ProjectData order;
    order.groups[Main] << a << c;
    order.groups[NotInUse] << b;
    order.groups[Dispensed] << c << a;
    order.origins << Required << Main;
    order.groups[Required] << b;
    QTest::newRow("groups in any order, repeated")
        << project("<NotInUse>" + eb + "</NotInUse><Main>" + ea + "</Main><Dispensed>" +
                   entryXml("/c", "3", "0", "<Origin>1</Origin>") + "</Dispensed><Required>" + eb +
                   "</Required><Main>" + ec + "</Main><Dispensed>" + ea + "</Dispensed><Required/>")
        << order;

    // Fields missing or empty take defaults, never the previous entry's values.
    ProjectData defaults;
    defaults.groups[Main] << a << entry(QString(), 0, Folder, QString(), QString(), false)
                          << entry(QStringLiteral("/d"), 0, Folder, QString(), QString(), false)
                          << b;
    QTest::newRow("missing and empty fields")
        << project("<Main>" + ea + "<Entry/>" +
                   "<Entry><Ident>/d</Ident><Size></Size><Name/><Path></Path><Kind/></Entry>" + eb +
                   "</Main>")
        << defaults;

    // Numbers: unsigned 64-bit sizes; anything else reads as 0.
    ProjectData numbers;
    QByteArray numbersXml;
    const struct
    {
        const char* size;
        const char* kind;
        quint64 readSize;
        int readKind;
    } nums[] = {{"9223372036854775808", "0", Big, 0},
                {"18446744073709551615", "1", Max, 1},
                {"18446744073709551616", "7", 0, 0},
                {"-5", "-1", 0, 0},
                {"1e3", "x", 0, 0},
                {" 12\n", " 1 ", 12, 1},
                {"+3", "99999999999999999999", 0, 0}};
    for (const auto& n : nums) {
        numbersXml += entryXml("/a", n.size, n.kind);
        numbers.groups[Required] << entry(QStringLiteral("/a"), n.readSize, n.readKind);
    }
    QTest::newRow("sizes and kinds")
        << project("<Required>" + numbersXml + "</Required>") << numbers;

    // Origins: one per dispensed entry, in order; missing or foreign means Main.
    ProjectData origins;
    origins.groups[Dispensed] << a << b << c << a << b;
    origins.origins << Main << Main << Required << Main << Background;
    origins.groups[Main] << c;
    QTest::newRow("origins made consistent")
        << project(
               "<Dispensed><Origin>3</Origin>" + ea +
               entryXml("/b", "2", "1", "<Origin>0</Origin>") +
               entryXml("/c", "3", "0", "<Origin>3</Origin><Origin>1</Origin>") +
               entryXml("/a", "1", "0", "<Origin>4</Origin>") +
               entryXml("/b", "2", "1", "<Origin>-1</Origin><Origin>x</Origin><Origin>3</Origin>") +
               "</Dispensed><Main>" + entryXml("/c", "3", "0", "<Origin>1</Origin>") + "</Main>")
        << origins;

    // Targets that cannot be used read as none; the last target element decides.
    const auto targetRow = [](const char* name, const QByteArray& xml, const Target& t = {}) {
        ProjectData d;
        d.hasTarget = t.BlockSize != 0;
        d.target = t;
        QTest::newRow(name) << project(xml + "<Main/>") << d;
    };
    const QByteArray m1 = "<Target><Path>/m</Path><AvailableBlocks>1</AvailableBlocks>";
    targetRow("file system in lower case",
              m1 + "<BlockSize>512</BlockSize><FileSystem>ntfs</FileSystem></Target>");
    targetRow("file system missing", m1 + "<BlockSize>512</BlockSize></Target>");
    targetRow("block size 0", m1 + "<BlockSize>0</BlockSize><FileSystem>UDF</FileSystem></Target>");
    targetRow("block size missing", m1 + "<FileSystem>UDF</FileSystem></Target>");
    targetRow("only block size and file system",
              "<Target><BlockSize>18446744073709551615</BlockSize><FileSystem>UDF</FileSystem>"
              "</Target>",
              Target{QString(), UDF, Max, 0});
    targetRow("second target replaces the first",
              tgt + "<Target><Path>/n</Path><BlockSize>4096</BlockSize><FileSystem>NTFS"
                    "</FileSystem></Target>",
              Target{QStringLiteral("/n"), NTFS, 4096, 0});
    targetRow("unusable second target", tgt + "<Target><Path>/n</Path></Target>");

    QTest::newRow("root only") << QByteArray("<Quillmarch/>") << ProjectData();
}

void TestProjectFile::readsLenientContent()
{
    QFETCH(QByteArray, file);
    QFETCH(ProjectData, expected);

    const QString p = path(QStringLiteral("lenient.qmp"));
    QVERIFY(putFile(p, file));
    ProjectData read;
    QString error;
    QVERIFY2(readProjectFile(p, read, &error), qPrintable(error));
    COMPARE_DATA(read, expected);
}

void TestProjectFile::failedReadChangesNothing_data()
{
    QTest::addColumn<QByteArray>("file"); // "-" for no file at all
    QTest::addColumn<QString>("message");

    const QString notOurs = QStringLiteral("is not a Quillmarch project");
    const QString damaged = QStringLiteral("is damaged at line");
    const QByteArray good =
        project("<Target><Path>/m</Path><AvailableBlocks>1</AvailableBlocks><BlockSize>512"
                "</BlockSize><FileSystem>UDF</FileSystem></Target><Main>" +
                entryXml("/a", "1", "0") + entryXml("/b", "2", "1") + "</Main>");
    QByteArray garbage(4096, '\0');
    QRandomGenerator rng(3);
    for (char& ch : garbage)
        ch = char(rng.bounded(256));

    QTest::newRow("missing file") << QByteArray("-") << QStringLiteral("was not found");
    QTest::newRow("empty file") << QByteArray() << notOurs + QStringLiteral(": it is empty");
    QTest::newRow("other root, same children")
        << QByteArray(good).replace("Quillmarch", "Quillmarsh") << notOurs;
    QTest::newRow("binary garbage") << garbage << notOurs;
    QTest::newRow("garbage after a good start") << good.left(120) + garbage << damaged;
    QTest::newRow("cut in the declaration") << good.left(30) << notOurs;
    QTest::newRow("cut in the target") << good.left(100) << damaged;
    QTest::newRow("cut at the end") << good.left(good.size() - 3) << damaged;
    QTest::newRow("content after the root") << good + "<Quillmarch/>" << damaged;
    QTest::newRow("tags crossed") << project("<Main><Entry><Ident>/a</Entry></Ident></Main>")
                                  << damaged + QStringLiteral(" 2");
    QTest::newRow("character reference XML forbids")
        << project("<Main><Entry><Ident>a&#1;b</Ident></Entry></Main>") << damaged;
    QTest::newRow("invalid UTF-8")
        << project("<Main><Entry><Ident>a\xff\xfe</Ident></Entry></Main>") << damaged;
    QTest::newRow("DTD") << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE Quillmarch>"
                                       "<Quillmarch><Main/></Quillmarch>")
                         << QStringLiteral("document type declaration");
    QTest::newRow("entity expansion")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE Quillmarch [\n"
                      "<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">\n"
                      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
                      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
                      "]>\n<Quillmarch><Main><Entry><Ident>&c;&c;&c;</Ident></Entry></Main>"
                      "</Quillmarch>")
        << QStringLiteral("document type declaration");
    QTest::newRow("very deep nesting")
        << "<Quillmarch><Main><Entry>" + QByteArray("<a>").repeated(100000)
        << QStringLiteral("nested too deeply");
    QTest::newRow("many entries, then cut short")
        << "<Quillmarch><Main>" + entryXml("/w", "1", "0").repeated(20000) << damaged;
}

void TestProjectFile::failedReadChangesNothing()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);

    const QString p = path(QStringLiteral("bad.qmp"));
    QFile::remove(p);
    if (file != "-")
        QVERIFY(putFile(p, file));

    // A model holding a loaded project with an unsaved change.
    EntriesModel m;
    ProjectData d = randomProject(7, true, 4);
    d.groups[Dispensed] << entry(QStringLiteral("/x"), 5);
    d.origins << Required;
    const QString good = path(QStringLiteral("good.qmp"));
    QVERIFY(writeProjectFile(good, d));
    QVERIFY(m.load(good, QStringLiteral("good")));
    m.addEntry(entry(QStringLiteral("/new"), 9));

    const QString before = modelState(m);
    QVERIFY(!m.load(p, QStringLiteral("bad")));
    QCOMPARE(modelState(m), before);
    QVERIFY2(m.lastError().contains(message), qPrintable(m.lastError()));
    QVERIFY2(m.lastError().contains(p), qPrintable(m.lastError()));
    QVERIFY(m.lastError().endsWith(QLatin1Char('.')));

    // The reader itself leaves its output alone.
    ProjectData out = randomProject(11, true, 3);
    const ProjectData copy = out;
    QVERIFY(!readProjectFile(p, out));
    QVERIFY(out == copy);
}

void TestProjectFile::readsNonFilesWithoutBlocking()
{
    // A pipe nobody writes to would block the open; a device never ends.
    const QString fifo = path(QStringLiteral("fifo.qmp"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    for (const QString& p : {fifo, QStringLiteral("/dev/zero"), m_dir.path()}) {
        ProjectData out;
        QString error;
        QVERIFY(!readProjectFile(p, out, &error));
        QVERIFY2(error.contains(QStringLiteral("not a file")), qPrintable(error));
    }
}

void TestProjectFile::unreadableFileIsReported()
{
    // Root reads everything, so the read runs as an unprivileged user: a file
    // it may not read, and one in a folder it may not enter.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther));
    const QString file = dir.filePath(QStringLiteral("private.qmp"));
    QVERIFY(putFile(file, project("<Main/>")));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    const QString hidden = dir.filePath(QStringLiteral("closed"));
    QVERIFY(QDir().mkdir(hidden));
    QVERIFY(QFile::setPermissions(hidden, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString inHidden = hidden + QStringLiteral("/p.qmp");
    QVERIFY(putFile(inHidden, project("<Main/>")));

    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        for (const QString& p : {file, inHidden}) {
            ProjectData out;
            out.hasTarget = true;
            QString error;
            if (readProjectFile(p, out, &error) || !out.hasTarget ||
                !error.contains(QStringLiteral("cannot be opened: Permission denied")))
                ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    QVERIFY(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        QSKIP("Cannot switch to an unprivileged user here; unreadable files not tested");
    QCOMPARE(WEXITSTATUS(status), 0);
}

void TestProjectFile::memoryStaysBounded()
{
    // 100 MB of ordinary entries.
    const qint64 size = qint64(100) << 20;
    const QString p = path(QStringLiteral("big.qmp"));
    {
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<Quillmarch><Main>");
        const QByteArray block =
            entryXml("/home/user/Music/Some Artist/Some Album (2001)", "123456789", "1")
                .repeated(8000);
        while (f.size() < size)
            f.write(block);
        f.write("</Main></Quillmarch>");
    }

    // A read may take a few times the file's size; a runaway would take far more.
    const pid_t pid = ::fork();
    if (pid == 0) {
        rlimit rl;
        rl.rlim_cur = rl.rlim_max = rlim_t(vmSizeBytes() + 10 * size + (64 << 20));
        ::setrlimit(RLIMIT_AS, &rl);
        int rc = 2; // out of memory, caught before the test's crash handler sees it
        try {
            ProjectData out;
            rc = readProjectFile(p, out) ? 0 : 1;
        } catch (...) {
        }
        ::_exit(rc);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    QFile::remove(p);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) != 2,
             "the read ran out of memory or crashed");
    QCOMPARE(WEXITSTATUS(status), 0);
}

void TestProjectFile::saveFailureKeepsOldFile_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only folder")
        << QStringLiteral("readonly") << QStringLiteral("cannot be written to");
    QTest::newRow("folder removed")
        << QStringLiteral("missing") << QStringLiteral("does not exist");
    QTest::newRow("disk full") << QStringLiteral("full") << QStringLiteral("No space left");
}

void TestProjectFile::saveFailureKeepsOldFile()
{
    QFETCH(QString, where);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("projects"));
    QVERIFY(QDir().mkpath(folder));
    Unmount unmount;
    if (where == QLatin1String("full")) {
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("Mounting a small tmpfs is not permitted here; cannot fill a disk");
        unmount.dir = folder;
    }

    const QString file = folder + QStringLiteral("/p.qmp");
    EntriesModel m;
    m.addEntry(entry(QStringLiteral("/a"), 1));
    QVERIFY2(m.saveAs(file), qPrintable(m.lastError()));
    const QByteArray old = fileBytes(file);
    // Enough entries that the new file no longer fits where the disk is full.
    for (int i = 0; i < 400; ++i)
        m.addEntry(entry(QStringLiteral("/music/track %1").arg(i), 1));

    if (where == QLatin1String("readonly")) {
        if (!bindReadOnly(folder))
            QSKIP("A read-only bind mount is not permitted here; cannot make an unwritable "
                  "folder (root ignores file modes)");
        unmount.dir = folder;
    } else if (where == QLatin1String("missing")) {
        QVERIFY(QDir(folder).removeRecursively());
    } else {
        // Fill the disk but for a few blocks.
        QFile filler(folder + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        QVERIFY(QFile::resize(filler.fileName(), filler.size() - 4096));
    }

    QVERIFY(!m.save());
    QVERIFY(m.isModified());
    QVERIFY2(m.lastError().contains(message), qPrintable(m.lastError()));
    QVERIFY(!m.saveAs(folder + QStringLiteral("/other.qmp")));
    QVERIFY(m.isModified());
    QString name;
    m.projectFile(name);
    QCOMPARE(name, file);
    QCOMPARE(m.filePath(), file);

    if (where != QLatin1String("missing")) {
        QCOMPARE(fileBytes(file), old);
        // No temporary file is left behind.
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(QStringLiteral("filler"));
        QCOMPARE(left, QStringList{QStringLiteral("p.qmp")});
    }
}

void TestProjectFile::refusesTextsXmlCannotCarry_data()
{
    QTest::addColumn<QString>("bad");
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QTest::newRow("vertical tab") << QStringLiteral("a\u000bb");
    QTest::newRow("U+FFFE") << QStringLiteral("a") + QChar(0xFFFE);
    QTest::newRow("lone high surrogate") << QStringLiteral("a") + QChar(0xD800);
    QTest::newRow("swapped pair") << QString(QChar(0xDC00)) + QChar(0xD800);
}

// Each field is checked: the save fails naming the entry, writing nothing.
void TestProjectFile::refusesTextsXmlCannotCarry()
{
    QFETCH(QString, bad);

    const QString file = path(QStringLiteral("refused.qmp"));
    const QString ident = QStringLiteral("/music/x");
    const struct
    {
        const char* field;
        Entry e;
    } cases[] = {{"Name", entry(ident, 1, File, bad, QStringLiteral("/music"))},
                 {"Path", entry(ident, 1, File, QStringLiteral("x"), bad)},
                 {"Ident", entry(QStringLiteral("/music/") + bad, 1, File, QStringLiteral("x"),
                                 QStringLiteral("/music"))},
                 {"Target", Entry()}};
    for (const auto& c : cases) {
        EntriesModel m;
        m.addEntry(entry(QStringLiteral("/ok"), 1));
        QVERIFY(m.saveAs(file));
        const QByteArray old = fileBytes(file);
        const bool isTarget = qstrcmp(c.field, "Target") == 0;
        if (isTarget) {
            m.setTarget(Target{bad, NTFS, 512, 1});
        } else {
            EntryPos pos = m.addEntry(c.e);
            m.moveEntry(pos, NotInUse);
        }

        QVERIFY2(!m.save(), c.field);
        QVERIFY(m.isModified());
        QCOMPARE(fileBytes(file), old);
        const QString err = m.lastError();
        QVERIFY2(err.contains(isTarget ? QStringLiteral("target") : QStringLiteral("/music/")),
                 qPrintable(err));
        for (const QChar ch : err)
            QVERIFY2(ch.unicode() >= 0x20 && !ch.isSurrogate() && ch.unicode() < 0xFFFE,
                     "the message must be printable");
    }
}

void TestProjectFile::loadSetsModelState_data()
{
    QTest::addColumn<bool>("withTarget");
    QTest::addColumn<quint64>("blocks");
    QTest::addColumn<bool>("dispensed");
    QTest::addColumn<quint64>("wasted");
    // Dispensed sizes 100 + 300; Required/Main/Background: 3 entries, 60 bytes.
    QTest::newRow("target, dispensed") << true << Q_UINT64_C(10) << true << Q_UINT64_C(5120 - 400);
    QTest::newRow("target, dispensed more than fits")
        << true << Q_UINT64_C(0) << true << Q_UINT64_C(0);
    QTest::newRow("target, nothing dispensed")
        << true << Q_UINT64_C(10) << false << Q_UINT64_C(5120);
    QTest::newRow("no target, dispensed") << false << Q_UINT64_C(10) << true << Q_UINT64_C(0);
}

void TestProjectFile::loadSetsModelState()
{
    QFETCH(bool, withTarget);
    QFETCH(quint64, blocks);
    QFETCH(bool, dispensed);
    QFETCH(quint64, wasted);

    QByteArray body;
    if (withTarget)
        body += "<Target><Path>/m</Path><AvailableBlocks>" + QByteArray::number(blocks) +
                "</AvailableBlocks><BlockSize>512</BlockSize><FileSystem>FAT</FileSystem>"
                "</Target>";
    if (dispensed)
        body += "<Dispensed>" + entryXml("/d1", "100", "0", "<Origin>1</Origin>") +
                entryXml("/d2", "300", "1", "<Origin>3</Origin>") + "</Dispensed>";
    body += "<Required>" + entryXml("/r", "10", "0") + "</Required><Main>" +
            entryXml("/m", "20", "1") + "</Main><Background>" + entryXml("/b", "30", "0") +
            "</Background><NotInUse>" + entryXml("/n", "1000", "0") + "</NotInUse>";
    const QString file = path(QStringLiteral("state.qmp"));
    QVERIFY(putFile(file, project(body)));

    EntriesModel m;
    m.addEntry(entry(QStringLiteral("/old"), 7));
    QVERIFY2(m.load(file, QStringLiteral("state")), qPrintable(m.lastError()));
    QCOMPARE(m.isDispensed(), dispensed);
    QVERIFY(!m.isModified());
    QVERIFY(!m.isUntitled());
    QString name;
    QVERIFY(!m.projectFile(name));
    QCOMPARE(name, QStringLiteral("state"));
    QCOMPARE(m.filePath(), file);
    QCOMPARE(m.hasTarget(), withTarget);
    QCOMPARE(m.totalCount(), 3);
    QCOMPARE(m.totalSize(), Q_UINT64_C(60));
    QCOMPARE(m.wastedSize(), wasted);
    QCOMPARE(m.entryCount(), dispensed ? 6 : 4);
}

void TestProjectFile::saveReplacesFile()
{
    EntriesModel m;
    m.addEntry(entry(QStringLiteral("/a"), 1));
    const QString file = path(QStringLiteral("flags.qmp"));
    QVERIFY(m.saveAs(file));
    QVERIFY(!m.isModified());
    QString name;
    QVERIFY(m.projectFile(name)); // still untitled: only a load changes that
    QCOMPARE(name, file);

    // A save replaces the file, keeping no trace of the old content.
    m.addEntry(entry(QStringLiteral("/b"), 2));
    QVERIFY(m.save());
    EntriesModel back;
    QVERIFY(back.load(file, QStringLiteral("flags")));
    QCOMPARE(back.groupSize(Main), 2);
    QCOMPARE(
        QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("flags")),
        QStringList{QStringLiteral("flags.qmp")});
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "test_projectfile.moc"
