// The outline builder and the writers as another front end calls them: the
// vertex count of the joined teeth, a too-small array, and the buffer writers
// against the FILE writers (same text; a short buffer cut and terminated,
// never overrun). The files themselves are read back by other programs in
// tests/cli/gear_files_test.py.
#include "outline/outline.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

static ProfilePoint points[GEAR_OUTLINE_CAPACITY];

TEST(GearOutline, TeethJoinWithEachSharedPointOnce) {
    compute_gear(20, 0.5);
    // Each tooth's last point is the next tooth's first: outline_last new points a tooth.
    int count = build_gear_outline(shifted_tooth, 20, 1.0, points, GEAR_OUTLINE_CAPACITY);
    EXPECT_EQ(count, 20 * shifted_tooth.outline_last);
    EXPECT_EQ(build_gear_outline(shifted_tooth, 20, 1.0, points, count - 1), 0);
    EXPECT_EQ(build_gear_outline(shifted_tooth, 20, 1.0, points, count), count);
}

static std::string file_text(bool (*writer)(const ProfilePoint*, int, FILE*), int count) {
    FILE* file = tmpfile();
    EXPECT_TRUE(writer(points, count, file));
    std::string text(static_cast<size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    EXPECT_EQ(std::fread(&text[0], 1, text.size(), file), text.size());
    std::fclose(file);
    return text;
}

TEST(GearOutline, BufferWritersMatchFileWriters) {
    compute_gear(8, 0.3);
    int count = build_gear_outline(shifted_tooth, 8, 2.0, points, GEAR_OUTLINE_CAPACITY);
    ASSERT_GT(count, 0);
    struct Writer {
        size_t (*to_buffer)(const ProfilePoint*, int, char*, size_t);
        bool (*to_file)(const ProfilePoint*, int, FILE*);
    };
    for (Writer w : {Writer{write_outline_svg, write_outline_svg_file},
                     Writer{write_outline_dxf, write_outline_dxf_file}}) {
        std::string expected = file_text(w.to_file, count);
        size_t length = w.to_buffer(points, count, nullptr, 0);  // the size to allocate
        ASSERT_EQ(length, expected.size());
        std::vector<char> buffer(length + 1);
        EXPECT_EQ(w.to_buffer(points, count, buffer.data(), buffer.size()), length);
        EXPECT_EQ(std::string(buffer.data()), expected);

        std::vector<char> short_buffer(120, '#');  // 100 bytes offered, 20 guard bytes behind
        EXPECT_EQ(w.to_buffer(points, count, short_buffer.data(), 100), length);
        EXPECT_EQ(std::string(short_buffer.data()), expected.substr(0, 99));
        EXPECT_EQ(std::string(short_buffer.data() + 100, 20), std::string(20, '#'));
    }
}
