#include "screens/collector_link.h"

#include <chrono>

namespace {

// The service answers in a few milliseconds; a window may wait this long
// without seeming to hang.
constexpr std::chrono::milliseconds kPatience{300};
constexpr std::chrono::milliseconds kRetryInterval{1000};

}  // namespace

CollectorLink::CollectorLink(std::filesystem::path socket, std::function<void()> afterAttempt)
    : client_(std::move(socket)), afterAttempt_(std::move(afterAttempt)) {
    timer_.setInterval(kRetryInterval);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Attempt(); });
}

resultslog::CollectorClient& CollectorLink::Client() { return client_; }

void CollectorLink::Send() {
    Attempt();
    if (client_.Waiting() && !timer_.isActive()) timer_.start();
}

void CollectorLink::Attempt() {
    client_.Pump(kPatience);
    for (const std::string& refusal : client_.TakeRefusals()) refusal_ = QString::fromStdString(refusal);
    if (!client_.Waiting()) timer_.stop();
    afterAttempt_();
}

QString CollectorLink::WarningText() const {
    if (!refusal_.isEmpty()) return QStringLiteral("Служба результатов не приняла запись (%1).").arg(refusal_);
    if (!client_.Waiting()) return {};
    if (!client_.Reachable())
        return QStringLiteral("Результат еще не записан: служба результатов недоступна, запись повторяется.");
    return QStringLiteral("Результат еще не записан: служба результатов не ответила, запись повторяется.");
}

void CollectorLink::ForgetRefusals() { refusal_.clear(); }
