// Oscillators, envelopes, panning and echo of the music synthesiser.
#include "tools/assets/synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <utility>

namespace assets {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Softens the jump of a square or saw wave at phase 0 (t: phase 0..1, dt: phase step).
double poly_blep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double wrap(double phase)
{
    return phase - std::floor(phase);
}

// The Bessel function J_k(x) for a whole k >= 0, by its power series: quick and exact
// enough for the small modulation indices of the FM voices. (The library's version goes
// through lgamma, which writes a global, and two threads render music at once.)
double bessel_j(int k, double x)
{
    const double half = x / 2;
    double term = 1;
    for (int i = 1; i <= k; ++i) {
        term *= half / i;
    }
    double sum = term;
    for (int m = 1; m < 60 && term != 0; ++m) {
        term *= -half * half / (m * (m + k));
        sum += term;
    }
    return sum;
}

// A small fixed-seed generator for the noise voices, so every render is the same.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1) {}
    double next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

  private:
    std::uint32_t state_;
};

// Envelope level at time t after the key went down, the key held for `gate` seconds.
double envelope(const VoiceSound& s, double t, double gate)
{
    auto held = [&](double u) {
        if (u < s.attack) {
            return s.attack > 0 ? u / s.attack : 1.0;
        }
        u -= s.attack;
        if (u < s.decay) {
            return 1.0 - (1.0 - s.sustain) * (u / s.decay);
        }
        return s.sustain;
    };
    if (t < gate) {
        return held(t);
    }
    const double level = held(gate);
    const double r = t - gate;
    return s.release > 0 && r < s.release ? level * (1.0 - r / s.release) : 0.0;
}

enum class Wave { Sine, Triangle, Square, Saw, Fm, Organ, Noise, Kick, Snare };

Wave wave_of(const std::string& name)
{
    static const std::pair<const char*, Wave> kNames[] = {
        {"sine", Wave::Sine},     {"triangle", Wave::Triangle},
        {"square", Wave::Square}, {"saw", Wave::Saw},
        {"fm", Wave::Fm},         {"organ", Wave::Organ},
        {"noise", Wave::Noise},   {"kick", Wave::Kick}};
    for (const auto& [n, w] : kNames) {
        if (name == n) {
            return w;
        }
    }
    return Wave::Snare;
}

// One voice's oscillator for one note; phase in cycles.
class Oscillator {
  public:
    Oscillator(const VoiceSound& s, double frequency, double rate, std::uint32_t seed)
        : s_(s), kind_(wave_of(s.wave)), frequency_(frequency), rate_(rate), noise_(seed)
    {
        // Notes start at a phase of their own, so the notes of a chord do not crest together.
        phase_ = wrap(noise_.next());
        phase2_ = wrap(phase_ + 0.25);
        double sum = 0;
        for (double h : s_.harmonics) {
            sum += std::fabs(h);
        }
        harmonicScale_ = sum > 0 ? 1.0 / sum : 1.0;
    }

    double next(double t)
    {
        double f = frequency_;
        if (s_.vibratoDepth > 0 && t > 0.12) {
            f *= std::pow(2.0, s_.vibratoDepth / 12.0 * std::sin(kTwoPi * s_.vibratoRate * t));
        }
        double v = wave(phase_, modPhase_, f, t);
        phase_ = wrap(phase_ + f / rate_);
        if (s_.chorus > 0) {
            const double f2 = f * std::pow(2.0, s_.chorus / 1200.0);
            v = 0.5 * (v + wave(phase2_, modPhase2_, f2, t));
            phase2_ = wrap(phase2_ + f2 / rate_);
        }
        return v;
    }

  private:
    // The wave at phase p (cycles); mod is the phase of the FM modulator that goes with it.
    double wave(double p, double& mod, double f, double t)
    {
        const double dt = f / rate_;
        switch (kind_) {
        case Wave::Sine:
            return std::sin(kTwoPi * p);
        case Wave::Triangle:
            return 4.0 * std::fabs(p - 0.5) - 1.0;
        case Wave::Square: {
            double v = p < 0.5 ? 1.0 : -1.0;
            v += poly_blep(p, dt);
            v -= poly_blep(wrap(p + 0.5), dt);
            return v * 0.6;
        }
        case Wave::Saw:
            return (2.0 * p - 1.0 - poly_blep(p, dt)) * 0.6;
        case Wave::Fm:
            return fm(p, mod, f, t);
        case Wave::Organ: {
            double v = 0;
            for (std::size_t k = 0; k < s_.harmonics.size(); ++k) {
                if (f * static_cast<double>(k + 1) < rate_ / 2) {
                    v += s_.harmonics[k] * std::sin(kTwoPi * static_cast<double>(k + 1) * p);
                }
            }
            return v * harmonicScale_;
        }
        case Wave::Noise:
            lowpass_ += s_.tone * (noise_.next() - lowpass_);
            return lowpass_;
        case Wave::Kick: {
            // A falling sine: the note's pitch is not used.
            const double fk = 45.0 + 115.0 * std::exp(-t / 0.03);
            kickPhase_ = wrap(kickPhase_ + fk / rate_);
            return std::sin(kTwoPi * kickPhase_);
        }
        case Wave::Snare:
            break;
        }
        // snare: a short tone body under bright noise
        kickPhase_ = wrap(kickPhase_ + 185.0 / rate_);
        return 0.45 * std::sin(kTwoPi * kickPhase_) * std::exp(-t / 0.04) + 0.55 * noise_.next();
    }

