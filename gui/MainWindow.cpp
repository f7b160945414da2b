// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MainWindow.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "control/Ctrl.h"
#include "core/copy/CopyEngine.h"
#include "core/dispense/Dispenser.h"
#include "core/dispense/SeriesPlanner.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "gui/AboutDlg.h"
#include "gui/CapacityBar.h"
#include "gui/CopyDlg.h"
#include "gui/DeleteDlg.h"
#include "gui/DialogAnswers.h"
#include "gui/DispenseBoard.h"
#include "gui/EditTarget.h"
#include "gui/IconSet.h"
#include "gui/MainActions.h"
#include "gui/MainList.h"
#include "gui/MainList_itemDelegate.h"
#include "gui/MainStatus.h"
#include "gui/MessageBar.h"
#include "gui/ScreenFit.h"
#include "gui/SeriesDlg.h"

namespace {

constexpr int RecentCount = 8;
const char* const folderKeys[] = {"folders/entries", "folders/projects", nullptr, "folders/exports",
                                  "folders/images"};
const char* const timeLimitKey = "dispense/timeLimit";
// The choices of Actions > Search Time Limit, in seconds; 0: none.
const int timeLimits[] = {0, 10, 60, 600, 3600};

// ~/.config/quillmarch/quillmarch.conf, whatever the application object is named.
struct Settings : QSettings
{
    Settings() : QSettings(QStringLiteral("quillmarch"), QStringLiteral("quillmarch")) {}
};

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    ScreenFit::install();
    m_actions = new MainActions(this);
    m_actions->setupTexts();
    m_status = new MainStatus(this);
    // Messages above the list, the groups against the target under it.
    auto* centre = new QWidget(this);
    m_messages = new MessageBar(centre);
    m_list = new MainList(centre);
    m_capacityBar = new CapacityBar(centre);
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_messages);
    column->addWidget(m_list, 1);
    column->addWidget(m_capacityBar);
    setCentralWidget(centre);
    m_status->setPanels(m_messages, m_capacityBar);
    if (auto* painter = qobject_cast<MainList_itemDelegate*>(m_list->itemDelegate())) {
        connect(m_status, &MainStatus::groupTotalsShown, m_list,
                [this, painter](const IViewStatus::GroupTotals& totals) {
                    painter->setGroupTotals(totals.bytes, totals.counts);
                    m_list->viewport()->update();
                });
    }

    // The entry commands and the selection commands on a right click.
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        m_actions->listContextMenu()->popup(m_list->viewport()->mapToGlobal(pos));
    });

    fillRecentMenu();
    fillTimeLimitMenu();
    controller()->attachViews(this, m_actions, m_list, m_status);
    setWindowIcon(icon(MainIcon));
    const Settings stored;
    if (!restoreGeometry(stored.value(QStringLiteral("window/geometry")).toByteArray())) {
        // Wide enough that no toolbar button goes into the overflow menu,
        // within what the screen has (ScreenFit sees to the rest).
        const int toolbar = m_actions->toolBar()->sizeHint().width() + 24;
        const QSize room = screen()->availableGeometry().size();
        resize(qMin(qMax(800, toolbar), room.width()), qMin(600, room.height()));
    }
    restoreState(stored.value(QStringLiteral("window/state")).toByteArray());
}

MainWindow::~MainWindow()
{
    // Before the views go: no folder-size report may reach them any more.
    controller()->detachViews();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!controller()->queryClose()) {
        event->ignore();
        return;
    }
    Settings stored;
    stored.setValue(QStringLiteral("window/geometry"), saveGeometry());
    stored.setValue(QStringLiteral("window/state"), saveState());
    QMainWindow::closeEvent(event);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Back from the file manager, say: the target may have filled up meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        controller()->viewActivated();
}

void MainWindow::setTitle(const QString& title)
{
    // The model names a project saved for the first time by its whole path.
    m_projectName = QFileInfo(title).fileName();
    setWindowTitle(m_projectName + QStringLiteral("[*] - Quillmarch")); // untranslated
    DM* model = dataModel();
    setWindowModified(model->isModified());
    if (!model->savePath().isEmpty())
        rememberRecent(model->savePath());
}

void MainWindow::rememberRecent(const QString& path)
{
    Settings stored;
    QStringList recent = stored.value(QStringLiteral("recent/projects")).toStringList();
    if (recent.value(0) == path)
        return;
    recent.removeAll(path);
    recent.prepend(path);
    stored.setValue(QStringLiteral("recent/projects"), QStringList(recent.mid(0, RecentCount)));
    fillRecentMenu();
}

void MainWindow::fillRecentMenu()
{
    QMenu* menu = m_actions->recentMenu();
    menu->clear();
    const QStringList recent = Settings().value(QStringLiteral("recent/projects")).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        // "&1 name": a mnemonic each, and the name's own "&" kept as text.
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        a->setToolTip(path);
        a->setStatusTip(path);
        connect(a, &QAction::triggered, this, [path] { controller()->projectLoadFrom(path); });
    }
    menu->addSeparator();
    QAction* clear = menu->addAction(tr("&Clear the list"));
    clear->setEnabled(!recent.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        Settings().remove(QStringLiteral("recent/projects"));
        fillRecentMenu();
    });
}

