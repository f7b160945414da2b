// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QXmlStreamReader>

#include "core/model/EntryPaths.h"
#include "core/model/ProjectData.h"
#include "core/model/ProjectFilePrecheck.h"
#include "core/model/ProjectFileSave.h"
#include "core/model/ProjectFileTags.h"
#include "core/model/ProjectFileText.h"
#include "core/model/ProjectFileWriter.h"

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
    int b = 0;
    int e = text.size();
    while (b < e && isXmlSpace(text.at(b)))
        ++b;
    while (e > b && isXmlSpace(text.at(e - 1)))
        --e;
    if (b == e)
        return false;
    quint64 v = 0;
    for (int i = b; i < e; ++i) {
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

enum class Field
{
    None,
    Ident,
    Size,
    Name,
    Path,
    Kind,
    Origin,
    AvailableBlocks,
    BlockSize,
    FileSystem
};

Field entryField(const QStringRef& name)
{
    const ProjectFileTags& t = projectFileTags();
    if (name == t.ident)
        return Field::Ident;
    if (name == t.size)
        return Field::Size;
    if (name == t.name)
        return Field::Name;
    if (name == t.path)
        return Field::Path;
    if (name == t.kind)
        return Field::Kind;
    if (name == t.origin)
        return Field::Origin;
    return Field::None;
}

Field targetField(const QStringRef& name)
{
    const ProjectFileTags& t = projectFileTags();
    if (name == t.path)
        return Field::Path;
    if (name == t.availableBlocks)
        return Field::AvailableBlocks;
    if (name == t.blockSize)
        return Field::BlockSize;
    if (name == t.fileSystem)
        return Field::FileSystem;
    return Field::None;
}

// One pass over the tokens with a nesting depth (1 = inside the root, 2 =
// inside a group or the target, 3 = inside an entry or a target field, 4 =
// inside an entry field). Every record starts from defaults, so a field
// missing from one entry never takes another entry's value.
class Reader
{
public:
    enum class Failure
    {
        None,
        NotProject,
        HasDtd,
        TooDeep,
        BadEntry,
        NotUtf8,
        Xml
    };

    explicit Reader(QIODevice* device) : m_xml(device) {}

    Failure read(ProjectData& data);
    qint64 lineNumber() const { return m_xml.lineNumber(); }
    QString xmlError() const
    {
        return m_failureText.isEmpty() ? m_xml.errorString() : m_failureText;
    }
    bool sawRoot() const { return m_sawRoot; }

private:
    enum class Section
    {
        None,
        Target,
        Group,
        Skip
    };

    void startElement();
    void endElement(ProjectData& data);
    void commitField();
    // Derives Name and Path from the Ident; false with m_failureText set when
    // the entry cannot be trusted.
    bool checkEntry();

    QXmlStreamReader m_xml;
    int m_depth = 0;
    bool m_sawRoot = false;
    Section m_section = Section::None;
    int m_group = NoGroup;
    bool m_inEntry = false;
    Entry m_entry;
    int m_origin = Main;
    Target m_target;
    bool m_targetHasFs = false;
    Field m_field = Field::None;
    int m_fieldDepth = 0;
    QString m_text;
    QSet<QString> m_idents;
    QString m_failureText;
};

Reader::Failure Reader::read(ProjectData& data)
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::Invalid:
            // Stop at the first error, whatever the device does next.
            return Failure::Xml;
        case QXmlStreamReader::StartDocument: {
            const QStringRef encoding = m_xml.documentEncoding();
            if (!encoding.isEmpty() &&
                encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0)
                return Failure::NotUtf8;
            break;
        }
        case QXmlStreamReader::DTD:
            // Never written by the program; refusing it means no entity is ever expanded.
            return Failure::HasDtd;
        case QXmlStreamReader::StartElement:
            if (++m_depth > MaxDepth)
                return Failure::TooDeep;
            if (m_depth == 1) {
                if (m_xml.name() != projectFileTags().root)
                    return Failure::NotProject;
                m_sawRoot = true;
            } else {
                startElement();
            }
            break;
        case QXmlStreamReader::EndElement:
            endElement(data);
            if (!m_failureText.isEmpty())
                return Failure::BadEntry;
            --m_depth;
            break;
        case QXmlStreamReader::Characters:
            // Only text directly inside a field counts; it may arrive in pieces.
            if (m_field != Field::None && m_depth == m_fieldDepth)
                m_text += m_xml.text();
            break;
        default:
            break;
        }
    }
    if (m_xml.hasError())
        return Failure::Xml;
    return m_sawRoot ? Failure::None : Failure::NotProject;
}

