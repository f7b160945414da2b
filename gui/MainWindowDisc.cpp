// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs of Write Disc and Write Image... of MainWindow.
#include "gui/MainWindow.h"

#include <QFileInfo>

#include "gui/DiscWriteDlg.h"

bool MainWindow::askImageFile(QString& path)
{
    QStringList chosen;
    if (!runFileDialog(tr("Write Image"), QFileDialog::AnyFile, QFileDialog::AcceptSave,
                       ImageFolder, chosen))
        return false;
    path = chosen.first();
    return withSuffix(path, QStringLiteral(".iso"), tr("Write Image"));
}

DiscResult MainWindow::runDiscWrite(DiscRun& run, bool toDrive)
{
    DiscWriteDlg dialog(this, run, toDrive ? tr("Write Disc") : tr("Write Image"));
    dialog.exec();
    return dialog.outcome();
}

bool MainWindow::askDiscOverwrite(const QString& drive)
{
    QMessageBox box(QMessageBox::Warning, tr("Write Disc"),
                    tr("The disc in %1 already holds files. Write over them?").arg(drive),
                    QMessageBox::Yes | QMessageBox::Cancel, this);
    box.setInformativeText(tr("Everything on the disc will be lost."));
    box.setDefaultButton(QMessageBox::Cancel);
    return runQuestion(box) == QMessageBox::Yes;
}
