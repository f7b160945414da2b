// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

void ScreenFit::install()
{
    static ScreenFit* filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new ScreenFit(qApp);
    qApp->installEventFilter(filter);
}

void ScreenFit::fit(QWidget* window)
{
    QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // The window manager's frame, once the window has one.
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    const QSize most = (room.size() - frame).expandedTo(window->minimumSize());
    if (window->width() > most.width() || window->height() > most.height())
        window->resize(window->size().boundedTo(most));
    const QRect outer = window->frameGeometry();
    const int x = qMax(room.left(), qMin(outer.left(), room.right() + 1 - outer.width()));
    const int y = qMax(room.top(), qMin(outer.top(), room.bottom() + 1 - outer.height()));
    if (x != outer.left() || y != outer.top())
        window->move(x, y);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    const Qt::WindowType type = window->windowType();
    if (!window->isWindow() || (type != Qt::Window && type != Qt::Dialog && type != Qt::Tool))
        return false;
    // Before the window appears, and again once it has sized itself for
    // showing (message boxes do, after this).
    fit(window);
    QTimer::singleShot(0, window, [window] { fit(window); });
    return false;
}
