// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFileReader.h"

#include <QCoreApplication>
#include <QStringView>

#include "core/model/Entry.h"
#include "core/model/EntryPaths.h"
#include "core/model/ProjectData.h"
#include "core/model/ProjectFileTags.h"
#include "core/model/ProjectFileText.h"

namespace {

// Real files nest four deep; anything far deeper is damage, and stopping there
// keeps the XML reader's tag stack small whatever the input.
constexpr int MaxDepth = 256;

bool isXmlSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

// Plain decimal digits, blanks around them allowed; false on anything else,
// including a sign or a value beyond 64 bits.
bool parseDigits(const QString& text, quint64& value)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isXmlSpace(text.at(b)))
        ++b;
    while (e > b && isXmlSpace(text.at(e - 1)))
        --e;
    if (b == e)
        return false;
    quint64 v = 0;
    for (qsizetype i = b; i < e; ++i) {
        const ushort c = text.at(i).unicode();
        if (c < '0' || c > '9')
            return false;
        const quint64 d = c - '0';
        if (v > (Q_UINT64_C(0xFFFFFFFFFFFFFFFF) - d) / 10)
            return false;
        v = v * 10 + d;
    }
    value = v;
    return true;
}

quint64 toUnsigned(const QString& text)
{
    quint64 v = 0;
    return parseDigits(text, v) ? v : 0;
}

// A small non-negative int, or fallback.
int toSmallInt(const QString& text, int fallback)
{
    quint64 v = 0;
    return parseDigits(text, v) && v <= 1000 ? int(v) : fallback;
}

// The FileSystemKind whose name the text is, in full and in the same case.
bool toFileSystem(const QString& text, int& fileSystem)
{
    for (int fs = 0; !fileSystemName(fs).isEmpty(); ++fs) {
        if (text == fileSystemName(fs)) {
            fileSystem = fs;
            return true;
        }
    }
    return false;
}

} // namespace

ProjectFileReader::ProjectFileReader(QIODevice* device) : m_xml(device) {}

QString ProjectFileReader::xmlError() const
{
    return m_failureText.isEmpty() ? m_xml.errorString() : m_failureText;
}

ProjectFileReader::Failure ProjectFileReader::read(ProjectData& data)
{
    if (nextChild()) {
        if (m_xml.name() != projectFileTags().root)
            return Failure::NotProject;
        m_sawRoot = true;
        parseRoot(data);
        // What follows the root must be well-formed too.
        while (advance()) {
        }
    }
    if (m_failure != Failure::None)
        return m_failure;
    if (m_xml.hasError())
        return Failure::Xml;
    return m_sawRoot ? Failure::None : Failure::NotProject;
}

void ProjectFileReader::parseRoot(ProjectData& data)
{
    const ProjectFileTags& t = projectFileTags();
    while (nextChild()) {
        const QStringView name = m_xml.name();
        const int group = t.group(name);
        if (name == t.target)
            parseTarget(data);
        else if (group != NoGroup)
            parseGroup(data, group);
        else
            skipElement();
    }
}

// A target is taken only with a known file system and figures that no block
// arithmetic overflows on; otherwise it reads as none, to be picked again. A
// later Target replaces an earlier one.
void ProjectFileReader::parseTarget(ProjectData& data)
{
    const ProjectFileTags& t = projectFileTags();
    Target target;
    bool knownFileSystem = false;
    while (nextChild()) {
        const QStringView name = m_xml.name();
        if (name == t.path)
            readField([&](const QString& s) { target.Path = s; });
        else if (name == t.availableBlocks)
            readField([&](const QString& s) { target.AvailableBlocks = toUnsigned(s); });
        else if (name == t.availableInodes)
            readField([&](const QString& s) {
                quint64 v = 0;
                if (parseDigits(s, v))
                    target.AvailableInodes = v;
            });
        else if (name == t.blockSize)
            readField([&](const QString& s) { target.BlockSize = toUnsigned(s); });
        else if (name == t.fileSystem)
            readField([&](const QString& s) {
                if (toFileSystem(s, target.FileSystem))
                    knownFileSystem = true;
            });
        else if (name == t.volume)
            readField([&](const QString& s) { target.Volume = s; });
        else
            skipElement();
    }
    if (m_failure != Failure::None)
        return;
    data.hasTarget = knownFileSystem && target.hasUsableFigures();
    if (data.hasTarget)
        data.target = target;
}

// A group's entries in file order; a group that appears twice gets both
// lists of entries.
void ProjectFileReader::parseGroup(ProjectData& data, int group)
{
    while (nextChild()) {
        if (m_xml.name() == projectFileTags().entry)
            parseEntry(data, group);
        else
            skipElement();
    }
}

