#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPixmap>

// The toolbar's pictures, in button order, loaded from GIF images in the
// program's resources.
class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QObject* parent = nullptr);
    int count() const { return static_cast<int>(m_images.size()); }
    // Image n, counted from 1 as the toolbar buttons are.
    QPixmap image(int n) const;

private:
    QList<QPixmap> m_images;
};

// The program's 32x32 icon, shared by both windows.
QIcon ProgramIcon();
