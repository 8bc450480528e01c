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

std::optional<double> Median(std::vector<double> values) {
    if (values.empty()) return std::nullopt;
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
    const double upper = values[middle];
    if (values.size() % 2 == 1) return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2;
}

std::optional<double> PointBiserial(const std::vector<std::uint8_t>& item, const std::vector<double>& rest) {
    const std::size_t n = std::min(item.size(), rest.size());
    if (n < 2) return std::nullopt;
    double itemSum = 0;
    double restSum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        itemSum += item[i];
        restSum += rest[i];
    }
    const double itemMean = itemSum / static_cast<double>(n);
    const double restMean = restSum / static_cast<double>(n);
    double covariance = 0;
    double itemSquares = 0;
    double restSquares = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = item[i] - itemMean;
        const double y = rest[i] - restMean;
        covariance += x * y;
        itemSquares += x * x;
        restSquares += y * y;
    }
    // Everyone right (or wrong), or the rest scores all equal: no correlation.
    if (itemSquares <= 0 || restSquares <= 0) return std::nullopt;
    return covariance / std::sqrt(itemSquares * restSquares);
}

std::optional<Alpha> CronbachAlpha(const std::vector<std::uint8_t>& scores, std::size_t k) {
    const std::size_t n = k == 0 ? 0 : scores.size() / k;
    if (n < 2 || k < 2 || scores.size() != n * k) return std::nullopt;
    std::vector<double> means(k, 0);
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t i = 0; i < k; ++i) means[i] += scores[a * k + i];
    }
    for (double& mean : means) mean /= static_cast<double>(n);
    // Covariance matrix with divisor n; alpha is the same with n − 1.
    std::vector<double> v(k * k, 0);
    std::vector<double> x(k);
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t i = 0; i < k; ++i) x[i] = scores[a * k + i] - means[i];
        for (std::size_t i = 0; i < k; ++i) {
            for (std::size_t j = 0; j < k; ++j) v[i * k + j] += x[i] * x[j];
        }
    }
    for (double& cell : v) cell /= static_cast<double>(n);

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
