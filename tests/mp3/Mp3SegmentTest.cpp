// A row encoded in segments on several threads and joined: a valid stream
// that decodes to the serial encoding's length and sound, an information
// frame that describes it, and the serial bytes when one thread is asked for.
#include "JoinCheck.h"
#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"
#include "platform/core/Module.h"
#include "platform/core/WorkThreads.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

using namespace mp3test;

namespace {

// Segments of a second or less, so that a few seconds of audio cross many joins.
constexpr const char* kSegmentFrames = "32";

std::string Read(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ConversionSettings Settings(bool cbr, std::uint32_t low, std::uint32_t high, std::uint32_t quality = 2)
{
    ConversionSettings s;
    s.cbrFlag = cbr ? 1 : 0;
    s.mp3.cbrBitRate = high;
    s.mp3.vbrMinimum = low;
    s.mp3.vbrMaximum = high;
    s.mp3.quality = quality;
    return s;
}

class Segments : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(testing_support::MissingTools({"ffmpeg", "ffprobe", "mpg123"}), "") << "no independent decoder";
        setenv("KOLVEX_MP3_SEGMENT_FRAMES", kSegmentFrames, 1);
    }
    void TearDown() override
    {
        unsetenv("KOLVEX_MP3_SEGMENT_FRAMES");
        win::SetRowThreads(win::CoreCount());
    }

    std::int32_t EncodeOn(int threads, const Pcm& pcm, const std::string& name)
    {
        win::SetRowThreads(threads);
        return Encode(pcm, work_.Path(name));
    }

    Workspace work_;
};

// The module as a loader that never heard of threads drives it.
std::string EncodeWithoutThreadCount(const Pcm& pcm, const ConversionSettings& settings)
{
    win::HMODULE module = win::LoadLibrary(L"lame_enc");
    if (!module)
        return "";
    auto get = [module](const char* name) { return win::GetProcAddress(module, name); };
    auto format = pcm.WaveFormat();
    Mp3OutputType block = settings.mp3;
    block.mode = settings.cbrFlag;
    std::uint8_t type[MP3_OUTPUT_BUFFER_SIZE] = {};
    std::memcpy(type, &block, sizeof block);
    std::string out;
    reinterpret_cast<MP3_SetInputType_t>(get("MP3_SetInputType"))(format.data(), 0);
    reinterpret_cast<MP3_SetOutputType_t>(get("MP3_SetOutputType"))(type, 0);
    if (reinterpret_cast<MP3_Init_t>(get("MP3_Init"))() == MP3_S_OK) {
        auto encode = reinterpret_cast<MP3_Encode_t>(get("MP3_Encode"));
        auto getFrame = reinterpret_cast<MP3_GetFrame_t>(get("MP3_GetFrame"));
        FILE* file = std::tmpfile();
        for (std::size_t at = 0; at < pcm.bytes.size(); at += 4096) {
            encode(pcm.bytes.data() + at, static_cast<std::int32_t>(std::min<std::size_t>(4096, pcm.bytes.size() - at)));
            const std::uint8_t* frame = nullptr;
            if (std::int32_t size = getFrame(&frame); size > 0)
                std::fwrite(frame, 1, static_cast<std::size_t>(size), file);
        }
        reinterpret_cast<MP3_Finish_t>(get("MP3_Finish"))(file);
        std::rewind(file);
        char buffer[65536];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            out.append(buffer, got);
        std::fclose(file);
    }
    reinterpret_cast<MP3_Close_t>(get("MP3_Close"))();
    win::FreeLibrary(module);
    return out;
}

}  // namespace

