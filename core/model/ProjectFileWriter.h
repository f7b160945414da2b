// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QXmlStreamWriter>

struct Entry;
struct ProjectData;
struct Target;

// Turns a project into the bytes of its file, in memory, so that nothing
// reaches the disk before the whole file is known. One function per element,
// mirroring ProjectFileReader:
//   Quillmarch     writeRoot
//     Target       writeTarget   (only with a target)
//     Dispensed, Required, Main, Background, NotInUse: writeGroup (always, in that order)
//       Entry      writeEntry    (Ident Size Name Path Kind, and Origin in Dispensed)
// Auto-formatted, four blanks per level.
class ProjectFileWriter
{
public:
    // False, with a sentence for the user in *error, when a text cannot be
    // carried by XML 1.0; bytes is then left as it was.
    static bool write(const ProjectData& data, QByteArray& bytes, QString* error);

private:
    explicit ProjectFileWriter(QByteArray* bytes);

    static bool checkTexts(const ProjectData& data, QString* error);
    void writeRoot(const ProjectData& data);
    void writeTarget(const Target& target);
    void writeGroup(int group, const QVector<Entry>& entries, const QVector<int>& origins);
    void writeEntry(const Entry& entry, int origin);
    void writeText(const QString& name, const QString& text);

    QXmlStreamWriter m_xml;
};
