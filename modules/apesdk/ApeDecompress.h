// The decoder interface the engine calls: open a Monkey's Audio file (or a
// FLAC, WavPack, TTA, ALAC, TAK, WAV or AIFF file, told apart by content),
// ask its properties, seek to a block and pull decoded blocks. A block is one
// sample of every channel; decoded PCM is interleaved in the file's own width
// (8-bit unsigned, 16/24/32-bit signed little-endian).
#pragma once

#include "modules/apesdk/WaveFormat.h"

#include <cstdint>
#include <string>

enum APE_DECOMPRESS_FIELDS : int {
    APE_INFO_BLOCK_ALIGN = 1007,        // bytes per block
    APE_INFO_LENGTH_MS = 1017,          // whole file, milliseconds
    APE_INFO_WAVEFORMATEX = 1026,       // fills the WAVEFORMATEX* in param 1
    APE_DECOMPRESS_CURRENT_MS = 2001,   // position of the next block, milliseconds
    APE_DECOMPRESS_TOTAL_BLOCKS = 2002,
    APE_DECOMPRESS_LENGTH_MS = 2003,
};

// Ours, beyond the SDK's: 1 when the decoder delivers only the lossy part
// of a hybrid file (WavPack without its correction data), else 0.
constexpr auto SOURCE_INFO_LOSSY_PART = static_cast<APE_DECOMPRESS_FIELDS>(9001);

constexpr int ERROR_SUCCESS = 0;
constexpr int ERROR_IO_READ = 1000;
constexpr int ERROR_INVALID_INPUT_FILE = 1002;
constexpr int ERROR_UNSUPPORTED_FILE_TYPE = 1005;
constexpr int ERROR_DECOMPRESSING_FRAME = 1010;
constexpr int ERROR_BAD_PARAMETER = 5000;
// The decoder module is missing or cannot be loaded; LoadApeDecoder says why.
constexpr int ERROR_DECODER_MISSING = 5100;
// The file is in a lossy codec (MP3, AAC, Opus, Vorbis, ...): refused.
constexpr int ERROR_LOSSY_SOURCE = 5101;

class IAPEDecompress {
public:
    virtual ~IAPEDecompress() = default;

    // Decodes up to `blocks` blocks into `buffer` (block align × blocks
    // bytes). `retrieved` gets the count delivered: fewer than asked only at
    // the end of the stream. A damaged frame gives an error code, which
    // every later call returns too; decoding goes on with the next frame.
    virtual int GetData(unsigned char* buffer, int blocks, int* retrieved) = 0;
    // Positions the next GetData at `block` exactly.
    virtual int Seek(std::int64_t block) = 0;
    virtual std::intptr_t GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1 = 0,
                                  std::intptr_t param2 = 0) = 0;
};

// Null on failure, with the reason in `errorCode` (when given) and a
// sentence for users in LastOpenError. What the file holds decides the
// decoder, not its name: Monkey's Audio goes to the module ape_ffmpeg.so,
// the other lossless formats to lossless_ffmpeg.so, each loaded on first
// use; a lossy file is refused with ERROR_LOSSY_SOURCE.
// Anything but an ordinary file (a FIFO, a device, a folder) is refused
// with ERROR_IO_READ at once; win::RegularFileProblem says why in words.
IAPEDecompress* CreateIAPEDecompress(const wchar_t* path, int* errorCode);

// Why the calling thread's last CreateIAPEDecompress failed, for users;
// empty after a success.
const std::wstring& LastOpenError();

// Loads the decoder module if it is not loaded yet; false, with a sentence
// for users in `why` (when given), when it cannot be loaded.
bool LoadApeDecoder(std::wstring* why = nullptr);
