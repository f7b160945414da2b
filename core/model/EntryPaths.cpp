// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/EntryPaths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include "core/dispense/Walk.h"

namespace {

bool isControl(uint c)
{
    return c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0);
}

// Characters that print as nothing or move what follows: controls, the
// bidirectional marks and overrides (U+202E), zero-width and other format
// characters, and the line and paragraph separators (U+2028, U+2029). Shown
// as they are, they let one name pass for another.
bool mustEscape(uint c)
{
    if (isControl(c))
        return true;
    if (c < 0xa0)
        return false;
    const QChar::Category cat = QChar::category(c);
    return cat == QChar::Other_Format || cat == QChar::Separator_Line ||
           cat == QChar::Separator_Paragraph;
}

QString hexByte(uchar b)
{
    return QStringLiteral("\\x") +
           QString::number(uint(b), 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

// Length of the valid UTF-8 sequence at p (code point in *cp), or 0.
int utf8Sequence(const uchar* p, int left, uint* cp)
{
    const uchar b = p[0];
    int n = 0;
    uint c = 0;
    uint min = 0;
    if (b < 0x80)
        return *cp = b, 1;
    if (b >= 0xc2 && b <= 0xdf)
        n = 2, c = b & 0x1f, min = 0x80;
    else if (b >= 0xe0 && b <= 0xef)
        n = 3, c = b & 0x0f, min = 0x800;
    else if (b >= 0xf0 && b <= 0xf4)
        n = 4, c = b & 0x07, min = 0x10000;
    else
        return 0;
    if (left < n)
        return 0;
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xc0) != 0x80)
            return 0;
        c = (c << 6) | (p[i] & 0x3f);
    }
    if (c < min || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
        return 0;
    *cp = c;
    return n;
}

// The bytes of an absolute path that Qt decoded with replacement characters
// (a name that is not valid UTF-8), found by listing each folder on the way;
// empty when nothing there decodes to it.
QByteArray rawPath(const QString& path)
{
    QByteArray done;
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QByteArray folder = done.isEmpty() ? QByteArray("/") : done;
        QByteArray next = done + '/' + QFile::encodeName(part);
        struct stat st;
        if (::lstat(next.constData(), &st) != 0) {
            if (!part.contains(QChar::ReplacementCharacter))
                return {};
            next.clear();
            if (DIR* dir = ::opendir(folder.constData())) {
                while (const dirent* d = ::readdir(dir)) {
                    if (QFile::decodeName(d->d_name) == part) {
                        next = done + '/' + d->d_name;
                        break;
                    }
                }
                ::closedir(dir);
            }
            if (next.isEmpty())
                return {};
        }
        done = next;
    }
    return done;
}

} // namespace

void splitPath(QString& path, QString& parent, QString& name)
{
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const int i = path.lastIndexOf(QLatin1Char('/'));
    if (i < 0) {
        parent = path;
        name = path;
    } else if (path.size() == 1) {
        parent = path;
        name = path;
    } else {
        parent = i == 0 ? QStringLiteral("/") : path.left(i);
        name = path.mid(i + 1);
    }
}

bool entryForPath(const QString& path, Entry& entry, QString* why, bool* missing)
{
    Entry e;
    e.Ident = path;
    splitPath(e.Ident, e.Path, e.Name);
    quint64 size = 0;
    const ItemKind kind = probeItem(e.Ident, size);
    if (kind == ItemKind::File || kind == ItemKind::Folder) {
        e.Kind = kind == ItemKind::File ? File : Folder;
        e.IsValidSize = kind == ItemKind::File;
        e.Size = size;
        entry = e;
        return true;
    }
    QString text;
    const QByteArray raw = kind == ItemKind::Missing && e.Ident.startsWith(QLatin1Char('/'))
                               ? rawPath(e.Ident)
                               : QByteArray();
    if (!raw.isEmpty())
        text = QCoreApplication::translate("EntryPaths",
                                           "\"%1\" was not added: its name is not valid UTF-8. "
                                           "Rename it and add it again.")
                   .arg(escapedName(raw));
    else if (kind == ItemKind::Missing)
        text = QCoreApplication::translate("EntryPaths", "\"%1\" was not added: it does not exist.")
                   .arg(escapedText(e.Ident));
    else
        text = QCoreApplication::translate("EntryPaths",
                                           "\"%1\" was not added: it is not a file or a folder.")
                   .arg(escapedText(e.Ident));
    if (why)
        *why = text;
    if (missing)
        *missing = kind == ItemKind::Missing && raw.isEmpty();
    return false;
}

QString escapedName(const QByteArray& bytes)
{
    QString out;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const int n = bytes.size();
    for (int i = 0; i < n;) {
        uint cp = 0;
        const int len = utf8Sequence(p + i, n - i, &cp);
        if (len == 0 || mustEscape(cp)) {
            for (int k = 0; k < qMax(len, 1); ++k)
                out += hexByte(p[i + k]);
            i += qMax(len, 1);
        } else if (cp == '\\') {
            // So that "\x41" in a name can never read as an escape.
            out += QStringLiteral("\\\\");
            ++i;
        } else {
            out += QString::fromUtf8(bytes.constData() + i, len);
            i += len;
        }
    }
    return out;
}

QString escapedText(const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        uint c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i).unicode(), text.at(i + 1).unicode());
            ++i;
        }
        if (c == '\\' || mustEscape(c))
            return escapedName(text.toUtf8());
    }
    return text;
}
