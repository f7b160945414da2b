// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "core/model/Entry.h"

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QModelIndex;
class QPushButton;
class QTreeWidget;

class FiguresRow;

// The modal dialog in which the user picks the target: a table of the drive
// roots (mounted volumes, then recorders) with label, file system and free
// space, and "Other..." for a medium described by its figures (FiguresRow);
// volumes that cannot be filled are shown disabled with the reason, and the
// current target is preselected. A recorder's disc is written as ISO 9660
// unless the user chooses UDF for it. A confirmed row is probed (or its
// figures checked) and, when it can be filled, stored as the model's target
// and the dialog ends accepted.
// A row that cannot be used shows why and the dialog stays open; Cancel,
// Escape and the close button leave the model as it was.
class EditTarget : public QDialog
{
    Q_OBJECT
public:
    explicit EditTarget(QWidget* parent);

    // Why a probed target is still refused (empty when it is fine): figures
    // the project file would refuse, or a disc whose free blocks the file
    // system's own structures alone would take.
    static QString refusal(const Target& target);

private slots:
    void on_accept();
    void on_doubleClicked(const QModelIndex& index);
    void on_cancel();
    void on_currentChanged();

private:
    void fillDriveList();
    void applyChoice(const QString& root);
    void applyFigures();
    void showProblem(const QString& text);

    QGridLayout* m_layout = nullptr;
    QLabel* m_picture = nullptr;
    QTreeWidget* m_driveList = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QHBoxLayout* m_buttonRow = nullptr;
    QLabel* m_message = nullptr; // why the chosen row cannot be used
    QLabel* m_discLabel = nullptr;
    QComboBox* m_discKind = nullptr; // what a recorder's disc is written as
    FiguresRow* m_figures = nullptr; // shown for "Other..."
};
