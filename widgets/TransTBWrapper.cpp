#include "TransTBWrapper.h"

#include "comctl/coolbar.h"
#include "comctl/imagelist.h"
#include "comctl/toolbar.h"
#include "runtime/propertybag.h"
#include "user32/user32.h"

#include <QResizeEvent>

TransTBWrapper::TransTBWrapper(QWidget *parent)
    : QWidget(parent)
{
    m_hWndOwn = HandleOf(this, "TransTBWrapper");
}

TransTBWrapper::~TransTBWrapper() = default;

::Toolbar *TransTBWrapper::Toolbar() const
{
    return m_Toolbar;
}

void TransTBWrapper::setToolbar(::Toolbar *NewToolbar)
{
    // Give the old toolbar back.
    RestoreStyle();
    RestoreParent();
    RefreshButtons();

    m_Toolbar = NewToolbar;
    if (!m_Toolbar) {
        m_hWndToolbar = 0;
        m_hWndInner = 0;
        SizeBand(); // the band gets the wrapper's own window back
        return;
    }

    m_Toolbar->setVisible(false);
    m_hWndToolbar = m_Toolbar->hWnd();
    m_hWndInner = FindWindowExA(m_hWndToolbar, 0, ToolbarWindowClass, nullptr);
    m_SavedStyle = static_cast<int32_t>(SendMessageA(m_hWndInner, TB_GETSTYLE, 0, 0));

    const HDC dc = GetDC(m_hWndToolbar);
    SendMessageA(m_hWndToolbar, WM_PAINT, static_cast<WPARAM>(dc), 0);
    ReleaseDC(m_hWndToolbar, dc);

    ClearImageBack();
    ApplyStyle();
}

bool TransTBWrapper::ListStyle() const
{
    return m_ListStyle;
}

void TransTBWrapper::setListStyle(bool value)
{
    if (value == m_ListStyle)
        return;
    m_ListStyle = value;
    ApplyStyle();
}

bool TransTBWrapper::Transparent() const
{
    return m_Transparent;
}

void TransTBWrapper::setTransparent(bool value)
{
    if (value == m_Transparent)
        return;
    m_Transparent = value;
    ApplyStyle();
}

HWND TransTBWrapper::hWnd() const
{
    return m_Toolbar ? m_hWndInner : m_hWndOwn;
}

void TransTBWrapper::RestoreParent()
{
    if (m_Toolbar)
        SetParent(m_hWndInner, m_hWndToolbar);
}

void TransTBWrapper::RefreshButtons()
{
    if (m_Toolbar && m_Toolbar->Buttons().Count() >= 1) {
        ToolbarButton &first = m_Toolbar->Buttons()(1);
        first.setImage(first.Image());
    }
}

void TransTBWrapper::RestoreStyle()
{
    if (m_Toolbar)
        SendMessageA(m_hWndInner, TB_SETSTYLE, 0, m_SavedStyle);
}

void TransTBWrapper::ClearImageBack()
{
    if (m_Toolbar && m_Toolbar->ImageList())
        ImageList_SetBkColor(m_Toolbar->ImageList()->hImageList(), CLR_NONE);
}

void TransTBWrapper::ApplyStyle()
{
    if (!m_Toolbar)
        return;
    int32_t style = m_SavedStyle | static_cast<int32_t>(CCS_NORESIZE | CCS_NODIVIDER);
    if (m_ListStyle)
        style |= static_cast<int32_t>(TBSTYLE_LIST);
    if (m_Transparent)
        style |= static_cast<int32_t>(TBSTYLE_FLAT | TBSTYLE_TRANSPARENT);
    if (style != static_cast<int32_t>(SendMessageA(m_hWndInner, TB_GETSTYLE, 0, 0))) {
        SendMessageA(m_hWndInner, TB_SETSTYLE, 0, style);
        RefreshButtons();
    }
    SizeBand();
}

float TransTBWrapper::ToolbarSize(const CoolBar &cb) const
{
    const bool horizontal = cb.Orientation() == 0;
    float size = static_cast<float>(horizontal ? m_Toolbar->ButtonHeight() : m_Toolbar->ButtonWidth());
    if (!m_Transparent && m_Toolbar->Buttons().Count() >= 1) {
        const ToolbarButton &first = m_Toolbar->Buttons()(1);
        size += 2.0f * static_cast<float>(horizontal ? first.Top() : first.Left());
    }
    return size;
}

void TransTBWrapper::SizeBand()
{
    CoolBar *cb = GetCoolBar();
    if (!cb)
        return;
    CoolBarBand *band = FindBand(cb);
    if (!band)
        return;
    band->setChild(nullptr);
    if (m_Toolbar)
        band->setMinHeight(ToolbarSize(*cb));
    band->setChild(this);
    cb->Refresh();
}

CoolBar *TransTBWrapper::GetCoolBar() const
{
    return qobject_cast<CoolBar *>(parentWidget());
}

CoolBarBand *TransTBWrapper::FindBand(CoolBar *cb) const
{
    for (const auto &band : cb->Bands()) {
        if (band->Child() == this)
            return band.get();
    }
    return nullptr;
}

void TransTBWrapper::UserControl_Resize()
{
    if (m_inResize || !m_Toolbar)
        return;
    CoolBar *cb = GetCoolBar();
    if (!cb)
        return;
    const int size = static_cast<int>(ToolbarSize(*cb));
    m_inResize = true;
    if (cb->Orientation() == 0)
        resize(width(), size);
    else
        resize(size, height());
    m_inResize = false;
}

void TransTBWrapper::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void TransTBWrapper::UserControl_ReadProperties(const PropertyBag &PropBag)
{
    setListStyle(PropBag.ReadProperty(QStringLiteral("ListStyle"), false).toBool());
    setTransparent(PropBag.ReadProperty(QStringLiteral("Transparent"), false).toBool());
}

void TransTBWrapper::UserControl_WriteProperties(PropertyBag &PropBag) const
{
    PropBag.WriteProperty(QStringLiteral("ListStyle"), m_ListStyle, false);
    PropBag.WriteProperty(QStringLiteral("Transparent"), m_Transparent, false);
}
