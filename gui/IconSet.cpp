// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/IconSet.h"

#include <memory>

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

namespace {
const char* const baseNames[IconCount] = {
    "MainIcon",   "ClipboardPost", "DiskSelect",   "Dispense",    "Undispense",
    "FileAdd",    "FolderAdd",     "PriorityDown", "PriorityUp",  "ProjectLoad",
    "ProjectNew", "ProjectSave",   "EntryRemove",  "CopyToTarget"};

// Renders the SVG at exactly the device pixels asked for, so icons stay sharp
// at any scale instead of stretching a 16- or 32-pixel bitmap.
class SvgIconEngine : public QIconEngine
{
public:
    explicit SvgIconEngine(const QString& path)
        : m_path(path), m_renderer(std::make_shared<QSvgRenderer>(path))
    {
    }

    QIconEngine* clone() const override { return new SvgIconEngine(*this); }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const QString key = QStringLiteral("qm-svg:%1:%2x%3:%4")
                                .arg(m_path)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(int(mode));
        QPixmap pixmap;
        if (QPixmapCache::find(key, &pixmap))
            return pixmap;
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            m_renderer->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        pixmap = QPixmap::fromImage(image);
        if (mode != QIcon::Normal) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        QPixmapCache::insert(key, pixmap);
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap pm = pixmap(rect.size() * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pm);
    }

private:
    QString m_path;
    std::shared_ptr<QSvgRenderer> m_renderer;
};
} // namespace

IconSet::IconSet()
{
    // The resources live in a static library: without this call the linker
    // drops them and every icon comes out empty.
    Q_INIT_RESOURCE(quillmarch);
    for (int i = 0; i < IconCount; ++i)
        m_icons[i] = QIcon(new SvgIconEngine(resourcePath(IconId(i))));
}

const QIcon& IconSet::icon(IconId id) const
{
    return m_icons[id];
}

QString IconSet::resourcePath(IconId id)
{
    return QStringLiteral(":/Quillmarch/res/img/") + QLatin1String(baseNames[id]) +
           QStringLiteral(".svg");
}

const QIcon& icon(IconId id)
{
    static const IconSet set;
    return set.icon(id);
}
