// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>

#include "core/model/ProjectData.h"
#include "core/model/ProjectFilePrecheck.h"
#include "core/model/ProjectFileReader.h"
#include "core/model/ProjectFileSave.h"
#include "core/model/ProjectFileText.h"
#include "core/model/ProjectFileWriter.h"

namespace {

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
QString readFailure(const QString& path, QFile& file, const ProjectFileReader& reader,
                    ProjectFileReader::Failure failure)
{
    using Failure = ProjectFileReader::Failure;
    if (file.error() != QFileDevice::NoError)
        return cannotRead(path, file);
    if (failure == Failure::HasDtd)
        return hasDtd(path);
    // A well-formed file whose root is another element is not ours, even when
    // its root's name begins like ours.
    if (failure == Failure::NotProject || failure == Failure::NotUtf8 ||
        (!reader.sawRoot() && !startsLikeProject(file)))
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
                      const std::function<bool()>& cancelled, QString* warning)
{
    QByteArray bytes;
    return ProjectFileWriter::write(data, bytes, error) &&
           saveProjectBytes(path, bytes, error, cancelled, warning);
}

bool readProjectFile(const QString& path, ProjectData& out, QString* error)
{
    QFile file;
    if (!openProjectFile(path, file, error) || !precheck(path, file, error))
        return false;
    ProjectData data;
    ProjectFileReader reader(&file);
    const ProjectFileReader::Failure failure = reader.read(data);
    if (failure != ProjectFileReader::Failure::None) {
        setError(error, readFailure(path, file, reader, failure));
        return false;
    }
    out = std::move(data);
    return true;
}
