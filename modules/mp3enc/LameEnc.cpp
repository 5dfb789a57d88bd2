// The module's exports: each works on the calling thread's encoder.
#include "modules/mp3enc/LameEnc.h"

#include "modules/mp3enc/EncoderPipeline.h"
#include "modules/mp3enc/Mp3Encoder.h"
#include "modules/mp3enc/SegmentPipeline.h"

#include <algorithm>
#include <array>
#include <cstdlib>
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
    int threads = 1;
    std::unique_ptr<EncoderStream> encoder;

    ThreadEncoder() { std::memcpy(output, kOwnOutputType.data(), sizeof output); }
};

thread_local std::unique_ptr<ThreadEncoder> t_encoder;

ThreadEncoder& Current()
{
    if (!t_encoder)
        t_encoder = std::make_unique<ThreadEncoder>();
    return *t_encoder;
}

// More threads than this gain little and cost a segment's memory each.
constexpr int kMostThreads = 8;

SegmentPlan Plan()
{
    SegmentPlan plan;
    // Tests make segments short, so that a few seconds of audio cross many joins.
    if (const char* frames = std::getenv("KOLVEX_MP3_SEGMENT_FRAMES"))
        plan.frames = std::max(std::atoi(frames), 2 * (plan.window + plan.tail));
    return plan;
}

std::unique_ptr<EncoderStream> Start(const ThreadEncoder& state, const PcmFormat& input,
                                     std::unique_ptr<Mp3Encoder> encoder)
{
    // Segments keep to the serial encoding's frame grid only while no
    // resampler stands between input and frames.
    if (state.threads <= 1 || encoder->Resamples())
        return std::make_unique<EncoderPipeline>(std::move(encoder));
    std::array<std::uint8_t, MP3_OUTPUT_TYPE_SIZE> type;
    std::memcpy(type.data(), state.output, type.size());
    auto make = [input, type](std::unique_ptr<Mp3Encoder>& another) {
        return Mp3Encoder::Create(input, type.data(), another);
    };
    return std::make_unique<SegmentPipeline>(std::move(encoder), make, input.blockAlign,
                                             std::min(state.threads, kMostThreads), Plan());
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
        t_encoder->encoder = Start(*t_encoder, *input, std::move(encoder));
    return result;
}

MP3_EXPORT std::int32_t MP3_SetThreadCount(std::int32_t threads)
{
    if (threads < 1)
        return MP3_E_INVALIDARG;
    Current().threads = threads;
    return MP3_S_OK;
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
