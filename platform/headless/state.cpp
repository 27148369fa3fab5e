#include "state.h"

#include <algorithm>

namespace headless {

namespace {

template <class Record, class Handle>
Record* Lookup(const std::vector<std::unique_ptr<Record>>& records, Handle handle)
{
    for (const auto& record : records) {
        if (static_cast<const void*>(record.get()) == static_cast<const void*>(handle))
            return record.get();
    }
    return nullptr;
}

}  // namespace

HWND__* LookupWindow(HWND hWnd)
{
    return hWnd != nullptr ? Lookup(TheState().windows, hWnd) : nullptr;
}

HDC__* LookupDC(HDC hDC)
{
    return hDC != nullptr ? Lookup(TheState().deviceContexts, hDC) : nullptr;
}

GdiObject* LookupObject(HGDIOBJ hObject)
{
    State& state = TheState();
    if (hObject == &state.stockBlackPen)
        return &state.stockBlackPen;
    if (hObject == &state.stockWhiteBrush)
        return &state.stockWhiteBrush;
    return hObject != nullptr ? Lookup(state.objects, hObject) : nullptr;
}

void Log(const std::string& line)
{
    TheState().callLog.push_back(line);
}

bool DeviceCall::operator==(const DeviceCall& other) const
{
    return op == other.op && args == other.args && pen == other.pen && brush == other.brush;
}

const std::vector<DeviceCall>& DeviceCalls()
{
    return TheState().deviceCalls;
}

void ClearDeviceCalls()
{
    TheState().deviceCalls.clear();
}

void SetRecording(bool bRecord)
{
    TheState().bRecording = bRecord;
}

const std::vector<std::string>& CallLog()
{
    return TheState().callLog;
}

void ClearCallLog()
{
    TheState().callLog.clear();
}

void SetDefaultClientSize(int cx, int cy)
{
    TheState().nDefaultClientWidth = cx;
    TheState().nDefaultClientHeight = cy;
}

void SetClientSize(HWND hWnd, int cx, int cy)
{
    if (HWND__* pWindow = LookupWindow(hWnd)) {
        pWindow->nClientWidth = cx;
        pWindow->nClientHeight = cy;
        pWindow->bNeedsPaint = true;  // the frame class redraws whole windows on resize
    }
}

void SetTimerFails(bool bFail)
{
    TheState().bTimerFails = bFail;
}

std::vector<std::string> MessageBoxTexts()
{
    return TheState().messageBoxTexts;
}

std::string WindowTitle(HWND hWnd)
{
    const HWND__* pWindow = LookupWindow(hWnd);
    return pWindow ? pWindow->title : std::string();
}

DWORD WindowStyle(HWND hWnd)
{
    const HWND__* pWindow = LookupWindow(hWnd);
    return pWindow ? pWindow->dwStyle : 0;
}

std::vector<std::pair<UINT_PTR, UINT>> Timers(HWND hWnd)
{
    std::vector<std::pair<UINT_PTR, UINT>> timers;
    if (HWND__* pWindow = LookupWindow(hWnd))
        timers.assign(pWindow->timers.begin(), pWindow->timers.end());
    return timers;
}

void SetIdleHandler(std::function<void()> handler)
{
    TheState().idleHandler = std::move(handler);
}

int LiveGdiObjects()
{
    return static_cast<int>(TheState().objects.size());
}

int DeletesOfSelectedObjects()
{
    return TheState().nDeletesOfSelected;
}

int LiveDeviceContexts()
{
    return static_cast<int>(TheState().deviceContexts.size());
}

int LiveWindows()
{
    return static_cast<int>(TheState().windows.size());
}

void Reset()
{
    // Windows are destroyed properly, so that the objects behind them hear of it.
    while (!TheState().windows.empty())
        ::DestroyWindow(TheState().windows.back().get());
    TheState() = State();
}

}  // namespace headless
