#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/theme_table.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct CompilerRun {
    int exitCode = -1;
    std::string errors;
};

// A copy of the real bank and pictures that each test breaks in one place.
class BankCompilerTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(bank_);
        for (const auto& entry : fs::directory_iterator(KALVENA_BANK_DIR)) {
            if (entry.path().extension() == ".txt") fs::copy_file(entry.path(), bank_ / entry.path().filename());
        }
        fs::copy(KALVENA_PICTURES_DIR, pictures_);
    }

    fs::path File(const std::string& name) const { return bank_ / name; }

    std::vector<std::string> Lines(const std::string& file) const {
        std::ifstream in(File(file));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    void Write(const std::string& file, const std::vector<std::string>& lines) const {
        std::ofstream out(File(file), std::ios::trunc);
        for (const std::string& line : lines) out << line << '\n';
    }

    // The 1-based line of "key: …" in record [name].
    int LineOf(const std::string& file, const std::string& name, const std::string& key) const {
        const auto lines = Lines(file);
        bool inRecord = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].starts_with('[')) inRecord = lines[i] == "[" + name + "]";
            if (inRecord && (key.empty() ? lines[i].starts_with('[') : lines[i].starts_with(key + ":"))) {
                return static_cast<int>(i) + 1;
            }
        }
        ADD_FAILURE() << "no " << key << " in " << name;
        return 0;
    }

    // Replaces the line of key in the record (its name line for an empty key).
    int Replace(const std::string& file, const std::string& name, const std::string& key, const std::string& line) {
        const int number = LineOf(file, name, key);
        auto lines = Lines(file);
        lines[static_cast<std::size_t>(number - 1)] = line;
        Write(file, lines);
        return number;
    }

    CompilerRun Compile() const {
        const std::string command = std::string("'") + KALVENA_BANK_COMPILER + "' --bank '" + bank_.string() +
                                    "' --pictures '" + pictures_.string() + "' --source out.cpp" + " 2> errors.txt";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testsupport::ReadFileBytes("errors.txt")};
    }

    std::string Where(const std::string& file, int line) const {
        return File(file).string() + ":" + std::to_string(line) + ": error: ";
    }

    testsupport::TemporaryWorkingDirectory directory_;
    fs::path bank_ = directory_.Path() / "bank";
    fs::path pictures_ = directory_.Path() / "pictures";
};

TEST_F(BankCompilerTest, CompilesTheIntactBank) {
    const CompilerRun run = Compile();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    EXPECT_NE(testsupport::ReadFileBytes("out.cpp").find("районе" + std::string(12, ' ') + "расположения"),
              std::string::npos);
    EXPECT_NE(testsupport::ReadFileBytes("out.cpp").find("\":/kalvena/pictures/Tq514.bmp\""), std::string::npos);
}

// The fingerprint follows what the questions ask, not how they are laid out.
TEST_F(BankCompilerTest, TheFingerprintChangesWithATextAndOnlyWithIt) {
    const auto fingerprint = [this] {
        fs::remove("out.cpp");
        const CompilerRun run = Compile();
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        const std::string source = testsupport::ReadFileBytes("out.cpp");
        const auto at = source.find("kFingerprint = 0x");
        return at == std::string::npos ? std::string() : source.substr(at + 17, 8);
    };
    const std::string intact = fingerprint();
    EXPECT_EQ(intact.find_first_not_of("0123456789abcdef"), std::string::npos) << intact;
    EXPECT_EQ(fingerprint(), intact) << "the same texts give the same fingerprint";
    Replace("theme-01.txt", "Tq11", "надпись", "надпись: 185 0 430");
    EXPECT_EQ(fingerprint(), intact);
    Replace("theme-01.txt", "Tq11", "1", "1: Световое излучение и тепло");
    EXPECT_NE(fingerprint(), intact);
}

