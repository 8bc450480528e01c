#include "viewer/core/files/answers_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "facts/results_files.h"
#include "log/csv_line.h"
#include "viewer/core/files/error_text.h"

namespace viewer {

namespace {

constexpr std::string_view kFormat = facts::kAnswersFormat;
constexpr std::string_view kServiceFormat = facts::kCollectedAnswersFormat;
constexpr std::string_view kFormatFamily = facts::kAnswersFormatFamily;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kStartFields = 10;
constexpr std::size_t kEndFields = 13;     // before the questions, four fields each
constexpr std::size_t kAccountField = 10;  // of version 2
constexpr std::size_t kLongestAccount = 256;
constexpr std::int32_t kMostQuestions = 100;
constexpr std::int32_t kLongestSeconds = 7 * 24 * 3600;
constexpr std::size_t kQuotedBytes = 60;

// Digits only: no sign, no spaces, at most 18 of them (no overflow).
bool ParseInt(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t& value) {
    if (text.empty() || text.size() > 18) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high;
}

bool IsLowerHex(std::string_view text, std::size_t digits) {
    return text.size() == digits && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar
// (H. Hinnant's days_from_civil).
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// "2026-12-08T09:15:02+03:00" (or "…Z") as seconds since the epoch, UTC.
bool ParseTime(std::string_view text, std::int64_t& seconds) {
    if (text.size() != 25 && text.size() != 20) return false;
    std::int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':') return false;
    if (!ParseInt(text.substr(0, 4), 1970, 9999, year) || !ParseInt(text.substr(5, 2), 1, 12, month) ||
        !ParseInt(text.substr(8, 2), 1, 31, day) || !ParseInt(text.substr(11, 2), 0, 23, hour) ||
        !ParseInt(text.substr(14, 2), 0, 59, minute) || !ParseInt(text.substr(17, 2), 0, 60, second)) {
        return false;
    }
    std::int64_t offset = 0;
    if (text.size() == 20) {
        if (text[19] != 'Z') return false;
    } else {
        std::int64_t offsetHours = 0, offsetMinutes = 0;
        const char sign = text[19];
        if ((sign != '+' && sign != '-') || text[22] != ':' || !ParseInt(text.substr(20, 2), 0, 23, offsetHours) ||
            !ParseInt(text.substr(23, 2), 0, 59, offsetMinutes)) {
            return false;
        }
        offset = (sign == '-' ? -1 : 1) * (offsetHours * 3600 + offsetMinutes * 60);
    }
    seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second - offset;
    return true;
}

bool ParseEnding(std::string_view text, Ending& ending) {
    if (text == "finished") {
        ending = Ending::Finished;
    } else if (text == "stopped") {
        ending = Ending::Stopped;
    } else if (text == "program-end") {
        ending = Ending::ProgramEnd;
    } else if (text == "abandoned") {
        ending = Ending::Abandoned;
    } else {
        return false;
    }
    return true;
}

// Printable UTF-8: no control characters, no byte of another encoding.
bool IsUtf8Text(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            ++i;
            continue;
        }
        std::size_t length = 1;
        if (byte < 0x20 || byte == 0x7F) return false;
        if (byte >= 0x80) {
            length = byte >= 0xF0 && byte <= 0xF4 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
            if (length < 2 || byte >= 0xF8 || i + length > text.size()) return false;
            for (std::size_t j = 1; j < length; ++j) {
                if ((static_cast<unsigned char>(text[i + j]) & 0xC0) != 0x80) return false;
            }
        }
        i += length;
    }
    return true;
}

// Enough of a skipped line to find it, printable and whole characters only.
std::string QuotedBeginning(std::string_view line) {
    std::string text;
    for (std::size_t i = 0; i < line.size() && text.size() < kQuotedBytes;) {
        std::size_t length = 1;
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte >= 0x80) length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        const std::string_view piece = line.substr(i, length);
        text += IsUtf8Text(piece) ? std::string(piece) : "?";
        i += IsUtf8Text(piece) ? length : 1;
    }
    return "«" + text + (text.size() < line.size() ? "…»" : "»");
}

}  // namespace

