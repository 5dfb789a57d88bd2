// The module's exports: each works on the calling thread's encoder.
#include "modules/mp3enc/LameEnc.h"

#include "modules/mp3enc/EncoderPipeline.h"
#include "modules/mp3enc/Mp3Encoder.h"

#include <array>
#include <cstring>
#include <memory>

#define MP3_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr std::array<std::uint32_t, 23> kOwnOutputType = {
    44100, 128, 0, 80, 160, 5, 4, 3, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

struct ThreadEncoder {
    bool hasInput = false;
    std::uint8_t input[MP3_INPUT_TYPE_SIZE] = {};
    std::uint8_t output[MP3_OUTPUT_TYPE_SIZE] = {};
    std::unique_ptr<EncoderPipeline> encoder;

    ThreadEncoder() { std::memcpy(output, kOwnOutputType.data(), sizeof output); }
};

thread_local std::unique_ptr<ThreadEncoder> t_encoder;

ThreadEncoder& Current()
{
    if (!t_encoder)
        t_encoder = std::make_unique<ThreadEncoder>();
    return *t_encoder;
}

}  // namespace

MP3_EXPORT std::int32_t MP3_SetInputType(const void* waveFormat, std::int32_t flags)
{
    if (!waveFormat)
        return MP3_E_POINTER;
    auto bytes = static_cast<const std::uint8_t*>(waveFormat);
    if (flags != 0 || !ParsePcmFormat(bytes))
        return MP3_E_INVALIDARG;
    ThreadEncoder& state = Current();
    std::memcpy(state.input, bytes, sizeof state.input);
    state.hasInput = true;
    return MP3_S_OK;
}

MP3_EXPORT std::int32_t MP3_GetInputType(void* waveFormat)
{
    if (!waveFormat)
        return MP3_E_POINTER;
    if (!t_encoder || !t_encoder->hasInput)
        return MP3_E_UNEXPECTED;
    std::memcpy(waveFormat, t_encoder->input, sizeof t_encoder->input);
    return MP3_S_OK;
}

MP3_EXPORT std::int32_t MP3_SetOutputType(const void* outputType, std::int32_t flags)
{
    if (!outputType)
        return MP3_E_POINTER;
    if (flags != 0)
        return MP3_E_INVALIDARG;
    std::memcpy(Current().output, outputType, MP3_OUTPUT_TYPE_SIZE);
    return MP3_S_OK;
}

MP3_EXPORT std::int32_t MP3_GetOutputType(void* outputType)
{
    if (!outputType)
        return MP3_E_POINTER;
    if (t_encoder)
        std::memcpy(outputType, t_encoder->output, MP3_OUTPUT_TYPE_SIZE);
    else
        std::memcpy(outputType, kOwnOutputType.data(), MP3_OUTPUT_TYPE_SIZE);
    return MP3_S_OK;
}

MP3_EXPORT std::int32_t MP3_SetPES(std::int32_t enable)
{
    return enable == 0 ? MP3_S_OK : MP3_E_INVALIDARG;
}

MP3_EXPORT std::int32_t MP3_IsPES() { return 0; }

MP3_EXPORT std::int32_t MP3_Init()
{
    if (!t_encoder || !t_encoder->hasInput)
        return MP3_E_UNEXPECTED;
    t_encoder->encoder.reset();
    auto input = ParsePcmFormat(t_encoder->input);
    std::unique_ptr<Mp3Encoder> encoder;
    std::int32_t result = Mp3Encoder::Create(*input, t_encoder->output, encoder);
    if (result >= 0)
        t_encoder->encoder = std::make_unique<EncoderPipeline>(std::move(encoder));
    return result;
}

MP3_EXPORT std::int32_t MP3_Close()
{
    t_encoder.reset();
    return MP3_S_OK;
}

MP3_EXPORT std::int32_t MP3_Encode(const void* pcm, std::int32_t size)
{
    if (!pcm)
        return MP3_E_POINTER;
    if (!t_encoder || !t_encoder->encoder)
        return MP3_E_UNEXPECTED;
    return t_encoder->encoder->Encode(static_cast<const std::uint8_t*>(pcm), size);
}

MP3_EXPORT std::int32_t MP3_GetFrame(const std::uint8_t** frame)
{
    if (!frame)
        return MP3_E_POINTER;
    *frame = nullptr;
    if (!t_encoder || !t_encoder->encoder)
        return 0;
    const auto& bytes = t_encoder->encoder->TakeFrames();
    if (bytes.empty())
        return 0;
    *frame = bytes.data();
    return static_cast<std::int32_t>(bytes.size());
}

MP3_EXPORT std::int32_t MP3_Finish(FILE* output)
{
    if (!t_encoder || !t_encoder->encoder)
        return MP3_E_UNEXPECTED;
    return t_encoder->encoder->Finish(output);
}
