// The software mixer and WAV decoding: volume, looping, pausing, stopping and channel limits
// as the sound manager relies on them, and damaged files refused rather than played.
#include "platform/SoundMixer.h"

#include "platform/SoundSample.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using Fixture::Pcm16;
using Fixture::Wav;
using Platform::SoundMixer;
using Platform::SoundSample;

namespace {

constexpr uint32_t MixRate = 22050;

SoundSample Constant(int16_t value, size_t frames)
{
    return SoundSample{std::vector<int16_t>(frames * 2, value)};
}

std::vector<int16_t> Lefts(SoundMixer& mixer, size_t frames)
{
    std::vector<int16_t> out(frames * 2, 12345); // garbage the mix must overwrite
    mixer.Mix(out.data(), frames);
    std::vector<int16_t> lefts;
    for (size_t i = 0; i < out.size(); i += 2)
        lefts.push_back(out[i]);
    return lefts;
}

bool Decodes(const std::vector<uint8_t>& wav)
{
    return SoundSample::FromWav(wav.data(), wav.size(), MixRate) != nullptr;
}

} // namespace

TEST(SoundMixer, VolumeScalesLinearlyAtOnceAndTruncatesTowardZero)
{
    struct Case
    {
        int volume;
        int16_t sample, expected; // sample x volume / 250, truncated toward zero
    };
    const Case cases[] = {
        {0, 32767, 0},         {125, 32767, 16383},                      // 16383.5
        {125, -32768, -16384}, {250, -32768, -32768}, {1, -32767, -131}, // -131.07
        {300, 1000, 1000},     {-5, 1000, 0},                            // clamped to 0..250
    };
    for (const Case& c : cases) {
        SoundMixer mixer;
        SoundSample sample = Constant(c.sample, 4);
        const int channel = mixer.Play(&sample);
        EXPECT_EQ(Lefts(mixer, 1)[0], c.sample); // a new channel plays at full volume
        ASSERT_TRUE(mixer.SetVolume(channel, c.volume));
        EXPECT_EQ(Lefts(mixer, 1)[0], c.expected) << "volume " << c.volume << ", " << c.sample;
    }
}

TEST(SoundMixer, LoopingRepeatsTheSampleAcrossMixPassesAndOneShotsEnd)
{
    for (bool looping : {true, false}) {
        SoundMixer mixer;
        SoundSample sample{{100, -1, 200, -2, 300, -3}};
        const int channel = mixer.Play(&sample);
        mixer.SetLooping(channel, looping);
        std::vector<int16_t> expected(1000, 0); // longer than one internal pass
        for (size_t i = 0; i < (looping ? expected.size() : 3); ++i)
            expected[i] = static_cast<int16_t>(100 * (i % 3 + 1));
        EXPECT_EQ(Lefts(mixer, 1000), expected) << "looping " << looping;
        EXPECT_EQ(mixer.IsBusy(channel), looping);
    }
}

TEST(SoundMixer, PauseKeepsThePlaceAndStopEndsTheSound)
{
    SoundMixer mixer;
    SoundSample sample{{100, 0, 200, 0, 300, 0, 400, 0, 500, 0, 600, 0}};
    const int channel = mixer.Play(&sample);
    EXPECT_EQ(Lefts(mixer, 2), (std::vector<int16_t>{100, 200}));
    mixer.SetPaused(channel, true);
    EXPECT_EQ(Lefts(mixer, 2), (std::vector<int16_t>{0, 0}));
    mixer.SetPaused(channel, false);
    EXPECT_EQ(Lefts(mixer, 2), (std::vector<int16_t>{300, 400}));
    EXPECT_TRUE(mixer.Stop(channel));
    EXPECT_EQ(Lefts(mixer, 2), (std::vector<int16_t>{0, 0}));
    EXPECT_FALSE(mixer.IsBusy(channel));
}

TEST(SoundMixer, ThirtyTwoBusyChannelsRefuseTheNextSound)
{
    SoundMixer mixer;
    SoundSample sample = Constant(1, 10);
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(mixer.Play(&sample), i);
    mixer.SetPaused(7, true); // paused is busy
    EXPECT_EQ(mixer.Play(&sample), -1);
    mixer.Stop(5);
    EXPECT_EQ(mixer.Play(&sample), 5 + 32); // channel 5's second sound
    SoundSample empty;
    EXPECT_EQ(SoundMixer().Play(&empty), -1);
}

// The sound manager keeps the channel of a sound's last start and acts on it later; by then a
// one-shot effect may have ended and its channel gone to another sound.
TEST(SoundMixer, CallsOnAnEndedSoundLeaveItsChannelsNewSoundAlone)
{
    SoundMixer mixer;
    SoundSample effect = Constant(100, 2);
    SoundSample music = Constant(1000, 8);
    const int old = mixer.Play(&effect);
    Lefts(mixer, 2); // the effect ends
    const int now = mixer.Play(&music);
    EXPECT_EQ(now, old + 32);
    EXPECT_FALSE(mixer.Stop(old) || mixer.SetPaused(old, true) || mixer.SetVolume(old, 0) ||
                 mixer.SetLooping(old, true));
    EXPECT_EQ(Lefts(mixer, 1)[0], 1000);
}

TEST(SoundMixer, StopSampleEndsOnlyTheChannelsPlayingIt)
{
    SoundMixer mixer;
    SoundSample freed = Constant(1000, 8), kept = Constant(7, 8);
    const int a = mixer.Play(&freed), b = mixer.Play(&kept), c = mixer.Play(&freed);
    mixer.SetPaused(c, true);
    mixer.StopSample(&freed);
    EXPECT_EQ((std::vector<bool>{mixer.IsBusy(a), mixer.IsBusy(b), mixer.IsBusy(c)}),
              (std::vector<bool>{false, true, false}));
    EXPECT_EQ(Lefts(mixer, 1)[0], 7);
}

