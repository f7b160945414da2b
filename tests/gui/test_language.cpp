// SPDX-License-Identifier: GPL-3.0-or-later
// The window in its user's language: run by ctest under LANG=de_DE.UTF-8 and
// LANGUAGE=de, with the translations of the build tree, as main() loads them.
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "core/Translations.h"
#include "core/model/SizeText.h"
#include "gui/MainStatus.h"
#include "gui/MainWindow.h"

class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(QLocale().language(), QLocale::German);
        QVERIFY2(!installTranslations().isEmpty(), "no German translation in the build tree");
    }

    // Menus, status bar and Qt's own buttons in German, sizes with its
    // decimal comma, plural forms from the German file.
    void window()
    {
        MainWindow window;
        QStringList menus;
        for (QAction* menu : window.menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus.join(' '), QString("&Datei &Bearbeiten &Aktionen &Liste &Priorität &Hilfe"));
        window.status()->showTotal(1572864, 1);
        QCOMPARE(window.status()->findChild<QLabel*>("total")->text(), QString("GESAMT: 1,5 MiB"));
        window.status()->showSelected(3 << 20, 2);
        QCOMPARE(window.status()->findChild<QLabel*>("selected")->text(),
                 QString("AUSGEWÄHLT: 3,0 MiB (2 Einträge)"));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove('&'),
                 QString("Abbrechen"));
    }

    void sizes_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("precise");
        QTest::newRow("bytes") << quint64(1000) << "1000 B"
                               << "0,98 KiB";
        QTest::newRow("half") << quint64(1536) << "1,5 KiB"
                              << "1,50 KiB";
        // No grouping: a separator would read as a decimal point in German.
        QTest::newRow("four digits") << quint64(1048063) << "1023,5 KiB"
                                     << "1,00 MiB";
        QTest::newRow("gigabytes") << quint64(4702989517) << "4,4 GiB"
                                   << "4,38 GiB";
    }
    void sizes()
    {
        QFETCH(quint64, bytes);
        QFETCH(QString, text);
        QFETCH(QString, precise);
        QCOMPARE(sizeText(bytes), text);
        QCOMPARE(preciseSizeText(bytes), precise);
    }
};

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
