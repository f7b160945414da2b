// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFileWriter.h"

#include <QCoreApplication>

#include "core/model/Entry.h"
#include "core/model/ProjectData.h"
#include "core/model/ProjectFileTags.h"
#include "core/model/ProjectFileText.h"

bool ProjectFileWriter::write(const ProjectData& data, QByteArray& bytes, QString* error)
{
    if (!checkTexts(data, error))
        return false;
    QByteArray out;
    ProjectFileWriter writer(&out);
    writer.writeRoot(data);
    if (writer.m_xml.hasError()) {
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "The project was not saved: it could not be "
                                                    "turned into XML."));
        return false;
    }
    bytes = out;
    return true;
}

ProjectFileWriter::ProjectFileWriter(QByteArray* bytes) : m_xml(bytes)
{
    m_xml.setAutoFormatting(true);
}

// Checks every text that goes into the file; on failure says which one.
bool ProjectFileWriter::checkTexts(const ProjectData& data, QString* error)
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

void ProjectFileWriter::writeRoot(const ProjectData& data)
{
    m_xml.writeStartDocument();
    m_xml.writeStartElement(projectFileTags().root);
    // Never a target the reader would refuse.
    if (data.hasTarget && data.target.hasUsableFigures())
        writeTarget(data.target);
    for (int g = Dispensed; g <= NotInUse; ++g)
        writeGroup(g, data.groups[g], data.origins);
    m_xml.writeEndElement();
    m_xml.writeEndDocument();
}

void ProjectFileWriter::writeTarget(const Target& target)
{
    const ProjectFileTags& t = projectFileTags();
    m_xml.writeStartElement(t.target);
    writeText(t.path, target.Path);
    writeText(t.availableBlocks, QString::number(target.AvailableBlocks));
    writeText(t.blockSize, QString::number(target.BlockSize));
    writeText(t.fileSystem, fileSystemName(target.FileSystem));
    if (target.AvailableInodes != Target::NoInodeLimit)
        writeText(t.availableInodes, QString::number(target.AvailableInodes));
    // Optional, and only a hint for checks: left out rather than refuse the save.
    if (!target.Volume.isEmpty() && isXmlText(target.Volume))
        writeText(t.volume, target.Volume);
    m_xml.writeEndElement();
}

// An empty group is written too, as an empty element.
void ProjectFileWriter::writeGroup(int group, const QVector<Entry>& entries,
                                   const QVector<int>& origins)
{
    m_xml.writeStartElement(projectFileTags().groups[group]);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        int origin = NoGroup;
        if (group == Dispensed) {
            // Written as the reader will take it: a missing or foreign origin means Main.
            origin = i < origins.size() ? origins.at(i) : int(Main);
            if (origin < Required || origin > Background)
                origin = Main;
        }
        writeEntry(entries.at(i), origin);
    }
    m_xml.writeEndElement();
}

// origin is NoGroup outside Dispensed, where an entry has none.
void ProjectFileWriter::writeEntry(const Entry& entry, int origin)
{
    const ProjectFileTags& t = projectFileTags();
    m_xml.writeStartElement(t.entry);
    writeText(t.ident, entry.Ident);
    writeText(t.size, QString::number(entry.Size));
    writeText(t.name, entry.Name);
    writeText(t.path, entry.Path);
    writeText(t.kind, QString::number(entry.Kind));
    if (origin != NoGroup)
        writeText(t.origin, QString::number(origin));
    m_xml.writeEndElement();
}

// One text element. Tab, line feed and carriage return go out as character
// references: raw, a reader would turn CR and CR LF into LF.
void ProjectFileWriter::writeText(const QString& name, const QString& text)
{
    m_xml.writeStartElement(name);
    qsizetype from = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char* ref = c == QLatin1Char('\t')   ? "#9"
                          : c == QLatin1Char('\n') ? "#10"
                          : c == QLatin1Char('\r') ? "#13"
                                                   : nullptr;
        if (!ref)
            continue;
        if (i > from)
            m_xml.writeCharacters(text.mid(from, i - from));
        m_xml.writeEntityReference(QLatin1String(ref));
        from = i + 1;
    }
    // Also for an empty text, so the element reads <Name></Name> like any text element.
    if (from < n || n == 0)
        m_xml.writeCharacters(from == 0 ? text : text.mid(from));
    m_xml.writeEndElement();
}
