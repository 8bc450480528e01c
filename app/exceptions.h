#pragma once

#include <stdexcept>
#include <string>

namespace app {

// The toolkit's exception family; its message is what the error dialog shows.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace app
