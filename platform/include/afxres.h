// Resource identifiers that the framework itself looks for in the application's resources.
// Read by the resource compiler as well as by C++, so it holds nothing but #defines.
#ifndef VURAZEVEDADAR_AFXRES_H
#define VURAZEVEDADAR_AFXRES_H

// The icon the default frame window class takes when the application carries one.
#define AFX_IDI_STD_FRAME 2

#endif  // VURAZEVEDADAR_AFXRES_H
