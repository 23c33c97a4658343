// Parser of the form resources' text format (see form_resource.h).
#include "kit/form_resource.h"

#include <cctype>
#include <cstdlib>
#include <initializer_list>

namespace {

// Names already used in a block.
class Seen {
public:
    bool Add(const std::string& name) {
        if (Has(name)) return false;
        names_.push_back(name);
        return true;
    }
    bool Has(const std::string& name) const {
        for (const auto& n : names_)
            if (n == name) return true;
        return false;
    }

private:
    std::vector<std::string> names_;
};

// One property value as written: its kind and its text.
struct Value {
    enum Kind { Integer, String, Word } kind;
    std::string text;
    int number = 0;
};

struct Failure {
    int line;
};

bool IsIdentifier(const std::string& s) {
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t b = s.find_first_not_of(" \t", i);
        if (b == std::string::npos) break;
        std::size_t e = s.find_first_of(" \t", b);
        words.push_back(s.substr(b, e == std::string::npos ? std::string::npos : e - b));
        i = e == std::string::npos ? s.size() : e;
    }
    return words;
}

// Reads the value written after "=", or fails with the line number.
Value ParseValue(const std::string& text, int line) {
    if (text.empty()) throw Failure{line};
    if (text[0] == '"') {
        std::string out;
        std::size_t i = 1;
        for (; i < text.size() && text[i] != '"'; ++i) {
            if (text[i] == '\\') {
                if (++i >= text.size() || (text[i] != '"' && text[i] != '\\')) throw Failure{line};
            }
            out += text[i];
        }
        if (i != text.size() - 1) throw Failure{line};  // unclosed, or text after the quote
        return {Value::String, out};
    }
    if (text[0] == '-' || std::isdigit(static_cast<unsigned char>(text[0]))) {
        std::size_t digits = text[0] == '-' ? 1 : 0;
        if (digits == text.size() || text.size() - digits > 6) throw Failure{line};
        for (std::size_t i = digits; i < text.size(); ++i)
            if (!std::isdigit(static_cast<unsigned char>(text[i]))) throw Failure{line};
        return {Value::Integer, text, std::atoi(text.c_str())};
    }
    if (!IsIdentifier(text)) throw Failure{line};
    return {Value::Word, text};
}

[[noreturn]] void Fail(int line) { throw Failure{line}; }

int Int(const Value& v, int line, bool nonNegative = false) {
    if (v.kind != Value::Integer || (nonNegative && v.number < 0)) Fail(line);
    return v.number;
}
const std::string& Text(const Value& v, int line) {
    if (v.kind != Value::String) Fail(line);
    return v.text;
}
const std::string& Word(const Value& v, int line) {
    if (v.kind != Value::Word) Fail(line);
    return v.text;
}
// The index of the value's word in `words`, or a failure.
int OneOf(const Value& v, int line, std::initializer_list<const char*> words) {
    int i = 0;
    for (const char* w : words) {
        if (Word(v, line) == w) return i;
        ++i;
    }
    Fail(line);
}

// Sets one property of the window; false when a window has no such property.
bool SetWindowProperty(FormDesc& f, const std::string& name, const Value& v, int line) {
    if (name == "Caption") f.caption = Text(v, line);
    else if (name == "Left") f.left = Int(v, line);
    else if (name == "Top") f.top = Int(v, line);
    else if (name == "Width") f.width = Int(v, line, true);
    else if (name == "Height") f.height = Int(v, line, true);
    else if (name == "ClientWidth") f.clientWidth = Int(v, line, true);
    else if (name == "ClientHeight") f.clientHeight = Int(v, line, true);
    else if (name == "BorderStyle") f.border = OneOf(v, line, {"Sizeable", "Dialog"}) ? BorderStyle::Dialog : BorderStyle::Sizeable;
    else if (name == "Color") f.color = OneOf(v, line, {"BtnFace"});
    else if (name == "FontName") f.fontName = Text(v, line);
    else if (name == "FontCharset") f.fontCharset = OneOf(v, line, {"Default", "ShiftJis"}) ? 128 : 1;
    else if (name == "FontHeight") f.fontHeight = Int(v, line);
    else if (name == "OnCreate") f.onCreate = Word(v, line);
    else if (name == "OnShow") f.onShow = Word(v, line);
    else return false;
    return true;
}