void Reader::startElement()
{
    const ProjectFileTags& t = projectFileTags();
    const QStringRef name = m_xml.name();
    if (m_depth == 2) {
        m_section = Section::Skip;
        if (name == t.target) {
            m_section = Section::Target;
            m_target = Target();
            m_targetHasFs = false;
            return;
        }
        for (int g = Dispensed; g <= NotInUse; ++g) {
            if (name == t.groups[g]) {
                m_section = Section::Group;
                m_group = g;
                return;
            }
        }
        return;
    }
    if (m_section == Section::Target && m_depth == 3) {
        m_field = targetField(name);
    } else if (m_section == Section::Group && m_depth == 3 && name == t.entry) {
        m_inEntry = true;
        m_entry = Entry();
        m_entry.Kind = Folder;
        m_origin = Main;
        return;
    } else if (m_section == Section::Group && m_inEntry && m_depth == 4) {
        m_field = entryField(name);
        if (m_field == Field::Origin && m_group != Dispensed)
            m_field = Field::None;
    } else {
        return;
    }
    m_fieldDepth = m_depth;
    m_text.clear();
}

void Reader::endElement(ProjectData& data)
{
    if (m_field != Field::None && m_depth == m_fieldDepth) {
        commitField();
        m_field = Field::None;
        m_text.clear();
    } else if (m_inEntry && m_depth == 3) {
        m_inEntry = false;
        if (!checkEntry())
            return;
        if (m_idents.contains(m_entry.Ident)) {
            data.warnings << QCoreApplication::translate(
                                 "ProjectFile", "\"%1\" was in the project file more than once; "
                                                "it was loaded once.")
                                 .arg(printable(m_entry.Ident));
            return;
        }
        m_idents.insert(m_entry.Ident);
        data.groups[m_group].append(m_entry);
        if (m_group == Dispensed)
            data.origins.append(m_origin);
    } else if (m_depth == 2) {
        if (m_section == Section::Target) {
            // Figures no file system has would overflow the block arithmetic:
            // such a target reads as none, to be picked again.
            data.hasTarget = m_targetHasFs && m_target.hasUsableFigures();
            if (data.hasTarget)
                data.target = m_target;
        }
        m_section = Section::None;
    }
}

void Reader::commitField()
{
    // A field without text keeps the default the record started with.
    if (m_text.isEmpty())
        return;
    switch (m_field) {
    case Field::Ident:
        m_entry.Ident = m_text;
        break;
    case Field::Name:
        m_entry.Name = m_text;
        break;
    case Field::Path:
        if (m_section == Section::Target)
            m_target.Path = m_text;
        else
            m_entry.Path = m_text;
        break;
    case Field::Size:
        // A size that does not read is measured again rather than taken as 0.
        m_entry.IsValidSize = parseDigits(m_text, m_entry.Size);
        if (!m_entry.IsValidSize)
            m_entry.Size = 0;
        break;
    case Field::Kind: {
        const int kind = toSmallInt(m_text, File);
        m_entry.Kind = kind == Folder ? Folder : File;
        break;
    }
    case Field::Origin: {
        const int origin = toSmallInt(m_text, Main);
        m_origin = origin >= Required && origin <= Background ? origin : int(Main);
        break;
    }
    case Field::AvailableBlocks:
        m_target.AvailableBlocks = toUnsigned(m_text);
        break;
    case Field::BlockSize:
        m_target.BlockSize = toUnsigned(m_text);
        break;
    case Field::FileSystem:
        for (int fs = NTFS; fs <= UDF; ++fs) {
            if (m_text == fileSystemName(fs)) {
                m_target.FileSystem = fs;
                m_targetHasFs = true;
            }
        }
        break;
    case Field::None:
        break;
    }
}

bool Reader::checkEntry()
{
    const QString shown = printable(m_entry.Ident);
    if (m_entry.Ident.isEmpty()) {
        m_failureText = QCoreApplication::translate("ProjectFile", "an entry has no path");
        return false;
    }
    if (!m_entry.Ident.startsWith(QLatin1Char('/'))) {
        m_failureText =
            QCoreApplication::translate("ProjectFile", "the path \"%1\" is not absolute")
                .arg(shown);
        return false;
    }
    QString ident = m_entry.Ident, parent, name;
    splitPath(ident, parent, name);
    if ((!m_entry.Name.isEmpty() && m_entry.Name != name) ||
        (!m_entry.Path.isEmpty() && m_entry.Path != parent)) {
        m_failureText = QCoreApplication::translate(
                            "ProjectFile", "the name or folder stored for \"%1\" is not its own")
                            .arg(shown);
        return false;
    }
    m_entry.Ident = ident;
    m_entry.Name = name;
    m_entry.Path = parent;
    return true;
}
// Far above any real collection (a million entries take about 200 MB).
constexpr qint64 MaxFileSize = qint64(1) << 30;

// Whether the file's beginning names the root element, so that an error before
// the reader reached it means damage rather than some other kind of file.
bool startsLikeProject(QFile& file)
{
    return file.seek(0) && file.read(4096).contains("<Quillmarch");
}

