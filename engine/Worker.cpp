#include "engine/Worker.h"

#include "engine/ApeSource.h"
#include "engine/ConversionItem.h"
#include "engine/EngineMessages.h"
#include "engine/MainWindowHandle.h"
#include "engine/WavSink.h"

#include "platform/Files.h"
#include "platform/Message.h"
#include "platform/MessageBox.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

// Written by the worker before decoding and read by PcmCallback, both on
// the worker's own thread.
thread_local Sink* t_currentSink = nullptr;

void PostToWindow(win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    if (win::HWND window = g_mainWindow.load())
        win::PostMessage(window, message, wParam, lParam);
}

bool AskOverwrite(const std::wstring& path)
{
    std::wstring text = L"This " + path + L" file already exists, whether or not coverage?";
    return win::MessageBox(g_mainWindow.load(), text.c_str(), L"Kolvex", win::MB_YESNO | win::MB_ICONQUESTION) ==
           win::IDYES;
}

// The existing WAV file is already what resampling would make of it.
bool IsStereo44100(const std::wstring& path)
{
    FILE* file = win::_wfopen(path.c_str(), L"rb");
    if (!file)
        return false;
    unsigned char riff[20], format[18];
    bool read = std::fread(riff, 1, sizeof riff, file) == sizeof riff &&
                std::fread(format, 1, sizeof format, file) == sizeof format;
    std::fclose(file);
    if (!read)
        return false;
    unsigned channels = format[2] | (format[3] << 8);
    unsigned long rate = format[4] | (format[5] << 8) | (format[6] << 16) | (unsigned long)(format[7]) << 24;
    return rate == 44100 && channels == 2;
}

class RowConversion {
public:
    explicit RowConversion(ConversionItem& item) : item_(item) { }
    ~RowConversion() { t_currentSink = nullptr; }

    win::DWORD Run()
    {
        if (!PrepareSource() || !PrepareSink())
            return 0;
        win::DWORD result = 0;
        if (ape_ && !skipDecoding_ && item_.inputKind == kInputApe)
            result = Decode();
        return result;
    }

private:
    bool PrepareSource()
    {
        if (item_.inputKind == kInputApe)
            ape_ = std::make_unique<ApeSource>();
        return true;
    }

    bool PrepareSink()
    {
        switch (item_.outputKind) {
        case kOutputWav:
            PrepareWav(true);
            return true;
        case kOutputWavBesideSource: {
            auto dot = item_.sourcePath.rfind(L'.');
            item_.outputPath = item_.sourcePath.substr(0, dot == std::wstring::npos ? 0 : dot + 1) + L"wav";
            PrepareWav(false);
            return true;
        }
        }
        return false;
    }

    // An existing file is kept when the user says so (or, beside the
    // source, always): nothing is decoded into it.
    void PrepareWav(bool ask)
    {
        wav_ = std::make_unique<WavSink>();
        wav_->sinkKind = kSinkWav;
        t_currentSink = wav_.get();
        if (!win::FileExists(item_.outputPath))
            return;
        if (ask && AskOverwrite(item_.outputPath))
            return;
        noResampling_ = IsStereo44100(item_.outputPath);
        skipDecoding_ = true;
    }

    win::DWORD Decode()
    {
        if (!ape_->Open(item_.sourcePath.c_str()) || !ape_->SetCallback(PcmCallback))
            return static_cast<win::DWORD>(-1);
        if (wav_)
            DecodeToWav();
        ape_->Close();
        return 0;
    }

    void DecodeToWav()
    {
        wav_->Create(item_.outputPath.c_str());
        const WAVEFORMATEX* format = ape_->PcmFormat();
        wav_->SetFormat(format);
        if (format->nSamplesPerSec == 44100 && format->nChannels == 2)
            noResampling_ = true;
        PostToWindow(WM_WAVE_START, static_cast<win::WPARAM>(item_.rowKey), 0);
        SetRangeAndDecode();
        bool written = wav_->Close() == 1;
        PostToWindow(WM_WAVE_DONE, static_cast<win::WPARAM>(item_.rowKey), written ? 0 : 1);
    }

    void SetRangeAndDecode()
    {
        auto start = static_cast<std::uint32_t>(static_cast<std::int32_t>(item_.startMs));
        auto end = static_cast<std::uint32_t>(static_cast<std::int32_t>(item_.endMs));
        ape_->SetRange(start, end);
        ape_->Decode();
    }

    ConversionItem& item_;
    std::unique_ptr<ApeSource> ape_;
    std::unique_ptr<WavSink> wav_;
    bool skipDecoding_ = false;
    bool noResampling_ = false;
};

}  // namespace

win::DWORD WorkerThread(void* item)
{
    if (!item)
        return 0;
    RowConversion conversion(*static_cast<ConversionItem*>(item));
    return conversion.Run();
}

void PcmCallback(const unsigned char* data, int bytes, std::int64_t positionMs)
{
    if (Sink* sink = t_currentSink; sink && sink->sinkKind == kSinkWav && bytes > 0)
        static_cast<WavSink*>(sink)->Write(data, static_cast<std::size_t>(bytes));
    if (win::HWND window = g_mainWindow.load())
        win::SendMessage(window, WM_CONVERT_PROGRESS, 0, reinterpret_cast<win::LPARAM>(&positionMs));
}
