#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collector/attempt.h"

namespace collector {

// The text of an attempt's state file, and back; nullopt for a file that is
// not whole.
std::string AttemptText(const Attempt& attempt);
std::optional<Attempt> ParseAttemptText(std::string_view text);

// Each open attempt, and each ended one whose writes are not all done, has
// a file in the state folder, replaced whole (written, synced, renamed) at
// each accepted event, so a kill of the service loses nothing it answered.
class AttemptStore {
public:
    explicit AttemptStore(std::filesystem::path folder);

    bool Save(const Attempt& attempt) const;
    void Remove(std::uint64_t attempt) const;
    // Every attempt kept; a file that cannot be read is reported on standard
    // error and left where it is.
    std::vector<Attempt> LoadAll() const;

private:
    std::filesystem::path PathOf(std::uint64_t attempt) const;

    std::filesystem::path folder_;
};

}  // namespace collector
