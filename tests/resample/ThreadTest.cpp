// Conversions on several worker threads at once share nothing.
#include "resample/SsrcMessages.h"
#include "resample/WavResampler.h"

#include "TestWav.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

int Convert(const std::filesystem::path& file, win::HWND window)
{
    WavResampler r(window);
    std::wstring name = test::Wide(file);
    if (!r.Open(name.c_str(), name.c_str()))
        return -1;
    int ok = r.Run();
    r.Close();
    return ok;
}

}  // namespace

TEST(ResampleThreads, ConcurrentConversionsMatchSequentialOnes)
{
    test::ScratchDir dir;
    const int rates[] = {48000, 22050, 96000};
    std::vector<std::vector<unsigned char>> sequential;
    for (int rate : rates) {
        test::WavLayout layout;
        layout.rate = rate;
        layout.width = 3;
        layout.samples = test::Sine(1234, rate, rate / 2, 2, 0.7, 3);
        auto bytes = test::BuildWav(layout);
        auto name = std::to_string(rate);
        test::WriteFile(dir / (name + "a.wav"), bytes);
        test::WriteFile(dir / (name + "b.wav"), bytes);
        ASSERT_EQ(Convert(dir / (name + "a.wav"), nullptr), 1);
        sequential.push_back(test::ReadFile(dir / (name + "a.wav")));
    }

    test::MessageSink sink;
    std::vector<std::thread> workers;
    std::vector<int> results(3, -2);
    for (int i = 0; i < 3; ++i)
        workers.emplace_back([&, i] {
            results[i] = Convert(dir / (std::to_string(rates[i]) + "b.wav"), sink.Window());
        });
    for (auto& w : workers)
        w.join();

    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(rates[i]);
        EXPECT_EQ(results[i], 1);
        EXPECT_EQ(test::ReadFile(dir / (std::to_string(rates[i]) + "b.wav")), sequential[i]);
    }
    int starts = 0, dones = 0;
    for (const win::MSG& m : sink.Collect()) {
        starts += m.message == WM_SSRC_START;
        dones += m.message == WM_SSRC_DONE;
    }
    EXPECT_EQ(starts, 3);
    EXPECT_EQ(dones, 3);
}
