// painting_canvas: the panel as the core composes it on the pixel fake, for a state given
// as the windows on screen, so that e2e_painting can hold the screen of the real program
// against it. Built for the build machine.
//
//   painting_canvas SKIN_DIR STATE_FILE OUT.ppm
//
// STATE_FILE, one item a line:
//   screen W H
//   window VISIBLE ENABLED MINIMISED MAXIMISED TOPMOST STYLE LEFT TOP RIGHT BOTTOM CLASS TITLE
//       top of the Z order first; CLASS and TITLE as hex bytes ("-" when empty); the panel
//       itself is left out: the tool creates its own, topmost, as the program does
//   command ID          a WM_COMMAND sent to the panel after its creation, in order
// Writes the 236 x 157 picture the panel window receives; prints "text L T R B COLOUR" for
// every text drawn (COLOUR as 0x00BBGGRR) and "icon X Y" for every icon: the areas whose
// pixels only GDI knows.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fakes/panel_harness.h"

using namespace skelvo;
using namespace skelvo::testing;

namespace {

std::string fromHex(const std::string& hex) {
    std::string out;
    if (hex == "-") return out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

bool writePpm(const std::string& path, const Pixels& p) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << p.width << " " << p.height << "\n255\n";
    for (Colour c : p.data) {
        const char rgb[3] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF),
                             static_cast<char>((c >> 16) & 0xFF)};
        out.write(rgb, 3);
    }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: painting_canvas SKIN_DIR STATE_FILE OUT.ppm\n");
        return 2;
    }
    std::ifstream state(argv[2]);
    if (!state) {
        std::fprintf(stderr, "painting_canvas: cannot read %s\n", argv[2]);
        return 2;
    }
    Rect screen{0, 0, 1024, 768};
    std::vector<FakeWindow> windows;
    std::vector<unsigned> commands;
    std::string line;
    while (std::getline(state, line)) {
        std::istringstream in(line);
        std::string kind;
        if (!(in >> kind)) continue;
        if (kind == "screen") {
            in >> screen.right >> screen.bottom;
        } else if (kind == "window") {
            FakeWindow w;
            int visible, enabled, minimised, maximised, topmost;
            std::string cls, title;
            in >> visible >> enabled >> minimised >> maximised >> topmost >> w.style >>
                w.rect.left >> w.rect.top >> w.rect.right >> w.rect.bottom >> cls >> title;
            if (!in) {
                std::fprintf(stderr, "painting_canvas: bad line: %s\n", line.c_str());
                return 2;
            }
            w.visible = visible != 0;
            w.enabled = enabled != 0;
            w.minimised = minimised != 0;
            w.maximised = maximised != 0;
            w.topmost = topmost != 0;
            w.className = fromHex(cls);
            w.title = fromHex(title);
            windows.push_back(w);
        } else if (kind == "command") {
            unsigned id = 0;
            in >> id;
            commands.push_back(id);
        }
    }

    PanelHarness h(screen, skinFromDirectory(argv[1]));
    for (const FakeWindow& w : windows) h.windows.addAtBottom(w);
    h.create();
    for (unsigned id : commands) h.send(win::WmCommand, id);
    h.graphics.texts.clear();
    h.graphics.icons.clear();
    h.send(win::WmPaint);

    if (!writePpm(argv[3], *h.graphics.pixels(h.graphics.screenDc()))) {
        std::fprintf(stderr, "painting_canvas: cannot write %s\n", argv[3]);
        return 1;
    }
    for (const TextCall& t : h.graphics.texts)
        std::printf("text %d %d %d %d 0x%06X\n", t.rect.left, t.rect.top, t.rect.right,
                    t.rect.bottom, static_cast<unsigned>(t.colour));
    for (const IconCall& i : h.graphics.icons) std::printf("icon %d %d\n", i.x, i.y);
    return 0;
}
