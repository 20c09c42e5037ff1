// The file store on the fake and on Win32 alike: what another program's hold on a file
// does to reading and replacing it, that a failed replace changes nothing, and which
// bytes of the system's code page lead a double-byte character.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/contract/file_env.h"

namespace skelvo::testing {
namespace {

struct FileContract : ::testing::Test {
    std::unique_ptr<FileEnv> env = makeFileEnv();
    FileStore& files = env->store();
    const std::string dir = env->directory();
    const std::string path = dir + "\\KQZ.txt";
    const std::string old = "--- LANCHER ---\r\n0 C:\\old.exe\r\n--- L_END ---";

    std::vector<std::string> names() { return files.list(dir, ""); }
    void expectRead(const std::string& p, FileRead::Status status, const std::string& bytes) {
        const FileRead r = files.readFile(p);
        EXPECT_EQ(r.status, status) << p;
        if (status == FileRead::Read) {
            EXPECT_EQ(r.bytes, bytes) << p;
        }
    }
};

TEST_F(FileContract, ReadsWhatAnotherProgramHoldsOpenForWriting) {
    expectRead(path, FileRead::Missing, "");
    expectRead(dir + "\\no folder\\KQZ.txt", FileRead::Missing, "");
    env->create(path, old);
    env->hold(path, true);
    expectRead(path, FileRead::Read, old);
    env->release(path);
    env->hold(path, false);
    expectRead(path, FileRead::Failed, "");
    EXPECT_FALSE(files.read(path).has_value());
    env->release(path);
    expectRead(path, FileRead::Read, old);
}

TEST_F(FileContract, AFailedReplaceKeepsTheOldBytesAndNoTemporaryFile) {
    ASSERT_TRUE(files.replace(path, "new"));
    expectRead(path, FileRead::Read, "new");
    EXPECT_EQ(names(), std::vector<std::string>{"KQZ.txt"});
    env->create(path, old);

    env->hold(path, false);
    EXPECT_FALSE(files.replace(path, "lost"));
    env->release(path);
    expectRead(path, FileRead::Read, old);
    EXPECT_EQ(names(), std::vector<std::string>{"KQZ.txt"}) << "held open";

    env->setReadOnly(path, true);
    EXPECT_FALSE(files.replace(path, "lost"));
    env->setReadOnly(path, false);
    expectRead(path, FileRead::Read, old);
    EXPECT_EQ(names(), std::vector<std::string>{"KQZ.txt"}) << "read-only";
}

// A path of MAX_PATH - 1 bytes is the longest the ANSI file API opens; its temporary file
// must be no longer.
TEST_F(FileContract, TheLongestPathIsReplaced) {
    const std::string folder = dir + "\\" + std::string(259 - dir.size() - 9, 'f');
    const std::string longest = folder + "\\KQZ.txt";
    ASSERT_EQ(longest.size(), 259u);
    env->create(longest, old);
    EXPECT_TRUE(files.replace(longest, "new"));
    expectRead(longest, FileRead::Read, "new");
    EXPECT_EQ(files.list(folder, ""), std::vector<std::string>{"KQZ.txt"});
}

// Paths are UTF-8: a folder whose name no ANSI code page holds is read, replaced and listed.
TEST_F(FileContract, AFolderOfAnyName) {
    const std::u8string u8folder = u8"\\café 한국 😀";
    const std::string folder = dir + std::string(u8folder.begin(), u8folder.end());
    env->create(folder + "\\KQZ.txt", old);
    expectRead(folder + "\\KQZ.txt", FileRead::Read, old);
    EXPECT_TRUE(files.replace(folder + "\\KQZ.txt", "new"));
    expectRead(folder + "\\KQZ.txt", FileRead::Read, "new");
    EXPECT_EQ(files.list(folder, ""), std::vector<std::string>{"KQZ.txt"});
}

// Code page 932 on both: the edges of the two lead-byte ranges.
TEST_F(FileContract, LeadBytesOfTheSystemCodePage) {
    for (unsigned byte : {0x81u, 0x9Fu, 0xE0u, 0xFCu, 0x95u}) {
        EXPECT_TRUE(files.isLeadByte(static_cast<unsigned char>(byte))) << byte;
    }
    for (unsigned byte : {0x00u, 0x5Cu, 0x7Fu, 0x80u, 0xA0u, 0xDFu, 0xFDu, 0xFFu}) {
        EXPECT_FALSE(files.isLeadByte(static_cast<unsigned char>(byte))) << byte;
    }
}

}  // namespace
}  // namespace skelvo::testing
