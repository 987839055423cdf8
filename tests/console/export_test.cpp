// The tooth data file as the user gets it: written through the dialogue,
// checked byte for byte, and every way a name or a file can go wrong.
#include "console_test_support.hpp"
#include "console_texts.hpp"

#include "geometry/geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

// The trailer in code page 932, as earlier versions wrote it:
// "\nz=%d : 歯数  m=%d：インボリュート・切り下げを含むデータ数", no line end after it.
std::string trailer(int z, int m) {
    return "\nz=" + std::to_string(z) + " : \x8e\x95\x90\x94  m=" + std::to_string(m) +
           "\x81\x46\x83\x43\x83\x93\x83\x7b\x83\x8a\x83\x85\x81\x5b\x83\x67\x81\x45"
           "\x90\xd8\x82\xe8\x89\xba\x82\xb0\x82\xf0\x8a\xdc\x82\xde\x83\x66\x81\x5b\x83\x5e"
           "\x90\x94";
}
const char SEPARATOR[] = "\n/********************************************************/";

// The point lines of the shifted flank, computed here the way the dialogue does.
std::string point_lines(int z, double x, int& m) {
    compute_gear(z, x);
    const ToothProfile& tooth = shifted_tooth;
    m = tooth.flank_last;
    std::string lines;
    char line[80];
    for (int i = 0; i <= m; ++i) {
        std::snprintf(line, sizeof line, "%lf,%lf\n", tooth.flank[i].x, tooth.flank[i].y);
        lines += line;
    }
    return lines;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(DataFile, TwentyTeethWithoutShiftByteForByte) {
    ScratchDir dir;
    DriverRun run = run_driver(dir, "20\n0\n1\ndataz20\n");
    EXPECT_EQ(run.output, START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP);
    std::string file = read_file(dir.file("dataz20"));

    std::vector<std::string> lines = lines_of(file);
    ASSERT_EQ(lines.size(), 1u + 96u + 3u);
    EXPECT_EQ(lines[0], "z=20   m=95");
    EXPECT_EQ(lines[1], "-0.397955,-1.259054");
    EXPECT_EQ(lines[96], "0.516391,0.987872");
    EXPECT_EQ(lines[97], "");
    EXPECT_EQ(lines[98], "/********************************************************/");

    int m = 0;
    std::string expected = "z=20   m=95\n" + point_lines(20, 0.0, m) + SEPARATOR + trailer(20, 95);
    EXPECT_EQ(m, 95);
    EXPECT_EQ(file, expected);
    EXPECT_NE(file.back(), '\n');
}

TEST(DataFile, TenTeethWithHalfShift) {
    ScratchDir dir;
    run_driver(dir, "10 0.5\n1 dataz10\n");
    std::string file = read_file(dir.file("dataz10"));
    std::vector<std::string> lines = lines_of(file);
    ASSERT_EQ(lines.size(), 1u + 133u + 3u);
    EXPECT_EQ(lines[0], "z=10   m=132");
    EXPECT_EQ(lines[1], "-0.231916,-0.756332");
    EXPECT_EQ(lines[133], "1.152068,1.397088");
    int m = 0;
    std::string points = point_lines(10, 0.5, m);
    ASSERT_EQ(m, 132);
    EXPECT_EQ(file, "z=10   m=132\n" + points + SEPARATOR + trailer(10, 132));
}

TEST(DataFile, WritingTwiceLeavesOnlyTheSecond) {
    ScratchDir dir;
    // The longer file of z = 10 first, then z = 20 under the same name.
    DriverRun run = run_driver(dir, "10 0.5 1 data\n20 0 1 data\n", {"z"});
    ASSERT_EQ(run.states.size(), 2u);
    std::string file = read_file(dir.file("data"));
    int m = 0;
    EXPECT_EQ(file, "z=20   m=95\n" + point_lines(20, 0.0, m) + SEPARATOR + trailer(20, 95));
}

TEST(DataFile, NameWithABlankUsesTheFirstWordAndLeavesTheRest) {
    ScratchDir dir;
    // "file" stays in the input and meets the next prompt, which refuses it.
    DriverRun run = run_driver(dir, "20 0 1\nmy file\n0.5\n0\n", {"x"});
    EXPECT_TRUE(file_exists(dir.file("my")));
    EXPECT_FALSE(file_exists(dir.file("my file")));
    EXPECT_EQ(run.output, START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP SHIFT_PROMPT
                              "\nrackgen: \"file\" is not a number: " +
                              std::string(gear_refusal(20, NAN)) + SHIFT_PROMPT FILE_QUESTION KEY_HELP);
}

TEST(DataFile, OverlongNameIsAskedAgain) {
    ScratchDir dir;
    std::string name31(31, 'n');
    std::string name32(32, 'l');
    DriverRun run = run_driver(dir, "20 0 1\n" + name32 + " rest\n" + name31 + "\n");
    EXPECT_EQ(run.output, START_TO_QUESTION FILE_INTRO NAME_PROMPT
                              "\nrackgen: a file name may have at most 31 characters; \"" +
                              std::string(31, 'l') + "...\" is longer." NAME_PROMPT KEY_HELP);
    EXPECT_TRUE(file_exists(dir.file(name31.c_str())));
    EXPECT_FALSE(file_exists(dir.file("rest")));
    EXPECT_FALSE(file_exists(dir.file(std::string(31, 'l').c_str())));
}

TEST(DataFile, FileThatCannotBeWrittenIsNamedWithItsReason) {
    struct Case {
        const char* name;
        const char* message;
    };
    // Tests run as root, so no permission is ever missing: a missing folder, a
    // folder, and a device that is full stand in for it.
    for (Case c : {Case{"missing/dataz20",
                        "cannot create the data file \"missing/dataz20\": No such file or directory"},
                   Case{".", "cannot create the data file \".\": Is a directory"},
                   Case{"/dev/full", "cannot write the data file \"/dev/full\": No space left on device"}}) {
        if (!file_exists(c.name) && c.name[0] == '/') continue;  // a machine without /dev/full
        ScratchDir dir;
        DriverRun run = run_driver(dir, std::string("20 0 1 ") + c.name + "\n");
        EXPECT_EQ(run.exit_status, 0);
        EXPECT_EQ(run.output, START_TO_QUESTION FILE_INTRO NAME_PROMPT + std::string("\nrackgen: ") +
                                  c.message + KEY_HELP);
        ASSERT_EQ(run.states.size(), 1u);
    }
}

}  // namespace
