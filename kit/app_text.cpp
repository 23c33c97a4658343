// The exception box's closing-period rule (portable).
#include "kit/app_text.h"

std::string WithClosingPeriod(const std::string& message) {
    if (message.empty()) return message;
    // The last UTF-8 character: any non-ASCII character is above ".",
    // whatever its length, so only a trailing ASCII byte needs comparing.
    unsigned char last = static_cast<unsigned char>(message.back());
    if (last >= 0x80 || last > '.') return message + ".";
    return message;
}
