#include "settings/placeholders.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>

namespace settings {

MachineNames ThisMachine() {
    MachineNames names;
    char host[HOST_NAME_MAX + 1] = {};
    if (gethostname(host, sizeof host - 1) == 0) names.host = host;
    // The real uid: the account of the student who started the program.
    const uid_t uid = getuid();
    const passwd* account = getpwuid(uid);
    names.user = account != nullptr ? account->pw_name : std::to_string(uid);
    return names;
}

std::string UnknownPlaceholder(std::string_view pattern) {
    for (std::size_t at = pattern.find('%'); at != std::string_view::npos; at = pattern.find('%', at + 2)) {
        if (at + 1 == pattern.size()) return "%";
        const char name = pattern[at + 1];
        if (name == 'h' || name == 'u' || name == '%') continue;
        // The whole character, when it takes more than one byte of UTF-8.
        std::size_t end = at + 2;
        while (end < pattern.size() && (static_cast<unsigned char>(pattern[end]) & 0xC0) == 0x80) ++end;
        return std::string(pattern.substr(at, end - at));
    }
    return {};
}

std::string ExpandPlaceholders(std::string_view pattern, const MachineNames& names) {
    std::string result;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char c = pattern[at];
        if (c != '%' || at + 1 == pattern.size()) {
            result += c;
            continue;
        }
        switch (pattern[++at]) {
            case 'h': result += names.host; break;
            case 'u': result += names.user; break;
            case '%': result += '%'; break;
            default: result.append(pattern.substr(at - 1, 2));
        }
    }
    return result;
}

}  // namespace settings
