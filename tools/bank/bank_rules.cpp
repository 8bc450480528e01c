#include "tools/bank/bank_rules.h"

#include <stdexcept>

#include "engine/theme_table.h"

namespace banktool {
namespace {

constexpr std::array<std::string_view, engine::kThemeCount> kRightPositions{
    "2 4 3 3 1 2 1 4 4 2 2 2 4 1 4 3",
    "4 1 3 1 2 3 1 3 4 1 3 3 2 2 4 2 2 4 1 2",
    "1 3 3 2 3 2 1 4 2 2 1 2 1 3 1 4 3 2 1 2",
    "4 2 2 3 1 2 3 4 2 3 2 3 3 3 1 2 4 2 3",
    "3 3 1 3 3 3 3 2 4 1 2 2 4 4 4 2 3 4 3 2",
    "1 2 4 4 2 3 2 3 4 3 3 1 1",
    "2 4 1 4 2 4 1 4 2 2 4",
    "1 2 1 1 3 3 3 2 2 3 1 3 2 3 2 4 3 1",
    "1 2 4 3 2 2 2 3 4 1 2 3 3 3 1 2 2 1 2 3",
    "3 4 3 1 3 2 1 2 3 2",
    "1 4 3 1 2 3 3 4",
    "2 4 3 3 3 2 2 2 2 1 4 3 2 3 1",
    "3 3 1 2 4 3 3 2 2 4 1 2 3",
};

// The key names every question of each theme's bank, and no more.
constexpr bool KeyCoversEachBank() {
    for (std::size_t theme = 0; theme < kRightPositions.size(); ++theme) {
        int positions = 0;
        for (char c : kRightPositions[theme]) positions += c != ' ';
        if (positions != engine::kThemeTable[theme].BankSize) return false;
    }
    return true;
}
static_assert(KeyCoversEachBank(), "the answer key's length of a theme differs from its bank size");

const std::array<PinnedRecord, 3> kPinned{{
    {"Tq101", "В мотострелковый полк входят:", {"1 мсб", "2 мсб", "3 мсб", "4 мсб"}, 3, 256, 0, 285, 272},
    {"Tq1312",
     "Дистанция между ротами и батареями в районе            расположения полка составляет до:",
     {"300 м", "500 м", "700 м", "1 км"},
     2,
     189,
     0,
     422,
     176},
    {"Tq516", kMapSignText, {"КП полка", "КНП батальона", "КНП роты", "НП взвода"}, 2, 196, 0, 403, 272},
}};

}  // namespace

std::vector<int> RightPositions(int theme) {
    if (theme < 1 || theme > engine::kThemeCount) throw std::out_of_range("no such theme");
    std::vector<int> positions;
    for (char c : kRightPositions[static_cast<std::size_t>(theme - 1)]) {
        if (c != ' ') positions.push_back(c - '0');
    }
    return positions;
}

int LabelTopFor(int theme, int number) { return theme == 1 && number >= 2 ? 8 : 0; }

const std::array<PinnedRecord, 3>& PinnedRecords() { return kPinned; }

const PinnedRecord* FindPinnedRecord(std::string_view name) {
    for (const PinnedRecord& record : kPinned) {
        if (record.name == name) return &record;
    }
    return nullptr;
}

}  // namespace banktool
