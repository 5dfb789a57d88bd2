#include "engine/FlacSink.h"

#include <algorithm>
#include <cstdio>

FlacSink::~FlacSink() { Abandon(); }

FLAC__StreamEncoderWriteStatus FlacSink::WriteTo(const FLAC__StreamEncoder*, const FLAC__byte buffer[], size_t bytes,
                                                 uint32_t, uint32_t, void* sink)
{
    return static_cast<FlacSink*>(sink)->WriteBytes(buffer, bytes) ? FLAC__STREAM_ENCODER_WRITE_STATUS_OK
                                                                    : FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR;
}

// The encoder comes back to the start to complete the stream's header
// (length, MD5 of the audio) once it is done.
FLAC__StreamEncoderSeekStatus FlacSink::SeekTo(const FLAC__StreamEncoder*, FLAC__uint64 offset, void* sink)
{
    std::FILE* stream = static_cast<FlacSink*>(sink)->Stream();
    return stream && fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0 ? FLAC__STREAM_ENCODER_SEEK_STATUS_OK
                                                                              : FLAC__STREAM_ENCODER_SEEK_STATUS_ERROR;
}

FLAC__StreamEncoderTellStatus FlacSink::TellOf(const FLAC__StreamEncoder*, FLAC__uint64* offset, void* sink)
{
    std::FILE* stream = static_cast<FlacSink*>(sink)->Stream();
    off_t at = stream ? ftello(stream) : -1;
    if (at < 0)
        return FLAC__STREAM_ENCODER_TELL_STATUS_ERROR;
    *offset = static_cast<FLAC__uint64>(at);
    return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
}

std::wstring FlacSink::StartEncoder(const WAVEFORMATEX& format)
{
    if (format.nChannels > 8)
        return L"FLAC holds at most 8 channels; the source has " + std::to_wstring(format.nChannels);
    if (format.nSamplesPerSec == 0 || format.nSamplesPerSec > 1048575)
        return L"FLAC cannot hold the source's sample rate";
    encoder_ = FLAC__stream_encoder_new();
    if (!encoder_)
        return L"the FLAC encoder cannot be started";
    FLAC__stream_encoder_set_verify(encoder_, true);
    FLAC__stream_encoder_set_compression_level(encoder_, static_cast<uint32_t>(std::clamp(level_, 0, 8)));
    FLAC__stream_encoder_set_channels(encoder_, format.nChannels);
    FLAC__stream_encoder_set_bits_per_sample(encoder_, format.wBitsPerSample);
    FLAC__stream_encoder_set_sample_rate(encoder_, format.nSamplesPerSec);
    if (FLAC__stream_encoder_init_stream(encoder_, WriteTo, SeekTo, TellOf, nullptr, this) !=
        FLAC__STREAM_ENCODER_INIT_STATUS_OK) {
        std::wstring why = Trouble();
        DropEncoder();
        return why.empty() ? L"the FLAC encoder refused the source's audio format" : why;
    }
    return {};
}

std::wstring FlacSink::Trouble() const
{
    switch (FLAC__stream_encoder_get_state(encoder_)) {
    case FLAC__STREAM_ENCODER_OK:
    case FLAC__STREAM_ENCODER_UNINITIALIZED: return {};
    case FLAC__STREAM_ENCODER_VERIFY_MISMATCH_IN_AUDIO_DATA:
    case FLAC__STREAM_ENCODER_VERIFY_DECODER_ERROR:
        return L"the FLAC encoder's check of its own output failed: the file would not give back the source";
    case FLAC__STREAM_ENCODER_CLIENT_ERROR:
    case FLAC__STREAM_ENCODER_IO_ERROR: return L"could not be written";
    case FLAC__STREAM_ENCODER_MEMORY_ALLOCATION_ERROR: return L"the FLAC encoder ran out of memory";
    default: return L"the FLAC encoder failed";
    }
}

std::wstring FlacSink::Encode(const std::int32_t* samples, std::size_t frames)
{
    // libFLAC counts in unsigned ints; a chunk is far smaller.
    if (!FLAC__stream_encoder_process_interleaved(encoder_, samples, static_cast<uint32_t>(frames))) {
        std::wstring why = Trouble();
        return why.empty() ? L"the FLAC encoder failed" : why;
    }
    return {};
}

std::wstring FlacSink::FinishEncoder()
{
    bool finished = FLAC__stream_encoder_finish(encoder_);
    std::wstring why = finished ? std::wstring() : Trouble();
    if (!finished && why.empty())
        why = L"the FLAC encoder failed";
    FLAC__stream_encoder_delete(encoder_);
    encoder_ = nullptr;
    return why;
}

void FlacSink::DropEncoder()
{
    if (!encoder_)
        return;
    // Finishing would write the file's last frame and header; the file is
    // dropped anyway.
    FLAC__stream_encoder_delete(encoder_);
    encoder_ = nullptr;
}
