#include "viewer/core/item_statistics.h"

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

std::optional<Alpha> CronbachAlpha(const std::vector<std::uint8_t>& scores, std::size_t k) {
    const std::size_t n = k == 0 ? 0 : scores.size() / k;
    if (n < 2 || k < 2 || scores.size() != n * k) return std::nullopt;
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

}  // namespace viewer
