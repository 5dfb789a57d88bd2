#include "engine/WavSink.h"

int WavSink::Create(const wchar_t* path)
{
    writer_.reset();
    if (!path) {
        errorText_ = "no file name";
        return 0;
    }
    appeared_ = false;
    writer_ = std::make_unique<WavWriter>(path, replaceExisting);
    errorText_ = writer_->IsOpen() ? std::string() : writer_->ErrorText();
    return writer_->IsOpen() ? 1 : 0;
}

int WavSink::SetFormat(const WAVEFORMATEX* format)
{
    if (!writer_ || !format)
        return 0;
    writer_->SetFormat(*format);
    return 1;
}

void WavSink::Write(const unsigned char* data, std::size_t bytes)
{
    if (writer_)
        writer_->Write(data, bytes);
}

int WavSink::Close()
{
    if (!writer_)
        return 0;
    writer_->WriteHeader();
    writer_->CloseFile(beforeCommit);
    bool intact = writer_->Intact();
    errorText_ = writer_->ErrorText();
    appeared_ = writer_->Appeared();
    writer_.reset();
    return intact ? 1 : 0;
}
