// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/DialogAnswers.h"

#include <deque>

namespace {

struct Queues
{
    std::deque<QStringList> files;
    std::deque<QMessageBox::StandardButton> buttons;
    std::deque<int> results;
    DialogAnswers::Shown last;
};

Queues& queues()
{
    static Queues q;
    return q;
}

template <class T> bool takeFront(std::deque<T>& queue, T& out)
{
    if (queue.empty())
        return false;
    out = queue.front();
    queue.pop_front();
    return true;
}

} // namespace

void DialogAnswers::nextFiles(const QStringList& paths)
{
    queues().files.push_back(paths);
}

void DialogAnswers::nextButton(QMessageBox::StandardButton button)
{
    queues().buttons.push_back(button);
}

void DialogAnswers::nextResult(int result)
{
    queues().results.push_back(result);
}

void DialogAnswers::clear()
{
    Queues& q = queues();
    q.files.clear();
    q.buttons.clear();
    q.results.clear();
}

bool DialogAnswers::pending()
{
    const Queues& q = queues();
    return !q.files.empty() || !q.buttons.empty() || !q.results.empty();
}

DialogAnswers::Shown DialogAnswers::lastShown()
{
    return queues().last;
}

bool DialogAnswers::takeFiles(const QFileDialog& dialog, QStringList& chosen)
{
    Queues& q = queues();
    if (!takeFront(q.files, chosen))
        return false;
    q.last = Shown{dialog.windowTitle(), QString(), dialog.fileMode(), dialog.acceptMode(),
                   dialog.directory().absolutePath()};
    return true;
}

bool DialogAnswers::takeButton(const QMessageBox& box, QMessageBox::StandardButton& button)
{
    Queues& q = queues();
    if (!takeFront(q.buttons, button))
        return false;
    q.last = Shown();
    q.last.caption = box.windowTitle();
    q.last.text = box.text() + QLatin1Char('\n') + box.informativeText();
    return true;
}

bool DialogAnswers::takeButton(const QDialog& dialog, const QString& text,
                               QMessageBox::StandardButton& button)
{
    Queues& q = queues();
    if (!takeFront(q.buttons, button))
        return false;
    q.last = Shown();
    q.last.caption = dialog.windowTitle();
    q.last.text = text;
    return true;
}

bool DialogAnswers::takeResult(const QDialog& dialog, int& result)
{
    Queues& q = queues();
    if (!takeFront(q.results, result))
        return false;
    q.last = Shown();
    q.last.caption = dialog.windowTitle();
    return true;
}
