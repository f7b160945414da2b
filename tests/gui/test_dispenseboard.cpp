#include <atomic>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "gui/DispenseBoard.h"
#include "core/dispense/IDispenser.h"

namespace {

// A search stand-in: reports one figure, then runs until a request arrives,
// takes noticeMs to notice it, reports the end and lingers a little after
// that, as a thread does on its way out.
class FakeDispenser : public IDispenser
{
public:
    enum Request
    {
        None,
        Cancel,
        Accept,
        Enough
    };

    std::atomic_int request{None};
    std::atomic_int cancels{0}, accepts{0}, enoughs{0};
    int noticeMs = 0;
    int lingerMs = 200;
    bool okOnCancel = false; // the search ended with a result just as Cancel came
    quint64 firstReport = 1536;

    void cancel() override
    {
        ++cancels;
        request = Cancel;
    }
    void accept() override
    {
        ++accepts;
        request = Accept;
    }
    void enough() override
    {
        ++enoughs;
        request = Enough;
    }

protected:
    void run() override
    {
        emit set_bestResult4Now(firstReport);
        while (request == None)
            msleep(2);
        msleep(noticeMs);
        emit do_finish(request != Cancel || okOnCancel);
        msleep(lingerMs);
    }
};

QPushButton* button(QWidget& w, const QString& text)
{
    for (QPushButton* b : w.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

QStringList labelTexts(QWidget& w)
{
    QStringList out;
    for (QLabel* l : w.findChildren<QLabel*>())
        out << l->text();
    return out;
}

} // namespace

class TestDispenseBoard : public QObject
{
    Q_OBJECT
private slots:
    void startsTheSearch();
    void leaving_data();
    void leaving();
    void destroyedWhileSearching();
};

void TestDispenseBoard::startsTheSearch()
{
    FakeDispenser d;
    d.lingerMs = 0;
    {
        DispenseBoard board(nullptr, &d);
        QVERIFY(d.isRunning() || d.isFinished());
        QCOMPARE(board.windowTitle(), QString());
        QCOMPARE(labelTexts(board), (QStringList{"", "Starting...", "Wasted space: "}));
        auto* bar = board.findChild<QProgressBar*>();
        QVERIFY(bar);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 0);
        QVERIFY(button(board, "Next level") && button(board, "Accept") && button(board, "Cancel"));
        // The first report arrives from the search's thread; a later one
        // replaces it.
        QTRY_VERIFY(labelTexts(board).contains("Wasted space: 1.5 kb"));
        board.set_bestResult4Now(0);
        QCOMPARE(labelTexts(board).filter("Wasted"), QStringList{"Wasted space: 0"});
    }
    QVERIFY(d.isFinished());
}

void TestDispenseBoard::leaving_data()
{
    QTest::addColumn<QString>("how"); // a button's text, "Escape" or "close"
    QTest::addColumn<int>("request");
    QTest::addColumn<bool>("okOnCancel"); // the search ends with a result just as Cancel comes
    QTest::addColumn<int>("result");
    QTest::newRow("Next level") << "Next level" << int(FakeDispenser::Enough) << false << 1;
    QTest::newRow("Accept") << "Accept" << int(FakeDispenser::Accept) << false << 1;
    QTest::newRow("Cancel") << "Cancel" << int(FakeDispenser::Cancel) << false << 0;
    QTest::newRow("Escape") << "Escape" << int(FakeDispenser::Cancel) << false << 0;
    QTest::newRow("close button") << "close" << int(FakeDispenser::Cancel) << false << 0;
    QTest::newRow("Escape as the search ends with a result")
        << "Escape" << int(FakeDispenser::Cancel) << true << 0;
}

// Each way out makes one request; the dialog stays open until the search has
// stopped, and a cancel is a cancel even when the search found a result.
void TestDispenseBoard::leaving()
{
    QFETCH(QString, how);
    QFETCH(int, request);
    QFETCH(bool, okOnCancel);
    QFETCH(int, result);
    FakeDispenser d;
    d.noticeMs = 300;
    d.okOnCancel = okOnCancel;
    int code = -1;
    bool stillOpen = false;
    {
        DispenseBoard board(nullptr, &d);
        QTimer::singleShot(0, &board, [&] {
            if (how == QLatin1String("Escape"))
                QTest::keyClick(&board, Qt::Key_Escape);
            else if (how == QLatin1String("close"))
                board.close();
            else
                QTest::mouseClick(button(board, how), Qt::LeftButton);
            stillOpen = board.isVisible() && d.isRunning();
        });
        code = board.exec();
        QCOMPARE(d.request.load(), request);
        QCOMPARE(d.cancels + d.accepts + d.enoughs, 1);
    }
    QVERIFY(stillOpen);
    QCOMPARE(code, result);
    QVERIFY(d.isFinished());
}

void TestDispenseBoard::destroyedWhileSearching()
{
    FakeDispenser d;
    {
        DispenseBoard board(nullptr, &d);
        QVERIFY(d.isRunning());
    }
    QCOMPARE(d.cancels.load(), 1);
    QVERIFY(d.isFinished());
}

QTEST_MAIN(TestDispenseBoard)
#include "test_dispenseboard.moc"
