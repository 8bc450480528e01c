#include "viewer/core/memory/seen_check.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "tests/support/cp1251_oracle.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::Cp1251;

constexpr std::int64_t kFirstLook = 1796119200;   // 01.12.2026 10:00 UTC
constexpr std::int64_t kSecondLook = 1796211000;  // 02.12.2026 11:30 UTC

const std::string kA = Cp1251("Андреев А. А.\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n");
const std::string kB = Cp1251("Борисов Б. Б.\r\n102\r\nПравильных ответов 8 из 10\r\n\r\n");
const std::string kCHeader = Cp1251("Васильев В. В.\r\n103\r\n");  // test still running
const std::string kCResult = Cp1251("Правильных ответов 5 из 8\r\n\r\n");

class ChangeCheck : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    std::filesystem::path Log() const { return dir_.Path() / "Results.txt"; }
    void Write(const std::string& bytes, const std::filesystem::path& to) const {
        std::ofstream(to, std::ios::binary | std::ios::trunc) << bytes;
    }
    // "line: text" of every finding.
    std::vector<std::string> Check(std::int64_t now, const std::filesystem::path& file) const {
        std::vector<std::string> told;
        for (const viewer::Finding& finding : viewer::CheckAgainstMemory(file, dir_.Path() / "seen", now).findings) {
            told.push_back(std::to_string(finding.line) + ": " + finding.text);
        }
        return told;
    }
    std::vector<std::string> Check(std::int64_t now) const { return Check(now, Log()); }

    testsupport::TemporaryWorkingDirectory dir_;
};

using Told = std::vector<std::string>;

TEST_F(ChangeCheck, AppendsAreNormalAndKeepWhenEachEntryWasFirstSeen) {
    Write(kA + kCHeader, Log());
    EXPECT_EQ(Check(kFirstLook), Told{});
    Write(kA + kCHeader + kCResult + kB, Log());
    EXPECT_EQ(Check(kSecondLook), Told{}) << "the running test's result and a new entry appended";
    EXPECT_EQ(Check(kSecondLook + 60), Told{});

    Write(kA + kCHeader + Cp1251("Правильных ответов 8 из 8\r\n\r\n") +
              Cp1251("Борисов Б. Б.\r\n102\r\nПравильных ответов 9 из 10\r\n\r\n"),
          Log());
    EXPECT_EQ(
        Check(kSecondLook + 120),
        (Told{"5: запись изменена после 01.12.2026 10:00: была «Васильев В. В., 103, Правильных ответов 5 из 8»",
              "9: запись изменена после 02.12.2026 11:30: была «Борисов Б. Б., 102, Правильных ответов 8 из 10»"}));
    EXPECT_EQ(Check(kSecondLook + 180).size(), 2u) << "told again until the file is as it was";
}

TEST_F(ChangeCheck, EditRemovalReorderCutAndReplacementAreChanges) {
    const struct {
        const char* what;
        std::string bytes;
        Told told;
    } cases[] = {
        {"edit",
         kA + Cp1251("Борисов Б. Б.\r\n102\r\nПравильных ответов 9 из 10\r\n\r\n") + kCHeader,
         {"5: запись изменена после 01.12.2026 10:00: была «Борисов Б. Б., 102, Правильных ответов 8 из 10»"}},
        {"edit, then an entry appended",
         kA + Cp1251("Борисов Б. Б.\r\n102\r\nПравильных ответов 9 из 10\r\n\r\n") + kCHeader + kCResult +
             Cp1251("Григорьев Г. Г.\r\n104\r\n"),
         {"5: запись изменена после 01.12.2026 10:00: была «Борисов Б. Б., 102, Правильных ответов 8 из 10»"}},
        {"removal",
         kB + kCHeader,
         {"0: файл стал короче: было 121 байт, стало 71",
          "1: удалена запись, впервые прочитанная 01.12.2026 10:00: «Андреев А. А., 101, Правильных ответов 7 из 10»"}},
        {"reorder",
         kB + kA + kCHeader,
         {"1: запись перемещена, впервые прочитана 01.12.2026 10:00: «Борисов Б. Б., 102, Правильных ответов 8 из "
          "10»"}},
        {"cut",
         kA,
         {"0: файл стал короче: было 121 байт, стало 50",
          "5: удалена запись, впервые прочитанная 01.12.2026 10:00: «Борисов Б. Б., 102, Правильных ответов 8 из 10»",
          "9: удалена запись, впервые прочитанная 01.12.2026 10:00: «Васильев В. В., 103»"}},
    };
    for (const auto& change : cases) {
        std::filesystem::remove_all(dir_.Path() / "seen");
        Write(kA + kB + kCHeader, Log());
        ASSERT_EQ(Check(kFirstLook), Told{});
        Write(change.bytes, Log());
        EXPECT_EQ(Check(kSecondLook), change.told) << change.what;
    }

    // Another file put in its place under the same name.
    std::filesystem::remove_all(dir_.Path() / "seen");
    Write(kA + kB, Log());
    ASSERT_EQ(Check(kFirstLook), Told{});
    Write(kA + Cp1251("Борисов Б. Б.\r\n102\r\nПравильных ответов 10 из 10\r\n\r\n"), dir_.Path() / "other");
    std::filesystem::rename(dir_.Path() / "other", Log());
    EXPECT_EQ(
        Check(kSecondLook),
        (Told{"0: файл заменён другим, с иным содержимым",
              "5: запись изменена после 01.12.2026 10:00: была «Борисов Б. Б., 102, Правильных ответов 8 из 10»"}));
    // The same bytes copied over are no change.
    Write(kA + kB + kCHeader, dir_.Path() / "other");
    std::filesystem::rename(dir_.Path() / "other", Log());
    EXPECT_EQ(Check(kSecondLook), Told{});
}

