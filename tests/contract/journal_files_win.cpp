// The journal's files on the real system: the known folder as UTF-8, and a folder whose
// name no ANSI code page holds, written, read, listed and removed through UTF-8 paths.
// (Such names stay out of the checks' own text, which is compiled for code page 932.)
#include <gtest/gtest.h>

#include <string>

#include "base/process_win.h"
#include "base/utf8_file_store_win.h"

namespace skelvo {
namespace {

std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

TEST(JournalFiles, UnicodeFoldersAreWrittenReadListedAndRemoved) {
    Win32ProcessSystem processes;
    Win32Utf8FileStore files;
    ASSERT_FALSE(processes.localDataDirectory().empty());
    const std::string base = processes.fallbackDataDirectory();
    ASSERT_FALSE(base.empty());
    const std::string folder = base + "\\" + utf8(u8"Skelvo-한글-é");
    ASSERT_TRUE(processes.makeDirectory(folder));
    ASSERT_TRUE(processes.makeDirectory(folder)) << "one that exists counts";
    const std::string name = utf8(u8"journal-ü.txt");
    const std::string path = folder + "\\" + name;

    ASSERT_TRUE(files.replace(path, "first"));
    ASSERT_TRUE(files.replace(path, "second line"));
    EXPECT_EQ(files.read(path), "second line");
    EXPECT_EQ(files.readUpTo(path, 6), "second");
    EXPECT_EQ(files.list(folder, "journal-"), std::vector<std::string>{name});
    // A handle kept on the file rewrites it in place, shorter or longer, while others read
    // it; once closed the file can be replaced; another deletes it without any other call.
    std::uintptr_t held = files.holdForRewrite(path);
    ASSERT_NE(held, 0u);
    EXPECT_EQ(files.read(path), "second line");
    EXPECT_TRUE(files.rewriteHeld(held, "3rd"));
    EXPECT_EQ(files.read(path), "3rd");
    EXPECT_TRUE(files.rewriteHeld(held, "fourth, longer"));
    EXPECT_EQ(files.read(path), "fourth, longer");
    files.closeHeld(held);
    ASSERT_TRUE(files.replace(path, "third"));
    held = files.holdForRewrite(path);
    ASSERT_NE(held, 0u);
    EXPECT_TRUE(files.deleteHeld(held));
    EXPECT_EQ(files.read(path), std::nullopt);
    EXPECT_EQ(files.holdForRewrite(path), 0u) << "nothing to hold";
    ASSERT_TRUE(files.replace(path, "second line"));
    EXPECT_TRUE(files.remove(path));
    EXPECT_EQ(files.read(path), std::nullopt);
    EXPECT_TRUE(files.remove(path)) << "gone already";
    EXPECT_TRUE(files.list(folder, "journal-").empty()) << "no temporary left behind";
}

}  // namespace
}  // namespace skelvo
