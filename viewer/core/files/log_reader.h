#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

// One registration found in a results log, with its result when the test
// was finished. Texts are UTF-8, exactly as written (spaces kept).
struct Attempt {
    std::string fullName;
    std::string platoon;
    std::int32_t rightCount = 0;
    std::int32_t questionCount = 0;  // 0 while the attempt has no result line
    std::int64_t line = 0;           // line of the full name, counted from 1

    bool Finished() const { return questionCount > 0; }
};

// A line the reader could not place, with what was wrong (Russian, UTF-8).
struct Remark {
    std::int64_t line = 0;
    std::string text;
};

// Reads a results log as it grows, piece by piece, and never fails: every
// line it cannot place becomes a remark and the rest still loads.
//
// Accepts what the test program writes (Windows-1251, CR LF) and what an
// editor makes of it (UTF-8 with or without a byte-order mark, LF only,
// blank lines); the encoding is decided per line, so a UTF-8 file that the
// test program went on appending to still reads right. An unterminated
// last line is read as it stands and read again once its end arrives.
//
// A line longer than kLongestLine bytes is no name, platoon or result: it
// becomes one remark quoting its beginning and is skipped, and no more
// than kLongestLine bytes of it are ever held, however long it grows.
class LogReader {
public:
    static constexpr std::size_t kLongestLine = 4096;

    // Takes the next bytes of the file. Returns the index of the first
    // attempt that was added, changed or removed by them; Attempts().size()
    // when none was.
    std::size_t Feed(std::string_view bytes);

    // None from a file that does not look like a results log: its "students"
    // would be made up of whatever text it holds.
    const std::vector<Attempt>& Attempts() const;
    const std::vector<Remark>& Remarks() const { return remarks_; }
    // Why the bytes read so far are no results log (Russian, UTF-8); empty
    // while they may be one. They are not when no line is a result and some
    // line cannot be in a results log at all: non-printable characters, or
    // longer than the test program lets a name or a platoon be.
    std::string NotResultsReason() const;
    // What the viewer tells of such a file.
    static std::string NotResultsMessage(const std::string& file, const std::string& reason) {
        return "Файл «" + file + "» не похож на файл результатов: " + reason;
    }
    std::uint64_t BytesFed() const { return bytesFed_; }

private:
    enum class Expect { Name, Platoon, Result, Separator };
    struct State {
        Expect expect = Expect::Name;
        std::string pendingName;
        std::int64_t pendingNameLine = 0;
        std::int64_t lineNumber = 0;
        std::int64_t resultLines = 0;   // parsed or not
        std::int64_t foreignLines = 0;  // such as no results log holds
    };

    void ReadLine(std::string_view raw);
    void TakeText(const std::string& text);
    void TakeResult(std::int32_t right, std::int32_t questions, const std::string& text);
    void Note(std::string text);
    void NoteNameWithoutPlatoon();
    void SkipLongLine(std::string_view beginning);
    void RollBackUnterminated();
    void Commit();

    std::vector<Attempt> attempts_;
    std::vector<Remark> remarks_;
    State state_;
    std::string unterminated_;  // bytes after the last line feed
    bool inLongLine_ = false;   // skipping to the end of a too long line
    std::uint64_t bytesFed_ = 0;
    std::string decoded_;  // the current line as UTF-8, reused between lines

    // What complete lines gave, before the unterminated line was read.
    State committedState_;
    std::size_t committedAttempts_ = 0;
    std::size_t committedRemarks_ = 0;
    Attempt committedLast_;
    bool provisional_ = false;
    std::size_t firstChanged_ = 0;
};

}  // namespace viewer
