// lame_enc: the MP3 encoder module, on libmp3lame. This header is the whole
// contract between the module and the program that loads it.
//
// Every thread has its own encoder: the calls below act on the calling
// thread's encoder only, so two threads can encode at once. A thread's
// encoder lives from its first Set... call to MP3_Close. Between MP3_Init
// and MP3_Finish the encoding itself runs on a thread of the module's, so
// that it overlaps whatever the caller does between calls (decoding).
//
// Results: 0 (MP3_S_OK) or a byte count for success, a negative code for
// failure.
//
// Input type: an 18-byte WAVEFORMATEX record, little-endian:
//   0 format tag (1 = PCM; nothing else is taken), 2 channels (1 or 2),
//   4 samples per second, 8 average bytes per second (not read),
//   12 block alignment (must equal channels x bytes per sample),
//   14 bits per sample (8 unsigned, 16, 24 or 32 signed), 16 extra size.
// PCM arrives interleaved in that width.
//
// Output type: 92 bytes of 23 little-endian 32-bit fields (callers pass a
// 96-byte buffer; the last 4 bytes are never touched):
//   offset  0  sample rate of the MP3 in Hz. 0 = the input's own rate when
//              MP3 has it (8000, 11025, 12000, 16000, 22050, 24000, 32000,
//              44100, 48000), otherwise the nearest rate the encoder picks.
//              Any other value must be one of those rates.
//   offset  4  bit rate in kbit/s for constant bit rate
//   offset  8  bit-rate mode: 1 = constant, 0 = variable
//   offset 12  lowest bit rate in kbit/s for variable bit rate (kept even in
//              silence)
//   offset 16  highest bit rate in kbit/s for variable bit rate
//   offset 20  quality 0 (best, slowest) .. 9 (fastest); in variable mode it
//              also chooses the target level (as LAME's -V)
//   offset 40  1 = every frame carries a CRC
//   offset 52  1 = the copyright bit is set in every frame header
//   offset 56  1 = the original bit is set in every frame header
//   offsets 24, 28, 32, 36, 44, 48, 60 and 64..88: kept and handed back by
//              MP3_GetOutputType, not used by the encoder.
// Every file starts with a Xing/LAME information frame ("Xing" in variable
// mode, "Info" in constant mode), which MP3_Finish completes.
//
// The encoder's own output type, until a thread sets one: 44100, 128, 0, 80,
// 160, 5, 4, 3, 1, 0, 0, 0, 1, 0, 0, 0 and zeros.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr std::int32_t MP3_S_OK = 0;
constexpr std::int32_t MP3_E_FAIL = static_cast<std::int32_t>(0x80004005);        // general failure
constexpr std::int32_t MP3_E_INVALIDARG = static_cast<std::int32_t>(0x80070057);  // a record the encoder cannot take
constexpr std::int32_t MP3_E_POINTER = static_cast<std::int32_t>(0x80004003);     // a null pointer
constexpr std::int32_t MP3_E_UNEXPECTED = static_cast<std::int32_t>(0x8000FFFF);  // called out of order

constexpr int MP3_INPUT_TYPE_SIZE = 18;
constexpr int MP3_OUTPUT_TYPE_SIZE = 92;
constexpr int MP3_OUTPUT_BUFFER_SIZE = 96;

constexpr int MP3_OUT_SAMPLE_RATE = 0;
constexpr int MP3_OUT_CBR_BIT_RATE = 4;
constexpr int MP3_OUT_MODE = 8;
constexpr int MP3_OUT_VBR_MINIMUM = 12;
constexpr int MP3_OUT_VBR_MAXIMUM = 16;
constexpr int MP3_OUT_QUALITY = 20;
constexpr int MP3_OUT_CRC = 40;
constexpr int MP3_OUT_COPYRIGHT = 52;
constexpr int MP3_OUT_ORIGINAL = 56;

extern "C" {

// Stores the input type; `flags` must be 0. Refuses what the encoder cannot
// take (not PCM, more than two channels, another width, a rate below 8000
// or above 768000 Hz: see InputLimits.h).
std::int32_t MP3_SetInputType(const void* waveFormat, std::int32_t flags);
// Copies the input type out; fails (MP3_E_UNEXPECTED) while none was set.
std::int32_t MP3_GetInputType(void* waveFormat);
// Stores the 92-byte output type; `flags` must be 0. Checked by MP3_Init.
std::int32_t MP3_SetOutputType(const void* outputType, std::int32_t flags);
// Copies the output type out (the encoder's own until one was set).
std::int32_t MP3_GetOutputType(void* outputType);
// MPEG PES packets are not made: only 0 is taken.
std::int32_t MP3_SetPES(std::int32_t enable);
std::int32_t MP3_IsPES();
// Starts encoding with the stored input and output types. An earlier encoder
// of this thread is replaced.
std::int32_t MP3_Init();
// Ends this thread's encoder and forgets its types; safe to repeat.
std::int32_t MP3_Close();
// Takes PCM bytes and returns how many it consumed: all of them (a partial
// block is kept for the next call), or a negative code once encoding has
// failed. It waits only while a few seconds of audio are still queued (with
// several threads: while every thread has a segment and one more is
// waiting). The frames made wait for MP3_GetFrame; the last ones may only
// come with MP3_Finish.
std::int32_t MP3_Encode(const void* pcm, std::int32_t size);
// Points `*frame` at the MP3 bytes finished so far and returns their count;
// 0 (and null) when there are none yet. The bytes stay valid until the next call.
std::int32_t MP3_GetFrame(const std::uint8_t** frame);
// Encodes what is left, appends the last frames to `output` and rewrites the
// information frame at its start. `output` is the stream the caller wrote
// every frame to, open for update ("w+b"); null discards the tail. Failures
// to write are reported.
std::int32_t MP3_Finish(FILE* output);

// Optional: loaders look it up by name and do without it. Threads the next
// MP3_Init of this thread may encode on (1 until set, again after MP3_Close;
// at most 8 are used). With more than one, the stream is encoded in segments
// of about 15 seconds at once and joined; the file decodes to the same length
// and sound as a serial encoding. Input that is resampled to another MP3
// rate is always encoded serially. KOLVEX_MP3_SEGMENT_FRAMES in the
// environment sets the frames per segment (tests use short ones).
std::int32_t MP3_SetThreadCount(std::int32_t threads);

}  // extern "C"

using MP3_SetInputType_t = decltype(&MP3_SetInputType);
using MP3_GetInputType_t = decltype(&MP3_GetInputType);
using MP3_SetOutputType_t = decltype(&MP3_SetOutputType);
using MP3_GetOutputType_t = decltype(&MP3_GetOutputType);
using MP3_SetPES_t = decltype(&MP3_SetPES);
using MP3_IsPES_t = decltype(&MP3_IsPES);
using MP3_Init_t = decltype(&MP3_Init);
using MP3_Close_t = decltype(&MP3_Close);
using MP3_Encode_t = decltype(&MP3_Encode);
using MP3_GetFrame_t = decltype(&MP3_GetFrame);
using MP3_Finish_t = decltype(&MP3_Finish);
using MP3_SetThreadCount_t = decltype(&MP3_SetThreadCount);
