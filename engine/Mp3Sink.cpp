#include "engine/Mp3Sink.h"

#include "modules/mp3enc/InputLimits.h"

#include "platform/core/Strings.h"
#include "platform/core/WorkThreads.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

static_assert(offsetof(Mp3OutputType, sampleRate) == MP3_OUT_SAMPLE_RATE);
static_assert(offsetof(Mp3OutputType, cbrBitRate) == MP3_OUT_CBR_BIT_RATE);
static_assert(offsetof(Mp3OutputType, mode) == MP3_OUT_MODE);
static_assert(offsetof(Mp3OutputType, vbrMinimum) == MP3_OUT_VBR_MINIMUM);
static_assert(offsetof(Mp3OutputType, vbrMaximum) == MP3_OUT_VBR_MAXIMUM);
static_assert(offsetof(Mp3OutputType, quality) == MP3_OUT_QUALITY);
static_assert(offsetof(Mp3OutputType, crcFlag) == MP3_OUT_CRC);
static_assert(offsetof(Mp3OutputType, copyrightFlag) == MP3_OUT_COPYRIGHT);
static_assert(offsetof(Mp3OutputType, originalFlag) == MP3_OUT_ORIGINAL);
static_assert(sizeof(Mp3OutputType) == MP3_OUTPUT_TYPE_SIZE);

Mp3Sink::~Mp3Sink() { Abandon(); }

int Mp3Sink::Load(const wchar_t* moduleName)
{
    api_ = EntryPoints();
    if (LoadWithExports(moduleName, [this] { return FindEntryPoints(); }))
        return 1;
    api_ = EntryPoints();
    return 0;
}

bool Mp3Sink::FindEntryPoints()
{
    auto find = [this](auto& entry, const char* name) { return FindExport(entry, name); };
    // Every lookup runs, so nothing is half-filled by a short circuit.
    bool all = find(api_.setInputType, "MP3_SetInputType");
    all &= find(api_.getInputType, "MP3_GetInputType");
    all &= find(api_.setOutputType, "MP3_SetOutputType");
    all &= find(api_.getOutputType, "MP3_GetOutputType");
    all &= find(api_.setPes, "MP3_SetPES");
    all &= find(api_.isPes, "MP3_IsPES");
    all &= find(api_.init, "MP3_Init");
    all &= find(api_.close, "MP3_Close");
    all &= find(api_.encode, "MP3_Encode");
    all &= find(api_.getFrame, "MP3_GetFrame");
    all &= find(api_.finish, "MP3_Finish");
    // A module without it encodes on one thread, as it always did.
    find(api_.setThreadCount, "MP3_SetThreadCount");
    return all;
}

void Mp3Sink::SetOutputField(int offset, std::uint32_t value)
{
    std::uint8_t type[MP3_OUTPUT_BUFFER_SIZE] = {};
    if (api_.getOutputType(type) < 0)
        return;
    std::memcpy(type + offset, &value, sizeof value);
    api_.setOutputType(type, 0);
}

void Mp3Sink::InitDefaults()
{
    if (!HasModule())
        return;
    encoderUsed_ = true;
    std::uint8_t input[MP3_INPUT_TYPE_SIZE] = {};
    if (api_.getInputType(input) >= 0)
        return;
    api_.setPes(0);
    for (const Mp3FieldStep& step : kInitDefaultSteps) {
        std::uint32_t value = step.value;
        if (value == kInputRate) {
            value = 0;
            if (api_.getInputType(input) >= 0)
                std::memcpy(&value, input + offsetof(WAVEFORMATEX, nSamplesPerSec), sizeof value);
        }
        SetOutputField(step.offset, value);
    }
}

std::int32_t Mp3Sink::Fail(std::int32_t code, const wchar_t* reason)
{
    api_.close();
    encoderUsed_ = false;
    openResult_ = code;
    if (reason_.empty())
        reason_ = reason;
    return code;
}

