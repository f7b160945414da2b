// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// The About box: icon, name, version, author, the licence and where the
// documentation is, with a button that opens the installed guide. Run
// modally and thrown away.
class AboutDlg : public QDialog
{
    Q_OBJECT
public:
    AboutDlg();

    // The guide (README.md) where the program is installed; it may be missing.
    static QString guidePath();

private slots:
    void on_commandGuide();
    void on_commandClose();
};