std::vector<Remark> AnswersReader::Remarks() const {
    std::vector<Remark> remarks = remarks_;
    if (!unterminated_.empty()) {
        remarks.push_back({lineNumber_ + 1, "последняя строка не закончена (обрыв записи или запись ещё идёт): " +
                                                QuotedBeginning(unterminated_)});
    }
    return remarks;
}

void AnswersReader::Feed(std::string_view bytes) {
    if (inLongLine_) {
        const auto end = bytes.find('\n');
        if (end == std::string_view::npos) return;
        inLongLine_ = false;
        bytes.remove_prefix(end + 1);
    }
    std::size_t start = 0;
    if (!unterminated_.empty()) {
        const auto end = bytes.find('\n');
        const std::size_t take = end == std::string_view::npos ? bytes.size() : end;
        unterminated_.append(bytes.substr(0, std::min(take, kLongestLine + 1 - unterminated_.size())));
        if (end == std::string_view::npos) {
            start = bytes.size();
        } else {
            ReadLine(unterminated_);
            unterminated_.clear();
            start = end + 1;
        }
    }
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1) {
        ReadLine(bytes.substr(start, end - start));
    }
    if (start < bytes.size()) {
        unterminated_.append(bytes.substr(start, std::min(bytes.size() - start, kLongestLine + 1)));
    }
    if (unterminated_.size() > kLongestLine) {
        // Told now; the rest of it is dropped as it arrives.
        ReadLine(unterminated_);
        unterminated_.clear();
        inLongLine_ = true;
    }
}

