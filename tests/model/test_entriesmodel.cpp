#include <QtTest>

#include "model/EntriesModel.h"
#include "model/SizeText.h"

class TestEntriesModel : public QObject
{
    Q_OBJECT
private slots:
    void sizeText_data();
    void sizeText();
};

void TestEntriesModel::sizeText_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << Q_UINT64_C(0) << "0";
    QTest::newRow("1024") << Q_UINT64_C(1024) << "1024";
    QTest::newRow("1025") << Q_UINT64_C(1025) << "1.0 kb";
    QTest::newRow("1536") << Q_UINT64_C(1536) << "1.5 kb";
    QTest::newRow("2^20") << Q_UINT64_C(1048576) << "1024.0 kb";
    QTest::newRow("1.5G") << Q_UINT64_C(1610612736) << "1.5 Gb";
    QTest::newRow("2^30+1") << Q_UINT64_C(1073741825) << "1.0 Gb";
    QTest::newRow("2^40+1") << (Q_UINT64_C(1) << 40) + 1 << "1.0 TB";
    QTest::newRow("2^50+1") << (Q_UINT64_C(1) << 50) + 1 << "1.0 EB";
}

void TestEntriesModel::sizeText()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(::sizeText(bytes), text);
}

QTEST_GUILESS_MAIN(TestEntriesModel)
#include "test_entriesmodel.moc"
