#pragma once

#include <QString>
#include <QStringList>

class Dispenser;

// The main window as the controller sees it: the title and every dialog a
// command needs. Each dialog runs modally and reports what the user chose.
class IViewDialogs
{
public:
    virtual ~IViewDialogs() = default;

    virtual void setTitle(const QString& title) = 0;
    virtual bool askFolderAdd(QString& folder) = 0;
    virtual bool askFilesAdd(QStringList& files) = 0;
    virtual bool askProjectSaveAs(QString& path) = 0;
    virtual bool askProjectLoad(QString& path) = 0;
    virtual bool pickTarget() = 0;
    virtual bool runDispense(Dispenser* d) = 0;
    virtual void showAbout() = 0;

    // Asks the window to close, which ends the program.
    virtual void closeMainWindow() = 0;

    enum SaveChoice { CancelClose = 0, SaveChanges = 1, DiscardChanges = 2 };
    // Asks whether to save unsaved changes before they would be dropped.
    virtual SaveChoice askSaveChanges() = 0;

    // Asks before the originals of the dispensed entries go to the trash;
    // paths names them all, in list order.
    virtual bool confirmOriginalsDelete(int files, int folders, const QStringList& paths) = 0;
};
