#include "collector/attempt_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "collector/protocol.h"
#include "engine/theme_table.h"
#include "log/append_file.h"

namespace collector {

namespace {

constexpr std::string_view kHeading = "kalvena-collector-attempt 1";

// Bytes as one field: backslash, controls and non-ASCII bytes as \xHH.
std::string Escaped(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x21 || byte >= 0x7F || c == '\\') {
            out += "\\x";
            out += "0123456789abcdef"[byte >> 4];
            out += "0123456789abcdef"[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 3 >= text.size()) return std::nullopt;
        if (text[i + 1] != 'x') return std::nullopt;
        const auto [end, error] = std::from_chars(text.data() + i + 2, text.data() + i + 4, value, 16);
        if (error != std::errc{} || end != text.data() + i + 4) return std::nullopt;
        out += static_cast<char>(value);
        i += 3;
    }
    return out;
}

template <typename Number>
bool ToNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (;;) {
        const std::size_t space = line.find(' ');
        words.push_back(line.substr(0, space));
        if (space == std::string_view::npos) return words;
        line.remove_prefix(space + 1);
    }
}

bool ReadAll(const std::filesystem::path& path, std::string& text) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    char buffer[8192];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0) text.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return got == 0;
}

}  // namespace

std::string AttemptText(const Attempt& a) {
    std::string t(kHeading);
    t += '\n';
    const auto add = [&t](std::string_view key, const std::string& value) {
        t += key;
        t += ' ';
        t += value;
        t += '\n';
    };
    add("id", AttemptIdText(a.fields.attempt));
    add("uid", std::to_string(a.uid));
    add("account", Escaped(a.account));
    add("computer", Escaped(a.fields.computer));
    add("version", Escaped(a.fields.version));
    add("bank", std::to_string(a.fields.bank));
    add("name", Escaped(a.fields.name));
    add("platoon", Escaped(a.fields.platoon));
    add("theme", std::to_string(a.fields.theme));
    add("log", Escaped(a.logPath));
    add("last", std::to_string(a.lastEventMs));
    add("ended", a.ended ? std::to_string(static_cast<int>(a.ending)) : "-");
    for (std::size_t i = 0; i < a.shown.size(); ++i) {
        const auto& q = a.shown[i];
        add("q", std::to_string(a.numbers[i]) + ' ' + Escaped(q.question) + ' ' + std::to_string(q.chosen) + ' ' +
                     (q.correct ? "1" : "0") + ' ' + std::to_string(q.seconds));
    }
    for (const PendingWrite& w : a.writes) {
        add("write",
            std::to_string(w.offset) + ' ' + (w.done ? "1" : "0") + ' ' + Escaped(w.path) + ' ' + Escaped(w.bytes));
    }
    t += "whole\n";
    return t;
}

std::optional<Attempt> ParseAttemptText(std::string_view text) {
    Attempt a;
    bool first = true;
    bool whole = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line != kHeading) return std::nullopt;
            first = false;
            continue;
        }
        if (whole) return std::nullopt;
        const std::vector<std::string_view> w = Words(line);
        const std::string_view key = w[0];
        bool ok = true;
        const auto text1 = [&](std::string& out) {
            auto value = w.size() == 2 ? Unescaped(w[1]) : std::nullopt;
            ok = value.has_value();
            if (ok) out = std::move(*value);
        };
        if (key == "whole") {
            whole = w.size() == 1;
        } else if (key == "id") {
            ok = w.size() == 2 && ParseAttemptId(w[1], a.fields.attempt);
        } else if (key == "uid") {
            ok = w.size() == 2 && ToNumber(w[1], a.uid);
        } else if (key == "account") {
            text1(a.account);
        } else if (key == "computer") {
            text1(a.fields.computer);
        } else if (key == "version") {
            text1(a.fields.version);
        } else if (key == "bank") {
            ok = w.size() == 2 && ToNumber(w[1], a.fields.bank);
        } else if (key == "name") {
            text1(a.fields.name);
        } else if (key == "platoon") {
            text1(a.fields.platoon);
        } else if (key == "theme") {
            ok = w.size() == 2 && ToNumber(w[1], a.fields.theme) && a.fields.theme >= 0 &&
                 a.fields.theme <= engine::kThemeCount;
        } else if (key == "log") {
            text1(a.logPath);
        } else if (key == "last") {
            ok = w.size() == 2 && ToNumber(w[1], a.lastEventMs);
        } else if (key == "ended") {
            int ending = 0;
            a.ended = w.size() == 2 && w[1] != "-";
            ok = w.size() == 2 && (!a.ended || (ToNumber(w[1], ending) && ending >= 0 && ending <= 3));
            a.ending = static_cast<resultslog::Ending>(ending);
        } else if (key == "q") {
            resultslog::ShownQuestion q;
            std::int32_t number = 0;
            int correct = 0;
            auto name = w.size() == 6 ? Unescaped(w[2]) : std::nullopt;
            ok = name && ToNumber(w[1], number) && ToNumber(w[3], q.chosen) && ToNumber(w[4], correct) &&
                 ToNumber(w[5], q.seconds);
            if (ok) {
                q.question = std::move(*name);
                q.correct = correct == 1;
                a.numbers.push_back(number);
                a.shown.push_back(std::move(q));
            }
        } else if (key == "write") {
            PendingWrite pw;
            int done = 0;
            auto path = w.size() == 5 ? Unescaped(w[3]) : std::nullopt;
            auto bytes = w.size() == 5 ? Unescaped(w[4]) : std::nullopt;
            ok = path && bytes && ToNumber(w[1], pw.offset) && ToNumber(w[2], done);
            if (ok) {
                pw.done = done == 1;
                pw.path = std::move(*path);
                pw.bytes = std::move(*bytes);
                a.writes.push_back(std::move(pw));
            }
        } else {
            ok = false;
        }
        if (!ok) return std::nullopt;
    }
    if (!whole || a.fields.attempt == 0) return std::nullopt;
    return a;
}

AttemptStore::AttemptStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path AttemptStore::PathOf(std::uint64_t attempt) const {
    return folder_ / (AttemptIdText(attempt) + ".attempt");
}

bool AttemptStore::Save(const Attempt& attempt) const {
    const std::filesystem::path path = PathOf(attempt.fields.attempt);
    std::filesystem::path temporary = path;
    temporary += ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    const bool written = resultslog::WriteAll(fd, AttemptText(attempt)) && fsync(fd) == 0;
    close(fd);
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    // The rename itself must survive a crash.
    resultslog::SyncFolderOf(path);
    return true;
}

void AttemptStore::Remove(std::uint64_t attempt) const {
    unlink(PathOf(attempt).c_str());
    resultslog::SyncFolderOf(PathOf(attempt));
}

std::vector<Attempt> AttemptStore::LoadAll() const {
    std::vector<Attempt> attempts;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        if (entry.path().extension() != ".attempt") continue;
        std::string text;
        std::optional<Attempt> attempt;
        if (ReadAll(entry.path(), text)) attempt = ParseAttemptText(text);
        if (!attempt) {
            std::fprintf(stderr, "kalvena-collector: %s cannot be read, left as it is\n", entry.path().c_str());
            continue;
        }
        attempts.push_back(std::move(*attempt));
    }
    return attempts;
}

}  // namespace collector
