#pragma once
// The CoolBar control: a bar with a background picture holding bands side
// by side (or stacked, when vertical). Each band has a key, a child, a
// minimum height, a width and optionally a picture of its own. A band shows
// its child by adopting the window that the child's hWnd names: a control
// may name another window than its own, and the band then holds that one.
#include "base/wintypes.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

class CoolBar;

class CoolBarBand {
public:
    int Index() const { return m_index; }
    QString Key() const { return m_key; }

    // The control shown in the band, or nullptr.
    QWidget *Child() const { return m_child; }
    // Lets go of the window the band holds and adopts the one the new
    // child's hWnd names (the child itself when it has no such property).
    void setChild(QWidget *child);

    // The band's thickness across the bar: the child is made this tall
    // (this wide on a vertical bar), and the bar grows to hold it.
    float MinHeight() const { return m_minHeight; }
    void setMinHeight(float height);
    // The band's length along the bar, grip included; the last band fills
    // what is left.
    float Width() const { return m_width; }
    void setWidth(float width);

    // Shown in the band in place of the bar's picture.
    QImage Picture() const { return m_picture; }
    void setPicture(const QImage &picture);

    // The window the band holds now: 0 for none.
    HWND adoptedWindow() const { return m_adopted; }

private:
    friend class CoolBar;
    friend class CoolBarBands;
    CoolBarBand(CoolBar *bar, int index, const QString &key) : m_bar(bar), m_index(index), m_key(key) {}

    CoolBar *m_bar;
    int m_index;
    QString m_key;
    QPointer<QWidget> m_child;
    HWND m_adopted = 0;
    float m_minHeight = 0;
    float m_width = 0;
    QImage m_picture;
};

// The bands, in order, counted from 1.
class CoolBarBands {
public:
    int Count() const { return static_cast<int>(m_bands.size()); }
    CoolBarBand &operator()(int index) { return *m_bands.at(index - 1); }
    // The band with this key; nullptr when none has it.
    CoolBarBand *Item(const QString &key) const;
    CoolBarBand &Add(const QString &key, float minHeight = 0, float width = 0);

    auto begin() const { return m_bands.begin(); }
    auto end() const { return m_bands.end(); }

private:
    friend class CoolBar;
    explicit CoolBarBands(CoolBar *bar) : m_bar(bar) {}

    CoolBar *m_bar;
    QList<std::shared_ptr<CoolBarBand>> m_bands;
};

class CoolBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int hWnd READ hWnd)

public:
    // Room on each side of the bar and the grip at the head of each band.
    static constexpr int Border = 2;
    static constexpr int Grip = 10;

    explicit CoolBar(QWidget *parent = nullptr);
    ~CoolBar() override;

    HWND hWnd() const { return m_hWnd; }

    QImage Picture() const { return m_picture; }
    void setPicture(const QImage &picture);

    // 0 horizontal, anything else vertical.
    int Orientation() const { return m_orientation; }
    void setOrientation(int orientation);

    CoolBarBands &Bands() { return m_bands; }

    // Lays the bands out again, fits the bar's height (width when vertical)
    // to them and repaints.
    void Refresh();

    // Where band i (from 1) lies, and where its child lies inside it.
    QRect bandRect(int index) const;
    QRect childRect(int index) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class CoolBarBand;
    void placeChildren();
    int thickness() const;

    HWND m_hWnd = 0;
    QImage m_picture;
    int m_orientation = 0;
    CoolBarBands m_bands;
};
