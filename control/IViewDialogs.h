// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

#include "control/IViewStatus.h"
#include "core/copy/ContentArrival.h"
#include "core/disc/DiscRun.h"
#include "core/copy/CopyEngine.h"

class Dispenser;
class TargetArrival;
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
    // One folder or several at once.
    virtual bool askFolderAdd(QStringList& folders) = 0;
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

    // Asks where on the target whose root is root a copy goes; folder holds
    // the proposal and takes the answer. False: no copy.
    virtual bool askCopyFolder(const QString& root, QString& folder)
    {
        Q_UNUSED(root);
        Q_UNUSED(folder);
        return false;
    }
    // Copies entries to at through a CopyEngine on a worker thread, showing
    // its progress with a way to cancel; returns the engine once its run
    // ended, or null when it could not be started.
    virtual std::unique_ptr<CopyEngine> runCopy(const QStringList& entries,
                                                const CopyDestination& at)
    {
        Q_UNUSED(entries);
        Q_UNUSED(at);
        return nullptr;
    }

    // Asks the window to close, which ends the program.
    virtual void closeMainWindow() = 0;

    enum SaveChoice { CancelClose = 0, SaveChanges = 1, DiscardChanges = 2 };
    // Asks whether to save unsaved changes before they would be dropped.
    virtual SaveChoice askSaveChanges() = 0;

    // Runs the check of the target (TargetArrival::run) with progress; false
    // when the user cancelled it, which leaves everything in place.
    virtual bool runArrivalCheck(TargetArrival& check) = 0;

    // What the check of the target found before the originals of the
    // dispensed entries go to the trash.
    struct DeleteQuestion
    {
        struct Row
        {
            QString name, path; // the entry's, and its original
            Arrival state = Arrival::NotChecked;
            QString reason; // what differs or why it was not checked; below the entry
        };
        std::vector<Row> rows; // every dispensed entry, in list order
        QStringList places;    // where the copies were looked for
        QString problem;       // why nothing could be checked: nothing can go
        QString note;          // what the check could not tell
    };
    enum DeleteChoice { DeleteNothing = 0, DeleteArrived = 1, LookInFolder = 2 };
    // Asks whether the originals of the entries that arrived go to the trash.
    // LookInFolder: folder := a folder on the target to look in as well, after
    // which the check runs and the question comes again.
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
