// The synthesiser's voices, envelopes, normalisation and WAV writer.
#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace Synth {

namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;

int64_t ToSamples(double seconds)
{
    return static_cast<int64_t>(std::llround(seconds * Rate));
}

// Adds one sample; outside a looping buffer anything past the end is dropped.
void Add(Buffer& out, int64_t index, double value)
{
    const auto size = static_cast<int64_t>(out.samples.size());
    if (size == 0)
        return;
    if (out.wrap)
        index = ((index % size) + size) % size;
    else if (index < 0 || index >= size)
        return;
    out.samples[static_cast<size_t>(index)] += value;
}

// 0 at x = 0 rising smoothly to 1 at x = 1.
double Rise(double x)
{
    if (x <= 0.0)
        return 0.0;
    if (x >= 1.0)
        return 1.0;
    return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

// An attack of `attack` seconds, then the decay curve, then a fade to zero over the last
// `tail` seconds before `length`.
double Envelope(double t, double length, double attack, double decay, double tail)
{
    double value = Rise(t / attack) * std::exp(-t / decay);
    if (t > length - tail)
        value *= Rise((length - t) / tail);
    return value;
}

void PutByte16(std::FILE* file, uint32_t value)
{
    const unsigned char bytes[2] = {static_cast<unsigned char>(value),
                                    static_cast<unsigned char>(value >> 8)};
    std::fwrite(bytes, 1, 2, file);
}

void PutByte32(std::FILE* file, uint32_t value)
{
    PutByte16(file, value & 0xFFFF);
    PutByte16(file, value >> 16);
}

} // namespace

Buffer Silence(double seconds)
{
    Buffer buffer;
    buffer.samples.assign(static_cast<size_t>(ToSamples(seconds)), 0.0);
    return buffer;
}

double Note(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

void Bell(Buffer& out, double start, double frequency, double length, double level, double decay)
{
    const int64_t first = ToSamples(start);
    const int64_t count = ToSamples(length);
    const double tail = std::min(0.03, length * 0.3);
    for (int64_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double env = Envelope(t, length, 0.003, decay, tail);
        // The upper partial dies away faster, so the strike is bright and the ring is pure.
        const double tone =
            std::sin(TwoPi * frequency * t) +
            0.25 * std::exp(-t / (decay * 0.4)) * std::sin(TwoPi * 2.0 * frequency * t);
        Add(out, first + i, level * env * tone);
    }
}

void Pluck(Buffer& out, double start, double frequency, double length, double level)
{
    const int64_t first = ToSamples(start);
    const int64_t count = ToSamples(length);
    const double tail = std::min(0.04, length * 0.3);
    for (int64_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double env = Envelope(t, length, 0.005, 0.22, tail);
        const double tone = std::sin(TwoPi * frequency * t) +
                            std::sin(TwoPi * 3.0 * frequency * t) / 9.0 +
                            std::sin(TwoPi * 5.0 * frequency * t) / 25.0;
        Add(out, first + i, level * env * tone);
    }
}

void Pad(Buffer& out, double start, double length, double frequency, double level, double attack,
         double release)
{
    const int64_t first = ToSamples(start);
    const int64_t count = ToSamples(length + release);
    for (int64_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / Rate;
        double env = Rise(t / attack);
        if (t > length)
            env *= Rise(1.0 - (t - length) / release);
        // Two voices a few cents apart beat slowly against each other; a faint octave adds air.
        const double tone = 0.5 * std::sin(TwoPi * frequency * 0.998 * t) +
                            0.5 * std::sin(TwoPi * frequency * 1.002 * t) +
                            0.12 * std::sin(TwoPi * 2.0 * frequency * t);
        Add(out, first + i, level * env * tone);
    }
}

void Sweep(Buffer& out, double start, double length, double from, double to, double level)
{
    const int64_t first = ToSamples(start);
    const int64_t count = ToSamples(length);
    double phase = 0.0;
    for (int64_t i = 0; i < count; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(count);
        const double frequency = from * std::pow(to / from, x);
        const double env = std::pow(std::sin(std::numbers::pi * x), 2.0);
        Add(out, first + i, level * env * (std::sin(phase) + 0.2 * std::sin(2.0 * phase)));
        phase += TwoPi * frequency / Rate;
    }
}

void FadeEnds(Buffer& buffer, double fadeIn, double fadeOut)
{
    const auto size = static_cast<int64_t>(buffer.samples.size());
    const int64_t in = std::min(size, ToSamples(fadeIn));
    const int64_t out = std::min(size, ToSamples(fadeOut));
    for (int64_t i = 0; i < in; ++i)
        buffer.samples[static_cast<size_t>(i)] *= Rise(static_cast<double>(i) / in);
    for (int64_t i = 0; i < out; ++i)
        buffer.samples[static_cast<size_t>(size - 1 - i)] *= Rise(static_cast<double>(i) / out);
}

std::vector<int16_t> Normalise(const Buffer& buffer, double peakDb)
{
    double peak = 0.0;
    for (const double value : buffer.samples)
        peak = std::max(peak, std::fabs(value));
    const double scale = peak > 0.0 ? std::pow(10.0, peakDb / 20.0) * 32767.0 / peak : 0.0;
    std::vector<int16_t> samples;
    samples.reserve(buffer.samples.size());
    for (const double value : buffer.samples) {
        const double scaled = std::clamp(std::round(value * scale), -32767.0, 32767.0);
        samples.push_back(static_cast<int16_t>(scaled));
    }
    return samples;
}

bool WriteWav(const std::string& path, const std::vector<int16_t>& samples)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, file);
    PutByte32(file, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    PutByte32(file, 16);       // size of the format chunk
    PutByte16(file, 1);        // PCM
    PutByte16(file, 1);        // mono
    PutByte32(file, Rate);     // frames per second
    PutByte32(file, Rate * 2); // bytes per second
    PutByte16(file, 2);        // bytes per frame
    PutByte16(file, 16);       // bits per sample
    std::fwrite("data", 1, 4, file);
    PutByte32(file, dataBytes);
    for (const int16_t sample : samples)
        PutByte16(file, static_cast<uint16_t>(sample));
    const bool written = std::ferror(file) == 0;
    return std::fclose(file) == 0 && written;
}

} // namespace Synth
