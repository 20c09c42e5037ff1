// Byte-level checks on code page 932 text. A double-byte character's trail byte may be a
// backslash (0x5C) or another ASCII byte, so text must be scanned from its start.
#pragma once

#include <string_view>

namespace skelvo {

// 0x81-0x9F and 0xE0-0xFC open a double-byte character.
bool isCp932LeadByte(unsigned char byte);

// Every byte is part of a whole CP932 character and none is NUL.
bool isValidCp932(std::string_view text);

// The last character is a backslash, not the trail byte of a double-byte character such
// as 表 (0x95 0x5C).
bool endsWithBackslash(std::string_view text);

}  // namespace skelvo
