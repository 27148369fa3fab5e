// The headless backend's controls for tests, over the core's probe.
#include "headless.h"

#include <coreprobe.h>

namespace headless {

void ResetEventSource();

namespace {

// Tests read the record from the first call on, so recording starts switched on.
portable::Probe FreshProbe()
{
    portable::Probe probe;
    probe.m_bRecording = true;
    probe.m_bLogging = true;
    return probe;
}

portable::Probe& Probe()
{
    static bool s_bStarted = false;
    if (!s_bStarted) {
        portable::TheProbe() = FreshProbe();
        s_bStarted = true;
    }
    return portable::TheProbe();
}

// Before main, so that the very first calls of a program are recorded too.
const bool s_bProbeReady = (Probe(), true);

}  // namespace

const std::vector<DeviceCall>& DeviceCalls()
{
    return Probe().m_calls;
}

void ClearDeviceCalls()
{
    Probe().m_calls.clear();
}

void SetRecording(bool bRecord)
{
    Probe().m_bRecording = bRecord;
    Probe().m_bLogging = bRecord;
}

const std::vector<std::string>& CallLog()
{
    return Probe().m_log;
}

void ClearCallLog()
{
    Probe().m_log.clear();
}

void SetTimerFails(bool bFail)
{
    Probe().m_bTimerFails = bFail;
}

void SetGdiCreationsLeft(int nCreations)
{
    Probe().m_nGdiCreationsLeft = nCreations;
}

std::string WindowTitle(HWND hWnd)
{
    return portable::WindowTitleOf(hWnd);
}

DWORD WindowStyle(HWND hWnd)
{
    return portable::WindowStyleOf(hWnd);
}

std::vector<std::pair<UINT_PTR, UINT>> Timers(HWND hWnd)
{
    return portable::TimersOf(hWnd);
}

int LiveGdiObjects()
{
    return portable::LiveGdiObjects();
}

int DeletesOfSelectedObjects()
{
    return Probe().m_nDeletesOfSelected;
}

int LiveDeviceContexts()
{
    return portable::LiveDeviceContexts();
}

int LiveWindows()
{
    return portable::LiveWindows();
}

void Reset()
{
    portable::ResetCore();
    Probe() = FreshProbe();
    ResetEventSource();
}

}  // namespace headless
