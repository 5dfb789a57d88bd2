#include "engine/ApeSource.h"

#include "cue/CueImage.h"
#include "engine/ImageDecoder.h"
#include "engine/JoinedImages.h"
#include "modules/lossless/EmbeddedSheet.h"
#include "platform/core/PathParts.h"
#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <cmath>
#include <string>

ApeSource::~ApeSource() { Close(); }

namespace {

bool IsSheetPath(const std::wstring& path)
{
    return win::CompareNoCase(ExtensionOf(path).value_or(std::wstring_view()), L"cue") == 0;
}

RawImage RawKindOf(const CueFile& file)
{
    if (!IsRawCdImage(file))
        return RawImage::None;
    return file.kind == CueFileKind::Motorola ? RawImage::BigEndian : RawImage::LittleEndian;
}

}  // namespace

int ApeSource::OpenSheet(const std::wstring& path)
{
    cueFlag_ = cueReader_.Parse(path.c_str());
    image_ = cueReader_.ImagePath();
    if (!cueFlag_) {
        openError_ = L"the CUE sheet cannot be read";
        return 0;
    }
    if (image_.empty()) {
        openError_ = L"the CUE sheet names no audio file";
        return 0;
    }
    const CueSheet& sheet = *cueReader_.Sheet();
    // Several images: the sheet stands for all of them, one after another.
    std::vector<JoinedImages::Image> images;
    for (const CueFile& file : sheet.files)
        if (images.empty() || images.back().path != file.path)
            images.push_back({file.path, RawKindOf(file)});
    if (images.size() > 1) {
        decompressor_ = JoinedImages::Open(images, openError_);
        return decompressor_ ? 1 : 0;
    }
    for (const CueFile& file : sheet.files)
        if (file.path == image_)
            raw_ = RawKindOf(file);
    return OpenImage();
}

int ApeSource::OpenImage()
{
    int error = 0;
    decompressor_.reset(OpenImageDecoder(image_, raw_, error, openError_));
    return decompressor_ ? 1 : 0;
}

int ApeSource::Open(const wchar_t* path)
{
    Close();
    cueFlag_ = 0;
    image_.clear();
    openError_.clear();
    if (!path) {
        openError_ = L"no source file";
        return 0;
    }
    std::wstring text(path);
    int opened;
    if (IsSheetPath(text)) {
        opened = OpenSheet(text);
    } else {
        image_ = text;
        // An album image may have its sheet beside it under the same name,
        // or carry one inside; the one beside it wins.
        cueFlag_ = cueReader_.Parse(CompanionSheetPath(text).c_str());
        if (!cueFlag_ && raw_ == RawImage::None)
            cueFlag_ = cueReader_.ParseEmbedded(EmbeddedCueSheet(text), text);
        opened = OpenImage();
    }
    if (opened && decompressor_)
        blockAlign_ = static_cast<int>(decompressor_->GetInfo(APE_INFO_BLOCK_ALIGN));
    if (!opened || !decompressor_ || blockAlign_ <= 0) {
        if (openError_.empty())
            openError_ = L"not a readable audio file";
        Close();
        return 0;
    }
    chunk_.assign(static_cast<std::size_t>(blockAlign_) * kChunkBlocks, 0);
    return 1;
}

int ApeSource::SetCallback(PcmCallbackFn callback)
{
    if (!callback)
        return 0;
    callback_ = std::move(callback);
    return 1;
}

void ApeSource::SetRange(std::uint32_t startMs, std::uint32_t endMs)
{
    rangeStart_ = startMs;
    rangeEnd_ = endMs;
    frameStart_ = frameEnd_ = -1;
}

void ApeSource::SetFrameRange(std::int64_t startFrames, std::int64_t endFrames)
{
    frameStart_ = std::max<std::int64_t>(0, startFrames);
    frameEnd_ = endFrames;
}

namespace {

// Frame x rate / 75, rounded down: the same for both neighbours of a cut.
std::int64_t BlockOfFrame(std::int64_t frames, std::uint32_t rate)
{
    return frames * static_cast<std::int64_t>(rate) / 75;
}

}  // namespace

