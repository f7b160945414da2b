// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the real main window over a sample project: a few dozen entries in
// all five groups, a target and a dispense result. Used by
// tools/screenshot.sh for the picture in the README; closes by itself after
// a minute.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidgetItem>

#include "core/model/DM.h"
#include "gui/MainActions.h"
#include "gui/MainList.h"
#include "gui/MainStatus.h"
#include "gui/MainWindow.h"

namespace {

struct Sample
{
    int group;
    const char* path;
    double megabytes;
    bool folder;
};

const Sample samples[] = {
    {Required, "/home/ana/Documents/Tax 2025", 184.2, true},
    {Required, "/home/ana/Documents/passport-scan.pdf", 3.4, false},
    {Required, "/home/ana/Pictures/Wedding", 6120.0, true},
    {Required, "/home/ana/Documents/thesis-final.odt", 12.7, false},
    {Required, "/home/ana/Mail/archive.mbox", 812.5, false},
    {Main, "/home/ana/Pictures/Iceland 2024", 4410.3, true},
    {Main, "/home/ana/Pictures/Portugal 2023", 3208.8, true},
    {Main, "/home/ana/Videos/first-steps.mp4", 1570.1, false},
    {Main, "/home/ana/Videos/graduation.mkv", 2890.4, false},
    {Main, "/home/ana/Music/Field recordings", 945.0, true},
    {Main, "/home/ana/Projects/garden-planner", 211.9, true},
    {Main, "/home/ana/Pictures/scans-grandparents.tar", 1333.3, false},
    {Main, "/home/ana/Videos/Concert 2022", 7720.0, true},
    {Main, "/home/ana/Documents/recipes.ods", 0.8, false},
    {Main, "/home/ana/Music/Podcasts", 3010.6, true},
    {Main, "/home/ana/Pictures/Phone backup", 0, true},
    {Background, "/home/ana/Downloads/debian-12.iso", 3904.1, false},
    {Background, "/home/ana/Videos/Lectures", 10244.0, true},
    {Background, "/home/ana/Music/Vinyl rips", 5120.7, true},
    {Background, "/home/ana/Games/Saves", 98.6, true},
    {Background, "/home/ana/Downloads/fonts.zip", 44.0, false},
    {Background, "/home/ana/Projects/old-website", 402.2, true},
    {Background, "/home/ana/Videos/timelapse-raw", 14020.0, true},
    {NotInUse, "/home/ana/Downloads/installer.exe", 88.1, false},
    {NotInUse, "/home/ana/VMs/windows-10.qcow2", 42100.0, false},
    {NotInUse, "/home/ana/.cache/thumbnails", 730.4, true},
    {NotInUse, "/home/ana/Downloads/old-phone.img", 15980.5, false},
};

// Entries that the sample dispense result holds, by their place above.
const int dispensed[] = {0, 1, 3, 4, 6, 8, 10, 13, 19};

} // namespace

int main(int argc, char* argv[])
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling); // as the program does
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication app(argc, argv);
    // The program's first start, whatever the user's own settings hold.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    DM* model = dataModel();
    std::vector<EntryPos> where;
    for (const Sample& s : samples) {
        Entry e;
        e.Ident = QString::fromUtf8(s.path);
        e.Path = e.Ident.section(QLatin1Char('/'), 0, -2);
        e.Name = e.Ident.section(QLatin1Char('/'), -1);
        e.Kind = s.folder ? Folder : File;
        e.Size = quint64(s.megabytes * 1024 * 1024);
        e.IsValidSize = !(s.folder && s.megabytes == 0); // one folder still being measured
        EntryPos p = model->addEntry(e);
        if (s.group != Main)
            model->moveEntry(p, s.group);
        where.push_back(p);
    }
    // A stick that the dispensed entries fill up to the sample's waste.
    const quint64 wasted = quint64(37.4 * 1024 * 1024);
    Target stick;
    stick.Path = QStringLiteral("/media/ana/STICK8");
    stick.FileSystem = FAT;
    stick.BlockSize = 32768;
    for (int i : dispensed)
        stick.AvailableBlocks += (model->entryAt(where[i]).Size + 32767) / 32768;
    stick.AvailableBlocks += wasted / 32768;
    model->setTarget(stick);
    DispenseQueue queue;
    for (int i : dispensed)
        queue.push(where[i]);
    model->applyDispense(queue, wasted);

    MainWindow window;
    // The one-line summary that follows a dispense.
    window.status()->showOutcome(stick.capacity() - wasted, wasted, IViewStatus::SearchFinished);
    if (qEnvironmentVariableIsSet("QM_SAMPLE_MESSAGE"))
        window.status()->showMessage(IViewStatus::Error, qEnvironmentVariable("QM_SAMPLE_MESSAGE"));
    window.actions()->setDispensed(true);
    window.actions()->enableSave(true);
    window.actions()->enableEntryActions(true);
    // Two rows of Main selected, to show the highlight.
    MainList* list = window.list();
    list->topLevelItem(Main)->child(1)->setSelected(true);
    list->topLevelItem(Main)->child(3)->setSelected(true);
    // Tall enough to show every group, as wide as the program opens.
    window.resize(window.width(), 1130);
    window.show();

    QTimer::singleShot(60 * 1000, &app, &QApplication::quit);
    return app.exec();
}
