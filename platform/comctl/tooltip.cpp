#include "comctl/tooltip.h"

#include <QWidget>

namespace {

LRESULT tooltipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterTooltipClass()
{
    RegisterWindowClass(
        TOOLTIPS_CLASSA, [](const WindowCreateInfo &) { return new QWidget(nullptr, Qt::ToolTip); }, tooltipProc);
}
