// The encoder module's contract as a loader sees it.
#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"
#include "platform/Module.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace mp3test;

namespace {

class Mp3Module : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = win::LoadLibrary(L"lame_enc");
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override
    {
        if (module_) {
            Get<MP3_Close_t>("MP3_Close")();
            win::FreeLibrary(module_);
        }
    }

    template <typename F>
    F Get(const char* name)
    {
        return reinterpret_cast<F>(win::GetProcAddress(module_, name));
    }

    std::uint32_t OutputField(int offset)
    {
        std::uint8_t type[MP3_OUTPUT_BUFFER_SIZE];
        EXPECT_EQ(Get<MP3_GetOutputType_t>("MP3_GetOutputType")(type), MP3_S_OK);
        std::uint32_t value;
        std::memcpy(&value, type + offset, sizeof value);
        return value;
    }

    win::HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(Mp3Module, TypesRoundTripAndInputIsRequiredFirst)
{
    auto getInput = Get<MP3_GetInputType_t>("MP3_GetInputType");
    auto setInput = Get<MP3_SetInputType_t>("MP3_SetInputType");
    auto setOutput = Get<MP3_SetOutputType_t>("MP3_SetOutputType");
    auto getOutput = Get<MP3_GetOutputType_t>("MP3_GetOutputType");
    std::uint8_t input[MP3_INPUT_TYPE_SIZE];
    EXPECT_LT(getInput(input), 0);
    EXPECT_LT(Get<MP3_Init_t>("MP3_Init")(), 0);
    EXPECT_EQ(OutputField(0), 44100u);  // the encoder's own type
    EXPECT_EQ(OutputField(28), 3u);

    auto format = Tones({}, {}, 0, 32000, 1, 24).WaveFormat();
    ASSERT_EQ(setInput(format.data(), 0), MP3_S_OK);
    ASSERT_EQ(getInput(input), MP3_S_OK);
    EXPECT_EQ(std::memcmp(input, format.data(), sizeof input), 0);

    std::uint8_t type[MP3_OUTPUT_BUFFER_SIZE];
    for (int i = 0; i < MP3_OUTPUT_BUFFER_SIZE; ++i)
        type[i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_EQ(setOutput(type, 0), MP3_S_OK);
    std::uint8_t back[MP3_OUTPUT_BUFFER_SIZE];
    std::memset(back, 0xEE, sizeof back);
    ASSERT_EQ(getOutput(back), MP3_S_OK);
    EXPECT_EQ(std::memcmp(back, type, MP3_OUTPUT_TYPE_SIZE), 0);
    EXPECT_EQ(back[92], 0xEE);  // the buffer's tail is not the record's

    EXPECT_EQ(Get<MP3_Close_t>("MP3_Close")(), MP3_S_OK);
    EXPECT_LT(getInput(input), 0);
}

TEST_F(Mp3Module, RefusesWhatItCannotEncode)
{
    auto setInput = Get<MP3_SetInputType_t>("MP3_SetInputType");
    Pcm pcm = Tones({}, {}, 0);
    auto format = pcm.WaveFormat();
    format[0] = 3;  // floating point
    EXPECT_LT(setInput(format.data(), 0), 0);
    format = Tones({}, {}, 0, 44100, 2, 20).WaveFormat();
    EXPECT_LT(setInput(format.data(), 0), 0);
    format = Tones({}, {}, 0, 44100, 6, 16).WaveFormat();
    EXPECT_LT(setInput(format.data(), 0), 0);
    EXPECT_LT(setInput(nullptr, 0), 0);
    EXPECT_LT(Get<MP3_SetPES_t>("MP3_SetPES")(1), 0);
    EXPECT_EQ(Get<MP3_SetPES_t>("MP3_SetPES")(0), MP3_S_OK);
    EXPECT_EQ(Get<MP3_IsPES_t>("MP3_IsPES")(), 0);
}

TEST_F(Mp3Module, SinkGivesAFreshEncoderItsStartingType)
{
    Mp3Sink sink;
    ASSERT_EQ(sink.Load(L"lame_enc"), 1);
    sink.InitDefaults();
    // Same thread, same module: the sink's changes are visible here.
    EXPECT_EQ(OutputField(0), 0u);  // no input type yet: the input's rate
    EXPECT_EQ(OutputField(4), 128u);
    EXPECT_EQ(OutputField(12), 80u);
    EXPECT_EQ(OutputField(16), 160u);
    EXPECT_EQ(OutputField(20), 5u);
    EXPECT_EQ(OutputField(24), 4u);
    EXPECT_EQ(OutputField(28), 3u);
    EXPECT_EQ(OutputField(32), 1u);
    EXPECT_EQ(OutputField(48), 0u);
}

TEST(Mp3SinkLoad, NeedsAllElevenExports)
{
    Mp3Sink sink;
    EXPECT_EQ(sink.sinkKind, 1);
    EXPECT_EQ(sink.Load(L"test_module"), 0);
    EXPECT_FALSE(sink.HasModule());
    EXPECT_EQ(sink.Load(L"no_such_module"), 0);
    EXPECT_LT(sink.Finish(), 0);
    ASSERT_EQ(sink.Load(L"lame_enc"), 1);
    EXPECT_TRUE(sink.HasModule());
}