void MainWindow::fillTimeLimitMenu()
{
    QMenu* menu = m_actions->timeLimitMenu();
    auto* group = new QActionGroup(menu);
    const int stored = Settings().value(QLatin1String(timeLimitKey), 0).toInt();
    for (int seconds : timeLimits) {
        const QString text = seconds == 0     ? tr("&No Limit")
                             : seconds < 60   ? tr("%n Seconds", nullptr, seconds)
                             : seconds < 3600 ? tr("%n Minutes", nullptr, seconds / 60)
                                              : tr("%n Hours", nullptr, seconds / 3600);
        QAction* a = menu->addAction(text);
        a->setCheckable(true);
        a->setChecked(seconds == stored);
        a->setData(seconds);
        group->addAction(a);
        connect(a, &QAction::triggered, this,
                [seconds] { Settings().setValue(QLatin1String(timeLimitKey), seconds); });
    }
    // A value from elsewhere than this menu: no limit.
    if (!group->checkedAction())
        group->actions().first()->setChecked(true);
}

bool MainWindow::askFolderAdd(QStringList& folders)
{
    QStringList chosen;
    if (!runFileDialog(tr("Add folder"), QFileDialog::Directory, QFileDialog::AcceptOpen,
                       EntriesFolder, chosen))
        return false;
    folders = chosen;
    return true;
}

bool MainWindow::askFilesAdd(QStringList& files)
{
    QStringList chosen;
    if (!runFileDialog(tr("Add file(s)"), QFileDialog::ExistingFiles, QFileDialog::AcceptOpen,
                       EntriesFolder, chosen))
        return false;
    files = chosen;
    return true;
}

bool MainWindow::askProjectSaveAs(QString& path)
{
    // Save mode: open mode accepts only existing files in some desktops'
    // dialogs, and the toolkit asks before an existing file is overwritten.
    QStringList chosen;
    if (!runFileDialog(tr("Save Project As"), QFileDialog::AnyFile, QFileDialog::AcceptSave,
                       ProjectsFolder, chosen))
        return false;
    path = chosen.first();
    return withSuffix(path, QStringLiteral(".qmp"), tr("Save Project As"));
}

bool MainWindow::withSuffix(QString& path, const QString& suffix, const QString& title)
{
    // The toolkit's dialog adds the suffix itself and asks before replacing
    // that file; a desktop's own dialog may do neither.
    if (!QFileInfo(path).suffix().isEmpty())
        return true;
    path += suffix;
    if (!QFileInfo::exists(path))
        return true;
    QMessageBox box(QMessageBox::Warning, title,
                    tr("\"%1\" already exists. Replace it?").arg(QFileInfo(path).fileName()),
                    QMessageBox::Yes | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Cancel);
    return runQuestion(box) == QMessageBox::Yes;
}

bool MainWindow::askProjectLoad(QString& path)
{
    QStringList chosen;
    if (!runFileDialog(tr("Load Project"), QFileDialog::ExistingFile, QFileDialog::AcceptOpen,
                       ProjectsFolder, chosen))
        return false;
    path = chosen.first();
    return true;
}

bool MainWindow::pickTarget()
{
    EditTarget dialog(this);
    return runDialog(dialog) == QDialog::Accepted;
}

bool MainWindow::runDispense(Dispenser* d)
{
    // Always the real dialog: it is what starts and steers the search.
    DispenseBoard board(this, d);
    const int limit = Settings().value(QLatin1String(timeLimitKey), 0).toInt();
    if (std::find(std::begin(timeLimits), std::end(timeLimits), limit) != std::end(timeLimits))
        board.setTimeLimit(qint64(limit) * 1000);
    const bool ok = board.exec() == QDialog::Accepted;
    m_searchEnd = board.searchEnd();
    return ok;
}

