// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "platform/ShellIcons.h"

// Icons from the icon theme, which must resolve even where the session names none.
class TestShellIcons : public QObject
{
    Q_OBJECT
private slots:
    void themeIcons()
    {
        const QList<QPair<QString, QString>> cases = {
            {"letter.txt", "text-x-generic"},
            {QCoreApplication::applicationDirPath(), "folder"},
            {"/", "drive-harddisk"},
            {"/dev/sr0", "media-optical"}};
        if (!QFile::exists("/usr/share/icons/Adwaita/index.theme"))
            QSKIP("adwaita-icon-theme is not installed");
        for (const auto& c : cases) {
            std::unique_ptr<QPixmap> icon(shellIcon(c.first));
            QCOMPARE(icon->cacheKey(), QIcon::fromTheme(c.second).pixmap(32, 32).cacheKey());
        }
        // Cached by the text from the last dot: one pixmap per type.
        QCOMPARE(fileIcon("/d/a.tar.gz"), fileIcon("/e/b.gz"));
        QVERIFY(fileIcon("/d/notes.txt") != fileIcon("/d/my.dir/README"));
        QCOMPARE(fileIcon("/d/v.mp4")->cacheKey(),
                 QIcon::fromTheme("video-x-generic").pixmap(32, 32).cacheKey());
    }
};

QTEST_MAIN(TestShellIcons)
#include "test_shellicons.moc"