TEST_F(BankCompilerTest, ReportsEachBrokenValueAtItsLine) {
    struct Breakage {
        const char* file;
        const char* record;
        const char* key;
        std::string line;
        const char* message;
    };
    const std::string option1Line =
        Lines("theme-07.txt")[static_cast<std::size_t>(LineOf("theme-07.txt", "Tq73", "1") - 1)];
    const std::string theme7Option1 = option1Line.substr(3);
    const std::vector<Breakage> breakages{
        {"theme-04.txt", "Tq43", "вопрос", "вопрос: Короткий", "[Tq43] the question text has 8 characters"},
        {"theme-04.txt", "Tq44", "вопрос", "вопрос: " + std::string(115, '.') + std::string(115, ','),
         "[Tq44] the question text has 230 characters; it must have 10 to 229"},
        {"theme-02.txt", "Tq25", "верный", "верный: 4",
         "[Tq25] the right option is 4, but question 5 of theme 2 must have 2"},
        {"theme-07.txt", "Tq73", "2", "2: " + theme7Option1 + " ", "options 1 and 2 read the same"},
        {"theme-09.txt", "Tq91", "1", "1: Bзвод", "U+0042 'B' (Latin letter)"},
        {"theme-09.txt", "Tq92", "1", "1: ", "option 1 has 0 characters"},
        {"theme-06.txt", "Tq62", "вопрос", "вопрос: Три     строки     и     четыре", "3 line breaks"},
        {"theme-12.txt", "Tq1203", "надпись", "надпись: 10 0 726", "the label's centre must lie within 5 pixels"},
        {"theme-01.txt", "Tq12", "надпись", "надпись: 400 0 100", "the label's top must be 8"},
        {"theme-03.txt", "Tq31", "варианты", "варианты: 600 | 209 209 209 209", "reaches x = 809"},
        {"theme-05.txt", "Tq518", "вопрос", "вопрос: Что обозначается на картах условным знаком",
         "[Tq518] repeats the text of the map-sign questions"},
        {"theme-05.txt", "Tq519", "верный", "верный: 4", "[Tq515] and [Tq519] must have right options 4 and 3"},
        {"theme-13.txt", "Tq1312", "варианты", "варианты: 272 | 209 209 209 209", "[Tq1312] is fixed content"},
        {"theme-10.txt", "Tq101", "вопрос", "вопрос: В мотострелковый полк входит:", "[Tq101] is fixed content"},
        {"theme-05.txt", "Tq516", "рисунок", "рисунок: 386 56 26 57", "centred on x = 400"},
        {"theme-08.txt", "Tq85", "", "[Tq86]", "expected [Tq85] here, found [Tq86]"},
        {"theme-11.txt", "Tq1102", "верный", "верно: 4", "unknown line 'верно: 4'"},
        {"theme-04.txt", "Tq41", "1", "1: До 25 м", "[Tq41] option 1 continues the question text after its colon"},
        {"theme-08.txt", "Tq815", "3", "3: в головной походной заставе",
         "[Tq815] option 3 answers a question that does not end with a colon: begin it with a capital"},
        {"theme-02.txt", "Tq29", "вопрос",
         "вопрос: Общевойсковой бой ведётся совместными усилиями:", "[Tq29] write «е» for «ё»"},
        {"theme-11.txt", "Tq1103", "2", "2: расчёт времени", "[Tq1103] write «е» for «ё»"},
    };
    for (const Breakage& breakage : breakages) {
        SCOPED_TRACE(breakage.message);
        const std::vector<std::string> original = Lines(breakage.file);
        const int line = Replace(breakage.file, breakage.record, breakage.key, breakage.line);
        const CompilerRun run = Compile();
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.errors.find(Where(breakage.file, line)), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(breakage.message), std::string::npos) << run.errors;
        Write(breakage.file, original);
    }
}

// A file's first line names its theme with the title of the theme table.
TEST_F(BankCompilerTest, RefusesAHeadingThatDiffersFromTheThemeTable) {
    struct Breakage {
        const char* file;
        int theme;
        std::vector<std::string> firstLines;  // in place of the heading
    };
    const std::vector<Breakage> breakages{
        {"theme-04.txt", 4, {"# Тема 4. мсо, мсв, мср в наступлении"}},                      // another theme's title
        {"theme-07.txt", 7, {"# Тема 8. " + std::string(engine::Theme(7).title)}},           // another number
        {"theme-13.txt", 13, {"# Тема 13. " + std::string(engine::Theme(13).title) + " "}},  // a stray space
        {"theme-11.txt", 11, {"", "# Тема 11. " + std::string(engine::Theme(11).title)}},    // not the first line
    };
    for (const Breakage& breakage : breakages) {
        SCOPED_TRACE(breakage.file);
        const std::vector<std::string> original = Lines(breakage.file);
        std::vector<std::string> broken = breakage.firstLines;
        broken.insert(broken.end(), original.begin() + 1, original.end());
        Write(breakage.file, broken);
        const CompilerRun run = Compile();
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.errors.find(Where(breakage.file, 1) + "the first line must read \"# Тема " +
                                  std::to_string(breakage.theme) + ". " + engine::Theme(breakage.theme).title + "\""),
                  std::string::npos)
            << run.errors;
        Write(breakage.file, original);
    }
}

