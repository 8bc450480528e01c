#pragma once

#include <filesystem>
#include <string_view>

namespace facts {

// The results log every program reads or writes: the test program appends
// to it, the collecting service too, and the viewer reads it.
inline constexpr std::string_view kResultsLogName = "Results.txt";

// The answers record beside a log takes the log's name with this in place
// of its extension.
inline constexpr std::string_view kAnswersRecordSuffix = ".answers.csv";

// The answers record's formats: the first column of each of its lines.
inline constexpr std::string_view kAnswersFormat = "kalvena-answers-1";
inline constexpr std::string_view kCollectedAnswersFormat = "kalvena-answers-2";
// What every format's name begins with, so a newer one is told from junk.
inline constexpr std::string_view kAnswersFormatFamily = "kalvena-answers-";

// The answers record of a log: "pc12/Results.txt" → "pc12/Results.answers.csv",
// "x.log" → "x.answers.csv".
std::filesystem::path AnswersRecordPath(std::filesystem::path log);

// The log an answers record belongs to, as the program names logs:
// "Results.answers.csv" → "Results.txt".
std::filesystem::path LogPathFor(const std::filesystem::path& record);

// Whether a file is an answers record, by its name.
bool IsAnswersRecord(const std::filesystem::path& path);

}  // namespace facts
