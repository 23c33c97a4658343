// The screen object: the primary display's full size in pixels, taskbar
// included (not the work area).
#pragma once

#include <windows.h>

class TScreen {
public:
    int Width() const { return ::GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return ::GetSystemMetrics(SM_CYSCREEN); }
};

inline TScreen TheScreen;  // stateless: every call reads the system
inline TScreen* const Screen = &TheScreen;
