// BenchStats: medians, percentiles and summaries of the bench's samples.
#include "BenchStats.h"

#include <algorithm>
#include <cmath>

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    if (n == 0) return 0.0;
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

double Percentile95(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    std::size_t rank = std::size_t(std::ceil(0.95 * double(values.size())));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

Summary Summarise(const Samples& samples) {
    Summary s;
    s.frames = int(samples.draw.size());
    if (s.frames == 0) return s;
    s.min = *std::min_element(samples.draw.begin(), samples.draw.end());
    s.median = Median(samples.draw);
    s.p95 = Percentile95(samples.draw);
    for (double ms : samples.draw) s.total += ms;
    s.updateMedian = Median(samples.update);
    return s;
}

double PassMedianSum(const PassSamples& passes) {
    double sum = 0.0;
    for (int i = 0; i < passes.Count(); ++i) sum += Median(passes.Pass(i).milliseconds);
    return sum;
}