TEST_F(Segments, JoinsDecodeCleanlyToTheSerialLengthAndAreInaudible)
{
    struct Case {
        const char* name;
        bool cbr;
        std::uint32_t low, high;
        int rate, channels, bits;
    };
    for (Case c : {Case{"CBR 192 stereo", true, 192, 192, 44100, 2, 16}, Case{"CBR 192 mono", true, 192, 192, 44100, 1, 16},
                   Case{"VBR stereo", false, 32, 320, 44100, 2, 16}, Case{"VBR mono", false, 32, 320, 44100, 1, 16},
                   Case{"CBR 64 mono, half-rate frames", true, 64, 64, 22050, 1, 16},
                   Case{"CBR 128 stereo, 24-bit 48 kHz", true, 128, 128, 48000, 2, 24}}) {
        SCOPED_TRACE(c.name);
        work_.WriteSettings(Settings(c.cbr, c.low, c.high));
        // -6 dBFS; long enough for a dozen segments.
        Pcm pcm = Tones({997}, 0.5, c.rate * 9, c.rate, c.channels, c.bits);
        ASSERT_EQ(EncodeOn(1, pcm, "serial.mp3"), MP3_S_OK);
        ASSERT_EQ(EncodeOn(4, pcm, "joined.mp3"), MP3_S_OK);
        ASSERT_NE(Read(work_.Dir() / "joined.mp3"), Read(work_.Dir() / "serial.mp3")) << "nothing was joined";

        StrictDecode serial = DecodeStrictly(work_.Dir() / "serial.mp3");
        StrictDecode joined = DecodeStrictly(work_.Dir() / "joined.mp3");
        ASSERT_EQ(serial.channels, c.channels);
        ASSERT_EQ(joined.channels, c.channels);
        EXPECT_EQ(joined.ffmpegSays, "");
        EXPECT_EQ(joined.mpg123Says, "");
        EXPECT_EQ(serial.samples.size(), static_cast<std::size_t>(pcm.Frames() * c.channels));
        EXPECT_EQ(joined.samples.size(), serial.samples.size());
        EXPECT_EQ(joined.mpg123Frames, serial.mpg123Frames);

        // Windows at the very ends hold the tone's onset and end, not a join.
        auto serialLevels = ResidualLevels(serial.samples, c.channels, 997, c.rate);
        auto joinedLevels = ResidualLevels(joined.samples, c.channels, 997, c.rate);
        ASSERT_GT(joinedLevels.size(), 16u);
        double worstSerial = *std::max_element(serialLevels.begin() + 4, serialLevels.end() - 4);
        for (std::size_t w = 4; w + 4 < joinedLevels.size(); ++w)
            EXPECT_LE(joinedLevels[w], worstSerial + 6) << "window " << w;

        InfoTag tag = ReadInfoTag(work_.Dir() / "joined.mp3");
        ASSERT_TRUE(tag.found);
        EXPECT_EQ(tag.frames, tag.actualFrames);
        EXPECT_EQ(tag.bytes, tag.actualBytes);
        EXPECT_EQ(tag.musicLength, tag.actualBytes);
        EXPECT_EQ(tag.musicCrc, tag.actualMusicCrc);
        EXPECT_EQ(tag.tagCrc, tag.actualTagCrc);
        InfoTag serialTag = ReadInfoTag(work_.Dir() / "serial.mp3");
        EXPECT_EQ(tag.frames, serialTag.frames);
        EXPECT_EQ(tag.delay, serialTag.delay);
        EXPECT_EQ(tag.padding, serialTag.padding);
    }
}

TEST_F(Segments, OneThreadAndRowsShorterThanASegmentGiveTheSerialBytes)
{
    ConversionSettings settings = Settings(true, 160, 160);
    work_.WriteSettings(settings);
    Pcm pcm = Tones({440, 3000}, 0.25, 44100 * 3);
    std::string serial = EncodeWithoutThreadCount(pcm, settings);
    ASSERT_GT(serial.size(), 40000u);
    ASSERT_EQ(EncodeOn(1, pcm, "one.mp3"), MP3_S_OK);
    EXPECT_TRUE(Read(work_.Dir() / "one.mp3") == serial);
    ASSERT_EQ(EncodeOn(2, pcm, "two.mp3"), MP3_S_OK);
    EXPECT_FALSE(Read(work_.Dir() / "two.mp3") == serial);

    // Shorter than the first segment (an eighth of the longest): nothing to
    // cut, whatever the thread count.
    setenv("KOLVEX_MP3_SEGMENT_FRAMES", "960", 1);
    Pcm shortRow = Tones({440, 3000}, 0.25, 44100 * 5 / 2);
    std::string shortSerial = EncodeWithoutThreadCount(shortRow, settings);
    ASSERT_EQ(EncodeOn(4, shortRow, "short.mp3"), MP3_S_OK);
    EXPECT_TRUE(Read(work_.Dir() / "short.mp3") == shortSerial);
}
