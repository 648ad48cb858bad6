// sfxgen: synthesises the game's sound effects and its looping menu music as 16-bit mono WAV
// files at 22050 Hz. The output depends on nothing but this code, so every build is identical.
#include "Synth.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Synth::Buffer;
using Synth::Note;

constexpr double EffectPeak = -1.0; // dBFS
constexpr double MusicPeak = -3.0;  // the music sits below the effects

// A short, dry tick for every button: a damped high bell over a tiny body.
Buffer ButtonClick()
{
    Buffer out = Synth::Silence(0.07);
    Synth::Bell(out, 0.0, Note(88), 0.06, 0.9, 0.012);  // E7
    Synth::Bell(out, 0.0, Note(76), 0.06, 0.35, 0.020); // E6
    return out;
}

// Turning a cell: a soft upward swish of a rounded tone.
Buffer Move()
{
    Buffer out = Synth::Silence(0.14);
    Synth::Sweep(out, 0.0, 0.13, 420.0, 760.0, 0.8);
    return out;
}

// One cell completed: two bright bell notes a fifth apart.
Buffer Animation()
{
    Buffer out = Synth::Silence(0.42);
    Synth::Bell(out, 0.00, Note(79), 0.30, 0.8, 0.10); // G6
    Synth::Bell(out, 0.07, Note(86), 0.33, 0.7, 0.10); // D7
    return out;
}

// Several or large cells completed: a rising major arpeggio that rings out.
Buffer BigAnimation()
{
    Buffer out = Synth::Silence(0.75);
    const int notes[] = {72, 76, 79, 84, 88}; // C6 E6 G6 C7 E7
    for (int i = 0; i < 5; ++i)
        Synth::Bell(out, 0.06 * i, Note(notes[i]), 0.45, 0.65, 0.14);
    return out;
}

// A bonus taken: a quick sparkling run upwards with a shimmer on top.
Buffer Bonus()
{
    Buffer out = Synth::Silence(0.62);
    const int notes[] = {67, 71, 74, 79, 83, 86}; // G B D G B D
    for (int i = 0; i < 6; ++i)
        Synth::Bell(out, 0.045 * i, Note(notes[i]), 0.30, 0.55, 0.09);
    Synth::Pad(out, 0.27, 0.10, Note(79), 0.25, 0.02, 0.20);
    return out;
}

// A board won: a short fanfare ending on a held major chord.
Buffer Win()
{
    Buffer out = Synth::Silence(1.7);
    const int run[] = {60, 64, 67, 72}; // C5 E5 G5 C6
    for (int i = 0; i < 4; ++i)
        Synth::Pluck(out, 0.12 * i, Note(run[i]), 0.28, 0.7);
    for (const int n : {60, 64, 67, 72})
        Synth::Pad(out, 0.48, 0.60, Note(n), 0.35, 0.03, 0.55);
    Synth::Bell(out, 0.48, Note(84), 0.9, 0.35, 0.25);
    return out;
}

// A board lost: a slow, falling minor figure, soft rather than harsh.
Buffer Loose()
{
    Buffer out = Synth::Silence(1.5);
    const int fall[] = {67, 66, 65}; // G5 F#5 F5
    for (int i = 0; i < 3; ++i)
        Synth::Pluck(out, 0.22 * i, Note(fall[i]), 0.3, 0.6);
    for (const int n : {52, 55, 59, 64}) // E minor, low
        Synth::Pad(out, 0.66, 0.35, Note(n), 0.3, 0.04, 0.45);
    return out;
}

