// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MainWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QToolBar>

#include "control/Ctrl.h"
#include "core/dispense/Dispenser.h"
#include "core/dispense/SeriesPlanner.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "gui/AboutDlg.h"
#include "gui/DialogAnswers.h"
#include "gui/DispenseBoard.h"
#include "gui/EditTarget.h"
#include "gui/IconSet.h"
#include "gui/MainActions.h"
#include "gui/MainList.h"
#include "gui/MainStatus.h"
#include "gui/SeriesDlg.h"

namespace {

constexpr int RecentCount = 8;
const char* const folderKeys[] = {"folders/entries", "folders/projects", nullptr, "folders/exports",
                                  "folders/images"};

// ~/.config/quillmarch/quillmarch.conf, whatever the application object is named.
struct Settings : QSettings
{
    Settings() : QSettings(QStringLiteral("quillmarch"), QStringLiteral("quillmarch")) {}
};

QString counted(int n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    m_actions = new MainActions(this);
    m_actions->setupTexts();
    m_status = new MainStatus(this);
    m_list = new MainList(this);
    setCentralWidget(m_list);

    // The entry commands and the selection commands on a right click.
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        m_actions->listContextMenu()->popup(m_list->viewport()->mapToGlobal(pos));
    });

    fillRecentMenu();
    controller()->attachViews(this, m_actions, m_list, m_status);
    setWindowIcon(icon(MainIcon));
    const Settings stored;
    if (!restoreGeometry(stored.value(QStringLiteral("window/geometry")).toByteArray())) {
        // Wide enough that no toolbar button goes into the overflow menu.
        const int toolbar = m_actions->toolBar()->sizeHint().width() + 24;
        const int room = screen()->availableGeometry().width();
        resize(qMin(qMax(800, toolbar), qMax(800, room)), 600);
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

void MainWindow::openProject(const QString& path)
{
    controller()->projectOpen(path);
}

void MainWindow::setTitle(const QString& title)
{
    // The model names a project saved for the first time by its whole path.
    m_projectName = QFileInfo(title).fileName();
    setWindowTitle(m_projectName + QStringLiteral("[*] - Quillmarch"));
    DM* model = dataModel();
    setWindowModified(model->isModified());
    if (!model->filePath().isEmpty())
        rememberRecent(model->filePath());
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
        connect(a, &QAction::triggered, this, [this, path] { openProject(path); });
    }
    menu->addSeparator();
    QAction* clear = menu->addAction(QStringLiteral("&Clear the list"));
    clear->setEnabled(!recent.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        Settings().remove(QStringLiteral("recent/projects"));
        fillRecentMenu();
    });
}

bool MainWindow::askFolderAdd(QString& folder)
{
    QStringList chosen;
    if (!runFileDialog(QStringLiteral("Add folder"), QFileDialog::Directory,
                       QFileDialog::AcceptOpen, EntriesFolder, chosen))
        return false;
    folder = chosen.first();
    return true;
}

bool MainWindow::askFilesAdd(QStringList& files)
{
    QStringList chosen;
    if (!runFileDialog(QStringLiteral("Add file(s)"), QFileDialog::ExistingFiles,
                       QFileDialog::AcceptOpen, EntriesFolder, chosen))
        return false;
    files = chosen;
    return true;
}

bool MainWindow::askProjectSaveAs(QString& path)
{
    // Save mode: open mode accepts only existing files in some desktops'
    // dialogs, and the toolkit asks before an existing file is overwritten.
    QStringList chosen;
    if (!runFileDialog(QStringLiteral("Save Project As"), QFileDialog::AnyFile,
                       QFileDialog::AcceptSave, ProjectsFolder, chosen))
        return false;
    path = chosen.first();
    // The toolkit's dialog adds the suffix itself and asks before replacing
    // that file; a desktop's own dialog may do neither.
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".qmp");
        if (QFileInfo::exists(path)) {
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Save Project As"),
                            QStringLiteral("\"%1\" already exists. Replace it?")
                                .arg(QFileInfo(path).fileName()),
                            QMessageBox::Yes | QMessageBox::Cancel, this);
            box.setDefaultButton(QMessageBox::Cancel);
            if (runQuestion(box) != QMessageBox::Yes)
                return false;
        }
    }
    return true;
}

