// Encoders run on threads of the module's: two workers encoding at once
// must not share one, and the frames must come out in order however the PCM
// is cut into chunks.
#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"
#include "platform/core/WorkThreads.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

using namespace mp3test;

TEST(Mp3Threads, TwoEncodersRunSideBySide)
{
    Workspace work;
    ConversionSettings settings;
    settings.cbrFlag = 1;
    settings.mp3.cbrBitRate = 128;
    settings.mp3.quality = 7;
    work.WriteSettings(settings);

    Pcm low = Tones({500}, 0.3, 32000 * 2, 32000, 1, 16);
    Pcm high = Tones({3000}, 0.3, 48000 * 2, 48000, 2, 24);
    std::int32_t lowResult = -1, highResult = -1;
    std::thread a([&] { lowResult = Encode(low, work.Path("low.mp3")); });
    std::thread b([&] { highResult = Encode(high, work.Path("high.mp3")); });
    a.join();
    b.join();
    ASSERT_EQ(lowResult, MP3_S_OK);
    ASSERT_EQ(highResult, MP3_S_OK);

    FrameScan lowScan = ScanFrames(work.Dir() / "low.mp3");
    FrameScan highScan = ScanFrames(work.Dir() / "high.mp3");
    ASSERT_TRUE(lowScan.wholeFile);
    ASSERT_TRUE(highScan.wholeFile);
    EXPECT_EQ(lowScan.frames.back().sampleRate, 32000);
    EXPECT_EQ(highScan.frames.back().sampleRate, 48000);
    // 1152 samples per frame, plus the information frame and the flush.
    EXPECT_NEAR(static_cast<double>(lowScan.frames.size()), 64000 / 1152.0 + 2, 2);
    EXPECT_NEAR(static_cast<double>(highScan.frames.size()), 96000 / 1152.0 + 2, 2);
}

TEST(Mp3Threads, HowThePcmIsCutDoesNotChangeTheFile)
{
    Workspace work;
    ConversionSettings settings;
    settings.cbrFlag = 1;
    settings.mp3.cbrBitRate = 160;
    settings.mp3.quality = 7;
    work.WriteSettings(settings);
    Pcm pcm = Tones({440, 2500}, 0.25, 44100 * 3);
    ASSERT_EQ(Encode(pcm, work.Path("whole.mp3"), pcm.bytes.size()), MP3_S_OK);
    ASSERT_EQ(Encode(pcm, work.Path("odd.mp3"), 37), MP3_S_OK);  // blocks torn across calls
    ASSERT_EQ(Encode(pcm, work.Path("usual.mp3")), MP3_S_OK);
    auto read = [&](const char* name) {
        std::ifstream in(work.Dir() / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    std::string whole = read("whole.mp3");
    ASSERT_GT(whole.size(), 40000u);
    EXPECT_TRUE(read("odd.mp3") == whole);
    EXPECT_TRUE(read("usual.mp3") == whole);
}

// Segments of one row encode on a pool of the module's threads while the
// caller goes on feeding; two rows do so at once, and a row dropped halfway
// stops its pool without leaving a file.
TEST(Mp3Threads, SegmentedRowsSideBySideAndOneDroppedHalfway)
{
    Workspace work;
    ConversionSettings settings;
    settings.cbrFlag = 0;
    settings.mp3.vbrMinimum = 32;
    settings.mp3.vbrMaximum = 256;
    settings.mp3.quality = 7;
    work.WriteSettings(settings);
    setenv("KOLVEX_MP3_SEGMENT_FRAMES", "24", 1);
    win::SetRowThreads(3);

    Pcm a = Tones({700}, 0.4, 44100 * 3);
    Pcm b = Tones({1300, 5000}, 0.2, 48000 * 3, 48000, 1);
    std::int32_t resultA = -1, resultB = -1;
    std::thread first([&] { resultA = Encode(a, work.Path("a.mp3")); });
    std::thread second([&] { resultB = Encode(b, work.Path("b.mp3")); });
    std::thread dropped([&] {
        Mp3Sink sink;
        ASSERT_EQ(sink.Load(L"lame_enc"), 1);
        auto format = a.WaveFormat();
        ASSERT_EQ(sink.Open(reinterpret_cast<const WAVEFORMATEX*>(format.data()), work.Path("dropped.mp3"), EncodeSettings()), MP3_S_OK);
        sink.Encode(a.bytes.data(), static_cast<int>(a.bytes.size() / 2));
    });
    first.join();
    second.join();
    dropped.join();
    unsetenv("KOLVEX_MP3_SEGMENT_FRAMES");
    win::SetRowThreads(win::CoreCount());

    ASSERT_EQ(resultA, MP3_S_OK);
    ASSERT_EQ(resultB, MP3_S_OK);
    EXPECT_FALSE(std::filesystem::exists(work.Dir() / "dropped.mp3"));
    for (auto [name, pcm] : {std::pair{"a.mp3", &a}, std::pair{"b.mp3", &b}}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(ScanFrames(work.Dir() / name).wholeFile);
        int channels = 0, rate = 0;
        auto decoded = DecodeWithFfmpeg(work.Dir() / name, channels, rate);
        EXPECT_EQ(decoded.size(), static_cast<std::size_t>(pcm->Frames() * pcm->channels));
    }
}