    // Frequency modulation written out as its sidebands: the carrier at f plus partials at
    // f + k x ratio x f weighted by the Bessel functions J_k of the modulation index. The
    // modulator runs on its own phase, and partials at or above half the sample rate are
    // left out, so they cannot fold back as noise. The weights follow the index's decay in
    // steps of kFmStep frames.
    double fm(double p, double& mod, double f, double t)
    {
        if (&mod == &modPhase_ && fmCountdown_-- == 0) {
            fmCountdown_ = kFmStep - 1;
            const double index =
                s_.indexDecay > 0 ? s_.index * std::exp(-t / s_.indexDecay) : s_.index;
            for (int k = -kFmSidebands; k <= kFmSidebands; ++k) {
                const double partial = std::fabs(f * (1 + k * s_.ratio));
                double w = bessel_j(std::abs(k), index);
                if (k < 0 && k % 2 != 0) {
                    w = -w; // J_-k = (-1)^k J_k
                }
                fmWeights_[static_cast<std::size_t>(k + kFmSidebands)] =
                    partial < rate_ / 2 ? w : 0.0;
            }
        }
        double v = 0;
        for (int k = -kFmSidebands; k <= kFmSidebands; ++k) {
            const double w = fmWeights_[static_cast<std::size_t>(k + kFmSidebands)];
            if (w != 0) {
                v += w * std::sin(kTwoPi * (p + k * mod));
            }
        }
        mod = wrap(mod + s_.ratio * f / rate_);
        return v;
    }

    static constexpr int kFmSidebands = 8; // J_9 of the largest index (4) is 0.004
    static constexpr int kFmStep = 32;

    const VoiceSound& s_;
    Wave kind_;
    double frequency_;
    double rate_;
    double phase_ = 0, phase2_ = 0.25, kickPhase_ = 0;
    double modPhase_ = 0, modPhase2_ = 0;
    std::array<double, 2 * kFmSidebands + 1> fmWeights_{};
    int fmCountdown_ = 0;
    double lowpass_ = 0;
    double harmonicScale_ = 1;
    Noise noise_;
};

} // namespace

std::vector<float> render_song(const Song& song, int rate)
{
    const double spb = song.seconds_per_beat();
    const double seconds = song.length_beats() * spb + song.tail;
    const auto frames = static_cast<std::size_t>(std::ceil(seconds * rate));
    std::vector<double> mix(frames * 2, 0.0);
    std::vector<double> send(frames * 2, 0.0);
    std::uint32_t seed = 0x9E3779B9u;
    for (const Voice& voice : song.voices) {
        const VoiceSound& s = voice.sound;
        const double angle = (s.pan + 1.0) * std::numbers::pi / 4;
        const double gainL = std::cos(angle) * std::numbers::sqrt2 * s.volume;
        const double gainR = std::sin(angle) * std::numbers::sqrt2 * s.volume;
        for (const Note& note : voice.notes) {
            const double frequency = 440.0 * std::pow(2.0, (note.key + s.transpose - 69) / 12.0);
            const double gate = note.beats * spb * s.legato;
            const double length = gate + s.release;
            const auto first = static_cast<std::size_t>(std::llround(note.startBeat * spb * rate));
            const auto count = static_cast<std::size_t>(std::ceil(length * rate));
            seed = seed * 1664525u + 1013904223u;
            Oscillator osc(s, frequency, rate, seed);
            for (std::size_t i = 0; i < count && first + i < frames; ++i) {
                const double t = static_cast<double>(i) / rate;
                const double v = osc.next(t) * envelope(s, t, gate) * note.velocity;
                const std::size_t at = (first + i) * 2;
                mix[at] += v * gainL;
                mix[at + 1] += v * gainR;
                send[at] += v * gainL * s.echo;
                send[at + 1] += v * gainR * s.echo;
            }
        }
    }
    if (song.echoMix > 0) {
        // A ping-pong echo: each repeat crosses to the other side.
        const auto delay = static_cast<std::size_t>(std::llround(song.echoDelay * rate));
        std::vector<double> line(frames * 2, 0.0);
        for (std::size_t n = 0; n < frames; ++n) {
            const double backL = n >= delay ? line[(n - delay) * 2] : 0.0;
            const double backR = n >= delay ? line[(n - delay) * 2 + 1] : 0.0;
            line[n * 2] = send[n * 2] + song.echoFeedback * backR;
            line[n * 2 + 1] = send[n * 2 + 1] + song.echoFeedback * backL;
            mix[n * 2] += song.echoMix * backR;
            mix[n * 2 + 1] += song.echoMix * backL;
        }
    }
    // A gentle high-pass near 5 Hz takes out any offset the voices leave.
    const double pole = 1.0 - kTwoPi * 5.0 / rate;
    for (std::size_t c = 0; c < 2; ++c) {
        double lastIn = 0, lastOut = 0;
        for (std::size_t n = 0; n < frames; ++n) {
            double& v = mix[n * 2 + c];
            lastOut = v - lastIn + pole * lastOut;
            lastIn = v;
            v = lastOut;
        }
    }
    const auto fade = std::min<std::size_t>(frames, static_cast<std::size_t>(rate / 50));
    std::vector<float> out(frames * 2);
    for (std::size_t n = 0; n < frames; ++n) {
        double g = 1.0;
        if (n + fade >= frames) {
            g = static_cast<double>(frames - n) / static_cast<double>(fade);
        }
        out[n * 2] = static_cast<float>(mix[n * 2] * g);
        out[n * 2 + 1] = static_cast<float>(mix[n * 2 + 1] * g);
    }
    return out;
}

} // namespace assets
