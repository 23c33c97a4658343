// Message formatting for the exception family.
#include "kit/exceptions.h"

std::string FormatMessage1(const char* pattern, const std::string& arg) {
    std::string text(pattern);
    auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, arg);
    return text;
}
