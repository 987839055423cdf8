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

// Runs the driver on answers inside a private mount namespace (unshare -m):
// setup makes the folder the driver runs in (cd there) from the tmpfs mounted on
// $M; after copies what the test reads back into $D, the scratch folder. The
// mounts end with the namespace. False when such mounts cannot be made here.
bool run_in_mounts(const ScratchDir& dir, const std::string& answers, const std::string& setup,
                   const std::string& after) {
    FILE* input = std::fopen(dir.file(".stdin").c_str(), "wb");
    std::fputs(answers.c_str(), input);
    std::fclose(input);
    std::string script = "set -e\nD='" + dir.path + "'\nM=\"$D/mnt\"\nmkdir \"$M\"\n" + setup + "\n" +
                         "LC_ALL=C " + DIALOGUE_DRIVER +
                         " \"$D/.state\" <\"$D/.stdin\" >\"$D/.output\" 2>&1\n" + after +
                         "\necho done >\"$D/.done\"\n";
    FILE* f = std::fopen(dir.file(".script").c_str(), "w");
    std::fputs(script.c_str(), f);
    std::fclose(f);
    std::string command = "unshare -m sh '" + dir.file(".script") + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && file_exists(dir.file(".done"));
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// Gears over the range, with the figures quoted for them: header, point count,
// a point line and the last one where quoted, then the separator
// and the trailer; the file ends without a line end.
TEST(DataFile, WorkedGearsLineForLine) {
    struct Case {
        const char* answers;
        int z, m;
        int line;  // a line of the file (1 = the header; 2 = the first point) and its text
        const char* at_line;
        const char* last;  // the last point line
    };
    const Case cases[] = {
        {"20 0", 20, 95, 2, "-0.397955,-1.259054", "0.516391,0.987872"},
        {"10 0.5", 10, 132, 2, "-0.231916,-0.756332", "1.152068,1.397088"},
        {"60 0", 60, 35, 14, "-0.311809,-1.049570", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers);
        ScratchDir dir;
        DriverRun run = run_driver(dir, std::string(c.answers) + "\n1 data\n");
        EXPECT_EQ(run.output, START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP);
        std::string file = read_file(dir.file("data"));
        std::vector<std::string> lines = lines_of(file);
        ASSERT_EQ(lines.size(), 1u + c.m + 1u + 3u);
        EXPECT_EQ(lines[0], "z=" + std::to_string(c.z) + "   m=" + std::to_string(c.m));
        EXPECT_EQ(lines[c.line - 1], c.at_line);
        if (c.last) {
            EXPECT_EQ(lines[c.m + 1], c.last);
        }
        std::string ending = SEPARATOR + trailer(c.z, c.m);
        ASSERT_GT(file.size(), ending.size());
        EXPECT_EQ(file.substr(file.size() - ending.size()), ending);
        EXPECT_EQ(lines[c.m + 2], "");
    }
}

TEST(DataFile, WritingTwiceLeavesOnlyTheSecond) {
    ScratchDir twice, once;
    // The longer file of z = 10 first, then z = 20 under the same name.
    DriverRun run = run_driver(twice, "10 0.5 1 data\n20 0 1 data\n", {"z"});
    ASSERT_EQ(run.states.size(), 2u);
    run_driver(once, "20 0 1 data\n");
    std::string alone = read_file(once.file("data"));
    EXPECT_EQ(alone.compare(0, 12, "z=20   m=95\n"), 0);
    EXPECT_EQ(read_file(twice.file("data")), alone);
}

TEST(DataFile, NameWithABlankUsesTheFirstWordAndLeavesTheRest) {
    ScratchDir dir;
    // "file" stays in the input and meets the next prompt, which refuses it.
    DriverRun run = run_driver(dir, "20 0 1\nmy file\n0.5\n0\n", {"x"});
    EXPECT_TRUE(file_exists(dir.file("my")));
    EXPECT_FALSE(file_exists(dir.file("my file")));
    EXPECT_EQ(run.output, START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP SHIFT_PROMPT
                              "\nrackgen: \"file\" is not a number: " +
                              std::string(gear_refusal(SPECIFIED_CUTTER, 20, NAN)) + SHIFT_PROMPT FILE_QUESTION KEY_HELP);
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
    // Tests run as root, so no permission is ever missing: a missing folder and
    // a device that is full stand in for it.
    for (Case c : {Case{"missing/dataz20",
                        "cannot create the data file \"missing/dataz20\": No such file or directory"},
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

// A disk that fills up while the file is written: the previous file stays
// whole, no temporary file is left, and the message says so.
TEST(DataFile, FullDiskLeavesThePreviousFileAsItWas) {
    ScratchDir dir;
    run_driver(dir, "20 0 1 previous\n");
    std::string previous = read_file(dir.file("previous"));
    ASSERT_FALSE(previous.empty());
    // The new file (z = 3, x = 0.3: 4288 bytes) needs two pages of the tmpfs, the
    // previous one holds one: written in place, it would not fit either.
    bool ran = run_in_mounts(dir, "3 0.3 1 data\n",
                             "mount -t tmpfs -o size=16k tmpfs \"$M\"\ncp \"$D/previous\" \"$M/data\"\n"
                             "dd if=/dev/zero of=\"$M/fill\" bs=1k count=64 2>/dev/null || true\ncd \"$M\"",
                             "cp \"$M/data\" \"$D/after\"\nls -a \"$M\" >\"$D/listing\"");
    if (!ran) GTEST_SKIP() << "no private tmpfs can be mounted here (unshare -m, mount -t tmpfs)";
    EXPECT_EQ(read_file(dir.file("after")), previous);
    EXPECT_EQ(read_file(dir.file("listing")), ".\n..\ndata\nfill\n");
    char warning[GEAR_WARNING_CAPACITY];
    ASSERT_TRUE(gear_warning(SPECIFIED_CUTTER, 3, 0.3, warning, sizeof warning));
    EXPECT_EQ(
        read_file(dir.file(".output")),
        HEADLINE STEP_ONE TEETH_PROMPT SHIFT_PROMPT "\nrackgen: " + std::string(warning) +
            FILE_QUESTION FILE_INTRO NAME_PROMPT
            "\nrackgen: cannot write the data file \"data\": No space left on device; the previous file is "
            "left as it was" KEY_HELP);
}

// A writable file in a folder that takes no new file (read-only): written in
// place, whole, and nothing else appears in the folder.
TEST(DataFile, WritableFileInAReadOnlyFolderIsWrittenInPlace) {
    ScratchDir dir;
    run_driver(dir, "10 0.5 1 expected\n");
    bool ran =
        run_in_mounts(dir, "10 0.5 1 data\n",
                      "mount -t tmpfs tmpfs \"$M\"\nmkdir \"$M/rw\" \"$M/ro\"\necho old >\"$M/rw/data\"\n"
                      ": >\"$M/ro/data\"\nmount --bind \"$M/ro\" \"$M/ro\"\n"
                      "mount -o remount,bind,ro \"$M/ro\"\nmount --bind \"$M/rw/data\" \"$M/ro/data\"\n"
                      "! touch \"$M/ro/probe\" 2>/dev/null\ncd \"$M/ro\"",
                      "cp \"$M/rw/data\" \"$D/after\"\nls -a \"$M/ro\" >\"$D/listing\"");
    if (!ran) GTEST_SKIP() << "no read-only bind mount can be made here (unshare -m, mount --bind)";
    EXPECT_EQ(read_file(dir.file(".output")), START_TO_QUESTION FILE_INTRO NAME_PROMPT KEY_HELP);
    EXPECT_EQ(read_file(dir.file("after")), read_file(dir.file("expected")));
    EXPECT_EQ(read_file(dir.file("listing")), ".\n..\ndata\n");
}

}  // namespace
