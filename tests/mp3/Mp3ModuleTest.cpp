// The encoder module's contract as a loader sees it.
#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"
#include "platform/core/Module.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace mp3test;

namespace {

class Mp3Module : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module_, nullptr); }
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

    win::HMODULE module_ = win::LoadLibrary(L"lame_enc");
};

}  // namespace

TEST_F(Mp3Module, TypesRoundTripAndAnInputTypeComesFirst)
{
    auto getInput = Get<MP3_GetInputType_t>("MP3_GetInputType");
    std::uint8_t input[MP3_INPUT_TYPE_SIZE];
    EXPECT_LT(getInput(input), 0);
    EXPECT_LT(Get<MP3_Init_t>("MP3_Init")(), 0);

    auto format = Tones({}, 0, 0, 32000, 1, 24).WaveFormat();
    ASSERT_EQ(Get<MP3_SetInputType_t>("MP3_SetInputType")(format.data(), 0), MP3_S_OK);
    ASSERT_EQ(getInput(input), MP3_S_OK);
    EXPECT_EQ(std::memcmp(input, format.data(), sizeof input), 0);

    std::uint8_t type[MP3_OUTPUT_BUFFER_SIZE], back[MP3_OUTPUT_BUFFER_SIZE];
    for (int i = 0; i < MP3_OUTPUT_BUFFER_SIZE; ++i)
        type[i] = static_cast<std::uint8_t>(i + 1);
    std::memset(back, 0xEE, sizeof back);
    ASSERT_EQ(Get<MP3_SetOutputType_t>("MP3_SetOutputType")(type, 0), MP3_S_OK);
    ASSERT_EQ(Get<MP3_GetOutputType_t>("MP3_GetOutputType")(back), MP3_S_OK);
    EXPECT_EQ(std::memcmp(back, type, MP3_OUTPUT_TYPE_SIZE), 0);
    EXPECT_EQ(back[92], 0xEE);  // the buffer's tail is not the record's

    EXPECT_EQ(Get<MP3_Close_t>("MP3_Close")(), MP3_S_OK);
    EXPECT_LT(getInput(input), 0);
    EXPECT_EQ(OutputField(28), 3u);  // back to the encoder's own type
}

TEST_F(Mp3Module, RefusesWhatItCannotEncode)
{
    auto setInput = Get<MP3_SetInputType_t>("MP3_SetInputType");
    auto format = Tones({}, 0, 0).WaveFormat();
    format[0] = 3;  // floating point
    EXPECT_LT(setInput(format.data(), 0), 0);
    EXPECT_LT(setInput(Tones({}, 0, 0, 44100, 2, 20).WaveFormat().data(), 0), 0);
    EXPECT_LT(setInput(Tones({}, 0, 0, 44100, 6, 16).WaveFormat().data(), 0), 0);
    EXPECT_LT(setInput(nullptr, 0), 0);
    // Rates where LAME would assert or write past its buffers.
    EXPECT_LT(setInput(Tones({}, 0, 0, 1000, 2, 16).WaveFormat().data(), 0), 0);
    EXPECT_LT(setInput(Tones({}, 0, 0, 7999, 1, 16).WaveFormat().data(), 0), 0);
    EXPECT_LT(setInput(Tones({}, 0, 0, 768001, 2, 16).WaveFormat().data(), 0), 0);

    // An output type out of range is refused when encoding starts.
    ASSERT_EQ(setInput(Tones({}, 0, 0, 44100, 2, 16).WaveFormat().data(), 0), MP3_S_OK);
    std::uint8_t type[MP3_OUTPUT_BUFFER_SIZE] = {};
    ASSERT_EQ(Get<MP3_GetOutputType_t>("MP3_GetOutputType")(type), MP3_S_OK);
    type[MP3_OUT_QUALITY] = 10;
    ASSERT_EQ(Get<MP3_SetOutputType_t>("MP3_SetOutputType")(type, 0), MP3_S_OK);
    EXPECT_EQ(Get<MP3_Init_t>("MP3_Init")(), MP3_E_INVALIDARG);
    EXPECT_LT(Get<MP3_SetPES_t>("MP3_SetPES")(1), 0);
    EXPECT_EQ(Get<MP3_IsPES_t>("MP3_IsPES")(), 0);
}

TEST_F(Mp3Module, SinkLoadsAllElevenExportsAndGivesAFreshEncoderItsStartingType)
{
    Mp3Sink sink;
    EXPECT_EQ(sink.Load(L"test_module"), 0);
    EXPECT_FALSE(sink.HasModule());
    EXPECT_LT(sink.Finish(), 0);
    ASSERT_EQ(sink.Load(L"lame_enc"), 1);
    sink.InitDefaults();
    // Same thread, same module: the sink's changes are visible here.
    for (auto [offset, value] : std::initializer_list<std::pair<int, std::uint32_t>>{
             {0, 0}, {4, 128}, {8, 0}, {12, 80}, {16, 160}, {20, 5}, {24, 4}, {28, 3}, {32, 1}, {48, 0}})
        EXPECT_EQ(OutputField(offset), value) << "offset " << offset;
}
