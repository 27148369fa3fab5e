// Reads the client area of the program's window back from the screen, as 8-bit RGB rows.
#ifndef VURAZEVEDADAR_READBACK_H
#define VURAZEVEDADAR_READBACK_H

#include <windows.h>

#include <vector>

bool ReadClientArea(HWND hWnd, int nWidth, int nHeight, std::vector<unsigned char>& rgb);

#endif  // VURAZEVEDADAR_READBACK_H
