#include <QtTest>

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>

#include "control/ShellServices.h"

// The posted file list as another program on the display reads it, while our
// event loop runs and answers.
class TestClipboard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void formats_data();
    void formats();

private:
    // Runs xclip -o for target; the event loop keeps running meanwhile.
    QByteArray readClipboard(const QString& target);
};

void TestClipboard::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs a real X server (run under tools/with-session.sh)");
    if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
        QSKIP("xclip is not installed");
}

QByteArray TestClipboard::readClipboard(const QString& target)
{
    QProcess xclip;
    QSignalSpy done(&xclip, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-t"), target, QStringLiteral("-o")});
    if (!done.wait(10000)) {
        xclip.kill();
        xclip.waitForFinished();
        return "<xclip hung>";
    }
    if (xclip.exitCode() != 0)
        return "<xclip failed: " + xclip.readAllStandardError() + ">";
    return xclip.readAllStandardOutput();
}

void TestClipboard::formats_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QByteArrayList>("uris");
    QTest::newRow("one plain file")
        << QStringList{QStringLiteral("/data/a.txt")} << QByteArrayList{"file:///data/a.txt"};
    QTest::newRow("spaces, order kept")
        << QStringList{QStringLiteral("/m/z last.bin"), QStringLiteral("/m/a first"),
                       QStringLiteral("/m/folder/")}
        << QByteArrayList{"file:///m/z%20last.bin", "file:///m/a%20first", "file:///m/folder/"};
    QTest::newRow("non-ASCII, percent and hash")
        << QStringList{QString::fromUtf8("/m/K\xc3\xa4se #1/100% \xe6\x97\xa5.txt"),
                       QStringLiteral("/m/back\\slash")}
        << QByteArrayList{"file:///m/K%C3%A4se%20%231/100%25%20%E6%97%A5.txt",
                          "file:///m/back%5Cslash"};
}

void TestClipboard::formats()
{
    QFETCH(QStringList, paths);
    QFETCH(QByteArrayList, uris);
    postFilesToClipboard(paths);

    const QList<QByteArray> targets = readClipboard(QStringLiteral("TARGETS")).split('\n');
    for (const char* needed :
         {"text/uri-list", "x-special/gnome-copied-files", "x-special/mate-copied-files",
          "application/x-kde-cutselection", "text/plain"})
        QVERIFY2(targets.contains(needed), needed);
    for (const QByteArray& t : targets)
        QVERIFY2(!t.startsWith("image/"), t.constData());

    QCOMPARE(readClipboard(QStringLiteral("text/uri-list")), uris.join("\r\n") + "\r\n");
    const QByteArray copied = "copy\n" + uris.join('\n');
    QCOMPARE(readClipboard(QStringLiteral("x-special/gnome-copied-files")), copied);
    QCOMPARE(readClipboard(QStringLiteral("x-special/mate-copied-files")), copied);
    QCOMPARE(readClipboard(QStringLiteral("application/x-kde-cutselection")), QByteArray("0"));
    QStringList lines;
    for (const QString& p : paths)
        lines.append(QFileInfo(p).absoluteFilePath());
    QCOMPARE(QString::fromUtf8(readClipboard(QStringLiteral("text/plain"))),
             lines.join(QLatin1Char('\n')));
}

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
