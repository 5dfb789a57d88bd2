#include "engine/Worker.h"

#include "engine/ApeSource.h"
#include "engine/BrookSource.h"
#include "engine/ConversionItem.h"
#include "engine/EngineMessages.h"
#include "engine/MainWindowHandle.h"
#include "engine/Mp3Sink.h"
#include "engine/WavSink.h"
#include "resample/WavResampler.h"
#include "settings/ConversionSettings.h"

#include "platform/core/Files.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Message.h"

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
        if (!PrepareSource())
            return 0;
        PrepareSink();
        win::DWORD result = 0;
        if (ape_ && (wav_ || mp3_) && !skipDecoding_ && item_.inputKind == kInputApe)
            result = Decode();
        if (wav_ && g_settings.resamplingFlag && !noResampling_)
            Resample();
        return result;
    }

private:
    bool PrepareSource()
    {
        switch (item_.inputKind) {
        case kInputApe:
            ape_ = std::make_unique<ApeSource>();
            return true;
        case kInputRealMedia:
            // Such rows only get their length from the module; loading it
            // here and letting it go at the end is all a row does with it.
            brook_ = std::make_unique<BrookSource>();
            return brook_->Load(L"Brook_R") == 1;
        }
        return true;
    }

    void PrepareSink()
    {
        switch (item_.outputKind) {
        case kOutputMp3:
            mp3_ = std::make_unique<Mp3Sink>();
            if (!mp3_->Load(L"lame_enc")) {
                mp3_.reset();
                return;
            }
            mp3_->sinkKind = kSinkMp3;
            t_currentSink = mp3_.get();
            if (win::FileExists(item_.outputPath) && !AskOverwrite(item_.outputPath))
                skipDecoding_ = noResampling_ = true;
            return;
        case kOutputWav:
            PrepareWav(true);
            return;
        case kOutputWavBesideSource: {
            auto dot = item_.sourcePath.rfind(L'.');
            item_.outputPath = item_.sourcePath.substr(0, dot == std::wstring::npos ? 0 : dot + 1) + L"wav";
            PrepareWav(false);
            return;
        }
        }
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
        if (mp3_)
            DecodeToMp3();
        else
            DecodeToWav();
        ape_->Close();
        return 0;
    }

    // A row whose output cannot be opened still shows its start and done,
    // the done saying it failed; there is nothing to decode into.
    void DecodeToMp3()
    {
        mp3_->InitDefaults();
        bool opened = mp3_->Open(ape_->PcmFormat(), item_.outputPath) >= 0;
        PostToWindow(WM_MP3_START, Key(), 0);
        if (opened)
            SetRangeAndDecode();
        bool written = opened && mp3_->Finish() >= 0;
        mp3_->Unload();
        PostToWindow(WM_MP3_DONE, Key(), written ? 0 : 1);
    }

    void DecodeToWav()
    {
        wav_->Create(item_.outputPath.c_str());
        const WAVEFORMATEX* format = ape_->PcmFormat();
        wav_->SetFormat(format);
        if (format->nSamplesPerSec == 44100 && format->nChannels == 2)
            noResampling_ = true;
        PostToWindow(WM_WAVE_START, Key(), 0);
        if (wav_->IsOpen())
            SetRangeAndDecode();
        bool written = wav_->Close() == 1;
        PostToWindow(WM_WAVE_DONE, Key(), written ? 0 : 1);
    }

    // The finished WAV file (or the one kept from before) becomes 16-bit
    // 44100 Hz in place, at most once per row.
    void Resample()
    {
        WavResampler resampler(g_mainWindow.load());
        if (resampler.Open(item_.outputPath.c_str(), item_.outputPath.c_str())) {
            resampler.Run();
            resampler.Close();
        }
    }

    void SetRangeAndDecode()
    {
        auto start = static_cast<std::uint32_t>(static_cast<std::int32_t>(item_.startMs));
        auto end = static_cast<std::uint32_t>(static_cast<std::int32_t>(item_.endMs));
        ape_->SetRange(start, end);
        ape_->Decode();
    }

    win::WPARAM Key() const { return static_cast<win::WPARAM>(item_.rowKey); }

    ConversionItem& item_;
    std::unique_ptr<ApeSource> ape_;
    std::unique_ptr<BrookSource> brook_;
    std::unique_ptr<WavSink> wav_;
    std::unique_ptr<Mp3Sink> mp3_;
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
    if (Sink* sink = t_currentSink; sink && bytes > 0) {
        if (sink->sinkKind == kSinkMp3)
            static_cast<Mp3Sink*>(sink)->Encode(data, bytes);
        else if (sink->sinkKind == kSinkWav)
            static_cast<WavSink*>(sink)->Write(data, static_cast<std::size_t>(bytes));
    }
    if (win::HWND window = g_mainWindow.load())
        win::SendMessage(window, WM_CONVERT_PROGRESS, 0, reinterpret_cast<win::LPARAM>(&positionMs));
}
