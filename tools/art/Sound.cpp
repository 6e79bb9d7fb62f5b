#include "Sound.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace slumra::art {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double MidiHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// A plain feedback-delay reverb (eight damped combs into four allpasses per channel).
class Reverb {
public:
    explicit Reverb(int sampleRate) {
        const double scale = sampleRate / 44100.0;
        constexpr std::array<int, 8> combs = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        constexpr std::array<int, 4> allpasses = {556, 441, 341, 225};
        for (int side = 0; side < 2; ++side) {
            for (int len : combs)
                comb_[side].push_back(Line(static_cast<std::size_t>((len + 23 * side) * scale)));
            for (int len : allpasses)
                allpass_[side].push_back(Line(static_cast<std::size_t>((len + 23 * side) * scale)));
        }
    }

    // One input sample in, one sample per side out.
    std::array<float, 2> Step(float in) {
        std::array<float, 2> out{};
        for (int side = 0; side < 2; ++side) {
            float sum = 0;
            for (Line& c : comb_[side]) {
                const float y = c.buf[c.pos];
                c.store = y * (1 - kDamp) + c.store * kDamp;
                c.buf[c.pos] = in + c.store * kFeedback;
                c.pos = (c.pos + 1) % c.buf.size();
                sum += y;
            }
            for (Line& a : allpass_[side]) {
                const float y = a.buf[a.pos];
                a.buf[a.pos] = sum + y * 0.5f;
                a.pos = (a.pos + 1) % a.buf.size();
                sum = y - sum;
            }
            out[side] = sum;
        }
        return out;
    }

private:
    static constexpr float kFeedback = 0.86f, kDamp = 0.35f;
    struct Line {
        explicit Line(std::size_t n) : buf(n, 0.0f) {}
        std::vector<float> buf;
        std::size_t pos = 0;
        float store = 0;
    };
    std::array<std::vector<Line>, 2> comb_, allpass_;
};

double Rms(const std::vector<float>& v) {
    double sum = 0;
    for (float x : v) sum += static_cast<double>(x) * x;
    return std::sqrt(sum / static_cast<double>(v.size()));
}

}  // namespace

