#include "comctl/commoncontrols.h"

#include "comctl/tooltip.h"

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX *init)
{
    if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX))
        return FALSE;
    if (init->dwICC & (ICC_BAR_CLASSES | ICC_TAB_CLASSES))
        RegisterTooltipClass();
    return TRUE;
}