bool MainWindow::askProjectLoad(QString& path)
{
    QStringList chosen;
    if (!runFileDialog(QStringLiteral("Load Project"), QFileDialog::ExistingFile,
                       QFileDialog::AcceptOpen, ProjectsFolder, chosen))
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
    return board.exec() == QDialog::Accepted;
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
    if (!runFileDialog(QStringLiteral("Export the Lists Into"), QFileDialog::Directory,
                       QFileDialog::AcceptOpen, ExportFolder, chosen))
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
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("Unsaved Changes"),
        QStringLiteral("Save the changes to \"%1\" before closing it?").arg(m_projectName),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setInformativeText(QStringLiteral("Changes that are not saved will be lost."));
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

IViewDialogs::DeleteChoice MainWindow::askOriginalsDelete(const DeleteQuestion& question,
                                                          QString& folder)
{
    QStringList parts;
    if (question.files > 0)
        parts.append(counted(question.files, "file", "files"));
    if (question.folders > 0)
        parts.append(counted(question.folders, "folder", "folders"));
    const int count = question.files + question.folders;
    const QString what = parts.join(QStringLiteral(" and "));
    const QString places = question.places.join(QStringLiteral(" or "));
    const bool all = question.found == count;
    const QString noun = QLatin1String(count == 1 ? "entry" : "entries");
    QMessageBox box(QMessageBox::Question, QStringLiteral("Delete the files"), QString(),
                    QMessageBox::Cancel, this);
    if (all) {
        box.setText(QStringLiteral("Found on the target: all %1 dispensed %2 (%3). Move their "
                                   "originals to the trash?")
                        .arg(count)
                        .arg(noun, what));
        // Named, so that nothing unexpected goes unnoticed; ten are enough to recognise.
        QStringList lines;
        for (int i = 0; i < question.paths.size() && i < 10; ++i)
            lines << escapedText(question.paths.at(i));
        if (question.paths.size() > 10)
            lines << QStringLiteral("and %1 more").arg(question.paths.size() - 10);
        box.setInformativeText(QStringLiteral("Found in %1:\n").arg(places) +
                               lines.join(QLatin1Char('\n')));
    } else {
        box.setIcon(QMessageBox::Warning);
        box.setText(QStringLiteral("Found on the target: %1 of %2 dispensed %3 (%4).")
                        .arg(question.found)
                        .arg(count)
                        .arg(noun, what));
        QStringList names = question.notFound.mid(0, 10);
        for (QString& name : names)
            name = escapedText(name);
        if (question.notFound.size() > 10)
            names << QStringLiteral("and %1 more").arg(question.notFound.size() - 10);
        box.setInformativeText(
            QStringLiteral("Not found in %1: %2. Their originals stay dispensed unless you "
                           "delete all. If you pasted them into a folder on the target, look "
                           "there.")
                .arg(places.isEmpty() ? QStringLiteral("the target") : places,
                     names.join(QStringLiteral(", "))));
        box.setDetailedText(question.notFound.join(QLatin1Char('\n')));
        box.addButton(QMessageBox::Open)->setText(QStringLiteral("Look in a Folder..."));
        box.addButton(QMessageBox::YesToAll)
            ->setText(QStringLiteral("Move All %1 to Trash").arg(count));
    }
    if (question.found > 0)
        box.addButton(QMessageBox::Yes)
            ->setText(all ? QStringLiteral("Move to Trash")
                          : QStringLiteral("Move the %1 Found to Trash").arg(question.found));
    box.setDefaultButton(all ? QMessageBox::Yes : QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (runQuestion(box)) {
    case QMessageBox::Yes:
        return question.found > 0 ? DeleteFound : DeleteNothing;
    case QMessageBox::YesToAll:
        return DeleteAll;
    case QMessageBox::Open: {
        QStringList chosen;
        if (runFileDialog(QStringLiteral("Folder on the target"), QFileDialog::Directory,
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
    const QString start = kind == TargetFolder && dataModel()->hasTarget()
                              ? dataModel()->target().Path
                              : Settings().value(key).toString();
    QFileDialog dialog(this, caption, start, QString());
    dialog.setFileMode(mode);
    dialog.setAcceptMode(acceptMode);
    if (kind == ProjectsFolder) {
        dialog.setNameFilters(
            {QStringLiteral("Quillmarch projects (*.qmp)"), QStringLiteral("All files (*)")});
        dialog.setDefaultSuffix(QStringLiteral("qmp"));
    } else if (kind == ImageFolder) {
        dialog.setNameFilters({tr("Disc images (*.iso)"), tr("All files (*)")});
        dialog.setDefaultSuffix(QStringLiteral("iso"));
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