TEST_F(ChangeCheck, AnswersRecordLinesAreEntries) {
    const std::filesystem::path record = dir_.Path() / "Results.answers.csv";
    const std::string start =
        "kalvena-answers-1,start,2026-12-01T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,"
        "Андреев А. А.,101,11\n";
    const std::string end =
        "kalvena-answers-1,end,2026-12-01T09:19:40+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,"
        "Андреев А. А.,101,11,finished,1,1,Tq1101,1,1,21\n";
    Write(start, record);
    ASSERT_EQ(Check(kFirstLook, record), Told{});
    Write(start + end, record);
    EXPECT_EQ(Check(kFirstLook, record), Told{});
    Write(start +
              "kalvena-answers-1,end,2026-12-01T09:19:40+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,"
              "Андреев А. А.,101,11,finished,1,1,Tq1101,2,1,21\n",
          record);
    EXPECT_EQ(Check(kSecondLook, record),
              (Told{"2: запись изменена после 01.12.2026 10:00: была «" + end.substr(0, end.size() - 1) + "»"}));
}

// Archived at the end of a term: gone, or a fresh log in its place, is no
// change from then on; before the mark it was.
TEST_F(ChangeCheck, AFileSaidToBeArchivedMayGoOrStartAfresh) {
    const std::filesystem::path seen = dir_.Path() / "seen";
    EXPECT_EQ(viewer::MarkArchived(Log(), seen, kFirstLook), "просмотрщик этот файл не читал: отмечать нечего");
    Write(kA + kB, Log());
    ASSERT_EQ(Check(kFirstLook), Told{});
    std::filesystem::rename(Log(), dir_.Path() / "term1.txt");
    ASSERT_EQ(Check(kSecondLook).size(), 1u);  // gone, not yet said to be archived
    ASSERT_EQ(viewer::MarkArchived(Log(), seen, kSecondLook), "");
    EXPECT_EQ(Check(kSecondLook), Told{});
    EXPECT_TRUE(viewer::CheckAgainstMemory(Log(), seen, kSecondLook).archived);

    // A new term's log is read as new, then guarded as any other.
    Write(kB, Log());
    EXPECT_EQ(Check(kSecondLook), Told{});
    Write(kA, Log());
    EXPECT_FALSE(Check(kSecondLook).empty());

    // Marked while still there: quiet as it is and once it is gone.
    Write(kB, Log());
    ASSERT_EQ(viewer::MarkArchived(Log(), seen, kSecondLook), "");
    EXPECT_EQ(Check(kSecondLook), Told{});
    std::filesystem::remove(Log());
    EXPECT_EQ(Check(kSecondLook), Told{});
}

// The memory quotes names and results: this account's alone, whatever the
// umask, and a folder found open to others is closed.
TEST_F(ChangeCheck, TheMemoryIsPrivate) {
    const auto modeOf = [](const std::filesystem::path& path) {
        return std::filesystem::status(path).permissions() & std::filesystem::perms::all;
    };
    using std::filesystem::perms;
    const std::filesystem::path seen = dir_.Path() / "data" / "kalvena-results" / "seen";
    const mode_t umaskBefore = ::umask(0);
    Write(kA, Log());
    ASSERT_EQ(viewer::CheckAgainstMemory(Log(), seen, kFirstLook).problem, "");
    const std::filesystem::path memory = viewer::SeenFilePath(seen, Log().string());
    EXPECT_EQ(modeOf(seen), perms::owner_all);
    EXPECT_EQ(modeOf(seen.parent_path()), perms::owner_all);
    EXPECT_EQ(modeOf(dir_.Path() / "data"), perms::owner_all);
    EXPECT_EQ(modeOf(memory), perms::owner_read | perms::owner_write);

    std::filesystem::permissions(seen.parent_path(), perms::all);
    std::filesystem::permissions(seen, perms::all);
    std::filesystem::permissions(memory, perms::all);
    ASSERT_EQ(viewer::KeepMemoryPrivate(seen), "");
    EXPECT_EQ(modeOf(seen.parent_path()), perms::owner_all);
    EXPECT_EQ(modeOf(seen), perms::owner_all);
    EXPECT_EQ(modeOf(memory), perms::owner_read | perms::owner_write);
    EXPECT_EQ(viewer::RememberedPaths(seen), std::vector<std::string>{Log().string()});
    ::umask(umaskBefore);
}

}  // namespace
