// The headless machine's state, shared by its window and drawing halves.
#ifndef VURAZEVEDADAR_HEADLESS_STATE_H
#define VURAZEVEDADAR_HEADLESS_STATE_H

#include "headless.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

struct HWND__ {
    WNDPROC lpfnWndProc;
    std::string title;
    DWORD dwStyle;
    int nClientWidth;
    int nClientHeight;
    bool bVisible;
    bool bNeedsPaint;
    std::map<UINT_PTR, UINT> timers;
};

struct HDC__ {
    HWND hWnd;
    HGDIOBJ hPen;
    HGDIOBJ hBrush;
    POINT position;
    POINT viewportOrg;
    int nMapMode;
};

namespace headless {

enum class ObjectKind { Pen, Brush, Region };

struct GdiObject {
    ObjectKind kind;
    COLORREF color;
    RECT rect;  // regions only
    int nSelections;  // device contexts it is selected into
    bool bStock;
};

struct State {
    std::vector<std::unique_ptr<HWND__>> windows;
    std::vector<std::unique_ptr<HDC__>> deviceContexts;
    std::vector<std::unique_ptr<GdiObject>> objects;
    std::deque<MSG> queue;
    std::function<void()> idleHandler;
    bool bQuit = false;
    int nQuitCode = 0;

    std::vector<DeviceCall> deviceCalls;
    bool bRecording = true;
    std::vector<std::string> callLog;
    std::vector<std::string> messageBoxTexts;
    int nDefaultClientWidth = 800;
    int nDefaultClientHeight = 600;
    bool bTimerFails = false;
    int nDeletesOfSelected = 0;

    GdiObject stockBlackPen = {ObjectKind::Pen, RGB(0, 0, 0), {0, 0, 0, 0}, 0, true};
    GdiObject stockWhiteBrush = {ObjectKind::Brush, RGB(255, 255, 255), {0, 0, 0, 0}, 0, true};
};

// Defined here so that a call inlines to a guard check: every drawing call asks for the state
// more than once.
inline State& TheState()
{
    static State state;
    return state;
}

HWND__* LookupWindow(HWND hWnd);
HDC__* LookupDC(HDC hDC);
GdiObject* LookupObject(HGDIOBJ hObject);
void Log(const std::string& line);

}  // namespace headless

#endif  // VURAZEVEDADAR_HEADLESS_STATE_H
