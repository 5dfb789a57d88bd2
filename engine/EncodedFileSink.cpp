#include "engine/EncodedFileSink.h"

#include "platform/core/Strings.h"

// Each encoder drops its own state in its destructor (Abandon), while it
// still exists.
EncodedFileSink::~EncodedFileSink() { output_.Abandon(); }

void EncodedFileSink::Fail(const std::wstring& reason)
{
    if (reason_.empty())
        reason_ = reason.empty() ? L"could not be written" : reason;
}

bool EncodedFileSink::Open(const WAVEFORMATEX& format, const std::wstring& path)
{
    reason_.clear();
    open_ = false;
    const int bits = format.wBitsPerSample;
    if (format.wFormatTag != WAVE_FORMAT_PCM || format.nChannels == 0 ||
        (bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
        format.nBlockAlign != format.nChannels * (bits / 8)) {
        Fail(L"the source's audio format is not integer PCM that can be encoded");
        return false;
    }
    output_.SetReplaceExisting(replaceExisting);
    if (!output_.Create(path)) {
        Fail(L"could not be written: " + win::FromUtf8(output_.ErrorText()));
        return false;
    }
    if (std::wstring why = StartEncoder(format); !why.empty()) {
        Fail(why);
        output_.Abandon();
        return false;
    }
    frames_ = std::make_unique<PcmFrames>(format.nChannels, bits);
    open_ = true;
    return true;
}

void EncodedFileSink::Write(const unsigned char* data, std::size_t bytes)
{
    if (!open_ || !reason_.empty() || !data || bytes == 0)
        return;
    const auto& samples = frames_->Take(data, bytes);
    if (samples.empty())
        return;
    std::size_t frames = samples.size() / static_cast<std::size_t>(frames_->Channels());
    if (std::wstring why = Encode(samples.data(), frames); !why.empty())
        Fail(why);
}

bool EncodedFileSink::WriteBytes(const void* data, std::size_t size)
{
    std::FILE* stream = output_.Stream();
    return stream && std::fwrite(data, 1, size, stream) == size;
}

bool EncodedFileSink::Finish()
{
    if (!open_) {
        Fail(L"");
        return false;
    }
    open_ = false;
    if (reason_.empty() && frames_->Pending() != 0)
        Fail(L"the source ended inside a sample frame");
    if (std::wstring why = FinishEncoder(); !why.empty())
        Fail(why);
    if (reason_.empty() && output_.Error() == 0 && std::fflush(output_.Stream()) == 0 && beforeCommit)
        if (std::wstring why = beforeCommit(output_); !why.empty())
            Fail(why);
    if (reason_.empty() && output_.Commit())
        return true;
    // A full disk is what the user needs to hear of, whatever the encoder
    // made of the failed write.
    if (output_.Appeared())
        reason_ = AppearedReason(output_.FinalPath());
    else if (output_.Error() != 0)
        reason_ = L"could not be written: " + win::FromUtf8(output_.ErrorText());
    output_.Abandon();
    Fail(L"");
    return false;
}

void EncodedFileSink::Abandon()
{
    if (open_)
        DropEncoder();
    open_ = false;
    output_.Abandon();
}

std::wstring EncodedFileSink::FailureReason() const { return reason_; }
