// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/TestMounts.h"

#include <string>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

constexpr char PrivateMounts[] = "QM_TEST_PRIVATE_MOUNTS";

// Whether this process may make the namespaces (not in every container).
bool mayUnshare()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::unshare(CLONE_NEWNS | CLONE_NEWPID) == 0 ? 0 : 1);
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// Before main, as root: the program runs again under unshare, in a private
// mount namespace as the first process of a PID namespace that ends with
// unshare (--kill-child). However the test ends, the kernel then kills what
// it started (ntfs-3g), the namespace and its mounts go, and the loop devices
// under them clear themselves (they are all set to autoclear). Other tests
// never see these mounts.
[[gnu::constructor]] void enterPrivateMounts()
{
    if (::geteuid() != 0 || ::getenv(PrivateMounts) || !mayUnshare())
        return;
    // Its own /proc too, for what looks itself up by pid (QTest's stack dump).
    std::vector<std::string> args{"unshare", "--mount", "--propagation", "private", "--pid",
                                  "--fork", "--mount-proc", "--kill-child", "--"};
    char exe[4096];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    QFile cmdline(QStringLiteral("/proc/self/cmdline"));
    if (n <= 0 || !cmdline.open(QIODevice::ReadOnly))
        return;
    args.emplace_back(exe, std::size_t(n));
    const QList<QByteArray> given = cmdline.readAll().split('\0');
    for (int i = 1; i + 1 < given.size(); ++i) // argv[0] is exe now; the last one is empty
        args.emplace_back(given[i].constData(), std::size_t(given[i].size()));
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    ::setenv(PrivateMounts, "1", 1);
    ::execvp("unshare", argv.data());
    ::unsetenv(PrivateMounts); // no unshare: in place, as before
}

} // namespace

TestMounts::~TestMounts()
{
    unmountAll();
}

void TestMounts::unmountAll()
{
    // ntfs-3g may still be flushing: then unmount lazily.
    for (int i = m_mounts.size() - 1; i >= 0; --i)
        QProcess::execute("sh", {"-c", "umount \"$0\" || umount -l \"$0\"", m_mounts.at(i)});
    m_mounts.clear();
}

QString TestMounts::mount(const QString& folder, const QString& arg, const char* script)
{
    QProcess sh;
    if (::geteuid() == 0 && QDir().mkpath(folder)) {
        m_mounts.append(folder); // whatever got mounted is undone
        sh.start("sh", {"-ec", script, "sh", folder, arg});
        if (sh.waitForFinished(60000) && sh.exitStatus() == QProcess::NormalExit && !sh.exitCode())
            return folder;
    }
    m_why = ::geteuid() != 0
                ? QString("NOT TESTED ON A REAL VOLUME: mounting needs root (run the tests as "
                          "root, e.g. sudo make test)")
                : "NOT TESTED ON A REAL VOLUME: cannot mount " + folder + ": " +
                      sh.readAllStandardError();
    return QString();
}

bool TestMounts::countRow(bool mounted)
{
    const QByteArray log = qgetenv("QM_REAL_VOLUME_LOG");
    if (log.isEmpty())
        return mounted;
    QByteArray line(mounted ? "ran " : "skipped ");
    line += QFile::encodeName(QCoreApplication::applicationName()) + ' ';
    line += QByteArray(QTest::currentTestFunction()) + '(' + QByteArray(QTest::currentDataTag());
    line += ")\n";
    // One write with O_APPEND: the tests running side by side do not mix their lines.
    const int fd = ::open(log.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
        if (::write(fd, line.constData(), std::size_t(line.size())) != line.size())
            qWarning("could not count the row in %s", log.constData());
        ::close(fd);
    }
    return mounted;
}

QString TestMounts::ntfs(const QString& folder, int mebibytes, bool overLoopDevice,
                         int clusterBytes)
{
    // A loop device detached while in use goes when it is unmounted.
    return mount(folder, QString("%1 %2").arg(mebibytes).arg(clusterBytes),
                 overLoopDevice
                     ? "set -- \"$1\" $2; truncate -s $2M \"$1.img\"; mkntfs -Ffq \"$1.img\"\n"
                       "d=$(losetup -f --show \"$1.img\"); ntfs-3g $d \"$1\"; losetup -d $d"
                     : "set -- \"$1\" $2; if [ $2 != 0 ]; then truncate -s $2M \"$1.img\"\n"
                       "if [ $3 = 0 ]; then mkntfs -Ffq \"$1.img\"; else mkntfs -Ffq -c $3 "
                       "\"$1.img\"; fi; fi\n"
                       "ntfs-3g \"$1.img\" \"$1\"");
}

QString TestMounts::tmpfs(const QString& folder, int mebibytes)
{
    return mount(folder, QString::number(mebibytes), "mount -t tmpfs -o size=$2M tmpfs \"$1\"");
}

QString TestMounts::fat32(const QString& folder, int mebibytes)
{
    return mount(folder, QString::number(mebibytes),
                 "[ -e \"$1.img\" ] || { truncate -s $2M \"$1.img\";\n"
                 "  mkfs.vfat -F 32 -S 512 -s 1 \"$1.img\" >/dev/null; }\n"
                 "fusefat -o rw+ \"$1.img\" \"$1\"");
}

QString TestMounts::ext4(const QString& folder, int mebibytes, const QString& options)
{
    return mount(
        folder, QString::number(mebibytes) + ' ' + options,
        "f=$1; set -- $2; truncate -s $1M \"$f.img\"; shift; mkfs.ext4 -q \"$@\" \"$f.img\"\n"
        "mount -t ext4 -o loop \"$f.img\" \"$f\"");
}

QString TestMounts::exfat(const QString& folder, int mebibytes, int clusterBytes)
{
    // exfat-fuse needs a block device. The loop device goes at the unmount.
    return mount(
        folder, QString("%1 %2").arg(mebibytes).arg(clusterBytes),
        "f=$1; set -- $2; truncate -s $1M \"$f.img\"\n"
        "if [ $2 = 0 ]; then mkfs.exfat \"$f.img\"; else mkfs.exfat -c $2 \"$f.img\"; fi "
        ">/dev/null\n"
        "d=$(losetup -f --show \"$f.img\"); s=0; mount.exfat-fuse $d \"$f\" 2>/dev/null || s=$?\n"
        "losetup -d $d; exit $s");
}

QString TestMounts::readOnlyBind(const QString& folder, const QString& bindFolder)
{
    return mount(bindFolder, folder, "mount --bind \"$2\" \"$1\"; mount -o remount,bind,ro \"$1\"");
}
