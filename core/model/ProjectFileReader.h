// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <QXmlStreamReader>

class QIODevice;
struct Entry;
struct ProjectData;

// Reads a project file by recursive descent, one function per element, so
// that the code follows the file's tree:
//   Quillmarch     parseRoot      the target and the groups, in any order
//     Target       parseTarget    Path AvailableBlocks BlockSize FileSystem
//     Dispensed, Required, Main, Background, NotInUse: parseGroup
//       Entry      parseEntry     Ident Size Name Path Kind, Origin in Dispensed
// Elements it does not know are passed over with their content at every
// level, so a file with elements a later version adds still loads; a new
// optional element is one more branch in its parent's function. Every record
// starts from defaults, so a field missing from one entry never takes
// another entry's value, and an entry or a target is taken only as the
// program could have written it.
class ProjectFileReader
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

    explicit ProjectFileReader(QIODevice* device);

    // Fills data while reading; the caller keeps it only when this returns None.
    Failure read(ProjectData& data);
    qint64 lineNumber() const { return m_xml.lineNumber(); }
    // Why the read stopped, for BadEntry and Xml.
    QString xmlError() const;
    // Whether the root element was reached and had the project's name.
    bool sawRoot() const { return m_sawRoot; }

private:
    void parseRoot(ProjectData& data);
    void parseTarget(ProjectData& data);
    void parseGroup(ProjectData& data, int group);
    void parseEntry(ProjectData& data, int group);
    void takeEntry(ProjectData& data, int group, Entry& entry, int origin);
    // Derives Name and Path from the Ident; false, with m_failureText set,
    // when the entry cannot be trusted.
    bool checkEntry(Entry& entry);

    bool nextChild();
    template <typename Store> void readField(Store store);
    QString readText();
    void skipElement();
    bool advance();
    bool fail(Failure failure);

    QXmlStreamReader m_xml;
    int m_depth = 0;
    bool m_sawRoot = false;
    Failure m_failure = Failure::None;
    QString m_failureText;
    QSet<QString> m_idents;
};
