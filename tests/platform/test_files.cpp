#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace platform;
namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tivelor_files_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathFor(const char* name) const { return (dir_ / name).string(); }
    std::string Write(const char* name, const std::string& text) const {
        const std::string p = PathFor(name);
        EXPECT_TRUE(WriteWholeFileSafely(p, text));
        return p;
    }

    fs::path dir_;
};

}  // namespace

TEST_F(FilesTest, PrintWritesCrLfLines) {
    const std::string p = PathFor("out.txt");
    FileTable files;
    ASSERT_TRUE(files.Open(1, p, FileMode::Output));
    EXPECT_EQ(files.PathOf(1), p);
    EXPECT_TRUE(files.Print(1, "first"));
    EXPECT_TRUE(files.Print(1, "a", false));
    EXPECT_TRUE(files.Print(1, "b"));
    EXPECT_TRUE(files.Print(1, ""));
    files.Close(1);
    EXPECT_FALSE(files.IsOpen(1));
    EXPECT_EQ(files.PathOf(1), "");
    std::string text;
    ASSERT_TRUE(ReadWholeFile(p, text));
    EXPECT_EQ(text, "first\r\nab\r\n\r\n");
}

TEST_F(FilesTest, AppendAddsToExistingFile) {
    const std::string p = Write("log.txt", "one\r\n");
    FileTable files;
    ASSERT_TRUE(files.Open(203, p, FileMode::Append));
    EXPECT_TRUE(files.Print(203, "two"));
    files.CloseAll();
    std::string text;
    ASSERT_TRUE(ReadWholeFile(p, text));
    EXPECT_EQ(text, "one\r\ntwo\r\n");
}

TEST_F(FilesTest, LineInputAcceptsCrLfLfAndMissingLastEnd) {
    const std::string p = Write("in.txt", "a b\r\n\nc\rd\nlast");
    FileTable files;
    ASSERT_TRUE(files.Open(1, p, FileMode::Input));
    std::string line;
    const char* expected[] = {"a b", "", "c", "d", "last"};
    for (const char* e : expected) {
        EXPECT_FALSE(files.Eof(1));
        ASSERT_TRUE(files.LineInput(1, line));
        EXPECT_EQ(line, e);
    }
    EXPECT_TRUE(files.Eof(1));
    EXPECT_FALSE(files.LineInput(1, line));
}

TEST_F(FilesTest, EofAfterTrailingLineEnd) {
    const std::string p = Write("one.txt", "x\r\n");
    FileTable files;
    ASSERT_TRUE(files.Open(2, p, FileMode::Input));
    std::string line;
    ASSERT_TRUE(files.LineInput(2, line));
    EXPECT_TRUE(files.Eof(2));

    const std::string empty = Write("empty.txt", "");
    ASSERT_TRUE(files.Open(3, empty, FileMode::Input));
    EXPECT_TRUE(files.Eof(3));
    EXPECT_FALSE(files.Input(3, line));
}

TEST_F(FilesTest, InputReadsCommaAndLineSeparatedFields) {
    const std::string p = Write("fields.txt", "  12 , \"a, b\" ,x\r\n3.5\n\"q\"  ,, 7");
    FileTable files;
    ASSERT_TRUE(files.Open(1, p, FileMode::Input));
    std::string f;
    const char* expected[] = {"12", "a, b", "x", "3.5", "q", "", "7"};
    for (const char* e : expected) {
        ASSERT_TRUE(files.Input(1, f));
        EXPECT_EQ(f, e);
    }
    EXPECT_TRUE(files.Eof(1));
    EXPECT_FALSE(files.Input(1, f));
}

TEST_F(FilesTest, RoundTripThroughOutputAndInput) {
    const std::string p = PathFor("trip.txt");
    FileTable files;
    ASSERT_TRUE(files.Open(1, p, FileMode::Output));
    files.Print(1, "3, 4");
    files.Print(1, "Name here");
    files.Close(1);
    ASSERT_TRUE(files.Open(1, p, FileMode::Input));
    std::string a, b, line;
    ASSERT_TRUE(files.Input(1, a));
    ASSERT_TRUE(files.Input(1, b));
    ASSERT_TRUE(files.LineInput(1, line));
    EXPECT_EQ(a + "|" + b + "|" + line, "3|4|Name here");
    EXPECT_TRUE(files.Eof(1));
}

TEST_F(FilesTest, Errors) {
    FileTable files;
    const std::string missing = PathFor("missing.txt");
    EXPECT_FALSE(files.Open(1, missing, FileMode::Input));
    EXPECT_EQ(files.LastError(), "File not found: " + missing);
    EXPECT_FALSE(files.IsOpen(1));

    EXPECT_FALSE(files.Open(1, "/nonexistent_dir/x.txt", FileMode::Output));
    EXPECT_NE(files.LastError().find("/nonexistent_dir/x.txt"), std::string::npos);
    EXPECT_FALSE(files.Open(1, "/nonexistent_dir/x.txt", FileMode::Append));

    const std::string p = Write("a.txt", "data\n");
    ASSERT_TRUE(files.Open(1, p, FileMode::Input));
    EXPECT_FALSE(files.Open(1, p, FileMode::Input));
    EXPECT_NE(files.LastError().find("already open"), std::string::npos);
    EXPECT_FALSE(files.Print(1, "no"));           // open for input
    EXPECT_FALSE(files.Print(9, "no"));           // not open
    std::string s;
    EXPECT_FALSE(files.LineInput(9, s));
    EXPECT_TRUE(files.Eof(9));
    files.Close(9);                                // harmless
    EXPECT_TRUE(files.IsOpen(1));
}

TEST_F(FilesTest, WholeFileWriteReplacesAndCleansUp) {
    const std::string p = Write("whole.txt", "old");
    ASSERT_TRUE(WriteWholeFileSafely(p, "new\r\ntext"));
    std::string text;
    ASSERT_TRUE(ReadWholeFile(p, text));
    EXPECT_EQ(text, "new\r\ntext");

    // A directory cannot be replaced: the write fails and leaves no temporary.
    const std::string sub = PathFor("sub");
    fs::create_directory(sub);
    EXPECT_FALSE(WriteWholeFileSafely(sub, "x"));
    EXPECT_TRUE(fs::is_directory(sub));
    int entries = 0;
    for (const auto& e : fs::directory_iterator(dir_)) entries += e.path().string() != sub && e.path().string() != p;
    EXPECT_EQ(entries, 0);

    EXPECT_FALSE(WriteWholeFileSafely("/nonexistent_dir/x.txt", "x"));
    EXPECT_FALSE(ReadWholeFile(PathFor("missing.txt"), text));
}
