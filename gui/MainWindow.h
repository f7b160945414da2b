#pragma once

#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>

#include "control/IViewDialogs.h"

class MainActions;
class MainList;
class MainStatus;

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

    void setTitle(const QString& title) override;
    bool askFolderAdd(QString& folder) override;
    bool askFilesAdd(QStringList& files) override;
    bool askProjectSaveAs(QString& path) override;
    bool askProjectLoad(QString& path) override;
    bool pickTarget() override;
    bool runDispense(Dispenser* d) override;
    void showAbout() override;
    void closeMainWindow() override;
    SaveChoice askSaveChanges() override;
    bool confirmOriginalsDelete(int files, int folders, const QStringList& paths) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool runFileDialog(const QString& caption, QFileDialog::FileMode mode,
                       QFileDialog::AcceptMode acceptMode, QStringList& chosen);
    QMessageBox::StandardButton runQuestion(QMessageBox& box);
    int runDialog(QDialog& dialog);

    MainActions* m_actions;
    MainStatus* m_status;
    MainList* m_list;
};
