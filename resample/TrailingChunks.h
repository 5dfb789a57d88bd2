// The chunks that follow a WAV file's audio (a LIST/INFO or an ID3 tag, as
// taggers append them), kept when the resampler rewrites the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace ssrc {

// The whole chunks after a data chunk whose samples start at `samplesAt`
// and that holds `dataLength` bytes, as stored (each with its pad byte). A
// chunk cut short by the end of the file ends the list; so does a second
// data or fmt chunk, which would make the rewritten file ambiguous. A fact
// chunk (the old sample count) is left out. At most `limit` bytes are kept. The read position is left anywhere.
std::vector<unsigned char> ReadTrailingChunks(std::FILE* in, std::uint64_t samplesAt, std::uint32_t dataLength,
                                              std::size_t limit = 64u << 20);

}  // namespace ssrc
