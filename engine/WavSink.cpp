#include "engine/WavSink.h"

#include "platform/core/Files.h"

int WavSink::Create(const wchar_t* path)
{
    if (!path)
        return 0;
    path_ = path;
    writer_ = std::make_unique<WavWriter>(path_, 0);
    return 1;
}

int WavSink::SetFormat(const WAVEFORMATEX* format)
{
    if (!writer_ || !format)
        return 0;
    writer_->SetFormat(*format);
    return 1;
}

int WavSink::Write(const unsigned char* data, std::size_t bytes)
{
    return writer_ ? writer_->Write(data, bytes) : 0;
}

int WavSink::Close()
{
    if (!writer_)
        return 0;
    writer_->WriteHeader();
    writer_->CloseFile();
    bool created = writer_->Created();
    bool intact = writer_->Intact();
    writer_.reset();
    if (created && !intact)
        win::_wremove(path_.c_str());
    return intact ? 1 : 0;
}
