// A row's loudness, measured from the chunks its sink gets when the batch
// writes ReplayGain, and handed to the album when the row is over.
#include "engine/RowConversion.h"

void RowConversion::Measure(const unsigned char* data, int bytes)
{
    if (settings_.replayGain == BatchSettings::ReplayGain::Off)
        return;
    if (!meter_) {
        const WAVEFORMATEX* format = ape_->PcmFormat();
        meter_ = std::make_unique<LoudnessMeter>(format->nChannels, format->nSamplesPerSec, format->wBitsPerSample);
    }
    meter_->Add(data, static_cast<std::size_t>(bytes));
}

void RowConversion::AlbumRowOver()
{
    if (!albums_)
        return;
    const bool made = reported_ && converted_ && !resampleFailed_ && meter_ && meter_->Ok();
    albums_->RowOver(item_, made ? std::move(meter_) : nullptr, outputTags_ ? *outputTags_ : item_.tags);
}