TEST(SoundMixer, SumsSaturateAtSixteenBits)
{
    struct Case
    {
        std::vector<std::pair<int16_t, int>> voices; // value, volume
        int16_t expected;
    };
    const Case cases[] = {
        {{{20000, 250}, {12767, 250}}, 32767}, // exactly the top
        {{{20000, 250}, {12768, 250}}, 32767}, // one above, not wrapped
        {{{30000, 250}, {-10000, 250}}, 20000},
        {{{1, 125}, {1, 125}}, 1}, // (125 + 125) / 250: summed, then divided
        {std::vector<std::pair<int16_t, int>>(32, {-32768, 250}), -32768},
    };
    for (const Case& c : cases) {
        SoundMixer mixer;
        std::vector<SoundSample> samples;
        for (auto [value, volume] : c.voices)
            samples.push_back(Constant(value, 2));
        for (size_t i = 0; i < samples.size(); ++i)
            mixer.SetVolume(mixer.Play(&samples[i]), c.voices[i].second);
        EXPECT_EQ(Lefts(mixer, 1)[0], c.expected) << c.voices.size() << " voices";
    }
}

TEST(SoundSample, DecodesPcmToStereoAtTheMixingRate)
{
    struct Case
    {
        std::vector<uint8_t> wav;
        std::vector<int16_t> frames; // interleaved left, right
    };
    // 8-bit samples are unsigned around 128: (byte - 128) x 256. Mono goes to both sides.
    const Case cases[] = {
        {Wav(1, 8, MixRate, {0x80, 0xC0, 0xFF, 0x00}),
         {0, 0, 16384, 16384, 32512, 32512, -32768, -32768}},
        {Wav(2, 8, MixRate, {0x90, 0x70}), {4096, -4096}},
        {Wav(1, 16, MixRate, Pcm16({-1, 32767})), {-1, -1, 32767, 32767}},
        {Wav(2, 16, MixRate, Pcm16({1000, -2000})), {1000, -2000}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<SoundSample> sample =
            SoundSample::FromWav(c.wav.data(), c.wav.size(), MixRate);
        ASSERT_TRUE(sample);
        EXPECT_EQ(sample->frames, c.frames);
    }

    // 400 frames at 44100 Hz become 200 at 22050; a constant signal keeps its level away from
    // the ends, where the resampler's filter sees it start and stop.
    std::vector<int16_t> values;
    for (int i = 0; i < 400; ++i)
        values.insert(values.end(), {8000, -4000});
    const std::vector<uint8_t> wav = Wav(2, 16, 44100, Pcm16(values));
    std::unique_ptr<SoundSample> sample = SoundSample::FromWav(wav.data(), wav.size(), MixRate);
    ASSERT_TRUE(sample);
    EXPECT_NEAR(static_cast<double>(sample->FrameCount()), 200, 2);
    for (size_t i = 16; i + 16 < sample->FrameCount(); ++i) {
        ASSERT_NEAR(sample->frames[2 * i], 8000, 80) << i;
        ASSERT_NEAR(sample->frames[2 * i + 1], -4000, 80) << i;
    }
}

TEST(SoundSample, DamagedFilesAreRefused)
{
    const std::vector<uint8_t> whole = Wav(2, 16, MixRate, Pcm16({1, 2, 3, 4, 5, 6, 7, 8}));
    for (size_t length = 0; length < whole.size(); ++length)
        EXPECT_FALSE(SoundSample::FromWav(whole.data(), length, MixRate)) << length << " bytes";

    const auto set = [](size_t at, uint32_t value, int size = 4) {
        return [=](std::vector<uint8_t>& b) {
            for (int i = 0; i < size; ++i)
                b[at + i] = static_cast<uint8_t>(value >> (8 * i));
        };
    };
    struct Case
    {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> edit;
        bool accepted;
    };
    const Case cases[] = {
        {"unchanged", [](std::vector<uint8_t>&) {}, true},
        {"bytes after the RIFF body", [](std::vector<uint8_t>& b) { b.push_back(1); }, true},
        {"not RIFF", set(0, 'X', 1), false},
        {"not WAVE", set(8, 'X', 1), false},
        {"RIFF size past the end", set(4, 36 + 16 + 1), false},
        {"data past the RIFF size", set(4, 36 + 8), false},
        {"float samples", set(20, 3, 2), false},
        {"three channels", set(22, 3, 2), false},
        {"rate 999", set(24, 999), false},
        {"block align off", set(32, 2, 2), false},
        {"24-bit", set(34, 24, 2), false},
        {"fmt chunk too short", set(16, 14), false},
        {"no fmt chunk", set(12, 'X', 1), false},
        {"no data chunk", set(36, 'X', 1), false},
        {"data larger than the file", set(40, 0xFFFFFFFF), false},
        {"data not whole frames", set(40, 14), false},
        {"empty data", set(40, 0), false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> wav = whole;
        c.edit(wav);
        EXPECT_EQ(Decodes(wav), c.accepted) << c.name;
    }
    // Longer than MaxSeconds: refused before anything is decoded.
    EXPECT_FALSE(
        Decodes(Wav(1, 8, 1000, std::vector<uint8_t>(SoundSample::MaxSeconds * 1000 + 1))));
}
