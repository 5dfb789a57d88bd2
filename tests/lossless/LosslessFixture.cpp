#include "tests/lossless/LosslessFixture.h"

#include "platform/core/Strings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace lossless_test {

std::string MissingTools()
{
    return testing_support::MissingTools({"sox", "ffmpeg", "flac", "metaflac", "wavpack", "wvunpack"});
}

bool RunTool(const std::string& command)
{
    if (std::system(("( " + command + " ) >/dev/null 2>&1").c_str()) == 0)
        return true;
    std::cerr << "failed: " << command << "\n";
    return false;
}

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

fs::path MakeWav(const fs::path& dir, const std::string& name, Shape shape, double seconds)
{
    fs::path wav = dir / name;
    // Noise in every channel, with a different tone on each so that a
    // swapped or shifted channel shows.
    std::string tones;
    for (int c = 0; c < shape.channels; ++c)
        tones += " sine " + std::to_string(220 * (c + 1));
    std::string encoding = shape.bits == 8 ? "unsigned-integer" : "signed-integer";
    RunTool("sox -n -r " + std::to_string(shape.rate) + " -b " + std::to_string(shape.bits) + " -e " + encoding +
        " -c " + std::to_string(shape.channels) + " " + Quote(wav) + " synth " + std::to_string(seconds) + tones +
        " synth whitenoise mix vol 0.8");
    return wav;
}

std::vector<unsigned char> WavData(const fs::path& wav)
{
    std::vector<unsigned char> bytes = testing_support::ReadBytes(wav);
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        std::uint32_t size = testing_support::Le32(bytes, at + 4);
        if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
            std::size_t end = std::min<std::size_t>(bytes.size(), at + 8 + std::size_t(size));
            return std::vector<unsigned char>(bytes.begin() + long(at + 8), bytes.begin() + long(end));
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

fs::path Encode(const fs::path& wav, const std::string& format)
{
    fs::path out = wav;
    std::string in = Quote(wav);
    std::string ffmpeg = "ffmpeg -nostdin -v error -y -i " + in;
    if (format == "flac") {
        out.replace_extension(".flac");
        RunTool("flac -s -f -o " + Quote(out) + " " + in);
    } else if (format == "flac-unknown-length") {
        // Written to a pipe: the encoder cannot go back to state the length.
        out.replace_extension(".nolength.flac");
        RunTool("sox " + in + " -t raw - | flac -s -c --force-raw-format --endian=little --sign=signed --channels=$(soxi -c " +
                in + ") --bps=$(soxi -b " + in + ") --sample-rate=$(soxi -r " + in + ") - > " + Quote(out));
    } else if (format == "ogg-flac") {
        out.replace_extension(".oga");
        RunTool("flac -s -f --ogg -o " + Quote(out) + " " + in);
    } else if (format == "mka-flac") {
        out.replace_extension(".mka");
        RunTool(ffmpeg + " -c:a flac " + Quote(out));
    } else if (format == "wv") {
        out.replace_extension(".wv");
        RunTool("wavpack -q -y " + in + " -o " + Quote(out));
    } else if (format == "tta") {
        out.replace_extension(".tta");
        RunTool(ffmpeg + " -c:a tta " + Quote(out));
    } else if (format == "alac") {
        out.replace_extension(".m4a");
        RunTool(ffmpeg + " -c:a alac " + Quote(out));
    } else if (format == "rf64") {
        out.replace_extension(".rf64.wav");
        RunTool(ffmpeg + " -c:a copy -f wav -rf64 always " + Quote(out));
    } else if (format == "w64") {
        out.replace_extension(".w64");
        RunTool("sox " + in + " " + Quote(out));
    } else if (format == "aiff") {
        out.replace_extension(".aiff");
        RunTool("sox " + in + " " + Quote(out));
    } else if (format == "aifc") {
        out.replace_extension(".aifc");
        RunTool("sox " + in + " " + Quote(out));
    } else if (format == "aifc-sowt") {
        out.replace_extension(".aifc");  // AIFF-C holding little-endian samples
        RunTool(ffmpeg + " -c:a pcm_s16le -f aiff " + Quote(out));
    } else if (format == "wav") {
        return wav;
    }
    return out;
}

Decoder Open(const fs::path& path)
{
    Decoder d;
    d.decoder.reset(CreateIAPEDecompress(win::FromUtf8(path.string()).c_str(), &d.error));
    d.reason = LastOpenError();
    return d;
}

std::vector<unsigned char> ReadAll(IAPEDecompress& decoder, int* error, int chunkBlocks)
{
    auto align = static_cast<std::size_t>(decoder.GetInfo(APE_INFO_BLOCK_ALIGN));
    std::vector<unsigned char> pcm;
    std::vector<unsigned char> chunk(align * std::size_t(chunkBlocks));
    int got = 0;
    int last = ERROR_SUCCESS;
    do {
        last = decoder.GetData(chunk.data(), chunkBlocks, &got);
        pcm.insert(pcm.end(), chunk.begin(), chunk.begin() + long(std::size_t(got) * align));
    } while (got > 0);
    if (error)
        *error = last;
    return pcm;
}

std::vector<unsigned char> Decode(const fs::path& path, int* error)
{
    Decoder d = Open(path);
    if (!d.decoder) {
        if (error)
            *error = d.error;
        return {};
    }
    return ReadAll(*d.decoder, error);
}

}  // namespace lossless_test
