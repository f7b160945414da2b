// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProgressLine.h"

#include <cstdio>

#include <sys/ioctl.h>
#include <unistd.h>

#include "core/model/EntryPaths.h"

ProgressLine::ProgressLine() : m_enabled(::isatty(STDERR_FILENO) == 1)
{
    m_clock.start();
}

ProgressLine::~ProgressLine()
{
    clear();
}

void ProgressLine::show(const QString& text)
{
    if (!m_enabled)
        return;
    // A name in it must not drive the terminal.
    QString line = escapedText(text) + QStringLiteral(" (%1 s)").arg(m_clock.elapsed() / 1000);
    struct winsize size = {};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1 &&
        line.size() >= size.ws_col)
        line = line.left(size.ws_col - 2) + QChar(0x2026);
    // Carriage return, the text, then erase the rest of the old line.
    const QByteArray bytes = "\r" + line.toLocal8Bit() + "\x1b[K";
    std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
    std::fflush(stderr);
    m_shown = true;
}

void ProgressLine::clear()
{
    if (!m_shown)
        return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    m_shown = false;
}
