// Texts the application object derives for its message boxes: the title
// taken from the executable's file name, and an exception's message with
// its closing period.
#pragma once

#include <string>

// The file name of `exePath` without its directory and without everything
// from its first "." on, every letter after the first in lower case:
// "C:\\dir\\SETUP.exe" gives "Setup". Windows only (lower-casing follows
// the system's rules for every script).
std::string TitleFromExePath(const std::wstring& exePath);

// The message as the exception box shows it: a "." is appended when the
// last character's code point is above that of "."; "" stays "".
std::string WithClosingPeriod(const std::string& message);
