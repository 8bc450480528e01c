#include "viewer/core/files/answers_file.h"

namespace viewer {

AnswersFile::Change AnswersFile::Refresh() {
    const FollowedFile::Outcome outcome =
        file_.Follow([&] { reader_ = AnswersReader(); }, [&](std::string_view bytes) { reader_.Feed(bytes); });
    return {outcome.restarted || outcome.fed, outcome.restarted};
}

}  // namespace viewer
