// Conversions on several worker threads at once share nothing, and one
// conversion's channels on several threads give the bytes of one thread.
#include "resample/SsrcMessages.h"
#include "resample/WavResampler.h"

#include "TestWav.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

int Convert(const std::filesystem::path& file, win::HWND window,
            const std::atomic<bool>* cancel = nullptr)
{
    WavResampler r(window);
    r.SetCancelFlag(cancel);
    std::wstring name = test::Wide(file);
    if (!r.Open(name.c_str(), name.c_str()))
        return -1;
    int ok = r.Run();
    r.Close();
    return ok;
}

std::vector<unsigned char> Noisy(int rate, int channels, int frames)
{
    test::WavLayout layout;
    layout.rate = rate;
    layout.channels = channels;
    layout.width = 3;
    layout.samples = test::Sine(1234, rate, frames, channels, 0.7, 3);
    for (std::size_t i = 0; i < layout.samples.size(); ++i)
        layout.samples[i] += static_cast<std::int32_t>((i * 2654435761u) % 200001) - 100000;
    return test::BuildWav(layout);
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

TEST(ResampleThreads, ChannelsOnSeveralThreadsGiveTheBytesOfOne)
{
    test::ScratchDir dir;
    for (int rate : {48000, 22050}) {
        SCOPED_TRACE(rate);
        // Three channels: one thread takes two of them when there are two.
        const auto bytes = Noisy(rate, 3, rate / 2);
        std::vector<std::vector<unsigned char>> results;
        for (int threads : {1, 2, 3}) {
            test::RowThreads use(threads);
            const auto file = dir / ("t" + std::to_string(threads) + ".wav");
            test::WriteFile(file, bytes);
            ASSERT_EQ(Convert(file, nullptr), 1);
            results.push_back(test::ReadFile(file));
        }
        EXPECT_EQ(results[1], results[0]);
        EXPECT_EQ(results[2], results[0]);
    }
}

TEST(ResampleThreads, CancelStopsEveryChannelAndKeepsTheSource)
{
    test::RowThreads use(2);
    test::ScratchDir dir;
    const auto file = dir / "long.wav";
    // Up-sampling reports progress after every eighth block; the cancel
    // comes at the first report, long before the end of the file.
    const auto bytes = Noisy(22050, 2, 22050 * 60);
    test::WriteFile(file, bytes);
    std::atomic<bool> cancel{false};
    test::MessageSink sink;
    int ok = -2;
    std::thread worker([&] { ok = Convert(file, sink.Window(), &cancel); });
    std::vector<win::MSG> messages;
    for (bool done = false; !done;) {
        for (const win::MSG& m : sink.Collect()) {
            messages.push_back(m);
            cancel = cancel || m.message == WM_SSRC_PROGRESS;
            done = done || m.message == WM_SSRC_DONE;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(test::ReadFile(file), bytes);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"long.wav"});
    int progress = 0;
    for (const win::MSG& m : messages)
        progress += m.message == WM_SSRC_PROGRESS;
    EXPECT_EQ(progress, 1);
    EXPECT_EQ(messages.back().message, WM_SSRC_DONE);
    EXPECT_EQ(messages.back().lParam, 1);
}
