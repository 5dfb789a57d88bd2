// Every conversion path writes the bytes it wrote before its loops were
// made faster or split across threads, on every kernel family and thread
// count. The fingerprints were taken from the serial conversions; a change
// that moves one output sample by one step shows up here.
#include "GoldenCases.h"
#include "TestWav.h"

#include "resample/FftKernels.h"
#include "resample/PolyphaseLoop.h"

#include <gtest/gtest.h>

namespace {

class PortableKernels {
public:
    PortableKernels()
    {
        ssrc::UsePortableFft(true);
        ssrc::UsePortablePolyphase(true);
    }
    ~PortableKernels()
    {
        ssrc::UsePortableFft(false);
        ssrc::UsePortablePolyphase(false);
    }
};

void ExpectFingerprints(int threads)
{
    test::RowThreads use(threads);
    for (const golden::Case& c : golden::Cases()) {
        SCOPED_TRACE(testing::Message() << c.name << ", " << threads << " thread(s)");
        EXPECT_EQ(golden::Fingerprint(c), c.fingerprint);
    }
}

}  // namespace

TEST(GoldenBytes, SerialConversionsKeepTheirBytes)
{
    ExpectFingerprints(1);
}

TEST(GoldenBytes, ChannelsOnSeveralThreadsGiveTheSerialBytes)
{
    // Two threads for two channels, and counts that do not divide the
    // channels evenly.
    for (int threads : {2, 3, 4})
        ExpectFingerprints(threads);
}

TEST(GoldenBytes, PortableKernelsWriteTheSameBytes)
{
    // They round differently in the last bits of a double, far below one
    // output step.
    PortableKernels portable;
    ExpectFingerprints(1);
    ExpectFingerprints(2);
}