std::int32_t Mp3Sink::Open(const WAVEFORMATEX* format, const std::wstring& path, const ConversionSettings& settings)
{
    if (!HasModule() || file_)
        return openResult_ = MP3_E_UNEXPECTED;
    encoderUsed_ = true;
    failed_ = false;
    reason_.clear();
    std::int32_t result = api_.setInputType(format, 0);
    if (result < 0) {
        std::wstring why = format ? Mp3InputProblem(format->nSamplesPerSec, format->nChannels, format->wBitsPerSample)
                                  : L"";
        return Fail(result, why.empty() ? L"the MP3 encoder cannot take this audio format" : why.c_str());
    }

    // The bit-rate mode lives outside the MP3 block; without it the
    // encoder would never see the user's choice of constant or variable.
    Mp3OutputType block = settings.mp3;
    block.mode = settings.cbrFlag ? 1 : 0;
    std::uint8_t type[MP3_OUTPUT_BUFFER_SIZE] = {};
    std::memcpy(type, &block, sizeof block);
    if (api_.setThreadCount)
        api_.setThreadCount(win::RowThreads());
    if ((result = api_.setOutputType(type, 0)) < 0 || (result = api_.init()) < 0)
        return Fail(result, L"the MP3 encoder refused the settings");

    if (!output_.Create(path))
        return Fail(MP3_E_FAIL, L"");
    output_.SetReplaceExisting(replaceExisting);
    file_ = output_.Stream();
    return openResult_ = MP3_S_OK;
}

void Mp3Sink::Write(const unsigned char* data, std::size_t bytes)
{
    // The encoder takes ints; a chunk is never near that size.
    Encode(data, static_cast<int>(bytes));
}

void Mp3Sink::Encode(const void* data, int n)
{
    if (!file_ || !HasModule() || !data)
        return;
    frames_.clear();
    auto pcm = static_cast<const std::uint8_t*>(data);
    while (n > 0) {
        std::int32_t used = api_.encode(pcm, n);
        if (used <= 0) {
            failed_ = true;
            return;
        }
        const std::uint8_t* frame = nullptr;
        std::int32_t size;
        while ((size = api_.getFrame(&frame)) > 0 && frame)
            frames_.insert(frames_.end(), frame, frame + size);
        used = std::min(used, n);
        pcm += used;
        n -= used;
    }
    if (!frames_.empty() && std::fwrite(frames_.data(), 1, frames_.size(), file_) != frames_.size())
        failed_ = true;
}

std::int32_t Mp3Sink::Finish()
{
    if (!file_ || !HasModule())
        return openResult_ < 0 ? openResult_ : MP3_E_UNEXPECTED;
    std::int32_t finished = api_.finish(file_);
    std::int32_t closed = api_.close();
    encoderUsed_ = false;
    file_ = nullptr;
    std::int32_t result = finished < 0 ? finished : closed < 0 ? closed : MP3_S_OK;
    if (result == MP3_S_OK && failed_)
        result = MP3_E_FAIL;
    if (result == MP3_S_OK && beforeCommit) {
        if (std::fflush(output_.Stream()) != 0)
            result = MP3_E_FAIL;
        else if (reason_ = beforeCommit(output_); !reason_.empty())
            result = MP3_E_FAIL;
    }
    if (result == MP3_S_OK && !output_.Commit())
        result = MP3_E_FAIL;
    if (result < 0) {
        output_.Abandon();
        failed_ = true;
    }
    return result;
}

// A sink dropped without Finish leaves neither an encoder nor a broken file.
void Mp3Sink::Abandon()
{
    if (encoderUsed_ && HasModule())
        api_.close();
    encoderUsed_ = false;
    file_ = nullptr;
    output_.Abandon();
}

std::wstring Mp3Sink::FailureReason() const
{
    if (!reason_.empty())
        return reason_;
    if (output_.Appeared())
        return AppearedReason(output_.FinalPath());
    if (output_.Error())
        return L"could not be written: " + win::FromUtf8(output_.ErrorText());
    return failed_ ? L"the MP3 encoder failed" : L"";
}