// The few windows drawn off the common design carry it in an 'окно:' line.
TEST_F(BankCompilerTest, ReportsAWindowDesignThatCannotStand) {
    struct Breakage {
        const char* file;
        const char* record;
        std::string line;
        const char* message;
    };
    const std::vector<Breakage> breakages{
        {"theme-09.txt", "Tq914", "окно: 550 | 152 216 279 | 502 111",
         "[Tq914] 'окно:' must read height | top1 top2 top3 top4 | buttons-top start-left"},
        {"theme-09.txt", "Tq914", "окно: 550 152 216 279 343 502 111", "[Tq914] 'окно:' must read height |"},
        {"theme-09.txt", "Tq914", "окно: 552 | 152 216 279 343 | 502 111",
         "[Tq914] the window's height 552 is more than 551"},
        {"theme-12.txt", "Tq1214", "окно: 546 | 120 214 277 341 | 498 111",
         "[Tq1214] the first option's top 120 is above 121"},
        {"theme-12.txt", "Tq1214", "окно: 546 | 151 214 238 341 | 498 111",
         "[Tq1214] option 3 at top 238 overlaps option 2 above it"},
        {"theme-12.txt", "Tq1214", "окно: 546 | 151 214 277 341 | 365 111",
         "[Tq1214] the buttons at top 365 overlap option 4"},
        {"theme-12.txt", "Tq1214", "окно: 546 | 151 214 277 341 | 522 111",
         "[Tq1214] the buttons at top 522 reach below the window's 546 pixels"},
        {"theme-06.txt", "Tq68", "окно: 551 | 152 216 280 344 | 503 247",
         "[Tq68] the forward button at left 247 must stand within the window, left of the leave button at 469"},
        {"theme-06.txt", "Tq68", "окно: 551 | 152 216 280 344 | 503 -1", "[Tq68] the forward button at left -1"},
        {"theme-06.txt", "Tq68", "окно: 551 | 152 216 280 344 | 503 111",
         "[Tq68] the window is designed like every other: leave the 'окно:' line out"},
    };
    for (const Breakage& breakage : breakages) {
        SCOPED_TRACE(breakage.line);
        const std::vector<std::string> original = Lines(breakage.file);
        const int line = Replace(breakage.file, breakage.record, "окно", breakage.line);
        const CompilerRun run = Compile();
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.errors.find(Where(breakage.file, line) + breakage.message), std::string::npos) << run.errors;
        Write(breakage.file, original);
    }
}

// The case rule looks at the first word: abbreviations, letters, numbers
// and names in quotes keep their own form.
TEST_F(BankCompilerTest, LetsAbbreviationsAndNamesOpenAnOptionInTheirOwnCase) {
    Replace("theme-12.txt", "Tq1207", "3", "3: ПТРК «Конкурс»");
    Replace("theme-01.txt", "Tq18", "1", "1: Д");
    const CompilerRun run = Compile();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
}

TEST_F(BankCompilerTest, ReportsMissingQuestionsAndLayoutLines) {
    auto lines = Lines("theme-11.txt");
    const int lastRecord = LineOf("theme-11.txt", "Tq1108", "");
    lines.resize(static_cast<std::size_t>(lastRecord - 1));
    Write("theme-11.txt", lines);
    const int label = LineOf("theme-03.txt", "Tq34", "надпись");
    auto theme3 = Lines("theme-03.txt");
    theme3.erase(theme3.begin() + label - 1);
    Write("theme-03.txt", theme3);
    fs::remove(File("theme-06.txt"));

    const CompilerRun run = Compile();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("theme 11 needs 8 questions, the file has 7 (first missing: [Tq1108])"),
              std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find(Where("theme-03.txt", LineOf("theme-03.txt", "Tq34", "")) +
                              "[Tq34] has no 'надпись:' line (run kalvena-layout)"),
              std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find(File("theme-06.txt").string() + ": error: cannot open the file"), std::string::npos);
    EXPECT_FALSE(fs::exists("out.cpp")) << "nothing is written for a broken bank";
}

TEST_F(BankCompilerTest, ReportsAPictureWithAStrayColourOrMisplacedDrawing) {
    const fs::path tq517 = pictures_ / "Tq517.bmp";
    std::string bytes = testsupport::ReadFileBytes(tq517);
    const std::size_t topLeft = 54 + 445u * 1788u;  // rows are stored bottom-up
    bytes[topLeft + 1] = '\x80';                    // green of pixel (0, 0)
    std::ofstream(tq517, std::ios::binary | std::ios::trunc) << bytes;
    const fs::path tq520 = pictures_ / "Tq520.bmp";
    bytes = testsupport::ReadFileBytes(tq520);
    const std::size_t farPixel = 54 + (445u - 45u) * 1788u + 3u * 3u;  // pixel (3, 45), below the flag
    bytes[farPixel] = 0;                                               // red ink, stored blue, green, red
    bytes[farPixel + 1] = 0;
    bytes[farPixel + 2] = '\xFF';
    std::ofstream(tq520, std::ios::binary | std::ios::trunc) << bytes;

    const CompilerRun run = Compile();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("[Tq517] pixel (0, 0) has colour 255,128,255"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("[Tq520] the drawing lies at x 3–23, y 3–45, expected x 3–23, y 3–41"), std::string::npos)
        << run.errors;
}

}  // namespace
