#include "viewer/core/exports/finished_file.h"

#include <system_error>

#include "viewer/core/files/error_text.h"

namespace viewer {

FinishedFile::FinishedFile(std::filesystem::path target) : target_(std::move(target)), partial_(target_) {
    partial_ += ".part";
}

FinishedFile::~FinishedFile() {
    std::error_code ignored;
    std::filesystem::remove(partial_, ignored);
}

std::optional<std::string> FinishedFile::Finish() {
    std::error_code error;
    std::filesystem::rename(partial_, target_, error);
    if (error) return Failure(SystemErrorText(error.value()));
    return std::nullopt;
}

std::string FinishedFile::Failure(const std::string& reason) const {
    return "Не удалось записать «" + target_.string() + "»" + (reason.empty() ? "" : ": " + reason);
}

}  // namespace viewer
