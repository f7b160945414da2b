// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QMessageBox>

#include "control/IViewDialogs.h"

class QPushButton;

// The question of "Delete the files": one row for each dispensed entry with
// its state on the target (arrived, missing, differs, not checked) and why,
// the counts of the four, and the same three buttons in their roles whatever
// was found: "Look in a Folder...", "Move to Trash" (off while nothing
// arrived or nothing could be checked) and Cancel. Also runs the check before
// it, with progress and Cancel.
class DeleteDlg : public QDialog
{
    Q_OBJECT
public:
    explicit DeleteDlg(const IViewDialogs::DeleteQuestion& question, QWidget* parent = nullptr);

    // Yes (move the originals of what arrived), Open (look in a folder) or
    // Cancel; a queued DialogAnswers button stands for the user.
    QMessageBox::StandardButton ask();
    // What the dialog says: its text, then a line for each row.
    const QString& shownText() const { return m_shown; }

    // Runs check on a thread of its own, with a progress dialog over parent
    // once it takes a while; false when the user cancelled it.
    static bool runCheck(TargetArrival& check, QWidget* parent);

private:
    QPushButton* m_look;
    QPushButton* m_move;
    QPushButton* m_cancel;
    QString m_shown;
};
