// SPDX-License-Identifier: GPL-3.0-or-later
#include <atomic>

#include <sys/statvfs.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileIconProvider>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPaintEngine>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>
#include <QTableWidget>
#include <QToolButton>
#include <QUndoStack>
#include <QWindow>
#include <QtTest>

#include "core/copy/VolumeIdentity.h"
#include "core/dispense/IDispenser.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/DM.h"
#include "core/model/SizeText.h"
#include "gui/AboutDlg.h"
#include "gui/CapacityBar.h"
#include "gui/CommandLine.h"
#include "gui/CopyDlg.h"
#include "gui/DeleteDlg.h"
#include "gui/DialogAnswers.h"
#include "gui/DispenseBoard.h"
#include "gui/EditTarget.h"
#include "gui/MainActions.h"
#include "gui/MainList.h"
#include "gui/MainStatus.h"
#include "gui/MainWindow.h"
#include "gui/MessageBar.h"
#include "gui/SeriesDlg.h"
#include "platform/ShellIcons.h"
#include "tests/common/FakeViews.h"
#include "tests/common/RecordingCtrl.h"
#include "tests/common/TestMounts.h"

using Act = MainActions::Act;

namespace {

// Fills the model from a layout like "1:a,b;2:?c" ("?": size not known yet).
void fillModel(const QString& layout)
{
    dataModel()->newProject();
    for (const QString& part : layout.split(';', Qt::SkipEmptyParts)) {
        for (const QString& name : part.section(':', 1).split(',')) {
            EntryPos p = dataModel()->addEntry(Entry{name, "", name, 0, !name.startsWith('?')});
            dataModel()->moveEntry(p, part.section(':', 0, 0).toInt());
        }
    }
}

// Every entry as "group:ident:size", and the target, sorted.
QStringList projectText()
{
    DM* m = dataModel();
    QStringList out;
    for (int g = Dispensed; g < NoGroup; ++g)
        for (EntryPos p = m->groupBegin(g); m->isValidPos(p); ++p.index)
            out << QString("%1:%2:%3").arg(g).arg(m->entryAt(p).Ident).arg(m->entryAt(p).Size);
    if (m->hasTarget())
        out << "target " + m->target().Path + ' ' + QString::number(m->target().capacity());
    out.sort();
    return out;
}

// The list shows the model's entries: names and sizes ("?" while unknown).
void compareRows(MainList* list)
{
    for (int g = 0; g < NoGroup; ++g) {
        QCOMPARE(list->topLevelItem(g)->childCount(), dataModel()->groupSize(g));
        for (EntryPos p{g, 0}; dataModel()->isValidPos(p); ++p.index) {
            const Entry& e = dataModel()->entryAt(p);
            const QTreeWidgetItem* row = list->topLevelItem(g)->child(p.index);
            QCOMPARE(row->text(1) + ' ' + row->text(2),
                     e.Name + ' ' + (e.IsValidSize && !e.Issue ? sizeText(e.Size) : "?"));
            QCOMPARE(row->toolTip(1).contains("leaves it out"), bool(e.Issue)); // says why
        }
    }
}

QString writeFile(const QString& path, int size)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'q')) ? path : "";
}

// A drag of the list's selected entries dropped on row (a group's header or an entry), as
// the list receives it.
void dropOn(MainList* list, QTreeWidgetItem* row)
{
    std::unique_ptr<QMimeData> data(list->dragData());
    const QPoint at = list->visualItemRect(row).center();
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop})
        QApplication::sendEvent(list->viewport(), event);
}

// The WCAG contrast ratio of the most distinct pixel in the row's text area to
// the row's background (taken at the bottom left, and as far as it reaches).
qreal textContrast(const QImage& row)
{
    auto luminance = [](QRgb c) {
        qreal sum = 0;
        for (auto [v, w] : {std::pair{qRed(c), 0.2126}, {qGreen(c), 0.7152}, {qBlue(c), 0.0722}})
            sum += w * (v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4));
        return sum;
    };
    const QRgb bg = row.pixel(1, row.height() - 2);
    int top = 0, right = 1;
    while (row.pixel(1, top) != bg)
        ++top;
    while (right + 1 < row.width() && row.pixel(right + 1, top) == bg)
        ++right;
    qreal best = 1;
    for (int y = top; y < row.height() - 1; ++y)
        for (int x = 0; x <= right; ++x) {
            const qreal a = luminance(row.pixel(x, y)) + 0.05, b = luminance(bg) + 0.05;
            best = qMax(best, qMax(a, b) / qMin(a, b));
        }
    return best;
}

// Records the pixmaps painted through it, by cacheKey.
class PixmapRecorder : public QPaintDevice, public QPaintEngine
{
public:
    PixmapRecorder() : QPaintEngine(AllFeatures) {}
    QList<qint64> keys;
    QSize lastSize;
    QPaintEngine* paintEngine() const override { return const_cast<PixmapRecorder*>(this); }
    int metric(PaintDeviceMetric m) const override { return m == PdmDepth ? 32 : 400; }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF& r, const QPixmap& p, const QRectF&) override
    {
        keys << p.cacheKey();
        lastSize = r.size().toSize();
    }
    Type type() const override { return User; }
};

// A search stand-in: runs until a request comes, and stops a little later,
// with a result unless cancelled or, found just then, with one anyway.
class FakeDispenser : public IDispenser
{
public:
    std::atomic<const char*> last{nullptr};
    std::atomic_int requests{0};
    bool resultAnyway = false;
    void cancel() override { last = "cancel", ++requests; }
    void accept() override { last = "accept", ++requests; }
    void enough() override { last = "enough", ++requests; }

private:
    void run() override
    {
        while (!last)
            msleep(2);
        msleep(100);
        emit do_finish(resultAnyway || qstrcmp(last, "cancel") != 0);
    }
};

} // namespace

// The views against a recording controller: what each reaches in the
// controller, and what the entry list shows and reports.
class TestGuiViews : public QObject
{
    Q_OBJECT
    MainList* m_list = nullptr;

private slots:
    void init()
    {
        recordingCtrl(); // before any widget reaches controller()
        dataModel()->newProject();
        m_list = new MainList;
        m_list->resize(600, 700);
        m_list->show();
    }

    void cleanup()
    {
        delete m_list;
        QCOMPARE(recordingCtrl().take(), QStringList()); // going away reports nothing
    }

    void actionsReachOneOperation()
    {
        QMainWindow window; // by its shortcut where it has one, else from its menu
        auto* actions = new MainActions(&window);
        actions->setupTexts();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // A key even where the platform theme has none for Save As.
        QVERIFY(!actions->action(Act::ProjectSaveAs)->shortcut().isEmpty());
        for (int i = 0; i < int(Act::Count); ++i) {
            QAction* a = actions->action(Act(i));
            const QString name = a->objectName();
            QString want =
                name == "Exit" ? QString("appExit") : name.left(1).toLower() + name.mid(1);
            for (int g = Required; g <= NotInUse; ++g)
                if (name == "Priority" + QString(groupTitle(g)).remove(' '))
                    want = QString("prioritySet %1").arg(g);
            a->setEnabled(true);
            a->shortcut().isEmpty() ? a->trigger() : QTest::keySequence(&window, a->shortcut());
            QCOMPARE(name + ": " + recordingCtrl().take().join(';'), name + ": " + want);
        }
    }

