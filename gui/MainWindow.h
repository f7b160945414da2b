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
    bool confirmOriginalsDelete(int files, int folders) override;

    // Test hooks: queued answers for the next modal dialogs, so tests can
    // drive the window without a user. While an answer of the right kind is
    // queued, the dialog is built but not shown, and the answer is taken
    // instead (oldest first).
    struct Answers
    {
        // File dialogs: the chosen paths; an empty list cancels.
        static void nextFiles(const QStringList& paths);
        // Message boxes: the button pressed.
        static void nextButton(QMessageBox::StandardButton button);
        // Other dialogs (About, ...): the exec() result.
        static void nextResult(int result);
        static void clear();
        static bool pending();
    };
    // What the last dialog that took a queued answer looked like.
    struct ShownDialog
    {
        QString caption;
        QString text; // message boxes: text and informative text, one line each
        QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
        QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    };
    static ShownDialog lastShownDialog();

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
