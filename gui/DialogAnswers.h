// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

// Answers queued for the main window's next modal dialogs, so that tests can
// drive the window without a user. The window asks here before it shows a
// dialog: while an answer of the right kind is queued, the dialog is built but
// not shown and the oldest answer is taken instead. Nothing is queued in the
// program, so every dialog is shown. GUI thread only.
class DialogAnswers
{
public:
    // What the last dialog that took a queued answer looked like.
    struct Shown
    {
        QString caption;
        QString text; // message boxes: text and informative text, one line each
        QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
        QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
        QString folder; // file dialogs: where they opened
    };

    // File dialogs: the chosen paths; an empty list cancels.
    static void nextFiles(const QStringList& paths);
    // Message boxes: the button pressed.
    static void nextButton(QMessageBox::StandardButton button);
    // Other dialogs (About, the target picker): the exec() result.
    static void nextResult(int result);
    static void clear();
    static bool pending();
    static Shown lastShown();

    // For the window: true, with the answer, when one is queued for this dialog.
    static bool takeFiles(const QFileDialog& dialog, QStringList& chosen);
    static bool takeButton(const QMessageBox& box, QMessageBox::StandardButton& button);
    // Other dialogs that end with one of their buttons (the Delete question):
    // the button pressed, from the queue of message boxes; text: what it says.
    static bool takeButton(const QDialog& dialog, const QString& text,
                           QMessageBox::StandardButton& button);
    static bool takeResult(const QDialog& dialog, int& result);
};
