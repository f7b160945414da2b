// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the project file reader. Each input is written to a
// file and read; whatever reads is written again and must read back equal,
// then goes through the model: load, undispense, save.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "core/model/EntriesModel.h"
#include "core/model/ProjectData.h"
#include "core/model/ProjectFile.h"

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_projectfile: %s\n", what);
    std::abort();
}

// The scratch files live in a temporary folder of their own, removed by its
// owner at exit; nothing here ever removes a folder by name.
QString scratch(const char* name)
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        fail("cannot create a temporary folder");
    return dir.filePath(QLatin1String(name));
}

// What the reader promises about anything it accepts.
void checkRead(const ProjectData& d)
{
    if (d.origins.size() != d.groups[Dispensed].size())
        fail("origins out of step with Dispensed");
    for (int o : d.origins)
        if (o < Required || o > Background)
            fail("origin outside 1..3");
    if (d.hasTarget && !d.target.hasUsableFigures())
        fail("unusable target accepted");
    for (const QVector<Entry>& g : d.groups)
        for (const Entry& e : g)
            if ((e.Kind != File && e.Kind != Folder) || !e.Ident.startsWith(QLatin1Char('/')))
                fail("kind outside 0..1 or a path that is not absolute");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString input = scratch("input.qmp");
    static const QString again = scratch("again.qmp");
    static const QString saved = scratch("saved.qmp");
    {
        QFile f(input);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            fail("cannot write the input file");
    }

    ProjectData read;
    QString error;
    if (!readProjectFile(input, read, &error)) {
        if (error.isEmpty())
            fail("failed read without a message");
        return 0;
    }
    checkRead(read);

    // Everything read is text XML can carry, so the writer must take it, and
    // the reader must give it back (a stored size counts as known).
    if (!writeProjectFile(again, read, &error))
        fail("writer refused what the reader accepted");
    ProjectData back;
    if (!readProjectFile(again, back, &error))
        fail("reader refused what the writer wrote");
    ProjectData expected = read;
    for (QVector<Entry>& g : expected.groups)
        for (Entry& e : g)
            e.IsValidSize = true;
    if (!(back == expected))
        fail("written project reads back differently");

    EntriesModel model;
    if (!model.load(input, QStringLiteral("fuzz")))
        fail("model refused what the reader accepted");
    model.undispense();
    if (model.isDispensed() || model.groupSize(Dispensed) != 0 || !model.origins().isEmpty())
        fail("undispense left dispensed entries");
    int count = 0;
    quint64 total = 0;
    for (int g = Required; g <= Background; ++g) {
        for (EntryPos p = model.groupBegin(g); model.isValidPos(p); ++p.index) {
            ++count;
            if (model.entryAt(p).IsValidSize)
                total += model.entryAt(p).Size;
        }
    }
    if (count != model.totalCount() || total != model.totalSize())
        fail("totals out of step after undispense");
    if (!model.saveAs(saved))
        fail("model could not save a project it loaded");
    return 0;
}
