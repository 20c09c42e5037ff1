// Replays every file of the settings corpus through the fuzz entry, without libFuzzer,
// and checks the slots each file loads against the expectations file: every file must
// have its entry.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "settings/settings_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Slots = std::map<int, std::string>;

std::string unescape(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool escaped = text[i] == '%' && i + 2 < text.size();
        bytes += escaped ? static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)) : text[i];
        if (escaped) i += 2;
    }
    return bytes;
}

// "name: slot=path slot=path ..." per file.
std::map<std::string, Slots> readExpected(const char* path) {
    std::map<std::string, Slots> expected;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line.substr(line.find(':') + 1));
        Slots& slots = expected[line.substr(0, line.find(':'))];
        for (std::string field; fields >> field;)
            slots[std::stoi(field)] = unescape(field.substr(field.find('=') + 1));
    }
    return expected;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return std::fprintf(stderr, "usage: replay <corpus> <expected>\n"), 2;
    const std::map<std::string, Slots> expected = readExpected(argv[2]);
    int replayed = 0;
    int wrong = 0;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
        Slots loaded;
        for (const skelvo::SettingsRecord& r : skelvo::parseSettings(bytes)) loaded[r.slot] = r.path;
        const std::string name = entry.path().filename().string();
        const auto it = expected.find(name);
        if (it == expected.end() || it->second != loaded) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(),
                         it == expected.end() ? "no expected slots" : "loads other slots");
            ++wrong;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return replayed == 0 || wrong != 0;
}