// The menu music: twelve bars of a gentle progression at 96 beats a minute, an exact whole
// number of samples per bar, with every tail wrapped around so the loop is seamless.
Buffer MenuMusic()
{
    constexpr double BeatSeconds = 60.0 / 96.0;
    constexpr int BeatsPerBar = 4;
    struct Chord
    {
        int bass;
        int tones[4];
    };
    // Cmaj7 Am7 Fmaj7 G | Cmaj7 Em7 Fmaj7 G | Am7 Fmaj7 Dm7 G: the last bar leads home.
    const Chord bars[] = {
        {36, {60, 64, 67, 71}}, {45, {57, 60, 64, 67}}, {41, {57, 60, 64, 65}},
        {43, {55, 59, 62, 67}}, {36, {60, 64, 67, 71}}, {40, {55, 59, 62, 64}},
        {41, {57, 60, 64, 65}}, {43, {55, 59, 62, 67}}, {45, {57, 60, 64, 67}},
        {41, {57, 60, 64, 65}}, {38, {57, 60, 62, 65}}, {43, {55, 59, 62, 65}},
    };
    const int barCount = static_cast<int>(std::size(bars));
    const double barSeconds = BeatSeconds * BeatsPerBar;
    Buffer out = Synth::Silence(barSeconds * barCount);
    out.wrap = true;

    // A lazy arpeggio over the chord tones, one soft bell per eighth note.
    const int pattern[8] = {0, 1, 2, 3, 2, 1, 2, 1};
    // A slow melody on top, two notes a bar (offsets into the chord tones, an octave up).
    const int melody[12][2] = {{3, 2}, {3, 1}, {2, 3}, {3, 2}, {3, 2}, {1, 2},
                               {2, 3}, {3, 1}, {3, 2}, {2, 1}, {3, 2}, {1, 3}};

    for (int b = 0; b < barCount; ++b) {
        const double start = b * barSeconds;
        const Chord& chord = bars[b];
        for (const int tone : chord.tones)
            Synth::Pad(out, start, barSeconds, Note(tone), 0.10, 0.6, 0.9);
        Synth::Pad(out, start, barSeconds * 0.5, Note(chord.bass), 0.22, 0.08, 0.5);
        Synth::Pad(out, start + barSeconds * 0.5, barSeconds * 0.5, Note(chord.bass + 7), 0.16,
                   0.08, 0.5);
        for (int e = 0; e < 8; ++e) {
            const double at = start + e * BeatSeconds * 0.5;
            const double level = (e % 2 == 0) ? 0.16 : 0.11;
            Synth::Bell(out, at, Note(chord.tones[pattern[e]] + 12), 0.9, level, 0.35);
        }
        for (int m = 0; m < 2; ++m) {
            const double at = start + m * barSeconds * 0.5;
            Synth::Bell(out, at, Note(chord.tones[melody[b][m]] + 24), 1.4, 0.12, 0.6);
        }
    }
    return out;
}

struct Sound
{
    const char* file;
    Buffer (*make)();
    double peakDb;
    bool loops;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: sfxgen OUTDIR\n"
                   "Writes the game's sound effects and menu music as WAV files into OUTDIR.\n",
                   stderr);
        return 2;
    }
    const std::string dir = argv[1];
    const Sound sounds[] = {
        {"click.wav", ButtonClick, EffectPeak, false},
        {"move.wav", Move, EffectPeak, false},
        {"complete.wav", Animation, EffectPeak, false},
        {"bigcomplete.wav", BigAnimation, EffectPeak, false},
        {"bonus.wav", Bonus, EffectPeak, false},
        {"win.wav", Win, EffectPeak, false},
        {"lose.wav", Loose, EffectPeak, false},
        {"menu.wav", MenuMusic, MusicPeak, true},
    };
    for (const Sound& sound : sounds) {
        Buffer buffer = sound.make();
        // Effects fade in and out so they start and end on silence; the loop must not, its
        // seam is continuous by construction.
        if (!sound.loops)
            Synth::FadeEnds(buffer, 0.004, 0.02);
        const std::vector<int16_t> samples = Synth::Normalise(buffer, sound.peakDb);
        const std::string path = dir + "/" + sound.file;
        if (!Synth::WriteWav(path, samples)) {
            std::fprintf(stderr, "sfxgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
