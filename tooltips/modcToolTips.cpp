#include "modcToolTips.h"

#include "cToolTips.h"

#include "base/ansi.h"
#include "comctl/tooltip.h"
#include "user32/user32.h"

#include <algorithm>
#include <map>
#include <vector>

namespace Pellwick::modcToolTips {

namespace {

constexpr qsizetype MaxNeedTextBytes = 79; // szText holds 80 bytes with its zero

std::map<HWND, std::vector<cToolTips *>> &windowObjects()
{
    static std::map<HWND, std::vector<cToolTips *>> objects;
    return objects;
}

// The object that answers a notification: the one whose tooltip window sent
// it, else the one named by the window's "cTTOBJ" property. No reference is
// counted; the object lives as long as its clients hold it.
cToolTips *objectFor(HWND hwnd, HWND sender)
{
    const auto it = windowObjects().find(hwnd);
    if (it != windowObjects().end()) {
        for (cToolTips *object : it->second)
            if (object->tooltipWindow() == sender)
                return object;
    }
    return static_cast<cToolTips *>(GetPropA(hwnd, "cTTOBJ"));
}

} // namespace

int JoinWindow(HWND hwnd, cToolTips *object)
{
    auto &objects = windowObjects()[hwnd];
    objects.push_back(object);
    return static_cast<int>(objects.size());
}

cToolTips *LeaveWindow(HWND hwnd, cToolTips *object)
{
    const auto it = windowObjects().find(hwnd);
    if (it == windowObjects().end())
        return nullptr;
    auto &objects = it->second;
    objects.erase(std::remove(objects.begin(), objects.end(), object), objects.end());
    if (objects.empty()) {
        windowObjects().erase(it);
        return nullptr;
    }
    return objects.front();
}

LRESULT WndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Taken before any event runs: a handler may end the object, which gives
    // the window its own procedure back and removes the property.
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, "OLDPROC"));
    if (uMsg == WM_NOTIFY && lParam != 0) {
        const auto *header = reinterpret_cast<const NMHDR *>(lParam);
        switch (header->code) {
        case TTN_POP:
            if (cToolTips *object = objectFor(hwnd, header->hwndFrom))
                object->RaisePop(static_cast<LONG>(wParam));
            return 0;
        case TTN_SHOW: {
            LONG ReturnCode = 0;
            if (cToolTips *object = objectFor(hwnd, header->hwndFrom))
                object->RaiseShow(static_cast<LONG>(wParam), ReturnCode);
            return ReturnCode;
        }
        case TTN_NEEDTEXTA:
            if (cToolTips *object = objectFor(hwnd, header->hwndFrom)) {
                const QByteArray text = ansi::fromUnicode(object->RaiseNeedText(static_cast<LONG>(header->idFrom)))
                                            .left(MaxNeedTextBytes);
                auto *info = reinterpret_cast<NMTTDISPINFOA *>(lParam);
                RtlMoveMemory(info->szText, text.constData(), static_cast<std::size_t>(text.size()));
                info->szText[text.size()] = '\0';
            }
            break;
        default:
            break;
        }
    }
    return CallWindowProcA(previous, hwnd, uMsg, wParam, lParam);
}

} // namespace Pellwick::modcToolTips
