#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QVector>

namespace app {

// A numbered list of pictures of one size; navigation icons and action images are indexes into it.
class TImageList
{
public:
    TImageList(QSize size, const QString& resourcePattern, int count);

    QSize size() const { return m_size; }
    int count() const { return m_icons.size(); }
    // An empty icon for an index out of range (-1 means "no picture").
    QIcon icon(int index) const;

private:
    QSize m_size;
    QVector<QIcon> m_icons;
};

// The shared 48 × 48 pictures of the navigation items (23 pictures).
const TImageList& LargeImages();
// The shared 16 × 16 pictures of the pages' actions (11 pictures).
const TImageList& SmallImages();

// The splash picture, drawn at the given size.
QPixmap SplashPicture(QSize size);

} // namespace app
