// UTF-8 inside the program, UTF-16 at every Windows call.
#pragma once

#include <string>

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);
std::string WideToUtf8(const wchar_t* text, std::size_t length);
