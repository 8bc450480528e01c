#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/layout.h"
#include "content/question_window_design.h"
#include "engine/question_id.h"

namespace content {

struct QuestionPicture {
    app::Rect box;  // in the question window's design client coordinates
    // The picture's file among the program's resources (PictureFile).
    std::string_view resource;
};

struct QuestionLayout {
    int labelLeft = 0;
    int labelTop = 0;
    int labelWidth = 0;
    int optionsLeft = 0;
    std::array<int, 4> optionWidths{};
};

struct QuestionRecord {
    engine::QuestionId id;
    std::string_view text;                     // UTF-8; runs of 5+ spaces mark line breaks
    std::array<std::string_view, 4> options;   // UTF-8, top to bottom
    int right = 0;                             // 1 … 4
    const QuestionPicture* picture = nullptr;  // only the picture questions have one
    QuestionLayout layout;
    QuestionWindowDesign window;
};

// The record of a question of the bank; throws std::out_of_range for an
// identifier that names none.
const QuestionRecord& Question(engine::QuestionId id);

// All 203 records, theme by theme, in number order.
std::span<const QuestionRecord> AllQuestions();

// A fingerprint of the compiled bank's names, texts, options and right
// positions, in bank order: the same in every build of the same texts.
std::uint32_t BankFingerprint();

// The whole uncompressed 24-bit Windows BMP file of a picture, 595 × 446.
std::vector<unsigned char> PictureFile(const QuestionPicture& picture);

}  // namespace content
