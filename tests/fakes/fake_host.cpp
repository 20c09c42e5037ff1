// The scripted host of the panel window.
#include "tests/fakes/fake_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace skelvo::testing {

int FakeHost::messageBox(WindowHandle owner, const char* text, const char* caption,
                         unsigned flags) {
    messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", flags});
    if (log_ != nullptr) log_->add("messageBox");
    if (whileAsking) whileAsking();
    if (answers.empty()) {
        ADD_FAILURE() << "a message box the test did not script: " << messageBoxes.back().caption
                      << " / " << messageBoxes.back().text;
        return win::IdNo;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeHost::setTimer(WindowHandle window, unsigned id, unsigned periodMs) {
    timers[id] = periodMs;
    due_[id] = Due{window, now_ + periodMs};
    if (log_ != nullptr) log_->add("setTimer " + std::to_string(id));
}

void FakeHost::killTimer(WindowHandle, unsigned id) {
    timers.erase(id);
    due_.erase(id);
    if (log_ != nullptr) log_->add("killTimer " + std::to_string(id));
}

void FakeHost::advance(unsigned ms) {
    const unsigned long long end = now_ + ms;
    for (;;) {
        auto next = due_.end();
        for (auto it = due_.begin(); it != due_.end(); ++it) {
            if (it->second.at <= end && (next == due_.end() || it->second.at < next->second.at)) {
                next = it;
            }
        }
        if (next == due_.end()) break;
        const unsigned id = next->first;
        const WindowHandle window = next->second.window;
        now_ = next->second.at;
        next->second.at += timers[id];
        if (onTimer) onTimer(window, id);
    }
    now_ = end;
}

unsigned FakeHost::currentDirectory(char* buffer, unsigned size) {
    if (log_ != nullptr) log_->add("currentDirectory");
    // As GetCurrentDirectoryA: too small a buffer gets nothing and the size it needs.
    if (size <= directory.size()) return static_cast<unsigned>(directory.size() + 1);
    std::memcpy(buffer, directory.c_str(), directory.size() + 1);
    return static_cast<unsigned>(directory.size());
}

Point FakeHost::screenToClient(WindowHandle window, Point p) {
    const Rect r = windows_.rect(window);
    return Point{p.x - r.left, p.y - r.top};
}

Point FakeHost::clientToScreen(WindowHandle window, Point p) {
    const Rect r = windows_.rect(window);
    return Point{p.x + r.left, p.y + r.top};
}

void FakeHost::clipCursor(std::optional<Rect> rect) {
    clip = rect;
    if (clip) moveCursor(cursor);
}

void FakeHost::moveCursor(Point p) {
    if (clip) {
        // Right and bottom are exclusive, as for ClipCursor.
        p.x = std::clamp(p.x, clip->left, clip->right - 1);
        p.y = std::clamp(p.y, clip->top, clip->bottom - 1);
    }
    cursor = p;
}

void FakeHost::setWindowRegion(WindowHandle, Rect rect) {
    regions.push_back(rect);
    if (log_ != nullptr) log_->add("setWindowRegion");
}

void FakeHost::postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
    posted.push_back({window, message, wParam, lParam});
    if (log_ != nullptr) log_->add("post " + std::to_string(message));
}

std::intptr_t FakeHost::sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    sent.push_back({window, message, wParam, lParam});
    if (log_ != nullptr) log_->add("send " + std::to_string(message));
    return onSend ? onSend(window, message, wParam, lParam) : 0;
}

std::intptr_t FakeHost::defaultProcedure(WindowHandle, unsigned message, std::uintptr_t,
                                         std::intptr_t) {
    if (log_ != nullptr) log_->add("default " + std::to_string(message));
    return 0;
}

void FakeHost::postQuitMessage(int exitCode) {
    quitCode = exitCode;
    if (log_ != nullptr) log_->add("postQuit");
}

void FakeHost::destroyWindow(WindowHandle window) {
    destroyed.push_back(window);
    if (log_ != nullptr) log_->add("destroyWindow");
}

namespace {

// Where each command stands in the menu template of the resource script: its popup and
// the position, in that popup, of the item that leads to it.
struct MenuPlace {
    int popup;
    int item;
    unsigned id;
};

std::vector<MenuPlace> readMenuTemplate() {
    std::ifstream rc(SKELVO_SOURCE_DIR "/resources/skelvo.rc");
    std::vector<MenuPlace> places;
    std::string line;
    bool inMenu = false;
    int depth = 0, popup = -1, item = -1;
    while (std::getline(rc, line)) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (!inMenu) {
            inMenu = word == "123" && line.find(" MENU") != std::string::npos;
            continue;
        }
        if (word == "BEGIN") {
            ++depth;
        } else if (word == "END") {
            if (--depth == 0) break;
        } else if (word == "POPUP" || word == "MENUITEM") {
            if (depth == 1) {
                ++popup;
                item = -1;
            } else if (depth == 2) {
                ++item;
            }
            const std::size_t comma = line.rfind(',');
            if (word == "MENUITEM" && comma != std::string::npos && depth >= 2)
                places.push_back(
                    {popup, item, static_cast<unsigned>(std::stoul(line.substr(comma + 1)))});
        }
    }
    return places;
}

bool offered(int popup, int greyed, unsigned id) {
    static const std::vector<MenuPlace> places = readMenuTemplate();
    EXPECT_FALSE(places.empty()) << "menu template 123 not found in the resource script";
    for (const MenuPlace& p : places)
        if (p.popup == popup && p.item != greyed && p.id == id) return true;
    return false;
}

}  // namespace

void FakeHost::trackPopupMenu(WindowHandle panel, InstanceHandle instance, int templateId,
                              int position, int greyPosition, Point screen) {
    popups.push_back({panel, instance, templateId, position, greyPosition, screen});
    if (log_ != nullptr) log_->add("popup " + std::to_string(position));
    if (menuChoices.empty()) return;
    const unsigned choice = menuChoices.front();
    menuChoices.pop_front();
    if (choice == 0) return;
    if (!offered(position, greyPosition, choice)) {
        refusedChoices.push_back(choice);
        return;
    }
    postMessage(panel, win::WmCommand, choice, 0);
}

Rect FakeHost::clientRect(WindowHandle window) {
    const Rect r = windows_.rect(window);
    return Rect{0, 0, r.width(), r.height()};
}

unsigned FakeHost::registerWindowMessage(const char* name) {
    auto [it, added] = registeredMessages.try_emplace(
        name, 0xC000u + static_cast<unsigned>(registeredMessages.size()));
    return it->second;
}

WindowHandle FakeHost::createToolTipWindow(WindowHandle owner, InstanceHandle) {
    if (log_ != nullptr) log_->add("createToolTip");
    toolTipOwner = owner;
    return ToolTipWindow;
}

void FakeHost::sendToolInfo(WindowHandle tooltip, unsigned message, const ToolInfo& info) {
    toolMessages.push_back({tooltip, message, info, info.text ? info.text : ""});
    if (log_ != nullptr) log_->add("tool " + std::to_string(message));
}

}  // namespace skelvo::testing
