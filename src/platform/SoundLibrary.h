// The sound library the sound manager is written against: samples loaded from WAV files in
// memory, played on 32 software-mixed channels of an SDL audio device.
#pragma once

#include "platform/SoundSample.h"

namespace Platform {

// A sample handle; the library owns the sample until FSOUND_Sample_Free or FSOUND_Close.
using FSOUND_SAMPLE = SoundSample;

constexpr int FSOUND_FREE = -1;                    // play on any free channel
constexpr int FSOUND_UNMANAGED = -2;               // a sample outside the library's numbered slots
constexpr unsigned int FSOUND_LOADMEMORY = 0x8000; // the sample argument is the file's bytes
constexpr unsigned int FSOUND_LOOP_NORMAL = 2;     // restart the sample at its end

// Whether the host lets the library open an audio device; off until the host says so, so a
// headless run or a test never reaches the machine's speakers by accident.
void SetAudioAllowed(bool allowed);

// Opens the default SDL audio device as 16-bit stereo at mixRate (8000 to 48000 Hz) with
// maxChannels channels (1 to 32); flags are ignored. 1 when ready; 0 when audio is not
// allowed or no device opens. Calling it again restarts the library (FSOUND_Close first).
int FSOUND_Init(int mixRate, int maxChannels, unsigned int flags);
// Closes the device and frees every sample. Must run before SDL_Quit.
void FSOUND_Close();

// Decodes a WAV file from memory (index FSOUND_UNMANAGED, mode with FSOUND_LOADMEMORY,
// offset 0, length > 0); see SoundSample::FromWav for the formats. The bytes are copied, so
// the caller may free them at once. Null before FSOUND_Init and for any failure.
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const void* data, unsigned int mode, int offset,
                                  int length);
// Ends every channel playing the sample and frees it; unknown or freed handles are ignored.
void FSOUND_Sample_Free(FSOUND_SAMPLE* sample);

// Starts a sample of the library on a free channel (channel FSOUND_FREE) at full volume,
// unpaused and not looping. The channel handle (see SoundMixer::Play), or -1 when every
// channel is busy, the sample is unknown or the library is not ready.
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
// As FSOUND_PlaySound, but paused when startPaused != 0. The device mixes on its own thread at
// any moment: a sound whose volume or loop mode is set after it starts must start paused, or a
// few milliseconds of it may be heard at full volume first.
int FSOUND_PlaySoundEx(int channel, FSOUND_SAMPLE* sample, int startPaused);
// Each acts on a channel at once and returns 1, or 0 when the channel's sound has ended.
int FSOUND_StopSound(int channel);
int FSOUND_SetPaused(int channel, int paused); // paused != 0 pauses; resuming continues
int FSOUND_SetVolume(int channel, int volume); // 0 to 250, linear
int FSOUND_SetLoopMode(int channel, unsigned int loopMode); // FSOUND_LOOP_NORMAL loops

} // namespace Platform
