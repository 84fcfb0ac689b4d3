#include "client.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <map>

using namespace Pellwick;

namespace tooltiptest {

QString libraryPath() { return testenv::buildDir() + "/libpellwick.so"; }

int runRegsvr(const QStringList &arguments)
{
    QProcess regsvr;
    regsvr.start(testenv::buildDir() + "/regsvr", arguments);
    if (!regsvr.waitForFinished(30000))
        return -1;
    return regsvr.exitStatus() == QProcess::NormalExit ? regsvr.exitCode() : -1;
}

Client::Client()
{
    // Once per process: the test main gave the process a registry of its own.
    static const int registered = runRegsvr({libraryPath()});
    EXPECT_EQ(registered, 0);
    CoInitialize(nullptr);
    created = CoCreateInstance(CLSID_cToolTips, nullptr, CLSCTX_INPROC_SERVER, IID__cToolTips, tips.putVoid());
    if (FAILED(created))
        return;
    sink = com::EventSink::create(DIID___cToolTips, [this](DISPID id, DISPPARAMS *params, VARIANT *) {
        com::DispArgs args(params);
        LONG toolId = 0;
        args.getLong(0, &toolId);
        events.push_back({id, toolId});
        if (id == dispid::NeedText) {
            BSTR *text = nullptr;
            if (SUCCEEDED(args.refString(1, &text)) && !needText.isEmpty())
                SysReAllocString(text, reinterpret_cast<LPCOLESTR>(needText.utf16()));
        } else if (id == dispid::SHOW) {
            LONG *returnCode = nullptr;
            if (SUCCEEDED(args.refLong(1, &returnCode)) && showReturnCode)
                *returnCode = showReturnCode;
        }
        if (releaseOnEvent)
            tips.reset();
        return S_OK;
    });
    EXPECT_EQ(com::advise(tips.get(), DIID___cToolTips, sink.get(), &cookie), S_OK);
}

Client::~Client()
{
    release();
    CoUninitialize();
}

void Client::release()
{
    if (tips && cookie)
        com::unadvise(tips.get(), DIID___cToolTips, cookie);
    cookie = 0;
    tips.reset();
    sink.reset();
}

// ---- Recorder ----------------------------------------------------------

namespace {

struct Recording {
    Recorder *recorder;
    WNDPROC previous;
};

std::map<HWND, Recording> &recordings()
{
    static std::map<HWND, Recording> r;
    return r;
}

bool carriesToolInfo(UINT msg)
{
    switch (msg) {
    case TTM_ADDTOOLA:
    case TTM_DELTOOLA:
    case TTM_NEWTOOLRECTA:
    case TTM_GETTOOLINFOA:
    case TTM_GETTEXTA:
    case TTM_UPDATETIPTEXTA:
    case TTM_TRACKACTIVATE:
        return true;
    default:
        return false;
    }
}

LRESULT recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto it = recordings().find(hwnd);
    if (it == recordings().end())
        return 0;
    Message m{hwnd, msg, wParam, lParam, {}};
    if (carriesToolInfo(msg) && lParam)
        m.tool = *reinterpret_cast<const TOOLINFOA *>(lParam);
    it->second.recorder->messages.push_back(m);
    if (msg == WM_NOTIFY && lParam) {
        const UINT code = reinterpret_cast<const NMHDR *>(lParam)->code;
        if (code != TTN_NEEDTEXTA && code != TTN_SHOW && code != TTN_POP)
            return Recorder::ownNotifyResult;
    }
    return CallWindowProcA(it->second.previous, hwnd, msg, wParam, lParam);
}

} // namespace

Recorder::Recorder(HWND hwnd)
    : m_hwnd(hwnd)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongA(hwnd, GWL_WNDPROC));
    recordings()[hwnd] = {this, previous};
    SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&recordingProc));
}

Recorder::~Recorder()
{
    recordings().erase(m_hwnd);
}

WNDPROC Recorder::ownProc() const { return &recordingProc; }

std::vector<Message> Recorder::of(UINT msg) const
{
    std::vector<Message> found;
    for (const Message &m : messages)
        if (m.msg == msg)
            found.push_back(m);
    return found;
}

// ---- windows and notifications -------------------------------------------

OwnerWindow::OwnerWindow()
    : widget(std::make_unique<QWidget>())
{
    widget->resize(400, 300);
    widget->show();
    hwnd = HandleOf(widget.get());
}

LRESULT notify(HWND owner, HWND from, UINT code, LONG toolId, NMTTDISPINFOA *info)
{
    NMTTDISPINFOA local{};
    NMTTDISPINFOA *record = info ? info : &local;
    record->hdr.hwndFrom = from;
    record->hdr.idFrom = static_cast<UINT_PTR>(toolId);
    record->hdr.code = code;
    record->lpszText = record->szText;
    return SendMessageA(owner, WM_NOTIFY, static_cast<WPARAM>(toolId), reinterpret_cast<LPARAM>(record));
}

} // namespace tooltiptest