std::int64_t ApeSource::StartBlock()
{
    return frameStart_ >= 0 ? BlockOfFrame(frameStart_, PcmFormat()->nSamplesPerSec) : BlockAt(rangeStart_);
}

std::int64_t ApeSource::RangeEndBlock()
{
    if (frameStart_ >= 0)
        return frameEnd_ >= 0 ? BlockOfFrame(frameEnd_, PcmFormat()->nSamplesPerSec) : -1;
    return rangeEnd_ > 0 ? BlockAt(rangeEnd_) : -1;
}

std::int64_t ApeSource::BlockAt(std::uint32_t ms)
{
    if (!decompressor_)
        return 0;
    double length = static_cast<double>(decompressor_->GetInfo(APE_DECOMPRESS_LENGTH_MS));
    double blocks = static_cast<double>(decompressor_->GetInfo(APE_DECOMPRESS_TOTAL_BLOCKS));
    if (length <= 0)
        return 0;
    return static_cast<std::int64_t>(blocks / length * ms + 0.5);
}

std::int64_t ApeSource::EndBlock()
{
    auto total = static_cast<std::int64_t>(Info(APE_DECOMPRESS_TOTAL_BLOCKS));
    std::int64_t end = RangeEndBlock();
    return end >= 0 ? std::min(end, total) : total;
}

int ApeSource::Decode()
{
    blocksExpected_ = blocksDelivered_ = 0;
    firstErrorBlock_ = -1;
    stopped_ = false;
    if (!decompressor_)
        return -1;
    std::int64_t position = StartBlock();
    blocksExpected_ = std::max<std::int64_t>(0, EndBlock() - position);
    return Deliver(position, RangeEndBlock(), callback_, true);
}

std::int64_t ApeSource::DecodeAside(std::int64_t start, std::int64_t end, const PcmCallbackFn& to)
{
    if (!decompressor_ || end <= start)
        return 0;
    const std::int64_t before = blocksDelivered_;
    const std::int64_t firstError = firstErrorBlock_;
    const bool stopped = stopped_;
    Deliver(start, end, to, false);
    const std::int64_t delivered = blocksDelivered_ - before;
    blocksDelivered_ = before;
    firstErrorBlock_ = firstError;
    stopped_ = stopped;
    return delivered;
}

int ApeSource::Deliver(std::int64_t position, std::int64_t end, const PcmCallbackFn& to, bool stoppable)
{
    decompressor_->Seek(position);
    int error = ERROR_SUCCESS;
    blocksRead_ = 1;
    while (blocksRead_ > 0) {
        // The chunk that reaches the end block is cut there: the next track
        // begins exactly where this one stops.
        int want = kChunkBlocks;
        if (end >= 0)
            want = static_cast<int>(std::clamp<std::int64_t>(end - position, 0, kChunkBlocks));
        error = decompressor_->GetData(chunk_.data(), want, &blocksRead_);
        if (error != ERROR_SUCCESS && firstErrorBlock_ < 0)
            firstErrorBlock_ = blocksDelivered_;
        position += blocksRead_;
        blocksDelivered_ += blocksRead_;
        if (to) {
            auto ms = static_cast<std::int64_t>(decompressor_->GetInfo(APE_DECOMPRESS_CURRENT_MS));
            to(chunk_.data(), blockAlign_ * blocksRead_, ms);
        }
        if (end >= 0 && position >= end)
            break;
        if (stoppable && stop_ && stop_->load()) {
            stopped_ = true;
            break;
        }
    }
    return error;
}

void ApeSource::Close()
{
    chunk_.clear();
    chunk_.shrink_to_fit();
    decompressor_.reset();
    blockAlign_ = 0;
}

const WAVEFORMATEX* ApeSource::PcmFormat()
{
    if (decompressor_)
        decompressor_->GetInfo(APE_INFO_WAVEFORMATEX, reinterpret_cast<std::intptr_t>(&format_));
    return &format_;
}

std::intptr_t ApeSource::Info(APE_DECOMPRESS_FIELDS field)
{
    return decompressor_ ? decompressor_->GetInfo(field) : -1;
}
