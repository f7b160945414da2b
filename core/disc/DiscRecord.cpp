// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QByteArray s_magic = "quillmarch disc record 1";

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path).toPercentEncoding("/!$&'()*+,;=:@~ ");
}

QString decoded(const QByteArray& text)
{
    return QFile::decodeName(QByteArray::fromPercentEncoding(text));
}

} // namespace

QString DiscRecord::volumeIdOf(const QByteArray& time)
{
    const QString t = QString::fromLatin1(time.left(16));
    return QStringLiteral("uuid %1-%2-%3-%4-%5-%6-%7")
        .arg(t.mid(0, 4), t.mid(4, 2), t.mid(6, 2), t.mid(8, 2), t.mid(10, 2), t.mid(12, 2),
             t.mid(14, 2));
}

QString DiscRecord::pathFor(const QString& volumeId)
{
    QString state = QString::fromLocal8Bit(qgetenv("XDG_STATE_HOME"));
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    ContentHash key;
    const QByteArray id = volumeId.toUtf8();
    key.add(id.constData(), std::size_t(id.size()));
    return state + QStringLiteral("/quillmarch/discs/") + QString::fromLatin1(key.digest().hex()) +
           QStringLiteral(".disc");
}

bool DiscRecord::save(const QString& volumeId, const QStringList& names,
                      const std::vector<DiscFile>& files, QString* error)
{
    const QString path = pathFor(volumeId);
    if (!QDir().mkpath(QFileInfo(path).path())) {
        if (error)
            *error = QCoreApplication::translate("DiscRecord", "cannot make the folder %1")
                         .arg(QFileInfo(path).path());
        return false;
    }
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(s_magic + "\nvolume\t" + volumeId.toUtf8() + '\n');
        for (const QString& name : names)
            out.write("E\t" + encoded(name) + '\n');
        for (const DiscFile& f : files)
            out.write("F\t" + f.hash.hex() + '\t' + QByteArray::number(f.size) + '\t' +
                      QByteArray::number(f.mtimeNs) + '\t' + encoded(f.source) + '\t' +
                      encoded(f.imagePath) + '\n');
    }
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

bool DiscRecord::load(const QString& volumeId)
{
    m_files.clear();
    m_index.clear();
    m_entries.clear();
    QFile file(pathFor(volumeId));
    if (volumeId.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 2 || lines[0] != s_magic || lines[1] != "volume\t" + volumeId.toUtf8())
        return false;
    for (int i = 2; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].split('\t');
        if (f.size() == 2 && f[0] == "E")
            m_entries.insert(decoded(f[1]));
        DiscFile d;
        bool ok[2] = {};
        if (f.size() != 6 || f[0] != "F" || !Hash128::fromHex(f[1], d.hash))
            continue;
        d.size = f[2].toULongLong(&ok[0]);
        d.mtimeNs = f[3].toLongLong(&ok[1]);
        d.source = decoded(f[4]);
        d.imagePath = decoded(f[5]);
        if (!ok[0] || !ok[1])
            continue;
        m_index.insert(d.imagePath, m_files.size());
        m_files.push_back(std::move(d));
    }
    return true;
}

const DiscFile* DiscRecord::find(const QString& imagePath) const
{
    const auto it = m_index.constFind(imagePath);
    return it == m_index.constEnd() ? nullptr : &m_files[*it];
}
