// MP3 output through the encoder module "lame_enc": the worker hands it the
// source's PCM format and chunks, it writes the frames to the output file.
// One Mp3Sink belongs to one thread, as the module's encoder does.
#pragma once

#include "engine/ModuleHost.h"
#include "engine/Sink.h"
#include "modules/apesdk/WaveFormat.h"
#include "modules/mp3enc/LameEnc.h"
#include "settings/ConversionSettings.h"

#include "platform/core/OutputFile.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class Mp3Sink : public ModuleHost, public Sink {
public:
    ~Mp3Sink() override;

    // Loads the module and its eleven entry points; 0 when any is missing.
    int Load(const wchar_t* moduleName) override;

    // Gives a fresh encoder its starting output type; an encoder that
    // already has an input type is left alone.
    void InitDefaults();
    // `format` is the source's 18-byte WAVEFORMATEX; `settings` the batch's.
    // Hands the MP3 block over with the bit-rate mode taken from the CBR
    // flag, starts the encoder and creates the file. MP3_S_OK, or the first
    // failure's negative code; after a failure nothing stays open and no
    // file was created.
    std::int32_t Open(const WAVEFORMATEX* format, const std::wstring& path, const ConversionSettings& settings);
    // One chunk of PCM; does nothing unless Open succeeded.
    void Encode(const void* data, int n);
    void Write(const unsigned char* data, std::size_t bytes) override;
    // Writes the last frames and completes the file: MP3_S_OK, or a negative
    // code when anything failed since Open, in which case the file is
    // removed rather than left incomplete.
    std::int32_t Finish();
    // Drops the encoder and the unfinished file; whatever was under the
    // file's name stays.
    void Abandon();
    // Why the file could not be made, for the user; empty while nothing failed.
    std::wstring FailureReason() const;

private:
    struct EntryPoints {
        MP3_SetInputType_t setInputType = nullptr;
        MP3_GetInputType_t getInputType = nullptr;
        MP3_SetOutputType_t setOutputType = nullptr;
        MP3_GetOutputType_t getOutputType = nullptr;
        MP3_SetPES_t setPes = nullptr;
        MP3_IsPES_t isPes = nullptr;
        MP3_Init_t init = nullptr;
        MP3_Close_t close = nullptr;
        MP3_Encode_t encode = nullptr;
        MP3_GetFrame_t getFrame = nullptr;
        MP3_Finish_t finish = nullptr;
        MP3_SetThreadCount_t setThreadCount = nullptr;  // optional
    };

    bool FindEntryPoints();
    void SetOutputField(int offset, std::uint32_t value);
    std::int32_t Fail(std::int32_t code, const wchar_t* reason);

    EntryPoints api_;
    win::OutputFile output_;
    FILE* file_ = nullptr;
    std::wstring reason_;
    std::vector<std::uint8_t> frames_;
    std::int32_t openResult_ = MP3_E_UNEXPECTED;
    bool encoderUsed_ = false;
    bool failed_ = false;
};
