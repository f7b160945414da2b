// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

#include <QString>
#include <QStringList>
#include <QVector>

#include "cli/CliCommands.h"
#include "core/model/Entry.h"

// What the words of one dispense or series command ask for.
struct CliCommands::DispenseOptions
{
    bool byPaths = false;
    QString project;                            // as given
    QVector<std::pair<int, QStringList>> paths; // group, then its paths as given
    bool byTargetPath = false;
    QString targetPath; // as given
    bool byFigures = false;
    Target figures;
    qint64 timeLimitMs = -1;
    bool json = false;
    bool nul = false;
    QString saveGiven;
    QString savePath;    // absolute; empty without --save
    bool series = false; // the series measures every entry itself and shows no sizes

    // Folder sizes are measured only where they are shown or saved.
    bool needSizes() const { return !series && (json || !savePath.isEmpty()); }
};
