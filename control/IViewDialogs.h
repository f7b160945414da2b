// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <vector>

#include <QString>
#include <QStringList>

#include "control/IViewStatus.h"
#include "core/disc/DiscRun.h"

class Dispenser;
struct SeriesEntry;
struct SeriesMedium;
struct Target;

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
    // How the search of the last runDispense that gave a result ended.
    virtual IViewStatus::SearchEnd lastSearchEnd() const { return IViewStatus::SearchFinished; }
    virtual void showAbout() = 0;
    // Plans a series of media for the entries (in list order) onto the picked
    // target (no Path: none) or a medium the user names. True, with chosen and
    // the medium it was planned for, when the user chose to dispense one;
    // offered only if canDispense.
    virtual bool runSeries(const Target& picked, const std::vector<SeriesEntry>& entries,
                           bool canDispense, SeriesMedium& chosen, Target& medium) = 0;

    // Asks the window to close, which ends the program.
    virtual void closeMainWindow() = 0;

    enum SaveChoice { CancelClose = 0, SaveChanges = 1, DiscardChanges = 2 };
    // Asks whether to save unsaved changes before they would be dropped.
    virtual SaveChoice askSaveChanges() = 0;

    // What the check of the target found before the originals of the
    // dispensed entries go to the trash.
    struct DeleteQuestion
    {
        int files = 0, folders = 0; // dispensed
        int found = 0;              // of them, found on the target
        QStringList notFound;       // the names of the others, in list order
        QStringList places;         // where they were looked for
        QStringList paths;          // the originals of all of them, in list order
    };
    enum DeleteChoice { DeleteNothing = 0, DeleteFound = 1, DeleteAll = 2, LookInFolder = 3 };
    // Asks which originals go to the trash. LookInFolder: folder := a folder
    // on the target to look in as well, after which the question comes again.
    virtual DeleteChoice askOriginalsDelete(const DeleteQuestion& question, QString& folder) = 0;

    // Asks for the image file to write; path := it.
    virtual bool askImageFile(QString& path)
    {
        Q_UNUSED(path);
        return false;
    }
    // Runs the writing of a disc or an image, with its progress and Cancel,
    // and returns how it ended. Without a window: at once, unseen.
    virtual DiscResult runDiscWrite(DiscRun& run, bool toDrive)
    {
        Q_UNUSED(toDrive);
        const std::atomic_bool never{false};
        return run.run([](const DiscProgress&) {}, never);
    }
    // Asks whether the rewritable disc in drive, which holds files, may be
    // written over.
    virtual bool askDiscOverwrite(const QString& drive)
    {
        Q_UNUSED(drive);
        return false;
    }
};
