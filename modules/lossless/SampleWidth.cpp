#include "modules/lossless/SampleWidth.h"

SampleWidth WidthOf(AVSampleFormat format, int rawBits, std::string& reason)
{
    SampleWidth width;
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8: width.bits = 8; break;
    case AV_SAMPLE_FMT_S16:
        // WavPack hands out its 8-bit files in the top byte of 16 bits.
        width.eightInSixteen = rawBits > 0 && rawBits <= 8;
        width.bits = width.eightInSixteen ? 8 : 16;
        break;
    case AV_SAMPLE_FMT_S32:
        // Held in the top bits of 32: the file's own width is what the
        // encoder recorded; a 20-bit file travels as 24-bit.
        width.bits = rawBits > 16 && rawBits <= 32 ? (rawBits + 7) / 8 * 8 : 32;
        break;
    default:
        reason = "floating-point samples are not supported";
        break;
    }
    return width;
}
