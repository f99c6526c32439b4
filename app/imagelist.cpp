#include "imagelist.h"

ImageList::ImageList(QObject* parent) : QObject(parent)
{
    for (int n = 1; n <= 5; ++n)
        m_images.append(QPixmap(QStringLiteral(":/icons/mode%1.gif").arg(n)));
}

QPixmap ImageList::image(int n) const
{
    return (n >= 1 && n <= count()) ? m_images.at(n - 1) : QPixmap();
}

QIcon ProgramIcon()
{
    return QIcon(QStringLiteral(":/icons/quillmere.png"));
}
