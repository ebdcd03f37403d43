#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace platform;
namespace fs = std::filesystem;

namespace {

std::string Path(const char* name) { return ::testing::TempDir() + "tivelor_files_" + name; }

std::string Read(const std::string& path) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path, text));
    return text;
}

class Files : public ::testing::Test {
protected:
    FileTable files;
};

}  // namespace

TEST_F(Files, PrintWritesCrLfLinesAndAppendAddsToThem) {
    const std::string p = Path("out.txt");
    ASSERT_TRUE(files.Open(203, p, FileMode::Output));
    EXPECT_EQ(files.PathOf(203), p);
    EXPECT_TRUE(files.Print(203, "first"));
    EXPECT_TRUE(files.Print(203, "a", false));   // continuation mark
    EXPECT_TRUE(files.Print(203, "b"));
    EXPECT_TRUE(files.Print(203, ""));
    files.Close(203);
    EXPECT_EQ(files.PathOf(203), "");
    ASSERT_TRUE(files.Open(203, p, FileMode::Append));
    files.Print(203, "more");
    files.CloseAll();
    EXPECT_EQ(Read(p), "first\r\nab\r\n\r\nmore\r\n");
}

TEST_F(Files, LineInputAndInputReadCrLfLfOrNoLastEnd) {
    ASSERT_TRUE(WriteWholeFileSafely(Path("in.txt"), "a b\r\n\nc\rd\nlast"));
    ASSERT_TRUE(files.Open(1, Path("in.txt"), FileMode::Input));
    std::string s;
    for (const char* line : {"a b", "", "c", "d", "last"}) {
        EXPECT_FALSE(files.Eof(1));
        ASSERT_TRUE(files.LineInput(1, s));
        EXPECT_EQ(s, line);
    }
    EXPECT_TRUE(files.Eof(1));
    EXPECT_FALSE(files.LineInput(1, s));

    ASSERT_TRUE(WriteWholeFileSafely(Path("f.txt"), "  12 , \"a, b\" ,x\r\n3.5\n\"q\"  ,, 7\r\nName here\r\n"));
    ASSERT_TRUE(files.Open(2, Path("f.txt"), FileMode::Input));
    for (const char* field : {"12", "a, b", "x", "3.5", "q", "", "7"}) {
        ASSERT_TRUE(files.Input(2, s));
        EXPECT_EQ(s, field);
    }
    ASSERT_TRUE(files.LineInput(2, s));
    EXPECT_EQ(s, "Name here");
    EXPECT_TRUE(files.Eof(2));
    EXPECT_FALSE(files.Input(2, s));
}

TEST_F(Files, FailuresAreReportedNeverThrown) {
    const std::string missing = Path("missing.txt");
    EXPECT_FALSE(files.Open(1, missing, FileMode::Input));
    EXPECT_EQ(files.LastError(), "File not found: " + missing);
    EXPECT_FALSE(files.IsOpen(1));
    EXPECT_FALSE(files.Open(1, "/nonexistent_dir/x.txt", FileMode::Output));
    EXPECT_NE(files.LastError().find("/nonexistent_dir/x.txt"), std::string::npos);

    ASSERT_TRUE(WriteWholeFileSafely(Path("a.txt"), ""));
    ASSERT_TRUE(files.Open(1, Path("a.txt"), FileMode::Input));
    EXPECT_TRUE(files.Eof(1));   // empty file
    EXPECT_FALSE(files.Open(1, Path("a.txt"), FileMode::Input));
    EXPECT_NE(files.LastError().find("already open"), std::string::npos);
    EXPECT_FALSE(files.Print(1, "no"));   // open for input
    EXPECT_FALSE(files.Print(9, "no"));   // not open
    std::string s;
    EXPECT_FALSE(files.LineInput(9, s));
    EXPECT_TRUE(files.Eof(9));
    files.Close(9);
    EXPECT_TRUE(files.IsOpen(1));
}

TEST_F(Files, WholeFileWriteReplacesOrLeavesNoTrace) {
    const std::string p = Path("whole.txt");
    ASSERT_TRUE(WriteWholeFileSafely(p, "old"));
    ASSERT_TRUE(WriteWholeFileSafely(p, "new\r\ntext"));
    EXPECT_EQ(Read(p), "new\r\ntext");
    const std::string sub = Path("sub");   // a directory cannot be replaced
    fs::create_directory(sub);
    EXPECT_FALSE(WriteWholeFileSafely(sub, "x"));
    EXPECT_TRUE(fs::is_directory(sub));
    EXPECT_FALSE(fs::exists(sub + ".tmp~"));
    EXPECT_FALSE(WriteWholeFileSafely("/nonexistent_dir/x.txt", "x"));
    std::string text;
    EXPECT_FALSE(ReadWholeFile(Path("missing.txt"), text));
}