    void listOperations_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("selected");
        // add (to Main) | remove G I | move G I TO | size G I | issue G I (unreadable) |
        // click G I (twice; -1: the header) | drop (files, and a URL that names no local
        // file) | in bulk: moves G,I>TO..., removes G,I... | all G | invert G | ranges N
        // (the selection's ranges)
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("selectedAfter"); // groups up, rows down within a group
        QTest::addColumn<QString>("calls");         // each named once
        const char* const rows[][6] = {
            {"positions", "0:d0,d1;1:r0;2:m0,m1,m2,m3", "0,0 2,1 0,1 2,3 1,0", "",
             "0,1 0,0 1,0 2,3 2,1", ""},
            {"insert selects", "1:r1;2:m1", "1,0", "add;add;ranges 2", "1,0 2,2 2,1", ""},
            {"remove moves rows up", "2:a,b,c,d", "2,3", "remove 2 1", "2,2", ""},
            {"move keeps selection", "1:r1;2:a,b,c", "1,0 2,2", "move 2 0 1", "1,1 1,0 2,1", ""},
            {"bulk move", "1:r0;2:a,b,c,d,e;3:x", "1,0 2,0 2,1 2,3 3,0",
             "moves 2,3>1 2,1>1 3,0>2 2,0>-1;ranges 3", "1,2 1,1 1,0 2,3 2,0", ""},
            {"bulk remove", "2:a,b,c,d,e", "2,0 2,1 2,2 2,4", "removes 2,2 2,2 2,3;ranges 1",
             "2,2 2,1 2,0", ""},
            {"invert, all", "2:a,b,c,d;3:x", "2,1 3,0", "invert 2;ranges 3;all 2",
             "2,3 2,2 2,1 2,0 3,0", ""},
            {"size arrives", "2:a,?b", "", "size 2 1", "", ""},
            {"size cannot be known", "2:a,b", "", "issue 2 1", "", ""},
            {"double-click an entry", "2:a,b", "", "click 2 1", "2,1",
             "selectionChanged;entryReveal 2,1"},
            {"double-click a header", "2:a,b", "", "click 2 -1", "", "selectionChanged"},
            {"drop", "2:a", "", "drop", "", "pathsAdd /u/b.txt||/u/a dir"},
        };
        for (const auto& r : rows)
            QTest::newRow(r[0]) << r[1] << r[2] << r[3] << r[4] << r[5];
    }

    void listOperations()
    {
        QFETCH(QString, model);
        QFETCH(QString, selected);
        QFETCH(QString, steps);
        QFETCH(QString, selectedAfter);
        QFETCH(QString, calls);
        fillModel(model);
        m_list->rebuildItems();
        for (const QString& p : selected.split(' ', Qt::SkipEmptyParts))
            m_list->topLevelItem(p[0].digitValue())->child(p[2].digitValue())->setSelected(true);
        recordingCtrl().take();

        for (const QString& step : steps.split(';', Qt::SkipEmptyParts)) {
            const QStringList a = step.split(' ');
            EntryPos p{a.value(1).toInt(), a.value(2).toInt()};
            QWidget* viewport = m_list->viewport();
            if (a[0] == "add") {
                m_list->insertItem(dataModel()->addEntry(Entry()));
            } else if (a[0] == "remove") {
                dataModel()->removeEntry(p);
                m_list->removeItem(p);
            } else if (a[0] == "move") {
                const EntryPos from = p;
                m_list->moveItem(from, dataModel()->moveEntry(p, a[3].toInt()));
            } else if (a[0] == "moves" || a[0] == "removes") {
                std::vector<EntryPos> from;
                std::vector<int> to;
                for (const QString& m : a.mid(1))
                    from.push_back({m[0].digitValue(), m[2].digitValue()}),
                        to.push_back(m.mid(4).toInt());
                m_list->regroupItems(a[0] == "moves" ? dataModel()->moveEntries(from, to)
                                                     : dataModel()->removeEntries(from));
            } else if (a[0] == "all" || a[0] == "invert") {
                a[0] == "all" ? m_list->selectAllInGroup(p.group)
                              : m_list->invertSelectionInGroup(p.group);
            } else if (a[0] == "ranges") {
                m_list->selectedCount(); // as the controller reads it
                QCOMPARE(m_list->selectionModel()->selection().size(), p.group);
            } else if (a[0] == "issue") {
                dataModel()->entryAt(p).Issue = Unreadable;
                m_list->updateItemSize(p);
            } else if (a[0] == "size") {
                QCOMPARE(m_list->topLevelItem(p.group)->child(p.index)->text(2), QString("?"));
                dataModel()->entryAt(p).Size = 3 << 20;
                dataModel()->entryAt(p).IsValidSize = true;
                m_list->updateItemSize(p);
            } else if (a[0] == "click") {
                QTreeWidgetItem* item = m_list->topLevelItem(p.group);
                const QPoint at =
                    m_list->visualItemRect(p.index < 0 ? item : item->child(p.index)).center();
                QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
                QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
            } else {
                QMimeData data;
                data.setUrls({QUrl::fromLocalFile("/u/b.txt"), QUrl("https://example.org/x"),
                              QUrl::fromLocalFile("/u/a dir")});
                QDragEnterEvent enter({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, {});
                QDropEvent drop({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, {});
                QVERIFY(QApplication::sendEvent(viewport, &enter) && enter.isAccepted());
                QApplication::sendEvent(viewport, &drop);
            }
        }
        compareRows(m_list);                     // rows change only when the controller says so
        std::vector<EntryPos> positions{{3, 3}}; // emptied first
        m_list->selectedPositions(positions);
        QStringList text;
        for (const EntryPos& p : positions)
            text << QString("%1,%2").arg(p.group).arg(p.index);
        QCOMPARE(text.join(' '), selectedAfter);
        QCOMPARE(m_list->selectedCount(), int(positions.size()));
        QStringList seen = recordingCtrl().take();
        seen.removeDuplicates();
        QCOMPARE(seen.join(';'), calls);
    }

    void fileAndFolderIcons()
    {
        fillModel("2:/data/notes.txt,/data/photos");
        dataModel()->entryAt(EntryPos{Main, 1}).Kind = Folder;
        m_list->rebuildItems();
        PixmapRecorder device;
        for (int row : {0, 1}) {
            QPainter painter(&device);
            const QModelIndex head = m_list->model()->index(Main, 0);
            m_list->itemDelegate()->paint(&painter, {}, m_list->model()->index(row, 1, head));
        }
        const QPixmap folder =
            QFileIconProvider().icon(QFileIconProvider::Folder).pixmap(device.lastSize);
        QCOMPARE(device.keys,
                 (QList<qint64>{fileIcon("/data/notes.txt")->cacheKey(), folder.cacheKey()}));
    }

    // Every header and entry row keeps its text readable in a light and a dark theme.
    void readableRows_data()
    {
        QTest::addColumn<QPalette>("palette");
        QPalette dark;
        for (auto [role, c] : {std::pair{QPalette::Window, 0x353535},
                               {QPalette::Base, 0x232323},
                               {QPalette::AlternateBase, 0x353535},
                               {QPalette::Text, 0xdddddd},
                               {QPalette::WindowText, 0xdddddd},
                               {QPalette::Highlight, 0x2a82da},
                               {QPalette::HighlightedText, 0xffffff}})
            dark.setColor(role, QColor(QRgb(c)));
        QTest::newRow("light") << QApplication::style()->standardPalette();
        QTest::newRow("dark") << dark;
    }

    void readableRows()
    {
        QFETCH(QPalette, palette);
        fillModel("2:a,b,c");
        m_list->rebuildItems();
        const QAbstractItemModel* model = m_list->model();
        for (int i = 0; i < NoGroup + 3; ++i) { // the headers; a striped, a plain, a selected entry
            const QModelIndex index = i < NoGroup
                                          ? model->index(i, 1)
                                          : model->index(i - NoGroup, 2, model->index(Main, 0));
            QStyleOptionViewItem option;
            option.palette = palette;
            option.font = m_list->font();
            option.showDecorationSelected = true;
            option.state = QStyle::State_Enabled | QStyle::State_Active;
            if (i == NoGroup + 2)
                option.state |= QStyle::State_Selected;
            option.rect = QRect({0, 0}, m_list->itemDelegate()->sizeHint(option, index));
            option.rect.setWidth(300);
            QImage image(option.rect.size(), QImage::Format_RGB32);
            image.fill(palette.color(QPalette::Base)); // as the view does
            QPainter painter(&image);
            m_list->itemDelegate()->paint(&painter, option, index);
            painter.end();
            QVERIFY2(textContrast(image) >= 4.5, qPrintable(QString("row %1").arg(i)));
        }
    }

    // Each way out makes one request, and the dialog stays until the search stops. Escape
    // and the close button cancel even when the search finds its result just then. A result
    // taken early is not proven best (the last figure, SearchEnd).
    void dispenseRequests_data()
    {
        QTest::addColumn<QString>("button"); // empty: the window's close button; or Escape;
                                             // limit: 0.3 s
        QTest::addColumn<bool>("resultAnyway");
        QTest::addColumn<QString>("want"); // the request, the dialog's result, how many, the end
        QTest::newRow("Next level") << "Next level" << false << QString("enough 1 1 1");
        QTest::newRow("Accept") << "Accept" << false << QString("accept 1 1 1");
        QTest::newRow("Cancel") << "Cancel" << false << QString("cancel 0 1 0");
        QTest::newRow("closed") << "" << false << QString("cancel 0 1 0");
        QTest::newRow("closed, result just found") << "" << true << QString("cancel 0 1 0");
        QTest::newRow("Escape, result just found") << "Escape" << true << QString("cancel 0 1 0");
        QTest::newRow("time limit") << "limit" << false << QString("accept 1 1 2");
    }

    void dispenseRequests()
    {
        QFETCH(QString, button);
        QFETCH(bool, resultAnyway);
        QFETCH(QString, want);
        FakeDispenser d;
        d.resultAnyway = resultAnyway;
        bool stayed = false;
        DispenseBoard board(nullptr, &d);
        if (button == "limit")
            board.setTimeLimit(300);
        QTimer::singleShot(0, &board, [&] {
            for (QPushButton* b : board.findChildren<QPushButton*>())
                if (b->text() == button)
                    b->click();
            if (button.isEmpty())
                board.close();
            if (button == "Escape")
                QTest::keyClick(&board, Qt::Key_Escape);
            stayed = board.isVisible() && d.isRunning();
        });
        const int code = board.exec();
        QVERIFY(stayed && d.wait());
        QCOMPARE(QString("%1 %2 %3 %4")
                     .arg(d.last.load())
                     .arg(code)
                     .arg(d.requests.load())
                     .arg(board.searchEnd()),
                 want);
    }

    // A described medium offers the block sizes its file system allows; a size the new file
    // system does not allow becomes the nearest one it has.
    void describedMediumBlocks_data()
    {
        QTest::addColumn<int>("fileSystem");
        QTest::addColumn<int>("before"); // KiB, chosen under NTFS
        QTest::addColumn<int>("largest");
        QTest::addColumn<int>("chosen");
        QTest::newRow("NTFS") << int(NTFS) << 1024 << 2048 << 1024;
        QTest::newRow("FAT32, too large") << int(FAT) << 1024 << 64 << 64;
        QTest::newRow("FAT32, allowed") << int(FAT) << 4 << 64 << 4;
        QTest::newRow("UDF") << int(UDF) << 64 << 2 << 2;
        QTest::newRow("ISO 9660") << int(ISO9660) << 64 << 2 << 2;
    }

    void describedMediumBlocks()
    {
        QFETCH(int, fileSystem);
        QFETCH(int, before);
        QFETCH(int, largest);
        QFETCH(int, chosen);
        SeriesDlg dlg(nullptr, Target(), {}, true);
        auto* medium = dlg.findChild<QComboBox*>("medium");
        auto* fs = dlg.findChild<QComboBox*>("fileSystem");
        auto* blocks = dlg.findChild<QComboBox*>("blockSize");
        medium->setCurrentIndex(medium->count() - 1); // "Other..."
        fs->setCurrentIndex(fs->findData(NTFS));
        blocks->setCurrentIndex(blocks->findData(before << 10));
        fs->setCurrentIndex(fs->findData(fileSystem));
        QCOMPARE(blocks->itemData(blocks->count() - 1).toInt() >> 10, largest);
        QCOMPARE(int(dlg.medium().BlockSize >> 10), chosen);
    }
};

class TestGuiRoad;
using RoadSteps = std::function<void(TestGuiRoad&)>;
Q_DECLARE_METATYPE(RoadSteps)

// The real window with the real controller: the whole road of a project, the
// target picker over mounted volumes, and saving where nothing can be written.
class TestGuiRoad : public QObject
{
    Q_OBJECT
    using Steps = RoadSteps;
    QTemporaryDir m_home;
    TestMounts m_mounts;
    QString m_ntfs, m_ext4, m_ext3;
    MainWindow* m_window = nullptr;

    void trigger(Act a) { m_window->actions()->action(a)->trigger(); }
    bool enabled(Act a) const { return m_window->actions()->action(a)->isEnabled(); }
    QString status(const char* label) const
    {
        return m_window->status()->findChild<QLabel*>(label)->text();
    }
    void select(const std::vector<EntryPos>& rows)
    {
        m_window->list()->clearSelection();
        for (const EntryPos& p : rows)
            m_window->list()->topLevelItem(p.group)->child(p.index)->setSelected(true);
    }
    // The project as the user sees it: the groups in list order, the result and the target.
    static QString shownProject()
    {
        DM* m = dataModel();
        return layoutText() + QString(" dispensed %1 wasted %2 target %3")
                                  .arg(m->isDispensed())
                                  .arg(m->wastedSize())
                                  .arg(m->hasTarget() ? m->target().capacity() : 0);
    }
    // A saved project of a (10000 bytes), b (30000), c (20000) and d (5000) in Main, with
    // a described NTFS medium of blocks blocks of 4 KiB as its target; 25 go to NTFS itself.
    void freshProject(quint64 blocks)
    {
        if (dataModel()->isModified())
            DialogAnswers::nextButton(QMessageBox::Discard);
        trigger(Act::ProjectNew);
        QStringList files;
        for (auto [name, size] : {std::pair{"a", 10000}, {"b", 30000}, {"c", 20000}, {"d", 5000}})
            files << writeFile(m_home.filePath("undo/") + name, size);
        DialogAnswers::nextFiles(files);
        trigger(Act::FilesAdd);
        QTimer::singleShot(0, [blocks] {
            dataModel()->setTarget({"", NTFS, 4096, blocks});
            qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept();
        });
        trigger(Act::DiskSelect);
        DialogAnswers::nextFiles({m_home.filePath("undo.qmp")});
        trigger(Act::ProjectSaveAs);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    // A fresh project of paths, dispensed onto target by its figures.
    void dispenseOnto(const Target& target, const QStringList& paths)
    {
        if (dataModel()->isModified())
            DialogAnswers::nextButton(QMessageBox::Discard);
        trigger(Act::ProjectNew);
        controller()->pathsAdd(paths);
        const auto sized = [] {
            for (EntryPos p{Main, 0}; dataModel()->isValidPos(p); ++p.index)
                if (!dataModel()->entryAt(p).IsValidSize)
                    return false;
            return true;
        };
        QTRY_VERIFY(sized());
        QTimer::singleShot(0, [&] {
            dataModel()->setTarget(target);
            qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept();
        });
        trigger(Act::DiskSelect);
        QVERIFY(!enabled(Act::CopyToTarget));
        trigger(Act::Dispense);
        QCOMPARE(dataModel()->groupSize(Dispensed), paths.size());
    }

private slots:
    void initTestCase()
    {
        setController(nullptr);
        dataModel()->newProject();                    // as the views left it: a fresh project
        qputenv("HOME", m_home.path().toLocal8Bit()); // and with it the trash
        m_ntfs = m_mounts.ntfs(m_home.filePath("ntfs volume"), 24, false);
        if (!m_ntfs.isEmpty())
            m_ext4 = m_mounts.ext4(m_home.filePath("ext4 volume"), 8);
        if (!m_ext4.isEmpty())
            m_ext3 = m_mounts.ext4(m_home.filePath("ext3 volume"), 8, "-t ext3");
        m_window = new MainWindow;
    }

    void cleanupTestCase() { delete m_window; }

    void road()
    {
        QM_NEED_VOLUME(m_mounts, m_ntfs);
        DM* m = dataModel();
        const QString src = m_home.filePath("src");
        const QStringList files{writeFile(src + "/a.bin", 10000), writeFile(src + "/b.bin", 30000),
                                writeFile(src + "/big.iso", 1)};
        QVERIFY(QFile::resize(files[2], 40 << 20)); // more than the volume holds
        for (const char* name : {"/album/0.ogg", "/album/1.ogg", "/album/in/2.ogg", "/docs/x"})
            writeFile(src + name, 8000);

        // Files and folders in; the folders are measured meanwhile.
        DialogAnswers::nextFiles(files);
        trigger(Act::FilesAdd);
        DialogAnswers::nextFiles({src + "/album"});
        trigger(Act::FolderAdd);
        QCOMPARE(DialogAnswers::lastShown().fileMode, QFileDialog::Directory);
        DialogAnswers::nextFiles({src + "/docs"});
        trigger(Act::FolderAdd);
        QTRY_COMPARE(projectText().filter(QRegularExpression("album|docs")),
                     (QStringList{"2:" + src + "/album:24000", "2:" + src + "/docs:8000"}));
        QCOMPARE(status("total"), "TOTAL: " + sizeText(72000 + (40 << 20)));

        // The target: the NTFS volume, stored while the picker is up, as the picker does.
        Target t{m_ntfs};
        QVERIFY(probeTarget(false, t));
        QTimer::singleShot(0, [&] {
            m->setTarget(t);
            qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept();
        });
        trigger(Act::DiskSelect);
        QCOMPARE(m->target(), t);

        // Dispense; the search of these few entries ends by itself.
        const QStringList before = projectText();
        trigger(Act::Dispense);
        QVERIFY(m->isDispensed() && projectText().filter("big.iso").first().startsWith("2:"));
        QCOMPARE(status("wasted"), "WASTED: " + sizeText(m->wastedSize()));
        compareRows(m_window->list());
        QVERIFY(!enabled(Act::Dispense) && enabled(Act::Undispense) && enabled(Act::ProjectSave));
        // The result in a line that stays until the next change: here the search ended by itself.
        const CapacityBar* bar = m_window->capacityBar();
        QVERIFY2(bar->showsOutcome() && bar->text().startsWith("Fills ") &&
                     bar->text().endsWith(sizeText(m->wastedSize()) + " free, proven best"),
                 qPrintable(bar->text()));
        m_window->list()->topLevelItem(Main)->child(0)->setSelected(true);
        QVERIFY(bar->showsOutcome()); // selecting changes nothing

        // Undispense puts everything back where it came from.
        trigger(Act::Undispense);
        QVERIFY(!bar->showsOutcome());
        QCOMPARE(projectText(), before);
        compareRows(m_window->list());
        QVERIFY(enabled(Act::Dispense) && !enabled(Act::Undispense));

        // The same search again, then its files onto the clipboard.
        trigger(Act::Dispense);
        trigger(Act::ClipboardPost);
        QList<QUrl> urls;
        for (EntryPos p = m->groupBegin(Dispensed); m->isValidPos(p); ++p.index)
            urls << QUrl::fromLocalFile(m->entryAt(p).Ident);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->urls(), urls);

        // Copied to the target's root but the first, which stays dispensed and is named; then
        // into a folder on the target that the question is pointed to.
        QStringList paths;
        for (const QUrl& url : urls)
            paths << url.toLocalFile();
        QCOMPARE(QProcess::execute("cp", QStringList("-r") + paths.mid(1) << m_ntfs), 0);
        DialogAnswers::nextButton(QMessageBox::Yes);
        trigger(Act::OriginalsDelete);
        const QString asked = DialogAnswers::lastShown().text, first = paths[0];
        QVERIFY(asked.startsWith(
            QString("%1 of %2 dispensed entries arrived").arg(urls.size() - 1).arg(urls.size())));
        QVERIFY(m->groupSize(Dispensed) == 1 &&
                m_window->messages()->text().endsWith(first.section('/', -1)));
        QVERIFY(QDir().mkpath(m_ntfs + "/in") &&
                !QProcess::execute("cp", {"-r", first, m_ntfs + "/in"}));
        DialogAnswers::nextButton(QMessageBox::Open);
        DialogAnswers::nextFiles({m_ntfs + "/in"});
        DialogAnswers::nextButton(QMessageBox::Yes);
        trigger(Act::OriginalsDelete);
        const QString trash = m_home.filePath(".local/share/Trash/files/");
        for (const QUrl& url : urls)
            QVERIFY(!QFileInfo::exists(url.path()) && QFileInfo::exists(trash + url.fileName()));
        QCOMPARE(m->entryCount(), 5 - urls.size());
        QVERIFY(!m->isDispensed() && enabled(Act::Dispense) && !enabled(Act::OriginalsDelete));
        compareRows(m_window->list());

        // Both Deletes undone: the files come back from the trash, but one whose place was
        // taken meanwhile, which is named; their entries are dispensed again. Redone, only
        // what came back goes to the trash again.
        const QString deleted = shownProject();
        QAction* undo = m_window->actions()->undoAction();
        undo->trigger();
        QVERIFY(QFileInfo::exists(first) && !QFileInfo::exists(trash + urls[0].fileName()));
        QCOMPARE(writeFile(paths[1], 3), paths[1]);
        undo->trigger();
        QVERIFY2(
            m_window->messages()->text().contains(paths[1] + " (something else is in its place)"),
            qPrintable(m_window->messages()->text()));
        for (int i = 2; i < paths.size(); ++i)
            QVERIFY(QFileInfo::exists(paths[i]) && !QFileInfo::exists(trash + urls[i].fileName()));
        QVERIFY(m->groupSize(Dispensed) == urls.size() && enabled(Act::OriginalsDelete));
        compareRows(m_window->list());
        for (QAction* redo : {m_window->actions()->redoAction(), m_window->actions()->redoAction()})
            redo->trigger();
        QCOMPARE(shownProject(), deleted);
        compareRows(m_window->list());
        QCOMPARE(QFileInfo(paths[1]).size(), 3);
        QVERIFY(QFile::remove(paths[1]));
        for (const QUrl& url : urls)
            QVERIFY(!QFileInfo::exists(url.path()) && QFileInfo::exists(trash + url.fileName()));

        // Save (as: the project is new), then load it into a window of its own.
        const QString projectPath = m_home.filePath("road.qmp");
        const QStringList saved = projectText();
        DialogAnswers::nextFiles({projectPath});
        trigger(Act::ProjectSave);
        QCOMPARE(DialogAnswers::lastShown().acceptMode, QFileDialog::AcceptSave);
        QVERIFY(!enabled(Act::ProjectSave) && !m->isModified());
        delete m_window;
        m_window = new MainWindow;
        DialogAnswers::nextFiles({projectPath});
        trigger(Act::ProjectLoad);
        QCOMPARE(projectText(), saved);
        QCOMPARE(m_window->windowTitle(), QString("road.qmp[*] - Quillmarch"));
        compareRows(m_window->list());
        QVERIFY(enabled(Act::Dispense) && !enabled(Act::ProjectSave));
        QVERIFY(!DialogAnswers::pending()); // every dialog asked for came
    }

    // Copy to Target on a real volume: cancelled while it copies, run again
    // into the folder chosen before, checkable by xxh128sum, and what Delete
    // looks at. A target fuller than its figures say stops it, told, with
    // every original kept.
    void copyToTarget()
    {
        const QString vol = m_mounts.ntfs(m_home.filePath("copy volume"), 64, false);
        QM_NEED_VOLUME(m_mounts, vol);
        // Whatever happens, the tests after this one find no unsaved changes.
        const auto fresh = qScopeGuard([this] {
            DialogAnswers::clear();
            if (dataModel()->isModified())
                DialogAnswers::nextButton(QMessageBox::Discard);
            trigger(Act::ProjectNew);
        });
        const QString src = m_home.filePath("copied"), into = vol + "/backup";
        const QStringList paths{writeFile(src + "/big.bin", 1), writeFile(src + "/c.txt", 10),
                                src + "/set"};
        QVERIFY(QFile::resize(paths[0], 32 << 20) &&
                !writeFile(src + "/set/in/b.txt", 2).isEmpty());
        Target t{vol};
        QVERIFY(probeTarget(false, t));
        dispenseOnto(t, paths);
        QVERIFY(enabled(Act::CopyToTarget) && QDir().mkpath(into));
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* d = qobject_cast<CopyDlg*>(QApplication::activeModalWidget());
            if (d && d->shown().phase != CopyEngine::Listing)
                d->findChild<QPushButton*>("cancel")->click(), poll.stop();
        });
        poll.start(1);
        const MessageBar* bar = m_window->messages();
        for (const char* want : {"The copy was stopped", "Copied and verified 3 files in "}) {
            const bool again = !poll.isActive();
            DialogAnswers::nextFiles({into});
            trigger(Act::CopyToTarget);
            QCOMPARE(DialogAnswers::lastShown().folder, again ? into : vol);
            QVERIFY2(bar->text().startsWith(want), qPrintable(bar->text()));
        }
        QCOMPARE(bar->kind(), MessageBar::Positive);
        QCOMPARE(
            QProcess::execute("sh", {"-c", "cd \"$0\" && xxh128sum -c --quiet XXH128SUMS", into}),
            0);
        DialogAnswers::nextButton(QMessageBox::Yes);
        trigger(Act::OriginalsDelete);
        QVERIFY(DialogAnswers::lastShown().text.startsWith("All 3 dispensed entries arrived"));
        QVERIFY(dataModel()->entryCount() == 0 && !QFileInfo::exists(paths[1]));

        // Filled since the plan was made.
        const QString small = m_mounts.ntfs(m_home.filePath("small volume"), 8, false);
        QVERIFY(!small.isEmpty());
        const QStringList more{writeFile(src + "/d.bin", 1500000),
                               writeFile(src + "/e.bin", 1500000)};
        Target s{small};
        QVERIFY(probeTarget(false, s));
        dispenseOnto(s, more);
        QFile filler(small + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly) &&
                filler.write(QByteArray(QStorageInfo(small).bytesAvailable() - 1000000, 'x')) &&
                filler.flush());
        filler.close();
        DialogAnswers::nextFiles({small});
        trigger(Act::CopyToTarget);
        QVERIFY2(bar->kind() == MessageBar::Error && bar->text().startsWith("The target is full"),
                 qPrintable(bar->text()));
        QVERIFY(QFileInfo(more[0]).size() == 1500000 && QFileInfo(more[1]).size() == 1500000);
        QCOMPARE(dataModel()->groupSize(Dispensed), 2);
    }

    // Started with a project on the command line and saved under a name typed
    // without extension; a second window finds its size, folders and projects.
    void startUpAndSettings()
    {
        delete m_window;
        m_window = new MainWindow;
        m_window->show();
        QDir::setCurrent(m_home.path());
        controller()->projectLoadFrom(commandLineProject({"quillmarch", "road.qmp"}));
        QCOMPARE(m_window->windowTitle(), QString("road.qmp[*] - Quillmarch"));
        QVERIFY(!m_window->isWindowModified());
        DialogAnswers::nextFiles({writeFile(m_home.filePath("in/new.bin"), 10)});
        trigger(Act::FilesAdd);
        QCOMPARE(m_window->windowHandle()->title(), QString("road.qmp* - Quillmarch"));
        const QString folder = m_home.filePath("projects");
        QVERIFY(QDir().mkpath(folder));
        DialogAnswers::nextFiles({folder + "/my photos"});
        trigger(Act::ProjectSaveAs);
        QVERIFY(QFileInfo::exists(folder + "/my photos.qmp") && !m_window->isWindowModified());
        QCOMPARE(m_window->windowTitle(), QString("my photos.qmp[*] - Quillmarch"));
        m_window->resize(640, 480);
        QVERIFY(m_window->close());
        delete m_window;

        m_window = new MainWindow;
        QCOMPARE(m_window->size(), QSize(640, 480));
        const QList<QAction*> recent = m_window->actions()->recentMenu()->actions();
        QCOMPARE(recent[0]->toolTip() + '|' + recent[1]->toolTip(),
                 folder + "/my photos.qmp|" + m_home.filePath("road.qmp"));
        recent[1]->trigger();
        QCOMPARE(m_window->windowTitle(), QString("road.qmp[*] - Quillmarch"));
        for (Act a : {Act::ProjectLoad, Act::FilesAdd}) {
            DialogAnswers::nextFiles({});
            trigger(a);
            QCOMPARE(DialogAnswers::lastShown().folder,
                     a == Act::FilesAdd ? m_home.filePath("in") : folder);
        }
    }

    void saveAsIntoReadOnlyFolder()
    {
        const QString folder = m_home.filePath("plain"), readOnly = m_home.filePath("read-only");
        QVERIFY(QDir().mkpath(folder));
        QM_NEED_VOLUME(m_mounts, m_mounts.readOnlyBind(folder, readOnly));
        DialogAnswers::nextFiles({writeFile(m_home.filePath("new.txt"), 10)});
        trigger(Act::FilesAdd);
        const QString title = m_window->windowTitle(), file = dataModel()->savePath();
        DialogAnswers::nextFiles({readOnly + "/p.qmp"});
        trigger(Act::ProjectSaveAs);
        QVERIFY(!QFileInfo::exists(folder + "/p.qmp")); // and it keeps its name, file and changes
        QCOMPARE(m_window->windowTitle() + ' ' + dataModel()->savePath(), title + ' ' + file);
        QVERIFY(enabled(Act::ProjectSave) && m_window->messages()->kind() == MessageBar::Error);
    }

    // A refused project's message, with its two long paths, is read whole in a window 640
    // pixels wide, which it does not widen, and goes with its close button.
    void refusedProjectMessage()
    {
        const QString dir = m_home.filePath(QString(60, 'd')), entry = QString(90, 'r') + "/x";
        QFile file(dir + "/refused.qmp");
        QVERIFY(QDir().mkpath(dir) && file.open(QIODevice::WriteOnly));
        file.write("<Quillmarch><Main><Entry><Ident>" + entry.toUtf8() +
                   "</Ident></Entry></Main></Quillmarch>");
        file.close();
        m_window->resize(640, 480);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        if (dataModel()->isModified())
            DialogAnswers::nextButton(QMessageBox::Discard);
        controller()->projectLoadFrom(file.fileName());
        MessageBar* bar = m_window->messages();
        QVERIFY(bar->text().contains(file.fileName()) && bar->text().contains(entry));
        QCOMPARE(bar->text(), dataModel()->lastError());
        QTRY_VERIFY(bar->showsAll());
        QCOMPARE(m_window->width(), 640);
        bar->findChild<QToolButton*>("closeMessage")->click();
        QVERIFY(bar->isHidden() && bar->text().isEmpty());
    }

    void targetPicker_data()
    {
        QTest::addColumn<QString>("volume"); // or "other": figures (exFAT, 32 KiB, GiB)
        QTest::addColumn<QString>("how");
        QTest::addColumn<double>("gibibytes");
        QTest::newRow("select and OK") << "ntfs"
                                       << "OK" << 0.0;
        QTest::newRow("double click") << "ntfs"
                                      << "double" << 0.0;
        QTest::newRow("ext4, with its free inodes") << "ext4"
                                                    << "OK" << 0.0;
        QTest::newRow("unsupported, dialog stays") << "ext3"
                                                   << "double" << 0.0;
        QTest::newRow("other, described") << "other"
                                          << "OK" << 2.0;
        QTest::newRow("other, no room, dialog stays") << "other"
                                                      << "OK" << 0.0;
    }

    void targetPicker()
    {
        QFETCH(QString, volume);
        QFETCH(QString, how);
        QFETCH(double, gibibytes);
        const QString root = volume == "ntfs"   ? m_ntfs
                             : volume == "ext4" ? m_ext4
                             : volume == "ext3" ? m_ext3
                                                : "Other...";
        QM_NEED_VOLUME(m_mounts, root);
        const Target before = dataModel()->target();
        EditTarget dlg(m_window);
        dlg.show();
        auto* list = dlg.findChild<QTreeWidget*>();
        const QList<QTreeWidgetItem*> rows = list->findItems(root, Qt::MatchExactly, 0);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first()->isDisabled(), volume == "ext3"); // refused before it can be chosen
        // The target an earlier row chose comes preselected.
        if (dataModel()->hasTarget())
            QCOMPARE(list->currentItem()->text(0),
                     before.Path.isEmpty() ? QString("Other...") : before.Path);
        // On its mount point: a long reason in another row may widen the row past the view.
        const QRect row = list->visualItemRect(rows.first());
        const QPoint at(row.left() + 20, row.center().y());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (how == "double")
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (volume == "other") {
            auto* fs = dlg.findChild<QComboBox*>("fileSystem");
            fs->setCurrentIndex(fs->findData(EXFAT));
            auto* block = dlg.findChild<QComboBox*>("blockSize");
            block->setCurrentIndex(block->findData(32768));
            dlg.findChild<QComboBox*>("unit")->setCurrentText("GiB");
            dlg.findChild<QDoubleSpinBox*>("space")->setValue(gibibytes);
        }
        for (QPushButton* b : dlg.findChildren<QPushButton*>())
            if (b->text() == how)
                b->click();
        const bool accepted = volume != "ext3" && (volume != "other" || gibibytes > 0);
        QTRY_COMPARE(dlg.isVisible(), !accepted);
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(dlg.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
        struct statvfs v = {};
        ::statvfs(QFile::encodeName(root), &v);
        Target t{root, volume == "ntfs" ? NTFS : EXT4, v.f_frsize, v.f_bavail};
        t.AvailableInodes = volume == "ext4" ? v.f_favail : t.AvailableInodes;
        t.Volume = VolumeIdentity::of(root).volumeId; // its UUID
        QVERIFY(volume == "other" || t.Volume.startsWith("uuid "));
        const Target described{"", EXFAT, 32768, 65536};
        QCOMPARE(dataModel()->target(), !accepted ? before : volume == "other" ? described : t);
        // A series of such media is offered by the name of its file system.
        if (volume == "ntfs" || volume == "ext4")
            QVERIFY(SeriesDlg(m_window, t, {}, true)
                        .findChild<QComboBox*>("medium")
                        ->itemText(0)
                        .contains(volume == "ntfs" ? "(NTFS," : "(ext4,"));
    }
    // Five files of 2 GiB fill three blank DVDs, two each; one of 5 GiB fits none. Medium 2
    // is exported and dispensed from the real dialog.
    void seriesDialog()
    {
        const QString src = m_home.filePath("series"), out = m_home.filePath("lists");
        QStringList files, second, seen, dispensed;
        for (const QString name : {"a", "b", "c", "d", "e", "huge"})
            QVERIFY(QFile::resize(*files.insert(files.end(), writeFile(src + "/" + name, 1)),
                                  (name == "huge" ? 5ll : 2ll) << 30));
        delete m_window;
        dataModel()->newProject();
        m_window = new MainWindow;
        DialogAnswers::nextFiles(files);
        trigger(Act::FilesAdd);
        SeriesResult plan;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<SeriesDlg*>(QApplication::activeModalWidget());
            auto* medium = dlg->findChild<QComboBox*>("medium");
            medium->setCurrentIndex(medium->findText("Blank DVD\u00b1R (4.7 GB = 4.38 GiB)"));
            if (QTest::qWaitFor([&] { return !dlg->planning(); }))
                plan = dlg->result();
            for (int i = 0; plan.media.size() > 1 && i < int(plan.media[1].entries.size()); ++i)
                second << dataModel()->entryAt(plan.media[1].entries[i]).Ident;
            const QString summary = dlg->findChild<QLabel*>("summary")->text();
            seen << summary.section(':', 0, 0) << summary.section(". ", 1);
            const auto click = [&](const char* text) {
                for (QPushButton* b : dlg->findChildren<QPushButton*>())
                    b->text().remove('&') == text ? b->click() : void();
            };
            DialogAnswers::nextFiles({files[0] + "/no"}); // a file cannot hold a folder
            DialogAnswers::nextButton(QMessageBox::Ok);
            click("Export...");
            seen << DialogAnswers::lastShown().text.trimmed();
            DialogAnswers::nextFiles({out});
            click("Export...");
            seen << dlg->findChild<QLabel*>("exported")->text();
            dlg->findChild<QTableWidget*>()->selectRow(1);
            click("Dispense This Medium");
        });
        trigger(Act::PlanSeries);
        QCOMPARE(seen, QStringList({"3 media (at least 3)", "1 entry fits no medium.",
                                    "Cannot make the folder " + files[0] + "/no",
                                    "Lists of 3 media written to " + out}));
        QVERIFY(plan.apart.size() == 1 && plan.apart[0].reason == SeriesPlanner::ApartLarger);
        QFile list(out + "/medium-02.txt");
        QVERIFY(list.open(QIODevice::ReadOnly) && QDir(out).entryList(QDir::Files).size() == 6);
        QCOMPARE(QString(list.readAll()), second.join('\n') + '\n');
        for (EntryPos p = dataModel()->groupBegin(Dispensed); dataModel()->isValidPos(p); ++p.index)
            dispensed << dataModel()->entryAt(p).Ident;
        QCOMPARE(dispensed.size() == 2 ? (dispensed.sort(), dispensed) : QStringList(), second);
        QCOMPARE(dataModel()->wastedSize(), plan.media[1].wastedBytes);
        QVERIFY(enabled(Act::Undispense) && enabled(Act::PlanSeries));
        compareRows(m_window->list());
        // Undone, the disc goes with the plan made for it; redone, both come back.
        const QString onDisc = shownProject();
        QCOMPARE(m_window->actions()->undoAction()->text(), "&Undo Dispense 2 Entries");
        m_window->actions()->undoAction()->trigger();
        QVERIFY(!dataModel()->hasTarget() && !dataModel()->isDispensed() &&
                enabled(Act::PlanSeries));
        compareRows(m_window->list());
        m_window->actions()->redoAction()->trigger();
        QCOMPARE(shownProject(), onDisc);
        // The plan is for the disc; saved and opened again, it shows the same waste.
        const QString wasted = status("wasted"), project = m_home.filePath("series.qmp");
        QCOMPARE(dataModel()->target().FileSystem, int(ISO9660));
        for (Act a : {Act::ProjectSaveAs, Act::ProjectLoad})
            DialogAnswers::nextFiles({project}), trigger(a);
        QCOMPARE(m_window->windowTitle() + status("wasted"), "series.qmp[*] - Quillmarch" + wasted);

        // Held: no second medium. Cancelled, replanned and closed at once: no thread is left
        // and nothing reaches the closed dialog; the medium chosen last comes first.
        const std::vector<SeriesEntry> many(500, SeriesEntry{EntryPos{Main, 0}, src});
        auto* dlg = new SeriesDlg(m_window, Target(), many, false);
        QCOMPARE(dlg->findChild<QComboBox*>("medium")->currentText(),
                 "Blank DVD\u00b1R (4.7 GB = 4.38 GiB)");
        QVERIFY(dlg->planning());
        for (QPushButton* b : dlg->findChildren<QPushButton*>())
            b->text() == "Cancel" ? b->click() : void();
        QCoreApplication::processEvents(); // the cancelled thread's last report
        const QString summary = dlg->findChild<QLabel*>("summary")->text();
        QVERIFY(summary.startsWith("Planning cancelled") &&
                summary.endsWith(" 2 entries already dispensed are left out."));
        dlg->findChild<QComboBox*>("medium")->setCurrentIndex(1);
        QVERIFY(dlg->planning() && dlg->findChild<QLabel*>("summary")->text() == "Planning\u2026");
        delete dlg;
        QCoreApplication::processEvents();
        dlg = new SeriesDlg(m_window, Target(), many, false);
        dlg->reject();
        QVERIFY(!dlg->planning());
        for (QPushButton* b : dlg->findChildren<QPushButton*>())
            QVERIFY(!b->text().contains("Dispense") || !b->isEnabled());
        QVERIFY(!dlg->findChild<QLabel*>("dispenseNote")->text().isEmpty()); // says why
        delete dlg;
    }

    // Each command undone brings back the project and the list as they were, and the saved
    // state; Redo does it again exactly.
    void undoSteps_data()
    {
        QTest::addColumn<Steps>("before"); // after the project is saved
        QTest::addColumn<Steps>("command");
        QTest::addColumn<QString>("undo");
        const Steps none = [](TestGuiRoad&) {};
        const Steps dispense = [](TestGuiRoad& t) { t.trigger(Act::Dispense); };
        QTest::newRow("Add") << none << Steps([](TestGuiRoad& t) {
            DialogAnswers::nextFiles({writeFile(t.m_home.filePath("undo/e"), 10)});
            t.trigger(Act::FilesAdd);
        }) << "Undo Add 1 Entry";
        QTest::newRow("Remove") << none << Steps([](TestGuiRoad& t) {
            t.select({{Main, 0}, {Main, 2}}), t.trigger(Act::EntryRemove);
        }) << "Undo Remove 2 Entries";
        QTest::newRow("Move Up") << none << Steps([](TestGuiRoad& t) {
            t.select({{Main, 1}, {Main, 3}}), t.trigger(Act::PriorityUp);
        }) << "Undo Move 2 Entries Up";
        QTest::newRow("Not In Use, a dispensed one too") << dispense << Steps([](TestGuiRoad& t) {
            t.select({{Dispensed, 0}, {Main, 0}}), t.trigger(Act::PriorityNotInUse);
        }) << "Undo Move 2 Entries to Not In Use";
        QTest::newRow("drop on an entry of another group") << Steps([](TestGuiRoad& t) {
            MainList* list = t.m_window->list();
            t.select({{Main, 0}, {Main, 2}});
            dropOn(list, list->topLevelItem(Main)->child(1)); // its own group: nothing
            QCOMPARE(layoutText(), "D:|R:|M:a,b,c,d|B:|N:");
            dropOn(list, list->topLevelItem(Background)); // its header
            QCOMPARE(layoutText(), "D:|R:|M:b,d|B:a,c|N:");
        }) << Steps([](TestGuiRoad& t) {
            t.select({{Main, 1}});
            dropOn(t.m_window->list(), t.m_window->list()->topLevelItem(Background)->child(0));
        }) << "Undo Move 1 Entry to Background";
        QTest::newRow("Dispense") << none << dispense << "Undo Dispense 2 Entries";
        QTest::newRow("Undispense")
            << dispense << Steps([](TestGuiRoad& t) { t.trigger(Act::Undispense); })
            << "Undo Undispense 2 Entries";
    }

    void undoSteps()
    {
        QFETCH(Steps, before);
        QFETCH(Steps, command);
        QFETCH(QString, undo);
        freshProject(37);
        before(*this);
        QUndoStack* history = m_window->actions()->history();
        QAction* undoAction = m_window->actions()->undoAction();
        const QString then = shownProject();
        const bool saved = !dataModel()->isModified();
        command(*this);
        const QString now = shownProject();
        QVERIFY(now != then);
        QCOMPARE(undoAction->text().remove('&'), undo);
        for (bool undone : {true, false, true}) {
            m_window->activateWindow(); // after the search's dialog
            QVERIFY(QTest::qWaitForWindowActive(m_window));
            QTest::keySequence(m_window,
                               undone ? QKeySequence("Ctrl+Z") : QKeySequence("Ctrl+Shift+Z"));
            QCOMPARE(shownProject(), undone ? then : now);
            compareRows(m_window->list());
            QCOMPARE(dataModel()->isModified(), !(undone && saved));
            QCOMPARE(enabled(Act::ProjectSave), dataModel()->isModified());
        }
        QVERIFY(history->canRedo() && !DialogAnswers::pending());
    }

    // A medium too small for any entry: said so, and nothing offered that acts on a result.
    void nothingFits()
    {
        freshProject(27);
        const QString then = shownProject();
        const int steps = m_window->actions()->history()->count();
        trigger(Act::Dispense);
        QCOMPARE(shownProject(), then);
        QCOMPARE(m_window->actions()->history()->count(), steps);
        QVERIFY2(m_window->messages()->text().startsWith(
                     "Nothing fits on the target: there is room for 3.0 KiB on the target, and "
                     "the smallest entry, \"d\", takes "),
                 qPrintable(m_window->messages()->text()));
        QCOMPARE(m_window->messages()->kind(), MessageBar::Warning);
        for (Act a : {Act::Undispense, Act::ClipboardPost, Act::OriginalsDelete})
            QVERIFY(!enabled(a));
        QVERIFY(enabled(Act::Dispense));
        QCOMPARE(status("wasted"), "WASTED: --");
    }

    // A project saved with the free space of its volume then: on Load the volume is probed
    // again and the window shows what it has now, the project unchanged.
    void staleTargetOnLoad()
    {
        QM_NEED_VOLUME(m_mounts, m_ntfs);
        freshProject(37);
        Target then{m_ntfs};
        QVERIFY(probeTarget(false, then));
        dataModel()->setTarget(then);
        DialogAnswers::nextFiles({m_home.filePath("stale.qmp")});
        trigger(Act::ProjectSaveAs);
        QFile filler(m_ntfs + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(1 << 20, 'f')));
        filler.close();
        Target now{m_ntfs};
        QVERIFY(probeTarget(false, now) && now != then);
        DialogAnswers::nextFiles({m_home.filePath("stale.qmp")});
        trigger(Act::ProjectLoad);
        QVERIFY(m_window->capacityBar()->text().contains("as saved in the project"));
        QTRY_COMPARE(dataModel()->target(), now);
        QVERIFY(!m_window->capacityBar()->text().contains("as saved in the project"));
        QVERIFY(!dataModel()->isModified() && !enabled(Act::ProjectSave));
        QVERIFY(filler.remove());
    }

    // A plan for the disc in a pseudo-drive: a source changed since planning and a disc that
    // grew too small are refused with nothing written; the disc written and read back lets
    // Delete the files trash the originals. An image cancelled while written is not left.
    void writeDisc()
    {
        const QString disc = m_mounts.tmpfs(m_home.filePath("disc"), 1);
        if (disc.isEmpty())
            QSKIP(qPrintable(m_mounts.why()));
        delete m_window;
        dataModel()->newProject();
        m_window = new MainWindow;
        DM* m = dataModel();
        const QString src = m_home.filePath("burn"), image = m_home.filePath("big image.iso");
        const QStringList files{writeFile(src + "/notes.txt", 3000), writeFile(src + "/big", 1)};
        QVERIFY(QFile::resize(files[1], 1 << 29)); // for no disc but the image's
        writeFile(src + "/photos/a.jpg", 70000);
        writeFile(src + "/photos/in/b.jpg", 9000);
        DialogAnswers::nextFiles(files);
        trigger(Act::FilesAdd);
        DialogAnswers::nextFiles({src + "/photos"});
        trigger(Act::FolderAdd);
        const auto pick = [&](const QString& drive) {
            Target t{drive};
            QVERIFY(probeTarget(false, t) && t.FileSystem == ISO9660);
            QTimer::singleShot(0, [&] {
                m->setTarget(t);
                qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept();
            });
            trigger(Act::DiskSelect);
            trigger(Act::Dispense);
        };
        pick("stdio:" + disc + "/d.iso");
        QCOMPARE(m->groupSize(Dispensed), 2);
        QVERIFY(enabled(Act::DiscWrite) && enabled(Act::ImageWrite));

        writeFile(files[0], 3000); // the same size, written anew
        trigger(Act::DiscWrite);
        MessageBar* bar = m_window->messages();
        QVERIFY2(bar->text().endsWith("notes.txt\" changed since it was planned: dispense again") &&
                     bar->kind() == MessageBar::Error,
                 qPrintable(bar->text()));
        QTest::qWait(30); // past the tick by which file times may lag the clock
        trigger(Act::Undispense);
        trigger(Act::Dispense);
        QFile filler(disc + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(700000, 'f')));
        filler.close();
        trigger(Act::DiscWrite);
        QVERIFY2(bar->text().contains("there is room for"), qPrintable(bar->text()));
        QCOMPARE(QFileInfo(disc + "/d.iso").size(), 0);
        QVERIFY(filler.remove());
        trigger(Act::DiscWrite);
        QCOMPARE(bar->text(), "The disc was written and read back equal: 3 files");
        QCOMPARE(bar->kind(), MessageBar::Positive);
        DialogAnswers::nextButton(QMessageBox::Yes);
        trigger(Act::OriginalsDelete);
        QVERIFY(!m->isDispensed() && !QFileInfo::exists(files[0]) &&
                !QFileInfo::exists(src + "/photos"));

        pick("stdio:" + m_home.filePath("unused.iso"));
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [&] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dlg && dlg->findChild<QLabel*>("phase")->text().startsWith("Writing"))
                dlg->findChild<QPushButton*>("cancelButton")->click();
        });
        cancel.start(20);
        DialogAnswers::nextFiles({image});
        trigger(Act::ImageWrite);
        QCOMPARE(bar->text(), "Cancelled; no image was written");
        QVERIFY(!QFileInfo::exists(image));
    }
};

