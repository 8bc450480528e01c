#include "viewer/core/analysis/item_statistics.h"

#include <algorithm>
#include <cmath>

namespace viewer {

double Mean(const std::vector<double>& values) {
    if (values.empty()) return 0;
    double sum = 0;
    for (const double value : values) sum += value;
    return sum / static_cast<double>(values.size());
}

std::optional<double> StandardDeviation(const std::vector<double>& values) {
    if (values.size() < 2) return std::nullopt;
    const double mean = Mean(values);
    double squares = 0;
    for (const double value : values) squares += (value - mean) * (value - mean);
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

std::optional<double> Median(std::vector<std::int32_t> values) {
    if (values.empty()) return std::nullopt;
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
    const double upper = values[middle];
    if (values.size() % 2 == 1) return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2;
}

std::optional<double> PointBiserial::Value() const {
    // n² times the variances and the covariance, exact in integers.
    const auto itemSpread = static_cast<double>(n_ * xx_ - x_ * x_);
    const auto restSpread = static_cast<double>(n_ * yy_ - y_ * y_);
    if (n_ < 2 || itemSpread <= 0 || restSpread <= 0) return std::nullopt;
    return static_cast<double>(n_ * xy_ - x_ * y_) / std::sqrt(itemSpread * restSpread);
}

namespace {

// The covariance matrix (divisor n) of 0/1 item scores, attempt after attempt.
std::vector<double> Covariances(const std::vector<std::uint8_t>& scores, std::size_t k, std::size_t n) {
    std::vector<double> means(k, 0);
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t i = 0; i < k; ++i) means[i] += scores[a * k + i];
    }
    for (double& mean : means) mean /= static_cast<double>(n);
    // How often items i and j were both right; with 0/1 scores that gives
    // the covariance matrix (divisor n; alpha is the same with n − 1).
    std::vector<std::int64_t> both(k * k, 0);
    std::vector<std::size_t> right;
    for (std::size_t a = 0; a < n; ++a) {
        right.clear();
        for (std::size_t i = 0; i < k; ++i) {
            if (scores[a * k + i] != 0) right.push_back(i);
        }
        for (const std::size_t i : right) {
            for (const std::size_t j : right) ++both[i * k + j];
        }
    }
    std::vector<double> v(k * k, 0);
    for (std::size_t i = 0; i < k; ++i) {
        for (std::size_t j = 0; j < k; ++j) {
            v[i * k + j] = static_cast<double>(both[i * k + j]) / static_cast<double>(n) - means[i] * means[j];
        }
    }
    return v;
}

std::size_t AttemptsOf(const std::vector<std::uint8_t>& scores, std::size_t k) {
    const std::size_t n = k == 0 ? 0 : scores.size() / k;
    return scores.size() == n * k ? n : 0;
}

}  // namespace

std::optional<Alpha> CronbachAlpha(const std::vector<std::uint8_t>& scores, std::size_t k) {
    const std::size_t n = AttemptsOf(scores, k);
    if (n < 2 || k < 2) return std::nullopt;
    const std::vector<double> v = Covariances(scores, k, n);

    double trace = 0;        // tr V: the sum of the item variances
    double total = 0;        // 1'V1: the variance of the total
    double traceSquare = 0;  // tr V²
    double rowSquares = 0;   // 1'V²1: the squared row sums
    for (std::size_t i = 0; i < k; ++i) {
        trace += v[i * k + i];
        double row = 0;
        for (std::size_t j = 0; j < k; ++j) {
            row += v[i * k + j];
            traceSquare += v[i * k + j] * v[j * k + i];
        }
        total += row;
        rowSquares += row * row;
    }
    if (total <= 0) return std::nullopt;
    const double kd = static_cast<double>(k);
    Alpha alpha;
    alpha.value = kd / (kd - 1) * (1 - trace / total);
    const double q = 2 * kd * kd / ((kd - 1) * (kd - 1) * total * total * total) *
                     (total * (traceSquare + trace * trace) - 2 * trace * rowSquares);
    alpha.standardError = std::sqrt(std::max(q, 0.0) / static_cast<double>(n));
    return alpha;
}

std::vector<std::optional<double>> AlphaWithoutEach(const std::vector<std::uint8_t>& scores, std::size_t k) {
    std::vector<std::optional<double>> without(k);
    const std::size_t n = AttemptsOf(scores, k);
    if (n < 2 || k < 3) return without;
    const std::vector<double> v = Covariances(scores, k, n);
    double trace = 0;
    double total = 0;
    std::vector<double> rows(k, 0);
    for (std::size_t i = 0; i < k; ++i) {
        trace += v[i * k + i];
        for (std::size_t j = 0; j < k; ++j) rows[i] += v[i * k + j];
        total += rows[i];
    }
    const double rest = static_cast<double>(k - 1);
    for (std::size_t i = 0; i < k; ++i) {
        // The total without item i: its row and column go, its variance counted once.
        const double restTotal = total - 2 * rows[i] + v[i * k + i];
        if (restTotal <= 0) continue;
        without[i] = rest / (rest - 1) * (1 - (trace - v[i * k + i]) / restTotal);
    }
    return without;
}

void FisherPool::Add(double r, std::int64_t n) {
    if (n <= 3) return;
    // Clamped so that a perfect correlation of a small sample stays finite.
    const double clamped = std::clamp(r, -0.9999, 0.9999);
    weightedZ_ += static_cast<double>(n - 3) * std::atanh(clamped);
    weight_ += static_cast<double>(n - 3);
}

std::optional<FisherPool::Pooled> FisherPool::Value() const {
    if (weight_ <= 0) return std::nullopt;
    const double z = weightedZ_ / weight_;
    const double half = 1.959964 / std::sqrt(weight_);
    return Pooled{std::tanh(z), std::tanh(z - half), std::tanh(z + half)};
}

double WilsonUpper(std::int64_t successes, std::int64_t n) {
    if (n <= 0) return 1;
    const double z = 1.644854;
    const double p = static_cast<double>(successes) / static_cast<double>(n);
    const double nd = static_cast<double>(n);
    const double centre = p + z * z / (2 * nd);
    const double spread = z * std::sqrt(p * (1 - p) / nd + z * z / (4 * nd * nd));
    return std::min(1.0, (centre + spread) / (1 + z * z / nd));
}

}  // namespace viewer
