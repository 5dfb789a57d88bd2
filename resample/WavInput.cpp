#include "resample/WavInput.h"

#include "resample/SsrcEngine.h"
#include "resample/Trace.h"

#include <cstring>
#include <sys/stat.h>

namespace ssrc {

namespace {

constexpr std::uint32_t kFormatBufferSize = 2048;

bool ReadBytes(std::FILE* in, void* to, std::size_t n)
{
    return std::fread(to, 1, n, in) == n;
}

bool ReadU32(std::FILE* in, std::uint32_t* v)
{
    unsigned char b[4];
    if (!ReadBytes(in, b, 4))
        return false;
    *v = b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t(b[3]) << 24;
    return true;
}

std::uint16_t U16At(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t U32At(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}

// Bytes from the current position to the end of the file, or -1.
long long BytesLeft(std::FILE* in)
{
    struct stat st;
    const long long at = ftello(in);
    if (at < 0 || fstat(fileno(in), &st) != 0)
        return -1;
    return st.st_size - at;
}

bool Refuse(const char* why)
{
    Trace("%s", why);
    return false;
}

}  // namespace

bool ReadWavFormat(std::FILE* in, WavFormat* record, SsrcEngine* engine)
{
    char tag[8];
    std::uint32_t ignored;
    if (!ReadBytes(in, tag, 4) || !ReadU32(in, &ignored))
        return Refuse("Error: the file is too short for a RIFF header.\n");
    if (std::memcmp(tag, "RIFF", 4) != 0 && engine)
        engine->ReportError(1);
    if (!ReadBytes(in, tag, 8))
        return Refuse("Error: the file is too short for a RIFF header.\n");
    if (std::memcmp(tag, "WAVEfmt ", 8) != 0 && engine)
        engine->ReportError(2);

    std::uint32_t formatLength;
    if (!ReadU32(in, &formatLength))
        return Refuse("Error: the file is too short for a format chunk.\n");
    if (formatLength < 16 || formatLength > kFormatBufferSize)
        return Refuse("Error: the format chunk has an impossible length.\n");
    unsigned char format[kFormatBufferSize];
    if (!ReadBytes(in, format, formatLength))
        return Refuse("Error: the format chunk is cut short.\n");
    record->formatTag = U16At(format);
    record->channels = U16At(format + 2);
    record->samplesPerSec = U32At(format + 4);
    record->avgBytesPerSec = U32At(format + 8);
    record->blockAlign = U16At(format + 12);
    record->bitsPerSample = U16At(format + 14);
    record->extraSize = formatLength >= 18 ? U16At(format + 16) : 0;
    record->recordBytes = formatLength;
    return true;
}

bool ReadWavInput(std::FILE* in, SsrcEngine& engine, WavInput* info)
{
    WavFormat record;
    if (!ReadWavFormat(in, &record, &engine))
        return false;
    const int formatTag = record.formatTag;
    const int channels = static_cast<std::int16_t>(record.channels);
    const std::uint32_t rate = record.samplesPerSec;
    const std::uint32_t byteRate = record.avgBytesPerSec;
    char tag[4];
    if (formatTag != 1)
        return Refuse("Error: Only PCM is supported.\n");
    if (channels <= 0 || channels > kMaxChannels)
        return Refuse("Error: the channel count is out of range.\n");
    if (rate == 0 || rate > 0x7FFFFFFF)
        return Refuse("Error: the sample rate is out of range.\n");
    if (byteRate % rate != 0)
        engine.ReportError(4);
    const std::uint64_t width = byteRate / (std::uint64_t(rate) * channels);

    std::uint32_t dataLength = 0;
    for (;;) {
        std::uint32_t length;
        bool complete = ReadBytes(in, tag, 4) && ReadU32(in, &length);
        if (!complete || std::feof(in))
            return Refuse("Couldn't find data chank\n");
        if (std::memcmp(tag, "data", 4) == 0) {
            dataLength = length;
            break;
        }
        if (fseeko(in, length, SEEK_CUR) != 0)
            return Refuse("Couldn't find data chank\n");
    }
    if (width < 1 || width > 4)
        return Refuse("Error : Only 8bit, 16bit, 24bit and 32bit PCM are supported.\n");
    const long long left = BytesLeft(in);
    if (left < 0 || dataLength > static_cast<unsigned long long>(left))
        return Refuse("Error: the data chunk is longer than the file.\n");

    info->channels = channels;
    info->rate = static_cast<int>(rate);
    info->width = static_cast<int>(width);
    info->dataLength = dataLength;
    info->frames = dataLength / info->width / channels;
    return true;
}

}  // namespace ssrc
