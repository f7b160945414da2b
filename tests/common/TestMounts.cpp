#include "tests/common/TestMounts.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

TestMounts::~TestMounts()
{
    for (int i = m_mounts.size() - 1; i >= 0; --i) {
        // ntfs-3g may still be flushing: retry a lazy unmount once.
        if (QProcess::execute(QStringLiteral("umount"), {m_mounts.at(i)}) != 0)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_mounts.at(i)});
    }
    for (const QString& loop : m_loops)
        QProcess::execute(QStringLiteral("losetup"), {QStringLiteral("-d"), loop});
}

bool TestMounts::run(const QString& program, const QStringList& args)
{
    if (QStandardPaths::findExecutable(program).isEmpty() &&
        QStandardPaths::findExecutable(program,
                                       {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
            .isEmpty()) {
        m_why = program + QStringLiteral(" is not installed");
        return false;
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_why = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) +
                QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAll()).trimmed();
        return false;
    }
    return true;
}

bool TestMounts::canMount()
{
    if (::geteuid() != 0) {
        m_why = QStringLiteral("mounting test volumes needs root");
        return false;
    }
    return true;
}

QString TestMounts::mounted(const QString& folder)
{
    m_mounts.append(folder);
    return folder;
}

QString TestMounts::makeImage(const QString& folder, int mebibytes)
{
    const QString image = folder + QStringLiteral(".img");
    QFile f(image);
    if (!f.open(QIODevice::WriteOnly) || !f.resize(qint64(mebibytes) << 20)) {
        m_why = QStringLiteral("cannot create ") + image;
        return QString();
    }
    f.close();
    QDir().mkpath(folder);
    return image;
}

QString TestMounts::ntfs(const QString& folder, int mebibytes, bool overLoopDevice)
{
    if (!canMount())
        return QString();
    if (!QFileInfo::exists(QStringLiteral("/dev/fuse"))) {
        m_why = QStringLiteral("/dev/fuse is missing, so ntfs-3g cannot mount");
        return QString();
    }
    const QString image = makeImage(folder, mebibytes);
    if (image.isEmpty())
        return QString();
    if (!run(QStringLiteral("mkntfs"),
             {QStringLiteral("-F"), QStringLiteral("-f"), QStringLiteral("-q"), image}))
        return QString();
    QString source = image;
    if (overLoopDevice) {
        QProcess p;
        p.start(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image});
        p.waitForFinished();
        source = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        if (p.exitCode() != 0 || source.isEmpty()) {
            m_why = QStringLiteral("losetup failed: ") + QString::fromLocal8Bit(p.readAll());
            return QString();
        }
        m_loops.append(source);
    }
    if (!run(QStringLiteral("ntfs-3g"), {source, folder}))
        return QString();
    return mounted(folder);
}

QString TestMounts::tmpfs(const QString& folder, int mebibytes)
{
    if (!canMount())
        return QString();
    QDir().mkpath(folder);
    if (!run(QStringLiteral("mount"),
             {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
              QStringLiteral("size=%1M").arg(mebibytes), QStringLiteral("tmpfs"), folder}))
        return QString();
    return mounted(folder);
}

QString TestMounts::ext4(const QString& folder, int mebibytes)
{
    if (!canMount())
        return QString();
    const QString image = makeImage(folder, mebibytes);
    if (image.isEmpty())
        return QString();
    if (!run(QStringLiteral("mkfs.ext4"), {QStringLiteral("-q"), image}) ||
        !run(QStringLiteral("mount"),
             {QStringLiteral("-o"), QStringLiteral("loop"), image, folder}))
        return QString();
    return mounted(folder);
}

QString TestMounts::readOnlyBind(const QString& folder, const QString& bindFolder)
{
    if (!canMount())
        return QString();
    QDir().mkpath(bindFolder);
    if (!run(QStringLiteral("mount"), {QStringLiteral("--bind"), folder, bindFolder}))
        return QString();
    mounted(bindFolder);
    if (!run(QStringLiteral("mount"),
             {QStringLiteral("-o"), QStringLiteral("remount,bind,ro"), bindFolder}))
        return QString();
    return bindFolder;
}