// Every window within the screen's room with all its buttons, and the status bar's figures
// whole at 640 pixels. Again at QT_SCALE_FACTOR=2 on an X screen of 1600 x 1000 (test_gui_scale2).
class TestGuiScreen : public QObject
{
    Q_OBJECT

    static bool fits(QWidget* window, QString& why)
    {
        if (!QTest::qWaitForWindowExposed(window))
            return why = "not shown", false;
        QCoreApplication::processEvents(); // sized for showing
        const QRect room = window->screen()->availableGeometry();
        if (!room.contains(window->frameGeometry()))
            return why = QString("%1 in %2").arg(toText(window->frameGeometry()), toText(room)),
                   false;
        const QRect inside(window->mapToGlobal(QPoint()), window->size());
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
            if (b->isVisible() && !inside.contains(QRect(b->mapToGlobal(QPoint()), b->size())))
                return why = b->text() + " off the window", false;
        return true;
    }
    static QString toText(const QRect& r)
    {
        return QString("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
    }

private slots:
    void windowsFit()
    {
        setController(nullptr);
        DM* m = dataModel();
        m->newProject();
        for (int i = 0; i < 40; ++i)
            m->addEntry(Entry{QString("entry %1").arg(i), "/p", QString("/p/entry %1").arg(i),
                              quint64(i) << 30, true});
        m->setTarget({"/media/ana/Photos and videos of 2024", FAT, 32768, 1900000});
        DispenseQueue chosen;
        chosen.push({Main, 3});
        m->applyDispense(chosen, 1234567 * 32768ull);
        std::unique_ptr<MainWindow> window(new MainWindow);
        window->show();
        QString why;
        QVERIFY2(fits(window.get(), why), qPrintable("main window: " + why));
        window->resize(640, window->height());
        QTRY_COMPARE(window->width(), 640);
        for (const char* name : {"selected", "wasted", "total"}) {
            auto* figure = window->status()->findChild<QLabel*>(name);
            QVERIFY2(figure->width() >= figure->sizeHint().width(), name);
        }
        SeriesDlg series(window.get(), m->target(), {}, true);
        EditTarget picker(window.get());
        AboutDlg about;
        // The Delete question with a long reason, and without anything to check: its buttons
        // in one order either way.
        IViewDialogs::DeleteQuestion q;
        q.rows = {{"entry 3", "/p/entry 3", Arrival::Differs, QString(300, 'x')},
                  {"entry 4", "/p/entry 4", Arrival::Arrived, QString()}};
        DeleteDlg some(q, window.get());
        q.problem = "The volume is not mounted";
        DeleteDlg none(q, window.get());
        QStringList orders;
        for (QDialog* dialog :
             std::initializer_list<QDialog*>{&series, &picker, &about, &some, &none}) {
            dialog->show();
            QVERIFY2(fits(dialog, why), qPrintable(dialog->windowTitle() + ": " + why));
            QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
            std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) {
                return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
            });
            QString order;
            for (const QPushButton* b : buttons)
                order += b->text().left(3);
            orders << order;
            dialog->close();
        }
        QCOMPARE(orders[3], orders[4]);
        m->newProject();
    }
};

// The views first, with the recorder; then the real controller. At another scale, the
// screen alone.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir config; // the windows' settings, fresh in every run
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    TestGuiViews views;
    TestGuiRoad road;
    TestGuiScreen screen;
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        return QTest::qExec(&screen, argc, argv);
    return QTest::qExec(&views, argc, argv) | QTest::qExec(&road, argc, argv) |
           QTest::qExec(&screen, argc, argv);
}

#include "test_gui.moc"
