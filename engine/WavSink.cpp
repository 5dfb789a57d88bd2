#include "engine/WavSink.h"

int WavSink::Create(const wchar_t* path)
{
    if (!path)
        return 0;
    writer_ = std::make_unique<WavWriter>(path, 0);
    errorText_ = writer_->IsOpen() ? std::string() : writer_->ErrorText();
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
    writer_->CloseFile(beforeCommit);
    bool intact = writer_->Intact();
    errorText_ = writer_->ErrorText();
    writer_.reset();
    return intact ? 1 : 0;
}
