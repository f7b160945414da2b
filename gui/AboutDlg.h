// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// The About box: icon, name, version, author, contact, and a button that
// opens the project's web site. Run modally and thrown away.
class AboutDlg : public QDialog
{
    Q_OBJECT
public:
    AboutDlg();

    static QString webAddress();

private slots:
    void on_commandWeb();
    void on_commandClose();
};
