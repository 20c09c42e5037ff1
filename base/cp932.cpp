// CP932 byte scanning.
#include "base/cp932.h"

#include <cstddef>

namespace skelvo {

namespace {

bool isTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// A single-byte character: ASCII without NUL, and the half-width katakana.
bool isSingleByte(unsigned char byte) {
    return (byte >= 0x01 && byte <= 0x7F) || (byte >= 0xA1 && byte <= 0xDF);
}

}  // namespace

bool isCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isValidCp932(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (isCp932LeadByte(byte)) {
            if (i + 1 >= text.size() || !isTrailByte(static_cast<unsigned char>(text[i + 1]))) {
                return false;
            }
            ++i;
        } else if (!isSingleByte(byte)) {
            return false;
        }
    }
    return true;
}

bool endsWithBackslash(std::string_view text) {
    bool lastIsBackslash = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        lastIsBackslash = text[i] == '\\';
        // The trail byte, whatever it is, belongs to the lead byte's character.
        if (isCp932LeadByte(static_cast<unsigned char>(text[i]))) ++i;
    }
    return lastIsBackslash;
}

}  // namespace skelvo
