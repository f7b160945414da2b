#include "platform/MountTable.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>

bool Mount::isFuse() const
{
    return type == QLatin1String("fuse") || type == QLatin1String("fuseblk") ||
           type.startsWith(QLatin1String("fuse."));
}

QString MountTable::unescape(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = digits.size() == 3;
            for (char d : digits)
                ok = ok && d >= '0' && d <= '7';
            if (ok) {
                out.append(char(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QFile::decodeName(out);
}

static bool hasOption(const QByteArray& options, const char* name)
{
    const QList<QByteArray> parts = options.split(',');
    return std::any_of(parts.begin(), parts.end(),
                       [name](const QByteArray& o) { return o == name; });
}

MountTable MountTable::parse(const QByteArray& mountinfo)
{
    MountTable table;
    const QList<QByteArray> lines = mountinfo.split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> f = line.split(' ');
        // ID PARENT MAJ:MIN ROOT MOUNTPOINT OPTIONS [optional...] - TYPE SOURCE SUPER
        const int dash = f.indexOf(QByteArray("-"), 6);
        if (dash < 0 || dash + 2 >= f.size())
            continue;
        Mount m;
        m.device = QString::fromLatin1(f.at(2));
        m.root = unescape(f.at(3));
        m.mountPoint = unescape(f.at(4));
        m.type = QString::fromLatin1(f.at(dash + 1));
        m.source = unescape(f.at(dash + 2));
        const QByteArray super = dash + 3 < f.size() ? f.at(dash + 3) : QByteArray();
        m.readOnly = hasOption(f.at(5), "ro") || hasOption(super, "ro");
        if (!m.mountPoint.startsWith(QLatin1Char('/')) || m.type.isEmpty())
            continue;
        table.m_mounts.append(m);
    }
    return table;
}

QSet<QString> MountTable::nodevTypes(const QByteArray& filesystems)
{
    QSet<QString> types;
    for (const QByteArray& line : filesystems.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() == 2 && f.at(0) == "nodev")
            types.insert(QString::fromLatin1(f.at(1)));
    }
    return types;
}

MountTable MountTable::current()
{
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    if (!f.open(QIODevice::ReadOnly))
        return MountTable();
    // A proc file has no size: read it to the end.
    return parse(f.readAll());
}

QVector<Mount> MountTable::driveVolumes(const QSet<QString>& nodev) const
{
    // A later mount on the same point hides the earlier ones.
    QHash<QString, int> visible;
    for (int i = 0; i < m_mounts.size(); ++i)
        visible.insert(m_mounts.at(i).mountPoint, i);

    static const QSet<QString> readOnlyKinds = {QStringLiteral("squashfs"),
                                                QStringLiteral("iso9660")};
    QVector<Mount> picked;
    QHash<QString, int> byDevice; // device -> index in picked
    for (int i = 0; i < m_mounts.size(); ++i) {
        const Mount& m = m_mounts.at(i);
        if (visible.value(m.mountPoint) != i || m.readOnly || readOnlyKinds.contains(m.type))
            continue;
        if (m.isFuse()) {
            // FUSE also serves network and virtual file systems; only one over
            // a device or an image can hold a disk file system.
            if (!m.source.startsWith(QLatin1Char('/')))
                continue;
        } else if (nodev.contains(m.type)) {
            continue;
        }
        const auto seen = byDevice.constFind(m.device);
        if (seen == byDevice.constEnd()) {
            byDevice.insert(m.device, picked.size());
            picked.append(m);
        } else if (picked.at(*seen).root != QLatin1String("/") && m.root == QLatin1String("/")) {
            picked[*seen] = m;
        }
    }
    std::sort(picked.begin(), picked.end(),
              [](const Mount& a, const Mount& b) { return a.mountPoint < b.mountPoint; });
    return picked;
}

int MountTable::mountFor(const QString& path) const
{
    const QString p = QDir::cleanPath(path);
    if (!p.startsWith(QLatin1Char('/')))
        return -1;
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < m_mounts.size(); ++i) {
        const QString& mp = m_mounts.at(i).mountPoint;
        const bool inside = mp == QLatin1String("/") || p == mp ||
                            (p.startsWith(mp) && p.at(mp.size()) == QLatin1Char('/'));
        if (inside && mp.size() >= bestLength) {
            best = i;
            bestLength = mp.size();
        }
    }
    return best;
}
