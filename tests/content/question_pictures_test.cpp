#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "content/question_bank.h"
#include "content/question_names.h"

namespace {

constexpr int kWidth = 595;
constexpr int kHeight = 446;
constexpr int kRowSize = 1788;  // 595 × 3 bytes, padded to four

struct Rgb {
    int red, green, blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Extent {
    int left, right, top, bottom;
    friend bool operator==(const Extent&, const Extent&) = default;
};

std::uint32_t U32(std::span<const unsigned char> b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// (x, y) from the top-left corner; the file stores rows bottom-up.
Rgb PixelAt(std::span<const unsigned char> bmp, int x, int y) {
    const std::size_t at = 54 + static_cast<std::size_t>(kHeight - 1 - y) * kRowSize + static_cast<std::size_t>(x) * 3;
    return {bmp[at + 2], bmp[at + 1], bmp[at]};
}

struct Drawing {
    std::optional<Rgb> colour;  // empty when the ink has more than one colour
    std::optional<Extent> extent;
};

Drawing InkOf(std::span<const unsigned char> bmp) {
    Drawing drawing;
    bool mixed = false;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb pixel = PixelAt(bmp, x, y);
            if (pixel == Rgb{255, 255, 255}) continue;
            if (!drawing.extent) {
                drawing.colour = pixel;
                drawing.extent = Extent{x, x, y, y};
            }
            mixed = mixed || !(pixel == *drawing.colour);
            Extent& e = *drawing.extent;
            e = {std::min(e.left, x), std::max(e.right, x), std::min(e.top, y), std::max(e.bottom, y)};
        }
    }
    if (mixed) drawing.colour.reset();
    return drawing;
}

struct PictureCase {
    const char* name;
    app::Rect box;
    Rgb colour;
    Extent extent;
};

TEST(QuestionPictures, EachShowsItsOneColourSignWithinItsBox) {
    const Rgb red{255, 0, 0};
    const Rgb black{0, 0, 0};
    const PictureCase cases[] = {
        {"Tq514", {320, 56, 161, 33}, red, {9, 208, 4, 26}}, {"Tq515", {359, 56, 81, 65}, black, {1, 75, 2, 61}},
        {"Tq516", {387, 56, 26, 57}, red, {2, 23, 4, 48}},   {"Tq517", {363, 56, 74, 33}, black, {1, 69, 1, 26}},
        {"Tq518", {323, 56, 153, 57}, red, {1, 146, 2, 51}}, {"Tq519", {391, 56, 18, 57}, black, {1, 17, 1, 52}},
        {"Tq520", {387, 56, 26, 49}, red, {3, 23, 3, 41}},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const content::QuestionRecord& record = content::Question(*content::ParseWindowClassName(c.name));
        ASSERT_NE(record.picture, nullptr);
        const app::Rect& box = record.picture->box;
        EXPECT_EQ((std::array{box.left, box.top, box.width, box.height}),
                  (std::array{c.box.left, c.box.top, c.box.width, c.box.height}));
        EXPECT_EQ(box.top, 56);
        EXPECT_LE(std::abs(2 * box.left + box.width - 800), 1) << "centred on x = 400";

        const std::vector<unsigned char> file = content::PictureFile(*record.picture);
        const std::span<const unsigned char> bmp = file;
        ASSERT_EQ(bmp.size(), 797502u);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(U32(bmp, 2), 797502u);
        EXPECT_EQ(U32(bmp, 10), 54u);  // no colour table
        EXPECT_EQ(U32(bmp, 18), 595u);
        EXPECT_EQ(U32(bmp, 22), 446u);  // positive: bottom-up
        EXPECT_EQ(bmp[28], 24);
        EXPECT_EQ(U32(bmp, 30), 0u);

        const Drawing ink = InkOf(bmp);
        ASSERT_TRUE(ink.extent.has_value());
        ASSERT_TRUE(ink.colour.has_value()) << "the drawing has more than one colour";
        EXPECT_EQ(*ink.colour, c.colour);
        EXPECT_EQ(*ink.extent, c.extent);
        const bool covered = ink.extent->right < box.width && ink.extent->bottom < box.height;
        // Only the trench is wider than its box: the window shows its left 161 columns.
        EXPECT_EQ(covered, std::string(c.name) != "Tq514");
    }
}

TEST(QuestionPictures, OnlyTheMapSignQuestionsHaveOne) {
    int pictures = 0;
    for (const content::QuestionRecord& record : content::AllQuestions()) {
        const bool expected = record.id.theme == 5 && record.id.number >= 14;
        EXPECT_EQ(record.picture != nullptr, expected) << content::WindowClassName(record.id);
        pictures += record.picture != nullptr;
    }
    EXPECT_EQ(pictures, 7);
}

}  // namespace
