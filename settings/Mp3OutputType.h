// The MP3 block of the settings: 23 little-endian 32-bit fields handed whole
// to the encoder module, which gives the fields nobody edits their meaning.
#pragma once

#include <cstddef>
#include <cstdint>

struct Mp3OutputType {
    std::uint32_t sampleRate = 0;        // Hz; 0 = the input's
    std::uint32_t cbrBitRate = 128;      // kbit/s
    std::uint32_t field2 = 0;            // the encoder's bit-rate mode, filled from the CBR flag
    std::uint32_t vbrMinimum = 64;       // kbit/s
    std::uint32_t vbrMaximum = 192;      // kbit/s
    std::uint32_t quality = 0;           // 0 (highest) .. 9 (lowest)
    std::uint32_t field6 = 0;
    std::uint32_t field7 = 0;
    std::uint32_t field8 = 0;
    std::uint32_t field9 = 0;
    std::uint32_t crcFlag = 1;
    std::uint32_t field11 = 0;
    std::uint32_t field12 = 0;
    std::uint32_t copyrightFlag = 1;
    std::uint32_t originalFlag = 0;
    std::uint32_t field15 = 0;
    std::uint32_t fields16To22[7] = {};
};

static_assert(sizeof(Mp3OutputType) == 92);
static_assert(offsetof(Mp3OutputType, cbrBitRate) == 4);
static_assert(offsetof(Mp3OutputType, field2) == 8);
static_assert(offsetof(Mp3OutputType, vbrMinimum) == 12);
static_assert(offsetof(Mp3OutputType, vbrMaximum) == 16);
static_assert(offsetof(Mp3OutputType, quality) == 20);
static_assert(offsetof(Mp3OutputType, crcFlag) == 40);
static_assert(offsetof(Mp3OutputType, copyrightFlag) == 52);
static_assert(offsetof(Mp3OutputType, originalFlag) == 56);
static_assert(offsetof(Mp3OutputType, fields16To22) == 64);

// What the encoder module itself starts from; written into a settings file
// that has to be re-created when an encoder starts.
constexpr Mp3OutputType EncoderDefaults()
{
    Mp3OutputType t;
    t.sampleRate = 44100;
    t.cbrBitRate = 128;
    t.field2 = 0;
    t.vbrMinimum = 80;
    t.vbrMaximum = 160;
    t.quality = 5;
    t.field6 = 4;
    t.field7 = 3;
    t.field8 = 1;
    t.crcFlag = 0;
    t.field12 = 1;
    t.copyrightFlag = 0;
    t.originalFlag = 0;
    return t;
}
