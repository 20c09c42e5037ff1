// Shell services that hold for the fake and for Win32 alike: file titles, associated
// icons, the names in a drop and opening a program.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/contract/shell_env.h"

namespace skelvo::testing {
namespace {

struct ShellContract : ::testing::Test {
    std::unique_ptr<ShellEnv> env = makeShellEnv();
    Shell& shell = env->shell();
};

const std::string Hyo = "\x95\x5C";  // 表: its trail byte is a backslash

TEST_F(ShellContract, FileTitles) {
    struct Case {
        std::string path;
        int result;
        std::string title;
    };
    const std::vector<Case> cases = {
        {"C:\\Docs\\plan.txt", 0, "plan.txt"},
        {"C:\\Docs\\Program Files", 0, "Program Files"},
        {"D:/mixed\\slashes/last.ini", 0, "last.ini"},
        {"C:\\" + Hyo + "\\" + Hyo + ".txt", 0, Hyo + ".txt"},
        {"C:\\Docs\\", -1, ""},
        {"C:\\Docs\\*.txt", -1, ""},
    };
    for (const Case& c : cases) {
        char title[260] = {};
        EXPECT_EQ(shell.fileTitle(c.path.c_str(), title, sizeof title), c.result) << c.path;
        if (c.result == 0) {
            EXPECT_EQ(std::string(title), c.title) << c.path;
        }
    }
    // Too small a buffer: a positive size and nothing written.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_GT(shell.fileTitle("C:\\Docs\\plan.txt", small, sizeof small), 0);
    EXPECT_EQ(small[0], 'x');
}

TEST_F(ShellContract, AssociatedIcons) {
    const std::string program = env->program();
    const IconHandle icon = shell.associatedIcon(env->instance(), program.c_str());
    EXPECT_GT(icon, 1u);
    EXPECT_TRUE(shell.destroyIcon(icon));
    EXPECT_FALSE(shell.destroyIcon(icon)) << "destroyed once";
    // Wine takes no icon from a document, a folder or a missing path, and the fallback
    // looks in the caller's module, which has none of those numbers: no icon at all.
    for (const std::string& path : {env->document(), env->folder(), env->missing()})
        EXPECT_EQ(shell.associatedIcon(env->instance(), path.c_str()), 0u) << path;
}

TEST_F(ShellContract, NamesOfADrop) {
    const std::vector<std::string> names = {env->document(), env->folder(),
                                            "C:\\" + Hyo + "\\" + Hyo + ".txt"};
    const DropHandle drop = env->makeDrop(names);
    EXPECT_EQ(shell.dragQueryFile(drop, DropCountIndex, nullptr, 0), 3u);
    for (unsigned i = 0; i < names.size(); ++i) {
        EXPECT_EQ(shell.dragQueryFile(drop, i, nullptr, 0), names[i].size());
        char name[260] = {};
        EXPECT_EQ(shell.dragQueryFile(drop, i, name, sizeof name), names[i].size());
        EXPECT_EQ(std::string(name), names[i]);
    }
    EXPECT_EQ(shell.droppedPath(drop, 0), names[0]) << "an ASCII name, in UTF-8";
    EXPECT_EQ(shell.droppedPath(drop, 3), "") << "past the last item";
    char cut[6] = {};
    shell.dragQueryFile(drop, 0, cut, sizeof cut);
    EXPECT_EQ(std::string(cut), names[0].substr(0, 5));
    EXPECT_EQ(shell.dragQueryFile(drop, 3, nullptr, 0), 0u) << "past the last item";
    EXPECT_FALSE(env->dropReleased(drop));
    shell.dragFinish(drop);
    EXPECT_TRUE(env->dropReleased(drop));
}

TEST_F(ShellContract, OpenStartsAProgram) {
    const std::string mark = env->scratchFile("opened.mark");
    const std::string parameters = "mark " + mark;
    EXPECT_EQ(shell.shellExecute(NullWindow, "open", env->fixture().c_str(), parameters.c_str(),
                                 nullptr, win::SwShow),
              0u);
    EXPECT_TRUE(env->marked(mark, 15000));
    // A missing file fails with the system's code, which the system puts into words.
    const unsigned error = shell.shellExecute(NullWindow, "open", env->missing().c_str(), nullptr,
                                              nullptr, win::SwShow);
    EXPECT_EQ(error, 2u) << "ERROR_FILE_NOT_FOUND";
    const std::string text = shell.errorText(error);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
}

std::string utf8(std::u8string_view text) {
    return std::string(text.begin(), text.end());
}

// Names between UTF-8 and code page 932: exact forms only, never a look-alike, and the
// short name of a file whose long name the code page cannot hold.
TEST_F(ShellContract, PathsOutsideTheCodePage) {
    const std::string japanese = "C:\\" + Hyo + "\\\x83\x81\x83\x82.txt";  // C:\表\メモ.txt
    EXPECT_EQ(shell.toAnsi(utf8(u8"C:\\表\\メモ.txt")), japanese);
    EXPECT_EQ(shell.toUtf8(japanese), utf8(u8"C:\\表\\メモ.txt"));
    EXPECT_EQ(shell.toAnsi("C:\\plain.txt"), "C:\\plain.txt");
    for (const std::u8string_view name : {u8"café", u8"한국", u8"😀", u8"über"})
        EXPECT_EQ(shell.toAnsi(utf8(name)), std::nullopt) << "no best fit";

    const std::string longName = env->makeFile(utf8(u8"한국😀 café.zzz"));
    const std::string shortened = shell.shortPath(longName);
    ASSERT_FALSE(shortened.empty());
    const std::optional<std::string> ansi = shell.toAnsi(shortened);
    ASSERT_TRUE(ansi.has_value()) << shortened;
    EXPECT_TRUE(env->existsAnsi(*ansi)) << *ansi;
    const std::string missing = env->scratchFile(utf8(u8"없음.zzz"));
    EXPECT_EQ(shell.shortPath(missing), "") << "no such file";
}

}  // namespace
}  // namespace skelvo::testing
