// The Cairo painter on a small hand-made record: hard pixels in PNG, colours,
// widths and places as the view maps them, the trace layer on top, the legend
// font, and the vector files and write errors.
#include "picture/picture.hpp"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

// Fontconfig, which Cairo asks for the legend font, keeps its configuration
// for the life of the process; the leak checker of the sanitizer build is told so.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

FrameRecord record;  // a few items; not on the stack, as the record is large

void add_item(ItemKind kind, Colour colour, float width, std::initializer_list<RecordVertex> vertices,
              int layer = ITEM_LAYER_PLAIN, const char* text = nullptr) {
    RecordItem& item = record.items[record.item_count++];
    item = RecordItem{kind, colour, width, record.vertex_count, static_cast<int>(vertices.size()), -1, layer};
    for (const RecordVertex& v : vertices) record.vertices[record.vertex_count++] = v;
    if (text != nullptr) {
        item.text_offset = record.text_used;
        std::strcpy(record.text + record.text_used, text);
        record.text_used += static_cast<int>(std::strlen(text)) + 1;
    }
}

const Colour RED = {1, 0, 0, 0};
const Colour GREEN = {0, 1, 0, 0};
const Colour BLUE = {0, 0, 1, 0};
const Colour BLACK = {0, 0, 0, 0};

// 200 × 100 pixels: view x = -1 … 1 over 200 pixels, y = 1 … -1 over 100 rows.
void make_record() {
    record.width = 200;
    record.height = 100;
    record.item_count = record.vertex_count = record.text_used = 0;
    // A trace item first in the list still paints over the plain square below it.
    add_item(ItemKind::LINES, GREEN, 4, {{0.5, -0.5}, {0.5, 0.5}}, ITEM_LAYER_TRACE);
    add_item(ItemKind::POLYGON, BLUE, 1, {{0.3, -0.3}, {0.7, -0.3}, {0.7, 0.3}, {0.3, 0.3}});
    // A diagonal polyline recorded as two segments that meet, and a loop.
    add_item(ItemKind::LINES, RED, 2, {{-0.9, 0.0}, {-0.5, 0.0}, {-0.5, 0.0}, {-0.1, -0.8}});
    add_item(ItemKind::LINE_LOOP, RED, 2, {{-0.2, 0.8}, {0.2, 0.8}, {0.0, 0.4}});
    add_item(ItemKind::TEXT, BLACK, 1, {{-0.9, 0.7}}, ITEM_LAYER_PLAIN, "HH");
    // Out of view: a loop beyond the right edge, and segments beyond the top in a visible item.
    add_item(ItemKind::LINE_LOOP, GREEN, 2, {{1.5, 0.0}, {1.8, 0.0}, {1.6, 0.5}});
    add_item(ItemKind::LINES, BLUE, 2,
             {{-0.9, 1.5}, {0.9, 1.5}, {0.9, 1.5}, {0.9, 1.9}, {-0.95, 0.9}, {-0.95, -0.9}});
}

struct Picture {
    std::string bytes;
    int fault = -1;
};

Picture paint(PictureFormat format) {
    Picture picture;
    FILE* file = tmpfile();
    picture.fault = write_record_picture(record, format, file);
    long size = std::ftell(file);
    std::rewind(file);
    picture.bytes.resize(static_cast<size_t>(size));
    size_t got = std::fread(&picture.bytes[0], 1, picture.bytes.size(), file);
    picture.bytes.resize(got);
    std::fclose(file);
    return picture;
}

struct PngReader {
    const std::string* bytes;
    size_t at;
};

cairo_status_t read_png(void* closure, unsigned char* data, unsigned int length) {
    PngReader* reader = static_cast<PngReader*>(closure);
    if (reader->at + length > reader->bytes->size()) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes->data() + reader->at, length);
    reader->at += length;
    return CAIRO_STATUS_SUCCESS;
}

