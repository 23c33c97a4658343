// Modal message boxes as the application shows them: centred on the primary
// screen's full size, with the thread's other windows disabled meanwhile.
#pragma once

#include <windows.h>

#include <string>

// Shows a MessageBoxW with `text`, `caption` and `type` (MB_ flags) and
// returns its result. Never throws.
int ShowMessageBox(const std::string& text, const std::string& caption, UINT type) noexcept;

// Left or top that centres an extent on a screen extent: the signed halving
// of the difference, truncating toward zero (-3 gives -1).
inline int CentredOffset(int screenExtent, int windowExtent) { return (screenExtent - windowExtent) / 2; }
