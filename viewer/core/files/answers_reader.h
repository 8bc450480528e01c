#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/core/files/log_reader.h"

namespace viewer {

// `Abandoned`: the collecting service saw the program vanish or a time
// limit pass.
enum class Ending { Finished, Stopped, ProgramEnd, Abandoned };

// One question as the student saw it.
struct GivenAnswer {
    std::int32_t question = 0;  // index into AnswersReader::QuestionNames()
    std::uint8_t chosen = 0;    // 1 … 4, 0 when none was chosen
    bool correct = false;
    std::int32_t seconds = 0;
};

// The start of a test attempt: the student chose a theme.
struct AttemptStart {
    std::int64_t line = 0;
    std::int64_t time = 0;  // seconds since the epoch, UTC
    std::uint64_t id = 0;   // the attempt, the same on its end line
    std::string fullName;
    std::string platoon;
    std::int32_t theme = 0;
    std::string account;  // the Unix account that made it; empty where none was recorded
};

// The end of a test attempt as the answers record tells it.
struct AttemptAnswers {
    std::int64_t line = 0;
    std::int64_t time = 0;  // seconds since the epoch, UTC: comparable across computers
    std::uint32_t bank = 0;
    std::uint64_t id = 0;
    std::string fullName;
    std::string platoon;
    std::int32_t theme = 0;
    Ending ending = Ending::Finished;
    std::int32_t right = 0;
    std::int32_t asked = 0;
    std::vector<GivenAnswer> answers;  // in the order shown
    std::string account;               // the Unix account that made it; empty where none was recorded
};

// Reads the answers record ("Results.answers.csv") piece by piece and
// never fails. Version 1 is what the program writes itself; version 2,
// what the collecting service writes, has the account that made the
// attempt in column 11 (version 1 lines with the account added last, as an
// older helper wrote them, are read too). A line it cannot take (torn,
// edited by hand, wrong field count, not a number, of a later version)
// becomes a remark with its line number and is skipped; the rest is read.
//
// The unterminated last line may still be being written: it is held until
// its line feed arrives and reported only as a pending remark meanwhile.
// No line longer than kLongestLine bytes is ever held whole.
class AnswersReader {
public:
    static constexpr std::size_t kLongestLine = 4096;

    void Feed(std::string_view bytes);

    const std::vector<AttemptStart>& Starts() const { return starts_; }
    const std::vector<AttemptAnswers>& Ends() const { return ends_; }
    const std::vector<std::string>& QuestionNames() const { return questionNames_; }
    // The remarks so far, the unterminated last line's among them.
    std::vector<Remark> Remarks() const;
    std::int64_t Lines() const { return lineNumber_; }

private:
    void ReadLine(std::string_view line);
    // Takes the account out of the fields, leaving version 1's layout.
    bool TakeAccount(bool second, std::string& account);
    bool ReadStart(const std::vector<std::string_view>& fields, AttemptStart& start, std::string& problem);
    bool ReadEnd(const std::vector<std::string_view>& fields, AttemptAnswers& end, std::string& problem);
    std::int32_t QuestionIndex(std::string_view name);
    void Note(std::string text) { remarks_.push_back({lineNumber_, std::move(text)}); }

    std::vector<AttemptStart> starts_;
    std::vector<AttemptAnswers> ends_;
    std::vector<Remark> remarks_;
    std::vector<std::string> questionNames_;
    // Names of up to 16 bytes, held as two words: no string is built or
    // hashed per answer.
    struct ShortName {
        std::uint64_t low = 0;
        std::uint64_t high = 0;
        bool operator==(const ShortName&) const = default;
    };
    // An open-addressed table of the names met, its size a power of two
    // and at most half full; an empty name marks a free place.
    struct NamePlace {
        ShortName name;
        std::int32_t index = -1;
    };
    std::vector<NamePlace> questionIndex_ = std::vector<NamePlace>(256);
    std::int64_t lineNumber_ = 0;
    std::string unterminated_;
    bool inLongLine_ = false;
    bool laterVersionTold_ = false;
    // Reused between lines.
    std::vector<std::string_view> fields_;
    std::string scratch_;
};

// Reads a whole answers record. Returns why it could not be read (Russian,
// UTF-8; kNoAnswersFile when there is none), or an empty string.
inline constexpr const char* kNoAnswersFile = "файл не найден";
std::string ReadAnswersFile(const std::filesystem::path& path, AnswersReader& reader);

}  // namespace viewer
