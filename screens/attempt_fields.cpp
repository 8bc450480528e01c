#include "screens/attempt_fields.h"

#include <unistd.h>

#include <climits>
#include <random>

#include "content/question_bank.h"

namespace {

std::string ComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

// Random across computers as well: no two attempts of a class share an id.
std::uint64_t NewAttemptId() {
    std::random_device device;
    return (std::uint64_t{device()} << 32) | device();
}

}  // namespace

resultslog::AttemptFields NewAttemptFields(int theme, const QString& fullName, const QString& platoon) {
    return {ComputerName(), KALVENA_VERSION,        content::BankFingerprint(),
            NewAttemptId(), fullName.toStdString(), platoon.toStdString(),
            theme};
}