std::vector<std::int16_t> AmbientPad(int sampleRate, int seconds) {
    const std::size_t n = static_cast<std::size_t>(sampleRate) * static_cast<std::size_t>(seconds);
    const double loop = seconds;
    const double nyquistGuard = sampleRate * 0.4;
    // One period of a sine over the whole loop: an oscillator with k cycles per loop reads every
    // k-th entry, so it is periodic in the loop by construction.
    std::vector<float> sine(n);
    for (std::size_t i = 0; i < n; ++i)
        sine[i] = static_cast<float>(std::sin(kTwoPi * static_cast<double>(i) / static_cast<double>(n)));
    std::vector<float> left(n, 0.0f), right(n, 0.0f);

    auto cycles = [&](double hz) { return static_cast<std::size_t>(std::max(1.0, std::round(hz * loop))); };
    auto time = [&](std::size_t i) { return static_cast<double>(i) / sampleRate; };
    // Adds k cycles per loop times gain(t) over samples [from, from + count), wrapping at the end.
    auto add = [&](std::size_t k, double phase, float ampL, float ampR, std::size_t from, std::size_t count,
                   const auto& gain) {
        std::size_t idx =
            static_cast<std::size_t>((static_cast<unsigned long long>(k) * from +
                                      static_cast<unsigned long long>(phase * static_cast<double>(n))) %
                                     n);
        std::size_t i = from;
        for (std::size_t c = 0; c < count; ++c) {
            const float v = sine[idx] * gain(i);
            left[i] += v * ampL;
            right[i] += v * ampR;
            idx += k;
            if (idx >= n) idx -= n;
            if (++i == n) i = 0;
        }
    };

    // Four chords over a D pedal, each held a quarter of the loop and crossfaded (cos^2 + sin^2 = 1).
    const std::array<std::array<int, 5>, 4> chords = {{
        {50, 57, 61, 64, 66},  // D major 9
        {47, 54, 57, 62, 64},  // B minor 7 add 11
        {43, 50, 54, 57, 59},  // G major 9
        {45, 52, 57, 62, 64},  // A sus 4
    }};
    const double quarter = loop / 4;
    std::vector<float> weight(n);
    for (std::size_t c = 0; c < chords.size(); ++c) {
        const double centre = quarter * (static_cast<double>(c) + 0.5);
        for (std::size_t i = 0; i < n; ++i) {
            double d = std::fabs(time(i) - centre);
            d = std::min(d, loop - d);
            const double hold = quarter / 4, fade = quarter / 2;
            const double x = std::clamp((d - hold) / fade, 0.0, 1.0);
            weight[i] = static_cast<float>(std::pow(std::cos(x * kTwoPi / 4), 2.0));
        }
        const std::size_t from = static_cast<std::size_t>((centre - quarter * 0.75 + loop) * sampleRate) % n;
        const std::size_t count = static_cast<std::size_t>(quarter * 1.5 * sampleRate);
        std::vector<float> gain(n, 0.0f);
        for (std::size_t v = 0; v < chords[c].size(); ++v) {
            const double hz = MidiHz(chords[c][v]);
            // Each voice swells and ebbs a whole number of times per loop.
            const double swell = static_cast<double>(1 + (v + c) % 3);
            const double swellPhase = 0.17 * static_cast<double>(v) + 0.31 * static_cast<double>(c);
            for (std::size_t j = 0, i = from; j < count; ++j, i = (i + 1) % n)
                gain[i] = weight[i] * (0.8f + 0.2f * static_cast<float>(std::sin(
                                                         kTwoPi * (swell * time(i) / loop + swellPhase))));
            for (int h = 1; h <= 5; ++h) {
                if (hz * h > nyquistGuard) break;
                const auto amp = static_cast<float>(std::pow(h, -1.6) * (v == 0 ? 0.9 : 0.6));
                // Three copies a hair apart in pitch (a whole cycle per loop), spread left to right.
                for (int copy = -1; copy <= 1; ++copy) {
                    const std::size_t k = cycles(hz * h) + static_cast<std::size_t>(h * (copy + 1)) -
                                          static_cast<std::size_t>(h);
                    const float pl = copy < 0 ? 0.9f : copy == 0 ? 0.65f : 0.35f;
                    add(k, 0.13 * (copy + 2) * h + 0.07 * static_cast<double>(v), amp * pl, amp * (1.3f - pl),
                        from, count, [&gain](std::size_t i) { return gain[i]; });
                }
            }
        }
    }

    // The pedal: a low D under everything, breathing once per loop.
    for (int h = 1; h <= 3; ++h) {
        const auto amp = static_cast<float>(0.7 * std::pow(h, -2.0));
        add(cycles(MidiHz(38) * h), 0.0, amp, amp, 0, n, [&](std::size_t i) {
            return 0.85f + 0.15f * static_cast<float>(std::cos(kTwoPi * time(i) / loop));
        });
    }

    // Now and then a soft high chime from the D major pentatonic scale.
    struct Chime {
        double at;
        int note;
        float pan;
    };
    constexpr Chime chimes[] = {{1.5, 81, 0.3f},   {5.0, 78, 0.7f},   {7.2, 86, 0.45f}, {11.0, 76, 0.6f},
                                {14.5, 83, 0.25f}, {17.8, 81, 0.75f}, {21.0, 74, 0.4f}, {24.6, 78, 0.65f},
                                {27.3, 83, 0.3f},  {30.5, 76, 0.55f}};
    const double ring = std::min(10.0, loop / 2);
    for (const Chime& c : chimes) {
        const double at = c.at * loop / 32.0;
        const std::size_t from = static_cast<std::size_t>(at * sampleRate) % n;
        const auto count = static_cast<std::size_t>(ring * sampleRate);
        constexpr std::array<std::pair<double, float>, 3> partials = {
            {{1.0, 1.0f}, {2.0, 0.3f}, {4.2, 0.06f}}};
        for (const auto& [ratio, level] : partials) {
            const double hz = MidiHz(c.note) * ratio;
            if (hz > nyquistGuard) continue;
            const double tau = 2.4 / ratio;
            auto gain = [&](std::size_t i) {
                double d = time(i) - at;
                if (d < 0) d += loop;
                const double attack = 1.0 - std::exp(-d / 0.05);
                const double tail = std::clamp((ring - d) / 2.0, 0.0, 1.0);
                return static_cast<float>(attack * std::exp(-d / tau) * tail);
            };
            const float amp = 0.22f * level;
            add(cycles(hz), 0.0, amp * (1 - c.pan), amp * c.pan, from, count, gain);
        }
    }

    // Reverb over two passes; the second starts with the first pass's tail in the lines, exactly
    // as when the loop plays again, so the tail continues across the seam.
    Reverb reverb(sampleRate);
    std::vector<float> wetL(n), wetR(n);
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < n; ++i) {
            const auto out = reverb.Step(0.015f * (left[i] + right[i]));
            wetL[i] = out[0];
            wetR[i] = out[1];
        }
    const auto wetScale =
        static_cast<float>(0.8 * (Rms(left) + Rms(right)) / std::max(1e-9, Rms(wetL) + Rms(wetR)));
    float peak = 1e-9f;
    for (std::size_t i = 0; i < n; ++i) {
        left[i] += wetL[i] * wetScale;
        right[i] += wetR[i] * wetScale;
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    }
    const float scale = 0.25f * 32767.0f / peak;  // -12 dBFS
    std::vector<std::int16_t> samples(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        samples[2 * i] = static_cast<std::int16_t>(std::lround(left[i] * scale));
        samples[2 * i + 1] = static_cast<std::int16_t>(std::lround(right[i] * scale));
    }
    return samples;
}

}  // namespace slumra::art
