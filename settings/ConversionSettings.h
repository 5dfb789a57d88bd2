// Every user setting in one fixed 3200-byte record, stored byte for byte as
// the settings file. The layout is the file format: little-endian integers,
// the output directory as NUL-terminated UTF-16.
#pragma once

#include "settings/Mp3OutputType.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct ConversionSettings {
    static constexpr std::size_t kDirectoryCapacity = 1024;  // characters, NUL included

    std::uint32_t outputDirectoryLength = 0;
    char16_t outputDirectory[kDirectoryCapacity] = {};
    Mp3OutputType mp3;
    std::uint32_t cbrFlag = 0;
    std::uint32_t resamplingFlag = 1;
    std::uint32_t reserved0[4] = {};
    std::uint32_t reserved1 = 1;
    std::uint32_t reserved2 = 0;
    std::uint8_t reserved3[1024] = {};

    // 0 or 1 characters mean "beside the source".
    bool HasOutputDirectory() const { return outputDirectoryLength > 1; }
    // The stored text, never longer than 1023 characters, whatever the
    // length field or a missing NUL say.
    std::wstring OutputDirectory() const;
    // Stores `directory` (cut to 1023 characters) and its length.
    void SetOutputDirectory(std::wstring_view directory);
    // Makes a record read from outside safe to use: a NUL at the end of the
    // directory and a length that does not exceed the text.
    void Normalise();
};

static_assert(std::endian::native == std::endian::little,
              "the record is the little-endian file image");
static_assert(sizeof(ConversionSettings) == 3200);
static_assert(offsetof(ConversionSettings, outputDirectory) == 0x004);
static_assert(offsetof(ConversionSettings, mp3) == 0x804);
static_assert(offsetof(ConversionSettings, cbrFlag) == 0x860);
static_assert(offsetof(ConversionSettings, resamplingFlag) == 0x864);
static_assert(offsetof(ConversionSettings, reserved0) == 0x868);
static_assert(offsetof(ConversionSettings, reserved1) == 0x878);
static_assert(offsetof(ConversionSettings, reserved2) == 0x87C);
static_assert(offsetof(ConversionSettings, reserved3) == 0x880);

// The process-wide settings. Written only by the main thread; worker threads
// read its resampling flag.
extern ConversionSettings g_settings;
