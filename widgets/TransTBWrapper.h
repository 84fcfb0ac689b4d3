#pragma once
// Puts a toolbar into a CoolBar band and gives it the flat, transparent or
// list look. The toolbar control itself is hidden; its inner toolbar window
// becomes the band's child, so that the band's background shows through a
// transparent toolbar. The band's thickness is kept fitted to the buttons,
// and a toolbar that is replaced gets its style and parent window back.
#include "base/wintypes.h"

#include <QPointer>
#include <QWidget>

class CoolBar;
class CoolBarBand;
class PropertyBag;
class Toolbar;

class TransTBWrapper : public QWidget {
    Q_OBJECT
    // A band that holds the wrapper adopts the window this names.
    Q_PROPERTY(int hWnd READ hWnd)

public:
    explicit TransTBWrapper(QWidget *parent = nullptr);
    ~TransTBWrapper() override;

    ::Toolbar *Toolbar() const;
    // Attaches a toolbar; nullptr detaches the current one.
    void setToolbar(::Toolbar *NewToolbar);
    bool ListStyle() const;
    void setListStyle(bool value);
    bool Transparent() const;
    void setTransparent(bool value);
    // The wrapper's own window while no toolbar is attached, else the
    // toolbar's inner window.
    HWND hWnd() const;

    // The saved properties "ListStyle" and "Transparent" of the layout.
    void UserControl_ReadProperties(const PropertyBag &PropBag);
    void UserControl_WriteProperties(PropertyBag &PropBag) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void RestoreParent();
    void RefreshButtons();
    void RestoreStyle();
    void ClearImageBack();
    void ApplyStyle();
    void SizeBand();
    CoolBar *GetCoolBar() const;
    CoolBarBand *FindBand(CoolBar *cb) const;
    void UserControl_Resize();
    // The band thickness the attached toolbar needs on this bar.
    float ToolbarSize(const CoolBar &cb) const;

    bool m_ListStyle = false;
    bool m_Transparent = false;
    QPointer<::Toolbar> m_Toolbar;
    int32_t m_SavedStyle = 0;
    int32_t m_hWndToolbar = 0;
    int32_t m_hWndInner = 0;
    HWND m_hWndOwn = 0;
    bool m_inResize = false; // re-entry guard of UserControl_Resize
};
