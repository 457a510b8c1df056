#include "app/image_lists.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Resources compiled into a static library must be registered by name from outside any namespace.
static void initImageResources()
{
    Q_INIT_RESOURCE(images);
}

namespace app {

namespace {

QPixmap renderSvg(const QString& path, QSize size)
{
    initImageResources();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

} // namespace

TImageList::TImageList(QSize size, const QString& resourcePattern, int count)
    : m_size(size)
{
    for (int index = 0; index < count; ++index) {
        const QString path = resourcePattern.arg(index, 2, 10, QLatin1Char('0'));
        QIcon icon;
        icon.addPixmap(renderSvg(path, size));
        m_icons.push_back(icon);
    }
}

QIcon TImageList::icon(int index) const
{
    if (index < 0 || index >= m_icons.size())
        return {};
    return m_icons[index];
}

const TImageList& LargeImages()
{
    static const TImageList list(QSize(48, 48), QStringLiteral(":/images/large/large_%1.svg"), 23);
    return list;
}

const TImageList& SmallImages()
{
    static const TImageList list(QSize(16, 16), QStringLiteral(":/images/small/small_%1.svg"), 11);
    return list;
}

QPixmap SplashPicture(QSize size)
{
    return renderSvg(QStringLiteral(":/images/splash.svg"), size);
}

} // namespace app
