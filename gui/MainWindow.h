// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>

#include "control/IViewDialogs.h"

class CapacityBar;
class MainActions;
class MainList;
class MainStatus;
class MessageBar;

// The one top-level window. Owns the actions (menus, toolbar), the status bar
// and the entry list, hands all four views to the controller, and runs every
// dialog the controller asks for.
class MainWindow : public QMainWindow, public IViewDialogs
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    MainActions* actions() const { return m_actions; }
    MainStatus* status() const { return m_status; }
    MainList* list() const { return m_list; }
    MessageBar* messages() const { return m_messages; }
    CapacityBar* capacityBar() const { return m_capacityBar; }

    // For the window's own dialogs: a folder to write lists into, and a
    // warning over parent. Both can be answered through DialogAnswers.
    bool askExportFolder(QString& folder);
    void showWarning(QWidget* parent, const QString& title, const QString& text);

    void setTitle(const QString& title) override;
    bool askFolderAdd(QStringList& folders) override;
    bool askFilesAdd(QStringList& files) override;
    bool askProjectSaveAs(QString& path) override;
    bool askProjectLoad(QString& path) override;
    bool pickTarget() override;
    bool runDispense(Dispenser* d) override;
    IViewStatus::SearchEnd lastSearchEnd() const override { return m_searchEnd; }
    void showAbout() override;
    bool runSeries(const Target& picked, const std::vector<SeriesEntry>& entries, bool canDispense,
                   SeriesMedium& chosen, Target& medium) override;
    void closeMainWindow() override;
    SaveChoice askSaveChanges() override;
    bool runArrivalCheck(TargetArrival& check) override;
    DeleteChoice askOriginalsDelete(const DeleteQuestion& question, QString& folder) override;
    // In MainWindowDisc.cpp.
    bool askImageFile(QString& path) override;
    DiscResult runDiscWrite(DiscRun& run, bool toDrive) override;
    bool askDiscOverwrite(const QString& drive) override;
    bool askCopyFolder(const QString& root, QString& folder) override;
    std::unique_ptr<CopyEngine> runCopy(const QStringList& entries,
                                        const CopyDestination& at) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Where a file dialog opens and what it remembers: the entries or the projects.
    enum FolderKind
    {
        EntriesFolder,
        ProjectsFolder,
        TargetFolder, // starts on the target, never remembered
        ExportFolder,
        ImageFolder
    };

    bool runFileDialog(const QString& caption, QFileDialog::FileMode mode,
                       QFileDialog::AcceptMode acceptMode, FolderKind kind, QStringList& chosen);
    void rememberRecent(const QString& path);
    void fillRecentMenu();
    void fillTimeLimitMenu();
    QMessageBox::StandardButton runQuestion(QMessageBox& box);
    // path with suffix added where it has none; false when that names a file
    // the user would not replace.
    bool withSuffix(QString& path, const QString& suffix, const QString& title);
    int runDialog(QDialog& dialog);

    MainActions* m_actions;
    MainStatus* m_status;
    MainList* m_list;
    MessageBar* m_messages;
    CapacityBar* m_capacityBar;
    QString m_projectName; // the file name the title shows
    IViewStatus::SearchEnd m_searchEnd = IViewStatus::SearchFinished;
};
