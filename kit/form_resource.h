// Window layouts as the form resources declare them, and the parser of their
// text format.
//
// A form resource is UTF-8 text, one statement a line; "#" starts a comment
// line and blank lines are ignored:
//
//   window TForm1                 the window, named by its class
//     Caption = "アップデーター"   properties: Name = value
//     Width = 538
//     OnShow = FormShow           event handlers are bound by name
//     control TButton Button1     a control: kind and name
//       Left = 8
//       OnClick = Button1Click
//     end
//   end
//
// A value is an integer (optionally negative), a double-quoted string (\"
// and \\ are its escapes) or a bare word (true, false, or a named constant
// such as Sizeable). Each block accepts only its own properties, each at most
// once; anything else makes the resource malformed.
#pragma once

#include <string>
#include <vector>

#include "kit/exceptions.h"

// A form resource that is not well formed.
class EFormResourceError : public Exception { using Exception::Exception; };

namespace msg {
inline constexpr const char* kFormMalformed = "フォーム リソース %s が不正です";
}  // namespace msg

enum class BorderStyle { Sizeable, Dialog };

struct ControlDesc {
    std::string kind;   // TButton, TLabel or TImage
    std::string name;
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption;
    bool visible = true;
    int tabOrder = -1;  // -1: not a tab stop
    std::string onClick;
};

struct FormDesc {
    std::string className;
    std::string caption;
    int left = 0, top = 0;
    int width = 0, height = 0;              // outer size, or
    int clientWidth = 0, clientHeight = 0;  // client size (one of the two)
    BorderStyle border = BorderStyle::Sizeable;
    int color = 0;  // 0: the system's button-face colour, the only one known
    std::string fontName;
    int fontCharset = 1;  // DEFAULT_CHARSET
    int fontHeight = 0;
    std::string onCreate, onShow;
    std::vector<ControlDesc> controls;
};

// Parses a form resource's text. `resourceName` only names it in the error:
// EFormResourceError "フォーム リソース NAME が不正です (N 行目)".
FormDesc ParseFormResource(const std::string& text, const std::string& resourceName);
