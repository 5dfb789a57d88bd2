// One Init'ed file: reads its length on a thread of its own and posts the
// answer to the thread that asked.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

class LengthReader {
public:
    LengthReader(std::string path, std::uint32_t notifyThread);
    ~LengthReader();
    LengthReader(const LengthReader&) = delete;
    LengthReader& operator=(const LengthReader&) = delete;

    bool Run();
    void Stop();
    bool IsDone() const { return done_.load(); }
    std::uint32_t Length() const { return length_.load(); }

private:
    void Work();

    const std::string path_;
    const std::uint32_t notifyThread_;
    std::thread thread_;
    bool started_ = false;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> done_{false};
    std::atomic<std::uint32_t> length_{0};
};
