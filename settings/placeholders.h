#pragma once

#include <string>
#include <string_view>

namespace settings {

// The names a folder setting may take in, so that every computer and every
// account can have its own files in one shared tree.
struct MachineNames {
    std::string host;  // %h
    std::string user;  // %u
};

// This computer's name and the name of the account the program runs as
// (its number when the account has no name).
MachineNames ThisMachine();

// The first placeholder in `pattern` other than %h, %u and %%, as written
// ("%x", or "%" at the very end); empty when there is none.
std::string UnknownPlaceholder(std::string_view pattern);

// `pattern` with its placeholders replaced; an unknown one stays as written.
std::string ExpandPlaceholders(std::string_view pattern, const MachineNames& names);

}  // namespace settings