bool MainWindow::askCopyFolder(const QString& root, QString& folder)
{
    // Opens where the last copy went, or on the target's root; choosing the
    // root as it opens copies there.
    QFileDialog dialog(this, tr("Copy to Target: the folder on the target to copy into"),
                       folder.isEmpty() ? root : folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    QStringList chosen;
    if (!DialogAnswers::takeFiles(dialog, chosen)) {
        if (dialog.exec() != QDialog::Accepted)
            return false;
        chosen = dialog.selectedFiles();
    }
    if (chosen.isEmpty())
        return false;
    folder = chosen.first();
    return true;
}

std::unique_ptr<CopyEngine> MainWindow::runCopy(const QStringList& entries,
                                                const CopyDestination& at)
{
    // Always the real dialog: it is what runs the copy.
    auto engine = std::make_unique<CopyEngine>(entries, at);
    CopyDlg dialog(this, engine.get());
    dialog.exec();
    return dialog.started() ? std::move(engine) : nullptr;
}

bool MainWindow::runSeries(const Target& picked, const std::vector<SeriesEntry>& entries,
                           bool canDispense, SeriesMedium& chosen, Target& medium)
{
    // Always the real dialog: it is what makes the plan.
    SeriesDlg dialog(this, picked, entries, canDispense);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen = dialog.chosen();
    medium = dialog.medium();
    return true;
}

bool MainWindow::askExportFolder(QString& folder)
{
    QStringList chosen;
    if (!runFileDialog(tr("Export the Lists Into"), QFileDialog::Directory, QFileDialog::AcceptOpen,
                       ExportFolder, chosen))
        return false;
    folder = chosen.first();
    return true;
}

void MainWindow::showWarning(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    runQuestion(box);
}

void MainWindow::showAbout()
{
    AboutDlg dialog;
    runDialog(dialog);
}

void MainWindow::closeMainWindow()
{
    close();
}

IViewDialogs::SaveChoice MainWindow::askSaveChanges()
{
    QMessageBox box(QMessageBox::Warning, tr("Unsaved Changes"),
                    tr("Save the changes to \"%1\" before closing it?").arg(m_projectName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setInformativeText(tr("Changes that are not saved will be lost."));
    // A key for each choice, whatever the platform theme names them.
    box.button(QMessageBox::Save)->setText(tr("&Save"));
    box.button(QMessageBox::Discard)->setText(tr("&Discard"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (runQuestion(box)) {
    case QMessageBox::Save:
        return SaveChanges;
    case QMessageBox::Discard:
        return DiscardChanges;
    default:
        return CancelClose;
    }
}

bool MainWindow::runArrivalCheck(TargetArrival& check)
{
    return DeleteDlg::runCheck(check, this);
}

IViewDialogs::DeleteChoice MainWindow::askOriginalsDelete(const DeleteQuestion& question,
                                                          QString& folder)
{
    DeleteDlg dialog(question, this);
    switch (dialog.ask()) {
    case QMessageBox::Yes:
        return DeleteArrived;
    case QMessageBox::Open: {
        QStringList chosen;
        if (runFileDialog(tr("Folder on the target"), QFileDialog::Directory,
                          QFileDialog::AcceptOpen, TargetFolder, chosen))
            folder = chosen.first();
        return LookInFolder;
    }
    default:
        return DeleteNothing;
    }
}

bool MainWindow::runFileDialog(const QString& caption, QFileDialog::FileMode mode,
                               QFileDialog::AcceptMode acceptMode, FolderKind kind,
                               QStringList& chosen)
{
    const QString key = QLatin1String(folderKeys[kind]);
    QString start = kind == TargetFolder && dataModel()->hasTarget()
                        ? dataModel()->target().Path
                        : Settings().value(key).toString();
    // Never the toolkit's last folder, which may be one on the target: the
    // documents for projects, else the home folder.
    if ((start.isEmpty() || !QFileInfo(start).isDir()) && kind == ProjectsFolder)
        start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::homePath();
    QFileDialog dialog(this, caption, start, QString());
    dialog.setFileMode(mode);
    dialog.setAcceptMode(acceptMode);
    if (kind == ProjectsFolder) {
        dialog.setNameFilters({tr("Quillmarch projects (*.qmp)"), tr("All files (*)")});
        dialog.setDefaultSuffix(QStringLiteral("qmp"));
    } else if (kind == ImageFolder) {
        dialog.setNameFilters({tr("Disc images (*.iso)"), tr("All files (*)")});
        dialog.setDefaultSuffix(QStringLiteral("iso"));
    }
    if (mode == QFileDialog::Directory && kind == EntriesFolder) {
        // Several folders at once where the dialog is the toolkit's own; a
        // desktop's dialog (only there once shown) takes one.
        QTimer::singleShot(0, &dialog, [&dialog] {
            for (const char* name : {"listView", "treeView"})
                if (auto* view = dialog.findChild<QAbstractItemView*>(QLatin1String(name)))
                    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        });
    }
    if (!DialogAnswers::takeFiles(dialog, chosen)) {
        if (dialog.exec() == 0)
            return false;
        chosen = dialog.selectedFiles();
    }
    if (chosen.isEmpty())
        return false;
    // The folder that held the choice; for an added folder, the one above it.
    if (kind != TargetFolder)
        Settings().setValue(key, QFileInfo(chosen.first()).absolutePath());
    return true;
}

QMessageBox::StandardButton MainWindow::runQuestion(QMessageBox& box)
{
    QMessageBox::StandardButton answer;
    if (DialogAnswers::takeButton(box, answer))
        return answer;
    return QMessageBox::StandardButton(box.exec());
}

int MainWindow::runDialog(QDialog& dialog)
{
    int answer;
    if (DialogAnswers::takeResult(dialog, answer))
        return answer;
    return dialog.exec();
}
