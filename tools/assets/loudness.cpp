// K-weighting filters, gated block loudness, peak and DC of stereo sound.
#include "tools/assets/loudness.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace assets {
namespace {

constexpr double kAbsoluteGateLufs = -70;
constexpr double kRelativeGateLu = -10;
constexpr double kBlockSeconds = 0.4;
constexpr double kStepSeconds = 0.1; // blocks overlap by three quarters

double lufs_of_power(double power)
{
    return power > 0 ? -0.691 + 10 * std::log10(power) : -HUGE_VAL;
}

// The K-weighted signal of one channel (0 left, 1 right), squared.
std::vector<double> weighted_power(const std::vector<float>& stereo, int rate, int channel)
{
    const std::size_t frames = stereo.size() / 2;
    std::vector<double> out(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        out[i] = stereo[2 * i + static_cast<std::size_t>(channel)];
    }
    for (const Biquad& f : k_weighting(rate)) {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (double& v : out) {
            const double y = f.b0 * v + f.b1 * x1 + f.b2 * x2 - f.a1 * y1 - f.a2 * y2;
            x2 = x1;
            x1 = v;
            y2 = y1;
            y1 = y;
            v = y;
        }
    }
    for (double& v : out) {
        v *= v;
    }
    return out;
}

} // namespace

std::array<Biquad, 2> k_weighting(int rate)
{
    // The analogue prototypes, brought to `rate` by the bilinear transform.
    const double pi = std::numbers::pi;
    std::array<Biquad, 2> f{};
    {
        const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
        const double k = std::tan(pi * f0 / rate);
        const double vh = std::pow(10.0, gainDb / 20);
        const double vb = std::pow(vh, 0.4996667741545416);
        const double a0 = 1 + k / q + k * k;
        f[0] = {(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0,
                (vh - vb * k / q + k * k) / a0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    }
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double k = std::tan(pi * f0 / rate);
        const double a0 = 1 + k / q + k * k;
        f[1] = {1, -2, 1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    }
    return f;
}

double integrated_loudness(const std::vector<float>& stereo, int rate)
{
    const std::vector<double> left = weighted_power(stereo, rate, 0);
    const std::vector<double> right = weighted_power(stereo, rate, 1);
    const std::size_t frames = left.size();
    const auto block =
        std::min(frames, static_cast<std::size_t>(std::lround(kBlockSeconds * rate)));
    const auto step = static_cast<std::size_t>(std::lround(kStepSeconds * rate));
    if (block == 0) {
        return kAbsoluteGateLufs;
    }
    // Running sums give each block's mean power of both channels together.
    std::vector<double> sum(frames + 1, 0.0);
    for (std::size_t i = 0; i < frames; ++i) {
        sum[i + 1] = sum[i] + left[i] + right[i];
    }
    std::vector<double> powers;
    for (std::size_t start = 0; start + block <= frames; start += step) {
        const double power = (sum[start + block] - sum[start]) / static_cast<double>(block);
        if (lufs_of_power(power) > kAbsoluteGateLufs) {
            powers.push_back(power);
        }
    }
    auto mean_above = [&](double gate) {
        double total = 0;
        std::size_t n = 0;
        for (double p : powers) {
            if (lufs_of_power(p) > gate) {
                total += p;
                ++n;
            }
        }
        return n > 0 ? total / static_cast<double>(n) : 0.0;
    };
    const double relativeGate = lufs_of_power(mean_above(kAbsoluteGateLufs)) + kRelativeGateLu;
    const double power = mean_above(std::max(relativeGate, kAbsoluteGateLufs));
    return power > 0 ? lufs_of_power(power) : kAbsoluteGateLufs;
}

Levels measure_levels(const std::vector<float>& stereo, int rate)
{
    Levels l;
    const std::size_t frames = stereo.size() / 2;
    l.seconds = static_cast<double>(frames) / rate;
    l.loudnessLufs = integrated_loudness(stereo, rate);
    double mean[2] = {0, 0};
    for (std::size_t i = 0; i < stereo.size(); ++i) {
        const double v = stereo[i];
        l.high[i % 2] = std::max(l.high[i % 2], v);
        l.low[i % 2] = std::min(l.low[i % 2], v);
        mean[i % 2] += v;
    }
    l.peak = std::max({l.high[0], l.high[1], -l.low[0], -l.low[1]});
    if (frames > 0) {
        l.dc = std::max(std::fabs(mean[0]), std::fabs(mean[1])) / static_cast<double>(frames);
    }
    return l;
}

namespace {

// The samples times `gain`, with every peak that would pass `ceiling` held down to it.
std::vector<float> scaled_under(const std::vector<float>& stereo, int rate, double gain,
                                double ceiling)
{
    const std::size_t frames = stereo.size() / 2;
    // The gain each frame may have at most, its minimum over `reach` frames either side, and
    // that minimum averaged over half the reach either side: every frame of the average
    // holds the centre frame's own limit, so no peak gets through.
    const auto reach = static_cast<std::size_t>(rate / 200); // 5 ms
    std::vector<double> allowed(frames);
    for (std::size_t n = 0; n < frames; ++n) {
        const double v = gain * std::max(std::fabs(stereo[2 * n]), std::fabs(stereo[2 * n + 1]));
        allowed[n] = v > ceiling ? ceiling / v : 1.0;
    }
    std::vector<double> held(allowed);
    if (std::find_if(allowed.begin(), allowed.end(), [](double a) { return a < 1; }) !=
        allowed.end()) {
        for (std::size_t n = 0; n < frames; ++n) {
            const std::size_t from = n >= reach ? n - reach : 0;
            const std::size_t to = std::min(frames, n + reach + 1);
            held[n] = *std::min_element(allowed.begin() + static_cast<std::ptrdiff_t>(from),
                                        allowed.begin() + static_cast<std::ptrdiff_t>(to));
        }
        for (std::size_t n = 0; n < frames; ++n) {
            const std::size_t from = n >= reach / 2 ? n - reach / 2 : 0;
            const std::size_t to = std::min(frames, n + reach / 2 + 1);
            double sum = 0;
            for (std::size_t m = from; m < to; ++m) {
                sum += held[m];
            }
            allowed[n] = sum / static_cast<double>(to - from);
        }
    }
    std::vector<float> out(stereo.size());
    for (std::size_t n = 0; n < frames; ++n) {
        out[2 * n] = static_cast<float>(stereo[2 * n] * gain * allowed[n]);
        out[2 * n + 1] = static_cast<float>(stereo[2 * n + 1] * gain * allowed[n]);
    }
    return out;
}

} // namespace

void bring_to_level(std::vector<float>& stereo, int rate, double loudnessLufs, double ceiling)
{
    // The gating makes loudness not quite proportional to gain for short sounds, and held
    // peaks take a little off: a few corrections reach the aim to a hundredth of a LU.
    double gain = std::pow(10.0, (loudnessLufs - integrated_loudness(stereo, rate)) / 20);
    std::vector<float> out;
    for (int pass = 0; pass < 4; ++pass) {
        out = scaled_under(stereo, rate, gain, ceiling);
        const double miss = loudnessLufs - integrated_loudness(out, rate);
        if (std::fabs(miss) < 0.01) {
            break;
        }
        gain *= std::pow(10.0, miss / 20);
    }
    stereo = std::move(out);
}

double worst_mix_peak(const Levels& a, const Levels& b)
{
    double worst = 0;
    for (std::size_t c = 0; c < 2; ++c) {
        worst = std::max({worst, a.high[c] + b.high[c], -(a.low[c] + b.low[c])});
    }
    return worst;
}

} // namespace assets
