// Japanese texts on consoles of each encoding: the conversion itself, and the
// dialogue's output under a Shift-JIS locale where one can be made (UTF-8 and
// plain locales: dialogue_test).
#include "console_test_support.hpp"
#include "console_texts.hpp"

#include "console/console.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

std::string to_cp932(const char* text) {
    char out[1024];  // the whole first dialogue with its key help
    EXPECT_TRUE(convert_text("UTF-8", "CP932", text, out, sizeof out)) << text;
    return out;
}

TEST(ConvertText, GivesTheCodePage932BytesOfEveryCharacterKind) {
    // Kanji, kana, the full-width blank, colon, question mark, parenthesis and
    // digit, and ASCII, which stays as it is (0x5C and 0x7E included).
    EXPECT_EQ(to_cp932("歯数"), "\x8e\x95\x90\x94");
    EXPECT_EQ(to_cp932("ラック"), "\x83\x89\x83\x62\x83\x4e");
    EXPECT_EQ(to_cp932("　"), "\x81\x40");
    EXPECT_EQ(to_cp932("：？（）１・"), "\x81\x46\x81\x48\x81\x69\x81\x6a\x82\x50\x81\x45");
    EXPECT_EQ(to_cp932("'s' \\ ~ z=20"), "'s' \\ ~ z=20");
}

TEST(ConvertText, RefusesWhatItCannotDoAndLeavesTheBufferEmpty) {
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(convert_text("UTF-8", "ASCII", "歯", out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(convert_text("UTF-8", "NO-SUCH-ENCODING", "abc", out, sizeof out));
    EXPECT_STREQ(out, "");
    // Needs 9 bytes with the terminator: one too many for the buffer.
    EXPECT_FALSE(convert_text("UTF-8", "CP932", "歯数歯数", out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(convert_text("UTF-8", "CP932", "歯数歯", out, sizeof out));
    // A cut UTF-8 character is no text.
    EXPECT_FALSE(convert_text("UTF-8", "CP932", "\xe6\xad", out, sizeof out));
    // And back: the window title needs UTF-8 from code page 932.
    EXPECT_TRUE(convert_text("CP932", "UTF-8", "\x8e\x95\x90\x94", out, sizeof out));
    EXPECT_STREQ(out, "歯数");
}

// A Shift-JIS locale made for the test from the system's locale sources; the
// test is skipped where those are not installed.
TEST(ConsoleText, ShiftJisLocaleGetsTheCodePage932Bytes) {
    ScratchDir dir;
    std::string command =
        "localedef -c -i ja_JP -f SHIFT_JIS '" + dir.file("ja_JP.SJIS") + "' >/dev/null 2>&1";
    int status = std::system(command.c_str());
    (void)status;  // localedef warns that Shift-JIS is not ASCII-compatible and exits 1
    if (!file_exists(dir.file("ja_JP.SJIS") + "/LC_CTYPE"))
        GTEST_SKIP() << "no Shift-JIS locale can be made here (localedef or ja_JP sources missing)";

    DriverRun run = run_driver(dir, "20 0 1 data\n", {}, {"LOCPATH=" + dir.path, "LC_ALL=ja_JP.SJIS"});
    std::string expected = to_cp932(START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP);
    EXPECT_EQ(run.output, expected);
    // The file's trailer is the same whatever the console.
    std::string file = read_file(dir.file("data"));
    EXPECT_NE(file.find(to_cp932("\nz=20 : 歯数  m=95：インボリュート・切り下げを含むデータ数")),
              std::string::npos);
}

}  // namespace
