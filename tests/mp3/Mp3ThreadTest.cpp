// Two workers encoding at once must not share an encoder.
#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"

#include <gtest/gtest.h>

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
