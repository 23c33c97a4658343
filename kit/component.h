// Basic types of the window layer: the root object, event handlers, colours
// and modal results.
#pragma once

#include <cstdint>
#include <functional>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// An event handler: takes the object that raised the event.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Colours as 0x00BBGGRR, the encoding of Win32's COLORREF.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };
