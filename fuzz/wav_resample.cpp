// A WAV file handed to the resampler: its header read and, when it is one
// the resampler takes, converted to 16-bit 44100 Hz into a second file.
// The file is small, so the conversion is short; what must hold is that no
// header makes it read past its buffers or loop.
//
// Files of up to eight channels are converted: the resampler's working
// memory grows by a few megabytes per channel whatever the file's length,
// so a header declaring dozens of channels would only measure that.
#include "fuzz/ScratchFile.h"
#include "resample/SsrcEngine.h"
#include "resample/WavInput.h"
#include "resample/WavResampler.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The header as the resampler reads it; its channel count, or 0.
int ReadHeader(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        std::abort();
    SsrcEngine engine;
    ssrc::WavInput info;
    bool read = ssrc::ReadWavInput(f, engine, &info);
    std::fclose(f);
    if (read && (info.channels < 1 || info.width < 1 || info.width > 4 || info.rate < 1))
        std::abort();
    return read ? info.channels : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string in = fuzz::WriteScratch("input.wav", data, size);
    if (ReadHeader(in) > 8)
        return 0;
    std::wstring out = fuzz::WidePath(fuzz::ScratchFolder() + "output.wav");
    WavResampler resampler;
    if (!resampler.Open(fuzz::WidePath(in).c_str(), out.c_str()))
        std::abort();  // both names are in a folder of our own
    int converted = resampler.Run();
    resampler.Close();
    // A conversion that failed says why.
    if (!converted && resampler.FailureReason().empty())
        std::abort();
    return 0;
}
