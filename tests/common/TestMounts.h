#pragma once

#include <QString>
#include <QStringList>

// Real volumes for tests, mounted in folders the test owns and unmounted when
// the object goes. Each maker returns an empty string and sets why() when the
// machine cannot provide the volume (not root, no /dev/fuse, a tool missing).
class TestMounts
{
public:
    ~TestMounts();

    // An NTFS image made by mkntfs and mounted by ntfs-3g at folder; over the
    // image file itself (type "fuse") or over a loop device ("fuseblk").
    QString ntfs(const QString& folder, int mebibytes, bool overLoopDevice);
    QString tmpfs(const QString& folder, int mebibytes);
    // ext4 image mounted by the kernel through a loop device.
    QString ext4(const QString& folder, int mebibytes);
    // The folder again at bindFolder, read-only.
    QString readOnlyBind(const QString& folder, const QString& bindFolder);

    const QString& why() const { return m_why; }

    // Runs a program; false with the output in why when it fails.
    bool run(const QString& program, const QStringList& args);

private:
    bool canMount();
    // An empty image file of that size beside folder, and folder itself.
    QString makeImage(const QString& folder, int mebibytes);
    QString mounted(const QString& folder);

    QStringList m_mounts; // unmounted in reverse order
    QStringList m_loops;
    QString m_why;
};
