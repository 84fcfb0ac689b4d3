#pragma once
// The runtime's line control: a straight line from (X1, Y1) to (X2, Y2) in
// its container's pixels, BorderWidth pixels wide, in BorderColor. It takes
// no mouse input: what lies under it gets the clicks.
#include "base/wintypes.h"

#include <QWidget>

class Line : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int X1 READ X1 WRITE setX1)
    Q_PROPERTY(int Y1 READ Y1 WRITE setY1)
    Q_PROPERTY(int X2 READ X2 WRITE setX2)
    Q_PROPERTY(int Y2 READ Y2 WRITE setY2)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(int BorderColor READ BorderColorInt WRITE setBorderColorInt)

public:
    explicit Line(QWidget *parent = nullptr);

    int X1() const { return m_x1; }
    void setX1(int v);
    int Y1() const { return m_y1; }
    void setY1(int v);
    int X2() const { return m_x2; }
    void setX2(int v);
    int Y2() const { return m_y2; }
    void setY2(int v);
    int BorderWidth() const { return m_width; }
    void setBorderWidth(int v);
    COLORREF BorderColor() const { return m_color; }
    void setBorderColor(COLORREF color);

    void CopyFrom(const Line &other);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int BorderColorInt() const { return static_cast<int>(m_color); }
    void setBorderColorInt(int c) { setBorderColor(static_cast<COLORREF>(c)); }
    void place();

    int m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    int m_width = 1;
    COLORREF m_color = 0x00000000;
};
