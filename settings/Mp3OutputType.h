// The MP3 block of the settings: 23 little-endian 32-bit fields handed whole
// to the encoder module, which gives the fields nobody edits their meaning.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

struct Mp3OutputType {
    std::uint32_t sampleRate = 0;        // Hz; 0 = the input's
    std::uint32_t cbrBitRate = 128;      // kbit/s
    std::uint32_t mode = 0;              // the encoder's bit-rate mode, filled from the CBR flag
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
static_assert(offsetof(Mp3OutputType, mode) == 8);
static_assert(offsetof(Mp3OutputType, vbrMinimum) == 12);
static_assert(offsetof(Mp3OutputType, vbrMaximum) == 16);
static_assert(offsetof(Mp3OutputType, quality) == 20);
static_assert(offsetof(Mp3OutputType, crcFlag) == 40);
static_assert(offsetof(Mp3OutputType, copyrightFlag) == 52);
static_assert(offsetof(Mp3OutputType, originalFlag) == 56);
static_assert(offsetof(Mp3OutputType, fields16To22) == 64);

// The encoder module addresses the block by byte offset.
namespace mp3_field {
constexpr int kSampleRate = 0;
constexpr int kCbrBitRate = 4;
constexpr int kMode = 8;
constexpr int kVbrMinimum = 12;
constexpr int kVbrMaximum = 16;
constexpr int kQuality = 20;
constexpr int kCrc = 40;
constexpr int kCopyright = 52;
constexpr int kOriginal = 56;
// Fields the encoder keeps and hands back without giving them a meaning.
constexpr int kField6 = 24;
constexpr int kField7 = 28;
constexpr int kField8 = 32;
constexpr int kField9 = 36;
constexpr int kField11 = 44;
constexpr int kField12 = 48;
constexpr int kField15 = 60;
constexpr int kFields16To22 = 64;
constexpr int kFieldBytes = 4;
}  // namespace mp3_field

static_assert(offsetof(Mp3OutputType, sampleRate) == mp3_field::kSampleRate);
static_assert(offsetof(Mp3OutputType, cbrBitRate) == mp3_field::kCbrBitRate);
static_assert(offsetof(Mp3OutputType, mode) == mp3_field::kMode);
static_assert(offsetof(Mp3OutputType, vbrMinimum) == mp3_field::kVbrMinimum);
static_assert(offsetof(Mp3OutputType, vbrMaximum) == mp3_field::kVbrMaximum);
static_assert(offsetof(Mp3OutputType, quality) == mp3_field::kQuality);
static_assert(offsetof(Mp3OutputType, crcFlag) == mp3_field::kCrc);
static_assert(offsetof(Mp3OutputType, copyrightFlag) == mp3_field::kCopyright);
static_assert(offsetof(Mp3OutputType, originalFlag) == mp3_field::kOriginal);
static_assert(offsetof(Mp3OutputType, field6) == mp3_field::kField6);
static_assert(offsetof(Mp3OutputType, field7) == mp3_field::kField7);
static_assert(offsetof(Mp3OutputType, field8) == mp3_field::kField8);
static_assert(offsetof(Mp3OutputType, field9) == mp3_field::kField9);
static_assert(offsetof(Mp3OutputType, field11) == mp3_field::kField11);
static_assert(offsetof(Mp3OutputType, field12) == mp3_field::kField12);
static_assert(offsetof(Mp3OutputType, field15) == mp3_field::kField15);
static_assert(offsetof(Mp3OutputType, fields16To22) == mp3_field::kFields16To22);

// One step of the init-defaults sequence: set the field at `offset`.
struct Mp3FieldStep {
    int offset;
    std::uint32_t value;
};
// Stands for "the input type's sample rate, 0 when there is none".
constexpr std::uint32_t kInputRate = 0xFFFFFFFF;

// A fresh encoder (one without an input type) gets these, one field at a
// time and in this order. Field 7 is left out: the step may only set it
// to 1 or 2 and is asked for 3, so it keeps the module's own value.
namespace mp3_field {
constexpr int Of16To22(int i) { return kFields16To22 + i * kFieldBytes; }
}  // namespace mp3_field
inline constexpr Mp3FieldStep kInitDefaultSteps[] = {
    {mp3_field::kCbrBitRate, 128}, {mp3_field::kMode, 0}, {mp3_field::kVbrMinimum, 80},
    {mp3_field::kVbrMaximum, 160}, {mp3_field::kQuality, 5}, {mp3_field::kField6, 4},
    {mp3_field::kSampleRate, kInputRate},
    {mp3_field::kCrc, 0}, {mp3_field::kField11, 0}, {mp3_field::kField12, 0}, {mp3_field::kOriginal, 0},
    {mp3_field::kCopyright, 0},
    {mp3_field::Of16To22(0), 0}, {mp3_field::Of16To22(1), 0}, {mp3_field::Of16To22(2), 0},
    {mp3_field::Of16To22(3), 0}, {mp3_field::Of16To22(4), 0}, {mp3_field::Of16To22(5), 0},
    {mp3_field::kField9, 0}, {mp3_field::kField8, 1}, {mp3_field::Of16To22(6), 0},
};
