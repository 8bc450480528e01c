#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/temp_dir.h"

namespace {

using settings::ParseSettings;
using settings::ReadSettings;
using settings::Settings;

struct Parsed {
    Settings settings;
    std::string errors;
};

Parsed Parse(std::string_view text) {
    std::ostringstream errors;
    Settings settings = ParseSettings(text, "/etc/kalvena/kalvena.conf", errors);
    return {settings, errors.str()};
}

TEST(SettingsFile, TheResultsFolderIsReadWithSpacesAroundTrimmed) {
    const Parsed parsed = Parse("results_folder = /srv/kalvena/%h\n");
    EXPECT_EQ(parsed.settings.resultsFolder, "/srv/kalvena/%h");
    EXPECT_EQ(parsed.errors, "");
    EXPECT_EQ(Parse("  results_folder=/srv/a b/%u  \t\r\n").settings.resultsFolder, "/srv/a b/%u");
    EXPECT_EQ(Parse("results_folder = /srv/kalvena").settings.resultsFolder, "/srv/kalvena")
        << "a last line without its line end";
}

TEST(SettingsFile, CommentsAndBlankLinesAreSkipped) {
    const Parsed parsed = Parse(
        "# Kalvena's settings\n"
        "\n"
        "   # results_folder = /srv/commented\n"
        "  \t\n"
        "results_folder = /srv/#1\n");
    EXPECT_EQ(parsed.settings.resultsFolder, "/srv/#1") << "a '#' within a value is part of it";
    EXPECT_EQ(parsed.errors, "");
}

TEST(SettingsFile, NothingSetGivesTheWorkingFolder) {
    EXPECT_EQ(Parse("").settings.resultsFolder, "");
    EXPECT_EQ(Parse("# results_folder = /srv/kalvena/%h\n").settings.resultsFolder, "");
    EXPECT_EQ(Parse("results_folder =\n").settings.resultsFolder, "");
}

TEST(SettingsFile, TheLaterOfTwoLinesCounts) {
    EXPECT_EQ(Parse("results_folder = /srv/a\nresults_folder = /srv/b\n").settings.resultsFolder, "/srv/b");
}

TEST(SettingsFile, ProtectedResultsAreOnlyByAnExplicitYes) {
    EXPECT_FALSE(Parse("").settings.protectedResults);
    EXPECT_TRUE(Parse("protected_results = yes\n").settings.protectedResults);
    EXPECT_FALSE(Parse("protected_results = yes\nprotected_results = no\n").settings.protectedResults);
    const Parsed parsed = Parse("protected_results = Yes\n");
    EXPECT_FALSE(parsed.settings.protectedResults);
    EXPECT_EQ(parsed.errors,
              "Калвена: /etc/kalvena/kalvena.conf:1: значение protected_results должно быть yes или no, строка не "
              "учтена\n");
}

TEST(SettingsFile, TheCollectorSocketIsAFullPath) {
    EXPECT_EQ(Parse("").settings.collectorSocket, "/run/kalvena/collector.sock");
    EXPECT_EQ(Parse("collector_socket = /tmp/c.sock\n").settings.collectorSocket, "/tmp/c.sock");
    const Parsed relative = Parse("collector_socket = c.sock\n");
    EXPECT_EQ(relative.settings.collectorSocket, "/run/kalvena/collector.sock");
    EXPECT_NE(relative.errors.find("collector_socket"), std::string::npos);
}

TEST(SettingsFile, MalformedLinesAreReportedOnceWithTheirNumbersAndIgnored) {
    const Parsed parsed = Parse(
        "# settings\n"
        "results_folder /srv/kalvena\n"
        "results_folder = /srv/kalvena/%h\n"
        "results_dir = /srv/other\n"
        "\n"
        "results_folder = /srv/%x\n"
        "results_folder = /srv/kalvena/%\n"
        "results_folder = /srv/%ж\n"
        "= /srv/nokey\n");
    EXPECT_EQ(parsed.settings.resultsFolder, "/srv/kalvena/%h");
    EXPECT_EQ(parsed.errors,
              "Калвена: /etc/kalvena/kalvena.conf:2: нет знака \"=\", строка не учтена\n"
              "Калвена: /etc/kalvena/kalvena.conf:4: неизвестный параметр \"results_dir\", строка не учтена\n"
              "Калвена: /etc/kalvena/kalvena.conf:6: неизвестная подстановка \"%x\" (есть %h, %u и %%), строка не "
              "учтена\n"
              "Калвена: /etc/kalvena/kalvena.conf:7: неизвестная подстановка \"%\" (есть %h, %u и %%), строка не "
              "учтена\n"
              "Калвена: /etc/kalvena/kalvena.conf:8: неизвестная подстановка \"%ж\" (есть %h, %u и %%), строка не "
              "учтена\n"
              "Калвена: /etc/kalvena/kalvena.conf:9: неизвестный параметр \"\", строка не учтена\n");
}

TEST(SettingsFile, LineNumbersCountWindowsLineEnds) {
    EXPECT_EQ(Parse("# one\r\n\r\nbad\r\n").errors,
              "Калвена: /etc/kalvena/kalvena.conf:3: нет знака \"=\", строка не учтена\n");
}

TEST(SettingsFile, AMissingFileGivesTheDefaultsSilently) {
    testsupport::TemporaryWorkingDirectory dir;
    std::ostringstream errors;
    EXPECT_EQ(ReadSettings(dir.Path() / "kalvena.conf", errors).resultsFolder, "");
    EXPECT_EQ(errors.str(), "");
}

TEST(SettingsFile, AFileIsReadWithItsNameInTheReports) {
    testsupport::TemporaryWorkingDirectory dir;
    std::ofstream("kalvena.conf") << "results_folder = /srv/kalvena/%h/%u\nfolder = x\n";
    std::ostringstream errors;
    EXPECT_EQ(ReadSettings("kalvena.conf", errors).resultsFolder, "/srv/kalvena/%h/%u");
    EXPECT_EQ(errors.str(), "Калвена: kalvena.conf:2: неизвестный параметр \"folder\", строка не учтена\n");
}

TEST(SettingsFile, AFolderInTheFilesPlaceGivesTheDefaultsAndAReport) {
    testsupport::TemporaryWorkingDirectory dir;
    std::filesystem::create_directory("kalvena.conf");
    std::ostringstream errors;
    EXPECT_EQ(ReadSettings("kalvena.conf", errors).resultsFolder, "");
    EXPECT_EQ(errors.str(), "Калвена: kalvena.conf: Is a directory\n");
}

}  // namespace