void AnswersReader::ReadLine(std::string_view line) {
    ++lineNumber_;
    if (line.size() > kLongestLine) {
        Note("строка длиннее " + std::to_string(kLongestLine) + " байт пропущена: " + QuotedBeginning(line));
        return;
    }
    if (lineNumber_ == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return;  // an editor's blank line holds nothing to lose

    const auto isFormat = [&](std::string_view format) {
        return line.starts_with(format) && (line.size() == format.size() || line[format.size()] == ',');
    };
    const bool second = isFormat(kServiceFormat);
    if (!second && !isFormat(kFormat)) {
        if (line.starts_with(kFormatFamily)) {
            // A later program's record: its lines are not ours to read, one remark says so.
            if (!laterVersionTold_) {
                laterVersionTold_ = true;
                Note("строки другой версии записи ответов пропускаются (их записала более новая программа): " +
                     QuotedBeginning(line.substr(0, line.find(','))));
            }
            return;
        }
        Note("строка не из записи ответов пропущена: " + QuotedBeginning(line));
        return;
    }
    if (!resultslog::SplitCsvLine(line, fields_, scratch_)) {
        Note("строка с незакрытыми кавычками пропущена: " + QuotedBeginning(line));
        return;
    }
    std::string account;
    if (!TakeAccount(second, account)) {
        Note("строка без учетной записи или с неверной учетной записью пропущена: " + QuotedBeginning(line));
        return;
    }
    const std::string_view event = fields_.size() > 1 ? fields_[1] : std::string_view();
    if (event == "start" && fields_.size() != kStartFields) {
        Note("в строке начала теста " + std::to_string(fields_.size()) + " полей вместо " +
             std::to_string(kStartFields) + ", пропущена");
        return;
    }
    if (event != "start" && (event != "end" || fields_.size() < kEndFields)) {
        Note(event != "end" ? "строка с неизвестным событием пропущена: " + QuotedBeginning(line)
                            : "строка конца теста пропущена: неверное число полей: " + std::to_string(fields_.size()));
        return;
    }
    // Numbers and names of questions are checked as they are read; the
    // free texts here.
    for (const std::size_t text : {3, 4, 7, 8}) {
        if (!IsUtf8Text(fields_[text])) {
            Note("строка с непечатаемыми символами или не в UTF-8 пропущена: " + QuotedBeginning(line));
            return;
        }
    }
    if (event == "start") {
        AttemptStart start;
        std::string problem;
        if (!ReadStart(fields_, start, problem)) {
            Note("строка начала теста пропущена: " + problem);
            return;
        }
        start.line = lineNumber_;
        start.account = std::move(account);
        starts_.push_back(std::move(start));
        return;
    }
    AttemptAnswers end;
    std::string problem;
    if (!ReadEnd(fields_, end, problem)) {
        Note("строка конца теста пропущена: " + problem);
        return;
    }
    end.line = lineNumber_;
    end.account = std::move(account);
    ends_.push_back(std::move(end));
}

bool AnswersReader::TakeAccount(bool second, std::string& account) {
    std::size_t at = fields_.size();
    if (second) {
        if (fields_.size() <= kAccountField) return false;
        at = kAccountField;
    } else if (fields_.size() > 1 &&
               ((fields_[1] == "start" && fields_.size() == kStartFields + 1) ||
                (fields_[1] == "end" && fields_.size() > kEndFields && (fields_.size() - kEndFields) % 4 == 1))) {
        at = fields_.size() - 1;
    }
    if (at == fields_.size()) return true;
    const std::string_view text = fields_[at];
    if (text.empty() || text.size() > kLongestAccount || !IsUtf8Text(text) || text.find(' ') != text.npos) return false;
    account.assign(text);
    fields_.erase(fields_.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

namespace {

// The fields every event shares; the problem with them, or an empty text.
std::string CheckCommonFields(const std::vector<std::string_view>& f, std::int64_t& time, std::int64_t& theme) {
    if (!ParseTime(f[2], time)) return "неверное время " + QuotedBeginning(f[2]);
    if (!IsLowerHex(f[5], 8)) return "неверный отпечаток банка вопросов " + QuotedBeginning(f[5]);
    if (!IsLowerHex(f[6], 16)) return "неверный номер попытки " + QuotedBeginning(f[6]);
    if (f[7].empty()) return "пустое ФИО";
    if (!ParseInt(f[9], 1, 13, theme)) return "неверный номер темы " + QuotedBeginning(f[9]);
    return {};
}

std::uint64_t ParseHex(std::string_view text) {
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return value;
}

}  // namespace

bool AnswersReader::ReadStart(const std::vector<std::string_view>& f, AttemptStart& start, std::string& problem) {
    std::int64_t theme = 0;
    problem = CheckCommonFields(f, start.time, theme);
    if (!problem.empty()) return false;
    start.id = ParseHex(f[6]);
    start.fullName.assign(f[7]);
    start.platoon.assign(f[8]);
    start.theme = static_cast<std::int32_t>(theme);
    return true;
}

bool AnswersReader::ReadEnd(const std::vector<std::string_view>& f, AttemptAnswers& end, std::string& problem) {
    if (f.size() < kEndFields || (f.size() - kEndFields) % 4 != 0) {
        problem = "неверное число полей: " + std::to_string(f.size());
        return false;
    }
    std::int64_t theme = 0, right = 0, asked = 0;
    problem = CheckCommonFields(f, end.time, theme);
    if (!problem.empty()) return false;
    if (!ParseEnding(f[10], end.ending)) {
        problem = "неизвестный исход теста " + QuotedBeginning(f[10]);
    } else if (!ParseInt(f[12], 1, kMostQuestions, asked) || !ParseInt(f[11], 0, asked, right)) {
        problem = "неверное число вопросов или верных ответов";
    }
    if (!problem.empty()) return false;
    const std::size_t shown = (f.size() - kEndFields) / 4;
    if (shown > static_cast<std::size_t>(asked) ||
        (end.ending == Ending::Finished && shown != static_cast<std::size_t>(asked))) {
        problem = "вопросов " + std::to_string(shown) + " при " + std::to_string(asked) + " задаваемых";
        return false;
    }
    end.bank = static_cast<std::uint32_t>(ParseHex(f[5]));
    end.id = ParseHex(f[6]);
    end.fullName.assign(f[7]);
    end.platoon.assign(f[8]);
    end.theme = static_cast<std::int32_t>(theme);
    end.right = static_cast<std::int32_t>(right);
    end.asked = static_cast<std::int32_t>(asked);
    end.answers.resize(shown);
    std::int64_t rightShown = 0;
    for (std::size_t q = 0; q < shown; ++q) {
        const std::string_view name = f[kEndFields + 4 * q];
        std::int64_t chosen = 0, correct = 0, seconds = 0;
        const std::string_view chosenText = f[kEndFields + 4 * q + 1];
        if (name.empty() || name.size() > 16 || !IsUtf8Text(name) ||
            (!chosenText.empty() && !ParseInt(chosenText, 1, 4, chosen)) ||
            !ParseInt(f[kEndFields + 4 * q + 2], 0, 1, correct) ||
            !ParseInt(f[kEndFields + 4 * q + 3], 0, kLongestSeconds, seconds) || (correct == 1 && chosen == 0)) {
            problem = "неверные поля вопроса " + std::to_string(q + 1);
            return false;
        }
        GivenAnswer& answer = end.answers[q];
        answer.question = QuestionIndex(name);
        for (std::size_t earlier = 0; earlier < q; ++earlier) {
            if (end.answers[earlier].question == answer.question) {
                problem = "вопрос " + QuotedBeginning(name) + " задан дважды";
                return false;
            }
        }
        answer.chosen = static_cast<std::uint8_t>(chosen);
        answer.correct = correct == 1;
        answer.seconds = static_cast<std::int32_t>(seconds);
        rightShown += correct;
    }
    // A finished test's count must be its answers'; an unfinished one may
    // have counted the question on screen differently.
    if (end.ending == Ending::Finished && rightShown != right) {
        problem = "верных ответов " + std::to_string(right) + ", а отмечено " + std::to_string(rightShown);
        return false;
    }
    return true;
}

std::int32_t AnswersReader::QuestionIndex(std::string_view name) {
    // Checked before: 1 … 16 bytes, none of them zero.
    ShortName key;
    std::memcpy(&key.low, name.data(), std::min<std::size_t>(name.size(), 8));
    if (name.size() > 8) std::memcpy(&key.high, name.data() + 8, name.size() - 8);
    auto placeOf = [](const std::vector<NamePlace>& table, const ShortName& name) {
        const std::size_t mask = table.size() - 1;
        std::size_t place =
            static_cast<std::size_t>((name.low ^ (name.high * 31)) * 0x9E3779B97F4A7C15ull >> 32) & mask;
        while (table[place].index >= 0 && !(table[place].name == name)) place = (place + 1) & mask;
        return place;
    };
    std::size_t place = placeOf(questionIndex_, key);
    if (questionIndex_[place].index >= 0) return questionIndex_[place].index;
    const auto index = static_cast<std::int32_t>(questionNames_.size());
    questionNames_.emplace_back(name);
    questionIndex_[place] = {key, index};
    if (2 * questionNames_.size() > questionIndex_.size()) {
        std::vector<NamePlace> larger(2 * questionIndex_.size());
        for (const NamePlace& known : questionIndex_) {
            if (known.index >= 0) larger[placeOf(larger, known.name)] = known;
        }
        questionIndex_ = std::move(larger);
    }
    return index;
}

std::string ReadAnswersFile(const std::filesystem::path& path, AnswersReader& reader) {
    // O_NONBLOCK: a FIFO given by mistake must not hang.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT ? kNoAnswersFile : SystemErrorText(errno);
    struct stat info {};
    std::string problem;
    if (::fstat(fd, &info) != 0) {
        problem = SystemErrorText(errno);
    } else if (!S_ISREG(info.st_mode)) {
        problem = "это не обычный файл";
    }
    std::vector<char> buffer(problem.empty() ? 1 << 20 : 0);
    while (problem.empty()) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) problem = SystemErrorText(errno);
        if (got <= 0) break;
        reader.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
    ::close(fd);
    return problem;
}

}  // namespace viewer
