// A tiny additive synthesiser for the sound generator: soft voices with smooth envelopes mixed
// into a buffer of doubles, then normalised to 16-bit samples and written as a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Synth {

constexpr int Rate = 22050;

struct Buffer
{
    std::vector<double> samples;
    // A looping buffer: whatever sounds past its end continues at its start.
    bool wrap = false;
};

// A silent buffer of the nearest whole number of samples.
Buffer Silence(double seconds);
// The frequency of a MIDI note number (69 = A4 = 440 Hz).
double Note(int midi);

// A struck tone ringing out with an exponential decay (time constant `decay` seconds) and a
// short fade to zero at `length`.
void Bell(Buffer& out, double start, double frequency, double length, double level, double decay);
// A plucked, slightly hollow tone (odd harmonics), shorter and rounder than a bell.
void Pluck(Buffer& out, double start, double frequency, double length, double level);
// A held, gently chorused voice: rises over `attack`, holds for `length`, then fades over
// `release` (the tail sounds after start + length).
void Pad(Buffer& out, double start, double length, double frequency, double level, double attack,
         double release);
// A tone gliding from one frequency to another under a bell-shaped envelope.
void Sweep(Buffer& out, double start, double length, double from, double to, double level);

// Raised-cosine fades over the first and last samples of the buffer.
void FadeEnds(Buffer& buffer, double fadeIn, double fadeOut);
// Scales the buffer so its largest magnitude is peakDb below full scale, rounded to 16 bits.
std::vector<int16_t> Normalise(const Buffer& buffer, double peakDb);
// A mono 16-bit PCM WAV file at Rate. False when the file cannot be written.
bool WriteWav(const std::string& path, const std::vector<int16_t>& samples);

} // namespace Synth