QString notProject(const QString& path)
{
    return QCoreApplication::translate("ProjectFile", "\"%1\" is not a Quillmarch project.")
        .arg(path);
}

QString hasDtd(const QString& path)
{
    return QCoreApplication::translate(
               "ProjectFile",
               "\"%1\" is not a Quillmarch project: it holds a document type declaration.")
        .arg(path);
}

QString damaged(const QString& path, qint64 line, const QString& why)
{
    return QCoreApplication::translate("ProjectFile",
                                       "The project file \"%1\" is damaged at line %2: %3.")
        .arg(path, QString::number(line), why);
}

QString cannotRead(const QString& path, const QFile& file)
{
    return QCoreApplication::translate("ProjectFile", "The project file \"%1\" cannot be read: %2.")
        .arg(path, withoutFullStop(file.errorString()));
}

// Opens a regular, non-empty file of a project's size. Opened without
// blocking and checked before reading: a pipe would block the open, a device
// might never end.
bool openProjectFile(const QString& path, QFile& file, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            setError(error, QCoreApplication::translate("ProjectFile",
                                                        "The project file \"%1\" was not found.")
                                .arg(path));
        else
            setError(error, QCoreApplication::translate(
                                "ProjectFile", "The project file \"%1\" cannot be opened: %2.")
                                .arg(path, withoutFullStop(qt_error_string(err))));
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "\"%1\" cannot be opened: it is not a file.")
                            .arg(path));
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "The project file \"%1\" cannot be opened: %2.")
                            .arg(path, withoutFullStop(file.errorString())));
        return false;
    }
    if (st.st_size == 0) {
        setError(error, QCoreApplication::translate(
                            "ProjectFile", "\"%1\" is not a Quillmarch project: it is empty.")
                            .arg(path));
        return false;
    }
    if (st.st_size > MaxFileSize) {
        setError(error, QCoreApplication::translate(
                            "ProjectFile", "\"%1\" is not a Quillmarch project: it is too large.")
                            .arg(path));
        return false;
    }
    return true;
}

// Why the pre-check refused a file that looks like a project.
QString refusal(ProjectFilePrecheck::Result result)
{
    switch (result) {
    case ProjectFilePrecheck::Attribute:
        return QCoreApplication::translate("ProjectFile", "an element has attributes");
    case ProjectFilePrecheck::LongTag:
        return QCoreApplication::translate("ProjectFile", "a tag is far too long");
    default:
        return QCoreApplication::translate("ProjectFile", "it holds a NUL byte");
    }
}

// Runs the pre-check over the whole file and rewinds it for the XML reader.
bool precheck(const QString& path, QFile& file, QString* error)
{
    ProjectFilePrecheck check;
    const ProjectFilePrecheck::Result result = check.feed(file);
    if (result == ProjectFilePrecheck::Fine) {
        if (file.error() == QFileDevice::NoError && file.seek(0))
            return true;
        setError(error, cannotRead(path, file));
        return false;
    }
    if (result == ProjectFilePrecheck::Dtd)
        setError(error, hasDtd(path));
    else if (!startsLikeProject(file))
        setError(error, notProject(path));
    else
        setError(error, damaged(path, check.line(), refusal(result)));
    return false;
}

// Why a read the XML reader began did not succeed.
QString readFailure(const QString& path, QFile& file, const Reader& reader, Reader::Failure failure)
{
    using Failure = Reader::Failure;
    if (file.error() != QFileDevice::NoError)
        return cannotRead(path, file);
    if (failure == Failure::HasDtd)
        return hasDtd(path);
    if ((!reader.sawRoot() && !startsLikeProject(file)) || failure == Failure::NotUtf8)
        return notProject(path);
    if (failure == Failure::TooDeep)
        return QCoreApplication::translate(
                   "ProjectFile",
                   "The project file \"%1\" is damaged: its elements are nested too deeply at "
                   "line %2.")
            .arg(path, QString::number(reader.lineNumber()));
    return damaged(path, reader.lineNumber(), withoutFullStop(reader.xmlError()));
}

} // namespace

bool writeProjectFile(const QString& path, const ProjectData& data, QString* error,
                      const std::function<bool()>& cancelled)
{
    QByteArray bytes;
    return ProjectFileWriter::write(data, bytes, error) &&
           saveProjectBytes(path, bytes, error, cancelled);
}

bool readProjectFile(const QString& path, ProjectData& out, QString* error)
{
    QFile file;
    if (!openProjectFile(path, file, error) || !precheck(path, file, error))
        return false;
    ProjectData data;
    Reader reader(&file);
    const Reader::Failure failure = reader.read(data);
    if (failure != Reader::Failure::None) {
        setError(error, readFailure(path, file, reader, failure));
        return false;
    }
    out = std::move(data);
    return true;
}
