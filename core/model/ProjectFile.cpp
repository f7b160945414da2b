// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFile.h"

#include <array>
#include <climits>
#include <cstdlib>

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "core/model/EntryPaths.h"
#include "core/model/ProjectData.h"

namespace {

// The element names of the file.
struct Tags
{
    QString root = QStringLiteral("Quillmarch");
    QString target = QStringLiteral("Target");
    QString path = QStringLiteral("Path");
    QString availableBlocks = QStringLiteral("AvailableBlocks");
    QString blockSize = QStringLiteral("BlockSize");
    QString fileSystem = QStringLiteral("FileSystem");
    std::array<QString, 5> groups = {QStringLiteral("Dispensed"), QStringLiteral("Required"),
                                     QStringLiteral("Main"), QStringLiteral("Background"),
                                     QStringLiteral("NotInUse")};
    QString entry = QStringLiteral("Entry");
    QString ident = QStringLiteral("Ident");
    QString size = QStringLiteral("Size");
    QString name = QStringLiteral("Name");
    QString kind = QStringLiteral("Kind");
    QString origin = QStringLiteral("Origin");
};

const Tags& tags()
{
    static const Tags t;
    return t;
}

// Real files nest four deep; anything far deeper is damage, and stopping there
// keeps the XML reader's tag stack small whatever the input.
constexpr int MaxDepth = 256;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// ---- Writing ----------------------------------------------------------------

// The characters of XML 1.0: tab, line feed, carriage return, U+0020..U+D7FF,
// U+E000..U+FFFD and U+10000 upwards (as surrogate pairs).
bool isXmlText(const QString& s)
{
    const int n = s.size();
    for (int i = 0; i < n; ++i) {
        const ushort c = s.at(i).unicode();
        if (c < 0x20) {
            if (c != '\t' && c != '\n' && c != '\r')
                return false;
        } else if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= n || !s.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
    }
    return true;
}

// The text with tab, line ends and every character XML cannot hold shown as
// U+FFFD, for messages.
QString printable(const QString& s)
{
    QString out;
    out.reserve(s.size());
    const int n = s.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < n && s.at(i + 1).isLowSurrogate()) {
            out += c;
            out += s.at(++i);
        } else if (c.unicode() < 0x20 || c.isSurrogate() || c.unicode() >= 0xFFFE) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

// Checks every text that goes into the file; on failure says which one.
bool checkTexts(const ProjectData& data, QString* error)
{
    if (data.hasTarget && !isXmlText(data.target.Path)) {
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "The project was not saved: the target path "
                                                    "\"%1\" holds a character that a project "
                                                    "file cannot store.")
                            .arg(printable(data.target.Path)));
        return false;
    }
    for (const QVector<Entry>& group : data.groups) {
        for (const Entry& e : group) {
            if (isXmlText(e.Ident) && isXmlText(e.Name) && isXmlText(e.Path))
                continue;
            const QString& shown = e.Ident.isEmpty() ? e.Name : e.Ident;
            setError(error, QCoreApplication::translate(
                                "ProjectFile", "The project was not saved: the name of \"%1\" "
                                               "holds a character that a project file cannot "
                                               "store.")
                                .arg(printable(shown)));
            return false;
        }
    }
    return true;
}

// Writes one text element. Tab, line feed and carriage return go out as
// character references: raw, a reader would turn CR and CR LF into LF.
void writeText(QXmlStreamWriter& w, const QString& name, const QString& text)
{
    w.writeStartElement(name);
    int from = 0;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char* ref = c == QLatin1Char('\t')   ? "#9"
                          : c == QLatin1Char('\n') ? "#10"
                          : c == QLatin1Char('\r') ? "#13"
                                                   : nullptr;
        if (!ref)
            continue;
        if (i > from)
            w.writeCharacters(text.mid(from, i - from));
        w.writeEntityReference(QLatin1String(ref));
        from = i + 1;
    }
    // Also for an empty text, so the element reads <Name></Name> like any text element.
    if (from < n || n == 0)
        w.writeCharacters(from == 0 ? text : text.mid(from));
    w.writeEndElement();
}

