// An Opus track cut from a continuous image. An encoder that starts cold
// clicks at the track's first frame and ends on padding, so that tracks
// played one after the other are audibly worse at each join than one
// file of the whole image. The encoder therefore hears a little of the
// neighbouring tracks first and last; the stream hides it again (see
// OggOpusTrim), so the track holds exactly its own samples.
#include "engine/RowConversion.h"

#include <algorithm>
#include <vector>

void RowConversion::PlanNeighbours()
{
    leadFrames_ = tailFrames_ = 0;
    if (!opus_ || item_.startFrames < 0)
        return;
    const std::uint32_t rate = ape_->PcmFormat()->nSamplesPerSec;
    const std::int64_t start = ape_->StartBlock();
    const std::int64_t end = ape_->EndBlock();
    const auto total = static_cast<std::int64_t>(ape_->Info(APE_DECOMPRESS_TOTAL_BLOCKS));
    leadFrames_ = OpusSink::LeadFrames(rate, start);
    tailFrames_ = std::clamp<std::int64_t>(total - end, 0, rate / 10);
    // Both ends from the image's start, so that the tracks' lengths at
    // 48 kHz add up to the image's.
    const std::int64_t length48 = tailFrames_ > 0 ? end * 48000 / rate - start * 48000 / rate : -1;
    opus_->HearNeighbours(leadFrames_, length48);
}

void RowConversion::HearBefore()
{
    if (leadFrames_ <= 0)
        return;
    const std::int64_t start = ape_->StartBlock();
    // Read by a decoder of its own: a decoder reports a damaged frame in
    // every later call, and damage before the track is not the track's.
    ApeSource before;
    before.SetRawImage(item_.rawImage);
    std::int64_t got = 0;
    if (before.Open(item_.sourcePath.c_str()) == 1) {
        got = before.DecodeAside(start - leadFrames_, start, [this](const unsigned char* data, int bytes, std::int64_t) {
            encoded_->Write(data, static_cast<std::size_t>(bytes));
        });
    }
    // What could not be read still has to fill the time the stream's
    // header skips.
    const WAVEFORMATEX* format = ape_->PcmFormat();
    if (got < leadFrames_) {
        std::vector<unsigned char> silence(static_cast<std::size_t>(leadFrames_ - got) * format->nBlockAlign,
                                           format->wBitsPerSample == 8 ? 0x80 : 0);
        encoded_->Write(silence.data(), silence.size());
    }
}

void RowConversion::HearAfter()
{
    if (tailFrames_ <= 0)
        return;
    const std::int64_t end = ape_->EndBlock();
    ape_->DecodeAside(end, end + tailFrames_, [this](const unsigned char* data, int bytes, std::int64_t) {
        encoded_->Write(data, static_cast<std::size_t>(bytes));
    });
}
