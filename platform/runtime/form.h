#pragma once
// The runtime's windows (forms).
//
// A form is one object for the program's whole run, reached through its
// class (frmX::Instance()). Its window and controls are created when it is
// loaded and destroyed when it is unloaded, as often as the program likes,
// while the object's own fields keep their values. Touching a control of an
// unloaded form loads it first (ui() below), which runs Form_Load.
//
// Measures: Left, Top, Width and Height of a form are in twips (15 to a
// pixel, a window stands on whole pixels) and are the outer measures of the
// window, frame included, as far as the window system tells it; without a
// window manager there is no frame and outer and client measures coincide.
// An X window manager frames a window only after it is shown: until then the
// frame is taken to be that of the last window of the same kind (titled,
// frame only, none), and the outer measures the program set are made good
// once the real frame is known (the client area gets the outer size less the
// frame; the frame's corner stays where it was put). ScaleWidth and
// ScaleHeight are the client area in pixels; controls are placed in pixels.
//
// The window's layout comes from a Qt Designer .ui file (UiForm below). The
// top-level widget of the layout carries the client size (its geometry), the
// caption (windowTitle) and these dynamic properties:
//   BorderStyle (int)   vbBSNone 0: no frame at all; vbFixedSingle 1 and
//                       vbFixedDialog 3: a frame, with a title bar when the
//                       caption is not empty; every window has a fixed
//                       size, and none offers to be minimised or maximised
//                       but the main window (vbFixedSingle) its minimising.
//                       Windows of the other two styles are dialogs: shown,
//                       each belongs to the form window in use then (the
//                       window manager keeps it above that one) and carries
//                       that window's icon unless it has one of its own.
//                       Default vbFixedSingle.
//   KeyPreview (bool)   the form's KeyUp sees the keys of its controls,
//                       once each, before they do; without it only the keys
//                       of the window itself when no control has the focus.
//   Icon (string)       a resource path of the window's icon.
// Any widget of the layout may carry the dynamic properties
//   FontSize (double)   the font size in points as the layout designer gave
//                       it (8.25, 9.75, 11.25, 12, 15.75); the runtime sets
//                       the font to the whole pixels of that size at 96 dpi
//                       (8.25 pt = 11 px). Font families are mapped once by
//                       the runtime ("MS Sans Serif" to a sans-serif face of
//                       the same size; "Times New Roman" and "Arial" through
//                       fontconfig to their metric-compatible faces).
#include "base/wintypes.h"
#include "runtime/inputcodes.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

class QImage;
class QMargins;
class QPoint;

enum FormShowConstants : std::int16_t { vbModeless = 0, vbModal = 1 };
enum FormBorderStyle : std::int16_t { vbBSNone = 0, vbFixedSingle = 1, vbFixedDialog = 3 };

// Twips per screen pixel, both ways.
constexpr int TwipsPerPixel = 15;

namespace Screen {
// The screen's size in twips.
int Width();
int Height();
} // namespace Screen

// The centring rule of the program's windows: (outer - own) rounded to a
// whole number, a half to the even neighbour, then halved with the
// remainder dropped (toward zero). May be negative.
int HalfDifference(double outer, double own);

class Form : public QObject {
    Q_OBJECT
public:
    ~Form() override;

    bool IsLoaded() const { return m_window != nullptr; }
    // Creates the window and its controls and runs Form_Load; nothing when
    // already loaded.
    void Load();
    // Runs Form_Unload, which may cancel; otherwise hides and destroys the
    // window (a modal show waiting for it returns). Nothing when not loaded.
    // Safe from inside the window's own event handlers.
    void Unload();
    // Loads first when needed. Modal: returns when the window is hidden or
    // unloaded; modal shows nest. Modeless: returns at once.
    void Show(FormShowConstants Modal = vbModeless);
    void Hide();
    // Paints the shown window now, so that it stands on the screen before a
    // long piece of work; first waits (at most exposeAllowance) for the
    // window system to expose a window just shown. Nothing when not shown.
    void Refresh();
    static constexpr int exposeAllowance = 2000; // ms
    // Shown (and not hidden since); false while not loaded.
    bool Visible() const;

    // The window; loads the form first when needed.
    QWidget *Window();
    HWND hWnd();

    int Left();
    void setLeft(int twips);
    int Top();
    void setTop(int twips);
    int Width();
    void setWidth(int twips);
    int Height();
    void setHeight(int twips);
    // The client area in pixels.
    int ScaleWidth();
    int ScaleHeight();

    QString Caption();
    void setCaption(const QString &caption);

    // Places the window over another form by the centring rule, the
    // vertical position first; or on the screen, Left first.
    void CentreOver(Form &owner);
    void CentreOnScreen();

signals:
    // After the window has been destroyed by Unload.
    void Unloaded();

protected:
    Form();

    // Builds the layout's controls into the new window.
    virtual void SetupWindow(QWidget *window) = 0;
    // Drops every pointer to the controls, right before they are destroyed.
    virtual void ForgetWindow() {}

    virtual void Form_Load() {}
    // The window's measures changed: its client area was resized, or the
    // window system framed the shown window or changed its frame (the outer
    // measures read differently then). Comes after the runtime has made good
    // the outer measures the program gave.
    virtual void Form_Resize() {}
    // Cancel set to non-zero keeps the form loaded.
    virtual void Form_Unload(std::int16_t &Cancel) { (void)Cancel; }
    // When the window's own face is painted (first shown, uncovered, or
    // repainted as a whole); labels, images and lines are drawn on it. Not
    // when a control with a window of its own repaints itself.
    virtual void Form_Paint() {}
    // The mouse over the window's own face (client pixels): what lies over
    // a control is the control's, what lies over a disabled one its
    // container's.
    virtual void Form_Click() {}
    virtual void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) { (void)Button; (void)Shift; (void)X; (void)Y; }
    virtual void Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) { (void)Button; (void)Shift; (void)X; (void)Y; }
    // With KeyPreview also for the keys of the form's controls. KeyCode set
    // to 0 swallows the key.
    virtual void Form_KeyUp(std::int16_t &KeyCode, std::int16_t Shift) { (void)KeyCode; (void)Shift; }

private:
    friend class FormWindow;
    void applyLayoutProperties(QWidget *window);
    // Makes a dialog about to be shown the window manager's dialog of the
    // form window in use, with that window's icon unless it has its own.
    void belongToOwner(QWidget *window);
    void endModalShows();
    QMargins frameMargins();
    QPoint framePosition();
    void windowMoved();
    void applyOuterMeasures();
    struct Private;
    QPointer<QWidget> m_window;
    std::unique_ptr<Private> d;
};

// A form whose layout is the uic class UiT (from resources/forms/<name>.ui)
// and whose single instance is T. The form's header includes the layout's
// generated header, so that UiT is complete wherever the form is.
template <class T, class UiT>
class UiForm : public Form {
public:
    // The program's one instance of the form, made on first use and kept
    // to the program's end.
    static T &Instance()
    {
        static T *instance = new T;
        return *instance;
    }

protected:
    // The layout's controls; loads the form first when it is not loaded.
    UiT &ui()
    {
        Load();
        return *m_ui;
    }
    // The controls without loading: nullptr while not loaded.
    UiT *loadedUi() const { return m_ui.get(); }

    void SetupWindow(QWidget *window) override
    {
        m_ui = std::make_unique<UiT>();
        m_ui->setupUi(window);
    }
    void ForgetWindow() override { m_ui.reset(); }

private:
    std::unique_ptr<UiT> m_ui;
};
