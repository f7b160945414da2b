// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "cli/JsonWriter.h"

class TestJsonWriter : public QObject
{
    Q_OBJECT
private slots:
    void everyPlane();
    void escapes_data();
    void escapes();
    void document();
};

// Characters from each of the 17 planes come out as their UTF-8 and read back whole.
void TestJsonWriter::everyPlane()
{
    for (uint plane = 0; plane <= 16; ++plane) {
        QString text;
        for (uint offset : {0x20u, 0x7fu, 0x80u, 0x7ffu, 0x800u, 0xd7ffu, 0xe000u, 0xfffdu}) {
            const char32_t cp = plane << 16 | offset;
            text += QString::fromUcs4(&cp, 1);
        }
        const QByteArray json = JsonWriter::quoted(text);
        QCOMPARE(json, '"' + text.toUtf8() + '"');
        QCOMPARE(QJsonDocument::fromJson('[' + json + ']').array().at(0).toString(), text);
    }
}

void TestJsonWriter::escapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("json");
    const QChar high(0xd83d), low(0xde00); // a pair: U+1F600
    QTest::newRow("specials") << QString("\"\\/\b\f\n\r\t\x01\x1f\x7f")
                              << QByteArray(R"("\"\\/\b\f\n\r\t\u0001\u001f)"
                                            "\x7f\"");
    QTest::newRow("lone low") << QString(low) + 'a' << QByteArray(R"("\ude00a")");
    QTest::newRow("lone high at end") << QString('a') + high << QByteArray(R"("a\ud83d")");
    QTest::newRow("high, then a pair")
        << QString(high) + high + low << QByteArray("\"\\ud83d\xf0\x9f\x98\x80\"");
    QTest::newRow("pair reversed") << QString(low) + high << QByteArray(R"("\ude00\ud83d")");
}

void TestJsonWriter::escapes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, json);
    QCOMPARE(JsonWriter::quoted(text), json);
    QCOMPARE(QJsonDocument::fromJson('[' + json + ']').array().size(), 1); // valid JSON
}

// Commas in every nesting, and 64-bit integers exact where a double would round.
void TestJsonWriter::document()
{
    JsonWriter w;
    w.beginObject().key("a").number(0).key("b").number((quint64(1) << 53) + 1);
    w.key("c").number(~quint64(0)).key("d").beginArray().null().boolean(true);
    w.beginObject().endObject().beginArray().endArray().string("x").endArray();
    w.key("e").boolean(false).endObject();
    QCOMPARE(w.finish(), QByteArray(R"({"a":0,"b":9007199254740993,"c":18446744073709551615,)"
                                    R"("d":[null,true,{},[],"x"],"e":false})"
                                    "\n"));
    QCOMPARE(w.beginArray().endArray().finish(), QByteArray("[]\n")); // starts over
}

QTEST_GUILESS_MAIN(TestJsonWriter)
#include "test_jsonwriter.moc"