QByteArray serialise(const ProjectData& data, bool* ok)
{
    const Tags& t = tags();
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(t.root);
    if (data.hasTarget) {
        const Target& tg = data.target;
        w.writeStartElement(t.target);
        writeText(w, t.path, tg.Path);
        writeText(w, t.availableBlocks, QString::number(tg.AvailableBlocks));
        writeText(w, t.blockSize, QString::number(tg.BlockSize));
        writeText(w, t.fileSystem, fileSystemName(tg.FileSystem));
        w.writeEndElement();
    }
    for (int g = Dispensed; g <= NotInUse; ++g) {
        w.writeStartElement(t.groups[g]);
        const QVector<Entry>& list = data.groups[g];
        for (int i = 0; i < list.size(); ++i) {
            const Entry& e = list.at(i);
            w.writeStartElement(t.entry);
            writeText(w, t.ident, e.Ident);
            writeText(w, t.size, QString::number(e.Size));
            writeText(w, t.name, e.Name);
            writeText(w, t.path, e.Path);
            writeText(w, t.kind, QString::number(e.Kind));
            if (g == Dispensed) {
                // Written as the reader will take it: a missing or foreign origin means Main.
                int origin = i < data.origins.size() ? data.origins.at(i) : int(Main);
                if (origin < Required || origin > Background)
                    origin = Main;
                writeText(w, t.origin, QString::number(origin));
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    *ok = !w.hasError();
    return bytes;
}

// ---- Reading ----------------------------------------------------------------

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
    const Tags& t = tags();
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
    const Tags& t = tags();
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

// The longest tag the format needs is under 20 bytes; anything far longer is
// not a project, and bounding it keeps the XML reader linear.
constexpr int MaxTagLength = 256;
// Far above any real collection (a million entries take about 200 MB).
constexpr qint64 MaxFileSize = qint64(1) << 30;

// A pass over the raw bytes before the XML reader sees them, refusing what
// the format never holds: attributes (the reader checks them for duplicates
// in quadratic time), a DTD, NUL bytes (no UTF-8 XML has them) and overlong
// tags. Comments, CDATA and the declaration are let through.
class MarkupCheck
{
public:
    enum Result
    {
        Fine,
        Attribute,
        Dtd,
        LongTag,
        Nul
    };

    Result feed(const char* p, qint64 n)
    {
        for (qint64 i = 0; i < n; ++i) {
            const Result r = step(p[i]);
            if (r != Fine)
                return r;
        }
        return Fine;
    }
    qint64 line() const { return m_line; }

private:
    enum State
    {
        Text,
        Open,
        Name,
        AfterName,
        EndTag,
        Bang,
        Comment,
        CData,
        Pi
    };

    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    Result step(char c)
    {
        if (c == '\0')
            return Nul;
        if (c == '\n')
            ++m_line;
        if (m_state != Text && m_state != Comment && m_state != CData && ++m_length > MaxTagLength)
            return LongTag;
        switch (m_state) {
        case Text:
            if (c == '<') {
                m_state = Open;
                m_length = 1;
            }
            break;
        case Open:
            m_head.clear();
            m_match = 0;
            m_state = c == '!' ? Bang : c == '?' ? Pi : c == '/' ? EndTag : Name;
            break;
        case Name:
            if (c == '>')
                m_state = Text;
            else if (isSpace(c))
                m_state = AfterName;
            break;
        case AfterName:
            if (c == '>')
                m_state = Text;
            else if (!isSpace(c) && c != '/')
                return Attribute;
            break;
        case EndTag:
            if (c == '>')
                m_state = Text;
            break;
        case Bang: {
            m_head += c;
            static const QByteArray comment("--"), cdata("[CDATA[");
            if (m_head == comment)
                m_state = Comment;
            else if (m_head == cdata)
                m_state = CData;
            else if (!comment.startsWith(m_head) && !cdata.startsWith(m_head))
                return Dtd;
            break;
        }
        case Comment:
        case CData: {
            const char closing = m_state == Comment ? '-' : ']';
            if (c == closing)
                m_match = qMin(m_match + 1, 2);
            else if (c == '>' && m_match == 2)
                m_state = Text;
            else
                m_match = 0;
            break;
        }
        case Pi:
            if (c == '>' && m_match == 1)
                m_state = Text;
            m_match = c == '?' ? 1 : 0;
            break;
        }
        return Fine;
    }

    State m_state = Text;
    QByteArray m_head;
    int m_length = 0;
    int m_match = 0;
    qint64 m_line = 1;
};

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
                if (m_xml.name() != tags().root)
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
    const Tags& t = tags();
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

QString withoutFullStop(QString s)
{
    while (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

// Whether the file's beginning names the root element, so that an error before
// the reader reached it means damage rather than some other kind of file.
bool startsLikeProject(QFile& file)
{
    return file.seek(0) && file.read(4096).contains("<Quillmarch");
}

QString saveFailure(const QString& path, const QString& reason)
{
    return QCoreApplication::translate("ProjectFile", "The project was not saved to \"%1\": %2.")
        .arg(path, reason);
}

// Writes every byte, whatever short writes the system makes; false with
// errno set otherwise (ENOSPC for a short write that names no error).
bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// Writes bytes to a new file beside path and renames it over path only when
// every byte is on the disk: a full disk, a failed flush, a cancel or a crash
// at any moment leaves the old file as it was.
bool writeWhole(const QString& path, const QByteArray& bytes, QString* error,
                const std::function<bool()>& cancelled)
{
    QByteArray target = QFile::encodeName(path);
    // A link is followed, so the file it names is replaced and the link stays.
    struct stat old;
    const bool hadOld = ::stat(target.constData(), &old) == 0;
    char resolved[PATH_MAX];
    if (hadOld && ::realpath(target.constData(), resolved))
        target = resolved;
    const int slash = target.lastIndexOf('/');
    const QByteArray folder = slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : target.left(slash);
    const QByteArray base = target.mid(slash + 1);

    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = folder + "/." + base.left(200) + '.' + QByteArray::number(::getpid()) + '.' +
               QByteArray::number(attempt) + ".tmp";
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int err = errno;
        const QString reason =
            err == EACCES || err == EPERM || err == EROFS
                ? QCoreApplication::translate("ProjectFile", "the folder cannot be written to")
                : withoutFullStop(qt_error_string(err));
        setError(error, saveFailure(path, reason));
        return false;
    }
    // The new file keeps what the old one allowed.
    if (hadOld)
        ::fchmod(fd, old.st_mode & 07777);
    bool ok = writeAll(fd, bytes.constData(), std::size_t(bytes.size())) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && cancelled && cancelled()) {
        ::unlink(temp.constData());
        setError(error, saveFailure(path, QCoreApplication::translate("ProjectFile",
                                                                      "the save was cancelled")));
        return false;
    }
    if (ok && ::rename(temp.constData(), target.constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        setError(error, saveFailure(path, withoutFullStop(qt_error_string(err))));
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace

bool writeProjectFile(const QString& path, const ProjectData& data, QString* error,
                      const std::function<bool()>& cancelled)
{
    if (!checkTexts(data, error))
        return false;
    bool ok = false;
    const QByteArray bytes = serialise(data, &ok);
    if (!ok) {
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "The project was not saved: it could not be "
                                                    "turned into XML."));
        return false;
    }

    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "The project was not saved: the folder \"%1\" "
                                                    "does not exist.")
                            .arg(folder));
        return false;
    }
    return writeWhole(path, bytes, error, cancelled);
}

bool readProjectFile(const QString& path, ProjectData& out, QString* error)
{
    // Opened without blocking and checked to be a regular file: a pipe would
    // block the open, a device might never end.
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
    QFile file;
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

    MarkupCheck check;
    MarkupCheck::Result markup = MarkupCheck::Fine;
    QByteArray chunk;
    while (markup == MarkupCheck::Fine && !(chunk = file.read(1 << 16)).isEmpty())
        markup = check.feed(chunk.constData(), chunk.size());
    if (markup != MarkupCheck::Fine) {
        const QString line = QString::number(check.line());
        if (markup == MarkupCheck::Dtd)
            setError(error, QCoreApplication::translate(
                                "ProjectFile", "\"%1\" is not a Quillmarch project: it holds a "
                                               "document type declaration.")
                                .arg(path));
        else if (!startsLikeProject(file))
            setError(error, QCoreApplication::translate("ProjectFile",
                                                        "\"%1\" is not a Quillmarch project.")
                                .arg(path));
        else
            setError(
                error,
                QCoreApplication::translate("ProjectFile",
                                            "The project file \"%1\" is damaged at line %2: %3.")
                    .arg(path, line,
                         markup == MarkupCheck::Attribute
                             ? QCoreApplication::translate("ProjectFile",
                                                           "an element has attributes")
                         : markup == MarkupCheck::LongTag
                             ? QCoreApplication::translate("ProjectFile", "a tag is far too long")
                             : QCoreApplication::translate("ProjectFile", "it holds a NUL byte")));
        return false;
    }
    if (file.error() == QFileDevice::NoError && !file.seek(0)) {
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "The project file \"%1\" cannot be read: %2.")
                            .arg(path, withoutFullStop(file.errorString())));
        return false;
    }

    ProjectData data;
    Reader reader(&file);
    const Reader::Failure failure =
        file.error() == QFileDevice::NoError ? reader.read(data) : Reader::Failure::Xml;
    if (failure == Reader::Failure::None) {
        out = std::move(data);
        return true;
    }

    const QString line = QString::number(reader.lineNumber());
    if (file.error() != QFileDevice::NoError) {
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "The project file \"%1\" cannot be read: %2.")
                            .arg(path, withoutFullStop(file.errorString())));
    } else if (failure == Reader::Failure::HasDtd) {
        setError(error, QCoreApplication::translate(
                            "ProjectFile", "\"%1\" is not a Quillmarch project: it holds a "
                                           "document type declaration.")
                            .arg(path));
    } else if ((!reader.sawRoot() && !startsLikeProject(file)) ||
               failure == Reader::Failure::NotUtf8) {
        setError(error,
                 QCoreApplication::translate("ProjectFile", "\"%1\" is not a Quillmarch project.")
                     .arg(path));
    } else if (failure == Reader::Failure::TooDeep) {
        setError(error, QCoreApplication::translate(
                            "ProjectFile", "The project file \"%1\" is damaged: its elements "
                                           "are nested too deeply at line %2.")
                            .arg(path, line));
    } else {
        setError(error, QCoreApplication::translate(
                            "ProjectFile", "The project file \"%1\" is damaged at line %2: %3.")
                            .arg(path, line, withoutFullStop(reader.xmlError())));
    }
    return false;
}
