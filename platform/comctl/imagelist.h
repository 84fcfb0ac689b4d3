#pragma once
// The image list control: a row of pictures of one size, reached by index
// from 1 and, for the common-control calls, by its handle. Pictures are
// drawn over the list's background colour unless that is CLR_NONE.
#include "base/wintypes.h"

#include <QList>
#include <QObject>
#include <QPixmap>

using HIMAGELIST = std::int32_t; // 0 = none

constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;

// Sets the background colour of an image list; returns the previous one,
// CLR_NONE for a handle that names no list.
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);

class ImageList : public QObject {
    Q_OBJECT

public:
    // The button face behind the pictures until told otherwise.
    static constexpr COLORREF DefaultBackColor = RGB(212, 208, 200);

    explicit ImageList(QObject *parent = nullptr);
    ~ImageList() override;

    HIMAGELIST hImageList() const { return m_handle; }

    int ImageWidth() const { return m_width; }
    int ImageHeight() const { return m_height; }
    // The first picture sets the size of all when none was set before.
    void setImageSize(int width, int height);

    int Count() const { return static_cast<int>(m_images.size()); }
    // Adds a picture at the end and returns its index (from 1).
    int Add(const QImage &picture);
    void Clear();

    COLORREF BackColor() const { return m_backColor; }
    void setBackColor(COLORREF colour);

    // Picture i (from 1) in the list's size over its background colour;
    // a null pixmap for an index that names none.
    QPixmap Picture(int index) const;

signals:
    void Changed();

private:
    HIMAGELIST m_handle;
    int m_width = 0;
    int m_height = 0;
    QList<QImage> m_images;
    COLORREF m_backColor = DefaultBackColor;
};
