#include "gui/MainWindow.h"

#include <QCloseEvent>
#include <QMenu>
#include <QPushButton>

#include "control/Ctrl.h"
#include "core/dispense/Dispenser.h"
#include "core/model/EntryPaths.h"
#include "gui/AboutDlg.h"
#include "gui/DialogAnswers.h"
#include "gui/DispenseBoard.h"
#include "gui/EditTarget.h"
#include "gui/IconSet.h"
#include "gui/MainActions.h"
#include "gui/MainList.h"
#include "gui/MainStatus.h"

namespace {

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

    controller()->attachViews(this, m_actions, m_list, m_status);
    setWindowIcon(icon(MainIcon));
    resize(800, 600);
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
    QMainWindow::closeEvent(event);
}

void MainWindow::setTitle(const QString& title)
{
    setWindowTitle(title);
}

bool MainWindow::askFolderAdd(QString& folder)
{
    QStringList chosen;
    if (!runFileDialog(QStringLiteral("Add folder"), QFileDialog::Directory,
                       QFileDialog::AcceptOpen, chosen))
        return false;
    folder = chosen.first();
    return true;
}

bool MainWindow::askFilesAdd(QStringList& files)
{
    QStringList chosen;
    if (!runFileDialog(QStringLiteral("Add file(s)"), QFileDialog::ExistingFiles,
                       QFileDialog::AcceptOpen, chosen))
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
                       QFileDialog::AcceptSave, chosen))
        return false;
    path = chosen.first();
    return true;
}

bool MainWindow::askProjectLoad(QString& path)
{
    QStringList chosen;
    if (!runFileDialog(QStringLiteral("Load Project"), QFileDialog::ExistingFile,
                       QFileDialog::AcceptOpen, chosen))
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
        QStringLiteral("Save the changes to \"%1\" before closing it?").arg(windowTitle()),
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

bool MainWindow::confirmOriginalsDelete(int files, int folders, const QStringList& paths)
{
    QStringList parts;
    if (files > 0)
        parts.append(counted(files, "file", "files"));
    if (folders > 0)
        parts.append(counted(folders, "folder", "folders"));
    const QString what = parts.isEmpty() ? QStringLiteral("the dispensed entries")
                                         : parts.join(QStringLiteral(" and "));
    QMessageBox box(QMessageBox::Question, QStringLiteral("Delete the files"),
                    QStringLiteral("Move %1 to the trash?").arg(what),
                    QMessageBox::Yes | QMessageBox::Cancel, this);
    // Named, so that nothing unexpected goes unnoticed; ten are enough to recognise.
    constexpr int shown = 10;
    QStringList lines;
    for (int i = 0; i < paths.size() && i < shown; ++i)
        lines << escapedText(paths.at(i));
    if (paths.size() > shown)
        lines << QStringLiteral("and %1 more").arg(paths.size() - shown);
    box.setInformativeText(lines.join(QLatin1Char('\n')) +
                           QStringLiteral("\n\nThese are the originals of the dispensed entries. "
                                          "Do this only once they have been copied to the "
                                          "target."));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Move to Trash"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return runQuestion(box) == QMessageBox::Yes;
}

bool MainWindow::runFileDialog(const QString& caption, QFileDialog::FileMode mode,
                               QFileDialog::AcceptMode acceptMode, QStringList& chosen)
{
    QFileDialog dialog(this, caption, QString(), QString());
    dialog.setFileMode(mode);
    dialog.setAcceptMode(acceptMode);
    if (DialogAnswers::takeFiles(dialog, chosen))
        return !chosen.isEmpty();
    if (dialog.exec() == 0)
        return false;
    chosen = dialog.selectedFiles();
    return !chosen.isEmpty();
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