// A missing field leaves its default: a folder of unknown size, come from
// Main.
void ProjectFileReader::parseEntry(ProjectData& data, int group)
{
    const ProjectFileTags& t = projectFileTags();
    Entry entry;
    entry.Kind = Folder;
    int origin = Main;
    while (nextChild()) {
        const QStringView name = m_xml.name();
        if (name == t.ident) {
            readField([&](const QString& s) { entry.Ident = s; });
        } else if (name == t.size) {
            // A size that does not read is measured again rather than taken as 0.
            readField([&](const QString& s) {
                entry.IsValidSize = parseDigits(s, entry.Size);
                if (!entry.IsValidSize)
                    entry.Size = 0;
            });
        } else if (name == t.name) {
            readField([&](const QString& s) { entry.Name = s; });
        } else if (name == t.path) {
            readField([&](const QString& s) { entry.Path = s; });
        } else if (name == t.kind) {
            readField([&](const QString& s) {
                entry.Kind = toSmallInt(s, File) == Folder ? Folder : File;
            });
        } else if (name == t.origin && group == Dispensed) {
            readField([&](const QString& s) {
                const int o = toSmallInt(s, Main);
                origin = o >= Required && o <= Background ? o : int(Main);
            });
        } else {
            skipElement();
        }
    }
    if (m_failure == Failure::None)
        takeEntry(data, group, entry, origin);
}

// Keeps an entry the program could have written, once per path.
void ProjectFileReader::takeEntry(ProjectData& data, int group, Entry& entry, int origin)
{
    if (!checkEntry(entry)) {
        fail(Failure::BadEntry);
        return;
    }
    // A path read before is loaded once, with a warning.
    if (m_idents.contains(entry.Ident)) {
        data.warnings << QCoreApplication::translate("ProjectFile",
                                                     "\"%1\" was in the project file more than "
                                                     "once; it was loaded once.")
                             .arg(printable(entry.Ident));
        return;
    }
    m_idents.insert(entry.Ident);
    data.groups[group].append(entry);
    if (group == Dispensed)
        data.origins.append(origin);
}

bool ProjectFileReader::checkEntry(Entry& entry)
{
    const QString shown = printable(entry.Ident);
    if (entry.Ident.isEmpty()) {
        m_failureText = QCoreApplication::translate("ProjectFile", "an entry has no path");
        return false;
    }
    if (!entry.Ident.startsWith(QLatin1Char('/'))) {
        m_failureText =
            QCoreApplication::translate("ProjectFile", "the path \"%1\" is not absolute")
                .arg(shown);
        return false;
    }
    QString ident = entry.Ident, parent, name;
    splitPath(ident, parent, name);
    if ((!entry.Name.isEmpty() && entry.Name != name) ||
        (!entry.Path.isEmpty() && entry.Path != parent)) {
        m_failureText = QCoreApplication::translate(
                            "ProjectFile", "the name or folder stored for \"%1\" is not its own")
                            .arg(shown);
        return false;
    }
    entry.Ident = ident;
    entry.Name = name;
    entry.Path = parent;
    return true;
}

// Moves to the next child of the element being read and returns true; false
// at that element's end tag, or once the read has stopped. The caller reads
// or skips each child whole before asking for the next.
bool ProjectFileReader::nextChild()
{
    while (advance()) {
        if (m_xml.isStartElement())
            return true;
        if (m_xml.isEndElement())
            return false;
    }
    return false;
}

// Reads the text of the field element just entered and hands it to store; a
// field without text leaves the record as it was.
template <typename Store> void ProjectFileReader::readField(Store store)
{
    const QString text = readText();
    if (m_failure == Failure::None && !text.isEmpty())
        store(text);
}

// The text directly inside the element just entered, up to its end tag. It
// may come in pieces (around comments, CDATA, character references, or
// elements inside the field, which are passed over) and is joined.
QString ProjectFileReader::readText()
{
    QString text;
    while (advance()) {
        if (m_xml.isCharacters())
            text += m_xml.text();
        else if (m_xml.isStartElement())
            skipElement();
        else if (m_xml.isEndElement())
            break;
    }
    return text;
}

// Passes over the element just entered with everything in it.
void ProjectFileReader::skipElement()
{
    for (int open = 1; open > 0 && advance();) {
        if (m_xml.isStartElement())
            ++open;
        else if (m_xml.isEndElement())
            --open;
    }
}

// Reads one token; false at the document's end or once the read has failed.
// The first failure stops the read for good: after an error the XML reader
// would go on with whatever the device gives next.
bool ProjectFileReader::advance()
{
    if (m_failure != Failure::None || m_xml.atEnd())
        return false;
    switch (m_xml.readNext()) {
    case QXmlStreamReader::Invalid:
        return fail(Failure::Xml);
    case QXmlStreamReader::StartDocument: {
        const QStringView encoding = m_xml.documentEncoding();
        if (!encoding.isEmpty() &&
            encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0)
            return fail(Failure::NotUtf8);
        break;
    }
    case QXmlStreamReader::DTD:
        // Never written by the program; refusing it means no entity is ever expanded.
        return fail(Failure::HasDtd);
    case QXmlStreamReader::StartElement:
        if (++m_depth > MaxDepth)
            return fail(Failure::TooDeep);
        break;
    case QXmlStreamReader::EndElement:
        --m_depth;
        break;
    default:
        break;
    }
    return true;
}

bool ProjectFileReader::fail(Failure failure)
{
    m_failure = failure;
    return false;
}
