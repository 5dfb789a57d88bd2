// bench_resample [runs]: converts 5-minute stereo files to 44100 Hz 16-bit
// with our driver and with `sox in.wav -b 16 out.wav rate -v 44100` in the
// same run, best of `runs` (default 2) each, and times RealDft at 131072
// points against FFTW3.
#include "DftTiming.h"

#include "platform/core/Strings.h"
#include "resample/WavResampler.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Input {
    int rate;
    int bits;
};

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

bool Run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

double TimeOurs(const fs::path& source, const fs::path& work)
{
    fs::copy_file(source, work, fs::copy_options::overwrite_existing);
    std::wstring name = win::FromUtf8(work.string());
    auto start = std::chrono::steady_clock::now();
    WavResampler r;
    if (!r.Open(name.c_str(), name.c_str()))
        return -1;
    int ok = r.Run();
    r.Close();
    double s = Seconds(std::chrono::steady_clock::now() - start);
    return ok ? s : -1;
}

double TimeSox(const fs::path& source, const fs::path& out)
{
    auto start = std::chrono::steady_clock::now();
    if (!Run("sox '" + source.string() + "' -b 16 '" + out.string() + "' rate -v 44100"))
        return -1;
    return Seconds(std::chrono::steady_clock::now() - start);
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
    if (!Run("sox --version")) {
        std::fprintf(stderr, "bench_resample: sox is needed as the peer and to make the inputs\n");
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "kolvex-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 2;
    const fs::path dir = pattern;

    std::printf("5-minute stereo files to 44100 Hz 16-bit, best of %d\n", runs);
    const Input inputs[] = {{48000, 16}, {96000, 24}, {22050, 16}};
    int status = 0;
    for (const Input& in : inputs) {
        const fs::path source = dir / ("in" + std::to_string(in.rate) + ".wav");
        // Plain PCM headers (wavpcm): the driver reads format tag 1 only.
        if (!Run("sox -n -r " + std::to_string(in.rate) + " -b " + std::to_string(in.bits) +
                 " -c 2 -t wavpcm '" + source.string() + "' synth 300 pinknoise gain -6")) {
            std::fprintf(stderr, "bench_resample: sox could not make %s\n", source.c_str());
            return 2;
        }
        double ours = 1e30, sox = 1e30;
        for (int r = 0; r < runs; ++r) {
            double o = TimeOurs(source, dir / "ours.wav");
            double s = TimeSox(source, dir / "sox.wav");
            if (o < 0 || s < 0)
                status = 1;
            ours = std::min(ours, o < 0 ? 1e30 : o);
            sox = std::min(sox, s < 0 ? 1e30 : s);
        }
        std::printf("  %6d Hz %2d-bit: ours %6.2f s   sox %6.2f s   ours/sox %5.2f\n", in.rate,
                    in.bits, ours, sox, ours / sox);
        fs::remove(source);
    }
    fs::remove_all(dir);

    const int n = 131072;
    const DftTiming dft = TimeDft(n, 100, 4);
    if (dft.fftw > 0)
        std::printf("RealDft n=%d: ours %.3f ms   FFTW3 %.3f ms   ours/FFTW3 %.2f\n", n, dft.ours,
                    dft.fftw, dft.ours / dft.fftw);
    else
        std::printf("RealDft n=%d: ours %.3f ms   (built without FFTW3)\n", n, dft.ours);
    return status;
}
