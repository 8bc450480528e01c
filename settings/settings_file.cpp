#include "settings/settings_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "settings/placeholders.h"

namespace settings {

namespace {

std::string_view Trim(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\f\v";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

}  // namespace

Settings ParseSettings(std::string_view text, std::string_view fileName, std::ostream& errors) {
    Settings settings;
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (line.empty() || line.front() == '#') continue;
        // The administrator is told where, once, and the test goes on.
        const auto report = [&](const std::string& problem) {
            errors << "Калвена: " << fileName << ':' << number << ": " << problem << ", строка не учтена\n";
        };
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            report("нет знака \"=\"");
            continue;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (key == "protected_results") {
            if (value == "yes" || value == "no") {
                settings.protectedResults = value == "yes";
            } else {
                report("значение protected_results должно быть yes или no");
            }
            continue;
        }
        if (key == "collector_socket") {
            if (value.starts_with('/')) {
                settings.collectorSocket = value;
            } else {
                report("collector_socket должен быть полным путем");
            }
            continue;
        }
        if (key != "results_folder") {
            report("неизвестный параметр \"" + std::string(key) + "\"");
            continue;
        }
        const std::string unknown = UnknownPlaceholder(value);
        if (!unknown.empty()) {
            report("неизвестная подстановка \"" + unknown + "\" (есть %h, %u и %%)");
            continue;
        }
        settings.resultsFolder = value;
    }
    return settings;
}

Settings ReadSettings(const std::filesystem::path& file, std::ostream& errors) {
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) errors << "Калвена: " << file.native() << ": " << std::strerror(errno) << '\n';
        return {};
    }
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0) text.append(buffer, static_cast<std::size_t>(got));
    }
    const int readError = errno;
    close(fd);
    if (got < 0) {
        errors << "Калвена: " << file.native() << ": " << std::strerror(readError) << '\n';
        return {};
    }
    return ParseSettings(text, file.native(), errors);
}

}  // namespace settings