// Sets one property of a control; false when a control of its kind has none.
bool SetControlProperty(ControlDesc& c, const std::string& name, const Value& v, int line) {
    bool button = c.kind == "TButton";
    if (name == "Left") c.left = Int(v, line);
    else if (name == "Top") c.top = Int(v, line);
    else if (name == "Width") c.width = Int(v, line, true);
    else if (name == "Height") c.height = Int(v, line, true);
    else if (name == "Visible") c.visible = OneOf(v, line, {"false", "true"}) == 1;
    else if (name == "Caption" && c.kind != "TImage") c.caption = Text(v, line);
    else if (name == "TabOrder" && button) c.tabOrder = Int(v, line, true);
    else if (name == "OnClick" && button) c.onClick = Word(v, line);
    else return false;
    return true;
}

// Reads a form resource statement by statement, counting lines for errors.
class Parser {
public:
    explicit Parser(const std::string& text) {
        std::size_t start = 0;
        while (start < text.size()) {  // a final newline starts no further line
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            lines_.push_back(Trim(text.substr(start, end - start)));
            start = end + 1;
        }
    }

    FormDesc Parse() {
        FormDesc form;
        std::vector<std::string> head = Words(Next());
        if (head.size() != 2 || head[0] != "window" || !IsIdentifier(head[1])) Fail();
        form.className = head[1];
        Seen seen;
        Seen names;
        std::vector<int> tabOrders;
        for (;;) {
            std::string line = Next();
            std::vector<std::string> words = Words(line);
            if (line == "end") break;
            if (!words.empty() && words[0] == "control") {
                if (words.size() != 3 || !IsIdentifier(words[2])) Fail();
                if (words[1] != "TButton" && words[1] != "TLabel" && words[1] != "TImage") Fail();
                if (!names.Add(words[2])) Fail();
                ControlDesc control;
                control.kind = words[1];
                control.name = words[2];
                Seen seenHere;
                for (std::string l = Next(); l != "end"; l = Next())
                    Property(l, seenHere, [&](const std::string& n, const Value& v, int at) {
                        return SetControlProperty(control, n, v, at);
                    });
                if (!seenHere.Has("Width") || !seenHere.Has("Height")) Fail();
                if (control.tabOrder >= 0) {
                    for (int t : tabOrders)
                        if (t == control.tabOrder) Fail();
                    tabOrders.push_back(control.tabOrder);
                }
                form.controls.push_back(control);
                continue;
            }
            Property(line, seen, [&](const std::string& n, const Value& v, int at) {
                return SetWindowProperty(form, n, v, at);
            });
        }
        bool outer = seen.Has("Width") || seen.Has("Height");
        bool client = seen.Has("ClientWidth") || seen.Has("ClientHeight");
        bool outerWhole = seen.Has("Width") && seen.Has("Height");
        bool clientWhole = seen.Has("ClientWidth") && seen.Has("ClientHeight");
        if (outer == client || (outer && !outerWhole) || (client && !clientWhole)) Fail();
        while (at_ < lines_.size()) {
            const std::string& rest = lines_[at_++];
            if (!rest.empty() && rest[0] != '#') Fail();
        }
        return form;
    }

private:
    // The next statement line, skipping blanks and comments; fails at the end.
    std::string Next() {
        while (at_ < lines_.size()) {
            const std::string& line = lines_[at_++];
            if (!line.empty() && line[0] != '#') return line;
        }
        at_ = lines_.size() + 1;  // report the line after the last
        Fail();
    }

    // A "Name = value" line: each name at most once per block, and one the
    // block knows (`set` returns false for others).
    template <typename Setter>
    void Property(const std::string& line, Seen& seen, Setter set) {
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) Fail();
        std::string name = Trim(line.substr(0, eq));
        int at = static_cast<int>(at_);
        if (!seen.Add(name) || !set(name, ParseValue(Trim(line.substr(eq + 1)), at), at)) Fail();
    }

    [[noreturn]] void Fail() { throw Failure{static_cast<int>(at_)}; }

    std::vector<std::string> lines_;
    std::size_t at_ = 0;  // 1-based number of the line last read
};

}  // namespace

FormDesc ParseFormResource(const std::string& text, const std::string& resourceName) {
    try {
        return Parser(text).Parse();
    } catch (const Failure& failure) {
        throw EFormResourceError(FormatMessage1(msg::kFormMalformed, resourceName) + " (" +
                                 std::to_string(failure.line) + " 行目)");
    }
}