// The pixel at column x, row y from the top, as 0xRRGGBB.
unsigned pixel(cairo_surface_t* image, int x, int y) {
    const unsigned char* row =
        cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
    uint32_t argb;
    std::memcpy(&argb, row + 4 * x, 4);
    return argb & 0xffffffu;
}

TEST(Picture, PngHasHardPixelsInTheirPlaces) {
    make_record();
    Picture png = paint(PICTURE_PNG);
    ASSERT_EQ(png.fault, 0);
    PngReader reader = {&png.bytes, 0};
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(read_png, &reader);
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    cairo_surface_flush(image);
    ASSERT_EQ(cairo_image_surface_get_width(image), 200);
    ASSERT_EQ(cairo_image_surface_get_height(image), 100);

    // No antialiasing: only the record's own colours and the white ground.
    int black = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            unsigned c = pixel(image, x, y);
            EXPECT_TRUE(c == 0xffffff || c == 0xff0000 || c == 0x00ff00 || c == 0x0000ff || c == 0)
                << std::hex << c << " at " << std::dec << x << "," << y;
            if (c == 0) ++black;
        }
    // The horizontal red segment at y = 0 (row 50) is 2 px thick from x = 10 to 50.
    EXPECT_EQ(pixel(image, 30, 48), 0xffffffu);
    EXPECT_EQ(pixel(image, 30, 49), 0xff0000u);
    EXPECT_EQ(pixel(image, 30, 50), 0xff0000u);
    EXPECT_EQ(pixel(image, 30, 51), 0xffffffu);
    EXPECT_EQ(pixel(image, 8, 50), 0xffffffu);
    // The blue square fills x 130 … 170, rows 35 … 65; the green trace crosses it at x = 150.
    EXPECT_EQ(pixel(image, 135, 50), 0x0000ffu);
    EXPECT_EQ(pixel(image, 150, 50), 0x00ff00u);
    EXPECT_EQ(pixel(image, 150, 70), 0x00ff00u);
    EXPECT_EQ(pixel(image, 150, 80), 0xffffffu);
    // The loop's closing side from (0, 0.4) back to (-0.2, 0.8) is drawn.
    EXPECT_EQ(pixel(image, 90, 20), 0xff0000u);
    // "HH" from (10, 15): 18 px Helvetica capitals stand about 13 px on the baseline.
    EXPECT_GT(black, 40);
    int top = 100;
    for (int y = 0; y < 30; ++y)
        for (int x = 10; x < 40; ++x)
            if (pixel(image, x, y) == 0 && y < top) top = y;
    EXPECT_NEAR(15 - top, 13, 1);
    EXPECT_EQ(pixel(image, 9, 10), 0xffffffu);
    cairo_surface_destroy(image);
}

TEST(Picture, VectorFilesAndWriteErrors) {
    make_record();
    Picture svg = paint(PICTURE_SVG);
    ASSERT_EQ(svg.fault, 0);
    EXPECT_NE(svg.bytes.find("width=\"200px\" height=\"100px\""), std::string::npos)
        << svg.bytes.substr(0, 300);
    EXPECT_NE(svg.bytes.find("rgb(100%,0%,0%)"), std::string::npos);
    // Only what is in view: of the blue lines only the visible segment.
    size_t blue_strokes = 0;
    for (size_t at = svg.bytes.find("stroke:rgb(0%,0%,100%)"); at != std::string::npos;
         at = svg.bytes.find("stroke:rgb(0%,0%,100%)", at + 1))
        ++blue_strokes;
    EXPECT_EQ(blue_strokes, 1u);
    EXPECT_EQ(svg.bytes.find(" -25 "), std::string::npos);  // the segments at y = 1.5
    Picture pdf = paint(PICTURE_PDF);
    ASSERT_EQ(pdf.fault, 0);
    EXPECT_EQ(pdf.bytes.substr(0, 5), "%PDF-");

    FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    for (PictureFormat format : {PICTURE_PNG, PICTURE_SVG, PICTURE_PDF})
        EXPECT_NE(write_record_picture(record, format, full), 0) << format;
    std::fclose(full);
}

}  // namespace
