#pragma once
// The toolbar control: a row of buttons with pictures from an image list
// and captions. The buttons live on an inner toolbar window of class
// "msvb_lib_toolbar", a child of the control, whose style (TB_GETSTYLE,
// TB_SETSTYLE) decides the look: raised or flat buttons, captions below or
// beside the pictures, a background of its own or none, so that whatever
// lies behind the window shows through.
#include "base/wintypes.h"
#include "comctl/imagelist.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

class QShortcut;
class Toolbar;

// Toolbar messages and styles (published values).
constexpr UINT TB_SETSTYLE = 0x0438;
constexpr UINT TB_GETSTYLE = 0x0439;
constexpr DWORD CCS_TOP = 0x0001;
constexpr DWORD CCS_NORESIZE = 0x0004;
constexpr DWORD CCS_NODIVIDER = 0x0040;
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_LIST = 0x1000;
constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;

// The class name of the window that carries the buttons.
inline constexpr const char *ToolbarWindowClass = "msvb_lib_toolbar";

class ToolbarButton {
public:
    int Index() const { return m_index; }
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QString Key() const { return m_key; }
    void setKey(const QString &key) { m_key = key; }
    QString ToolTipText() const { return m_toolTipText; }
    void setToolTipText(const QString &text) { m_toolTipText = text; }
    // The picture's index in the toolbar's image list, from 1; 0 for none.
    int Image() const { return m_image; }
    void setImage(int image);
    // Where the button sits on the inner window, in pixels.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

private:
    friend class Toolbar;
    friend class ToolbarButtons;
    ToolbarButton(Toolbar *owner, int index) : m_owner(owner), m_index(index) {}

    Toolbar *m_owner;
    int m_index;
    QString m_caption;
    QString m_key;
    QString m_toolTipText;
    int m_image = 0;
};

// The buttons of a toolbar, counted from 1.
class ToolbarButtons {
public:
    int Count() const { return static_cast<int>(m_buttons.size()); }
    ToolbarButton &operator()(int index) { return *m_buttons.at(index - 1); }
    const ToolbarButton &operator()(int index) const { return *m_buttons.at(index - 1); }
    // The button with this key; nullptr when none has it.
    ToolbarButton *Item(const QString &key) const;
    ToolbarButton &Add(const QString &key, const QString &caption, int image = 0);

private:
    friend class Toolbar;
    explicit ToolbarButtons(Toolbar *owner) : m_owner(owner) {}

    Toolbar *m_owner;
    QList<std::shared_ptr<ToolbarButton>> m_buttons;
};

class ToolbarWindow;

class Toolbar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int hWnd READ hWnd)

public:
    explicit Toolbar(QWidget *parent = nullptr);
    ~Toolbar() override;

    HWND hWnd() const { return m_hWnd; }
    bool Visible() const { return !isHidden(); }

    ToolbarButtons &Buttons() { return m_buttons; }
    const ToolbarButtons &Buttons() const { return m_buttons; }
    // The size every button has, in pixels.
    int ButtonWidth() const;
    int ButtonHeight() const;

    ::ImageList *ImageList() const { return m_imageList; }
    void setImageList(::ImageList *list);

    // The toolbar's own height when its inner window lies inside it.
    QSize sizeHint() const override;

    // nullptr once the window is gone with a bar that held it.
    ToolbarWindow *innerWindow() const { return m_inner; }

signals:
    void ButtonClick(ToolbarButton *Button);
    void MouseMove(int16_t Button, int16_t Shift, float x, float y);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class ToolbarButton;
    friend class ToolbarButtons;
    friend class ToolbarWindow;
    void buttonsChanged();
    void layoutInner();
    DWORD innerStyle() const;

    HWND m_hWnd = 0;
    ToolbarButtons m_buttons;
    QPointer<::ImageList> m_imageList;
    QPointer<ToolbarWindow> m_inner;
};

// The inner window that carries and paints the buttons.
class ToolbarWindow : public QWidget {
    Q_OBJECT

public:
    explicit ToolbarWindow(Toolbar *owner);

    HWND hWnd() const { return m_hWnd; }
    DWORD style() const { return m_style; }
    // Distances of the first button from the window's top and left edge.
    int buttonTop() const;
    int buttonLeft() const;
    QRect buttonRect(int index) const; // index from 1

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // One Alt+letter key per button whose caption marks a letter with "&".
    void updateMnemonics();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int buttonAt(const QPoint &pos) const;
    void paintButton(QPainter &painter, const ToolbarButton &button);

    Toolbar *m_owner;
    HWND m_hWnd = 0;
    DWORD m_style = CCS_TOP | TBSTYLE_TOOLTIPS;
    int m_hot = 0;
    int m_pressed = 0;
    QList<QShortcut *> m_mnemonics;
};
