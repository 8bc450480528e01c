#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace viewer {

// The classical test statistics of item analysis, on plain numbers. Each
// gives nothing where the value is undefined (too few values, no spread).

double Mean(const std::vector<double>& values);
// With n − 1 in the denominator: the attempts are a sample of the students.
std::optional<double> StandardDeviation(const std::vector<double>& values);
std::optional<double> Median(std::vector<std::int32_t> values);

// Pearson's correlation of a right/wrong item score (0 or 1) with another
// whole score, here the rest score: the point-biserial correlation. Kept
// as integer sums, added pair by pair, so nothing is stored and nothing
// cancels.
class PointBiserial {
public:
    void Add(std::int64_t item, std::int64_t rest) {
        ++n_;
        x_ += item;
        y_ += rest;
        xx_ += item * item;
        yy_ += rest * rest;
        xy_ += item * rest;
    }
    // Nothing when either score does not vary.
    std::optional<double> Value() const;

private:
    std::int64_t n_ = 0, x_ = 0, y_ = 0, xx_ = 0, yy_ = 0, xy_ = 0;
};

struct Alpha {
    double value = 0;
    // Asymptotic standard error of van Zyl, Neudecker & Nel (2000),
    // Psychometrika 65(3), 271–280: sqrt(Q / n) with
    // Q = 2k² / ((k−1)² (1'V1)³) · [(1'V1)(tr V² + (tr V)²) − 2 tr V (1'V²1)]
    // over the covariance matrix V of the items (divisor n).
    double standardError = 0;
};

// Cronbach's alpha, k/(k−1) · (1 − Σ var(item) / var(total)), of the
// right/wrong scores of attempts that were all asked the same k items,
// attempt after attempt: scores[attempt · k + item]. Nothing under 2 items
// or 2 attempts or when the totals do not vary.
std::optional<Alpha> CronbachAlpha(const std::vector<std::uint8_t>& scores, std::size_t k);

// Alpha of the same scores with each item left out in turn ("alpha if item
// deleted"); nothing where that is undefined (fewer than 3 items, no spread).
std::vector<std::optional<double>> AlphaWithoutEach(const std::vector<std::uint8_t>& scores, std::size_t k);

// Correlations of several samples pooled by Fisher's z, each weighted by
// its n − 3, with the 95 % interval of the pooled value.
class FisherPool {
public:
    void Add(double r, std::int64_t n);
    struct Pooled {
        double value = 0, low = 0, high = 0;
    };
    // Nothing until some sample had more than 3 values.
    std::optional<Pooled> Value() const;

private:
    double weightedZ_ = 0;
    double weight_ = 0;
};

// The upper end of the one-sided 95 % Wilson interval of a share.
double WilsonUpper(std::int64_t successes, std::int64_t n);

}  // namespace viewer
