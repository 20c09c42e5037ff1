// Scanning ANSI paths character by character.
#include "base/ansi_path.h"

namespace skelvo {

std::size_t lastCharacterStart(std::string_view text, const LeadByteTest& isLeadByte) {
    std::size_t last = text.size();
    for (std::size_t i = 0; i < text.size();) {
        last = i;
        // The trail byte, whatever it is, belongs to the lead byte's character.
        i += isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return last;
}

bool endsWithBackslash(std::string_view text, const LeadByteTest& isLeadByte) {
    return !text.empty() && text.back() == '\\' &&
           lastCharacterStart(text, isLeadByte) == text.size() - 1;
}

bool endsInLoneLeadByte(std::string_view text, const LeadByteTest& isLeadByte) {
    return !text.empty() && lastCharacterStart(text, isLeadByte) == text.size() - 1 &&
           isLeadByte(static_cast<unsigned char>(text.back()));
}

std::string temporaryPathFor(std::string_view path, const LeadByteTest& isLeadByte) {
    const std::size_t last = lastCharacterStart(path, isLeadByte);
    std::string temporary(path.substr(0, last));
    const char mark = last < path.size() && path[last] == '~' ? '_' : '~';
    return temporary.append(path.size() - last, mark);
}

}  // namespace skelvo
