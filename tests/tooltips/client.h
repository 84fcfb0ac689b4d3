#pragma once
// What the tooltip tests share: the component registered with the regsvr
// tool in this process's own registry, created through COM the way the game
// creates it, an event sink that records and answers, and windows whose
// procedures record the messages they get.
#include "Pellwick.h"

#include "comctl/tooltip.h"
#include "user32/user32.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace tooltiptest {

// Runs build/regsvr with the given arguments; its exit code.
int runRegsvr(const QStringList &arguments);
QString libraryPath();

// One cToolTips object with a connected sink.
struct Client {
    Client();
    ~Client();
    HRESULT created = E_FAIL;
    com::ComPtr<Pellwick::_cToolTips> tips;
    com::ComPtr<com::EventSink> sink;
    DWORD cookie = 0;

    struct Event {
        DISPID id;
        LONG toolId;
    };
    std::vector<Event> events;
    // What the handlers answer.
    QString needText;
    LONG showReturnCode = 0;
    bool releaseOnEvent = false; // the handler drops the object, as a closing window would

    void release(); // drops the object and the sink
};

// A message as a window procedure saw it, with a copy of the tool record
// where lParam pointed at one.
struct Message {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    TOOLINFOA tool;
};

// Puts a recording procedure in front of a window's current one. Messages
// it does not answer itself go on to that procedure; WM_NOTIFY codes that
// are not tooltip ones are answered with ownNotifyResult.
class Recorder {
public:
    explicit Recorder(HWND hwnd);
    ~Recorder();
    std::vector<Message> messages;
    WNDPROC ownProc() const;
    static constexpr LRESULT ownNotifyResult = 1234;

    std::vector<Message> of(UINT msg) const;

private:
    HWND m_hwnd;
};

// A shown top-level window with a handle.
struct OwnerWindow {
    OwnerWindow();
    std::unique_ptr<QWidget> widget;
    HWND hwnd = 0;
};

// Sends a tooltip notification to an owner window as the tooltip does.
LRESULT notify(HWND owner, HWND from, UINT code, LONG toolId, NMTTDISPINFOA *info = nullptr);

} // namespace tooltiptest
