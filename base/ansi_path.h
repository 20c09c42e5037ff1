// Byte-level scanning of paths in the system's ANSI code page. In a double-byte code page
// a character's trail byte may be a backslash (表 is 0x95 0x5C in code page 932), so a
// path is scanned from its start; which bytes lead is the system's answer.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace skelvo {

// The byte opens a double-byte character (FileStore::isLeadByte).
using LeadByteTest = std::function<bool(unsigned char)>;

// Where the last character starts; text.size() for empty text.
std::size_t lastCharacterStart(std::string_view text, const LeadByteTest& isLeadByte);

// The last character is a backslash, not the trail byte of a double-byte character.
bool endsWithBackslash(std::string_view text, const LeadByteTest& isLeadByte);

// The text ends in a lead byte without its trail byte: a byte appended would become
// part of that character.
bool endsInLoneLeadByte(std::string_view text, const LeadByteTest& isLeadByte);

// The temporary file written beside path before it is replaced: path with its last
// character changed to tildes (underscores if it is a tilde), so it is exactly as long.
std::string temporaryPathFor(std::string_view path, const LeadByteTest& isLeadByte);

}  // namespace skelvo
