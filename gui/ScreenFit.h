// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// Keeps every window of the program within the room its screen has for
// windows: one that would open larger (a high scale factor, a small screen, a
// size kept from a larger screen) opens as large as the room allows, and one
// that would stand partly off the screen is moved onto it. Installed once on
// the application; works on each window as it is shown.
class ScreenFit : public QObject
{
    Q_OBJECT
public:
    static void install();
    // Fits window now.
    static void fit(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
