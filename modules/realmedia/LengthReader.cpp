#include "modules/realmedia/LengthReader.h"

#include "modules/realmedia/BrookR.h"
#include "modules/realmedia/RealMediaHeader.h"
#include "platform/messaging/Message.h"

LengthReader::LengthReader(std::string path, std::uint32_t notifyThread)
    : path_(std::move(path)), notifyThread_(notifyThread)
{
}

LengthReader::~LengthReader() { Stop(); }

bool LengthReader::Run()
{
    if (started_)
        return false;
    started_ = true;
    thread_ = std::thread([this] { Work(); });
    return true;
}

void LengthReader::Stop()
{
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    done_ = true;
}

void LengthReader::Work()
{
    auto length = ReadRealMediaLength(path_);
    if (length)
        length_ = *length;
    if (!stopping_) {
        if (length)
            win::PostThreadMessage(notifyThread_, BROOKM_LENGTH, 0, static_cast<win::LPARAM>(*length));
        else
            win::PostThreadMessage(notifyThread_, BROOKM_GIVEUP, 0, 0);
    }
    done_ = true;
}
