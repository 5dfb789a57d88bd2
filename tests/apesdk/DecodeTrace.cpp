#include "tests/apesdk/DecodeTrace.h"

#include "platform/core/WorkThreads.h"
#include "tests/support/TestFiles.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace testing_support {

std::unique_ptr<IAPEDecompress> OpenDecoder(const fs::path& path, int threads, int* error)
{
    win::SetRowThreads(threads);
    return std::unique_ptr<IAPEDecompress>(CreateIAPEDecompress(path.wstring().c_str(), error));
}

void ReadBlocks(IAPEDecompress& decoder, int chunk, std::int64_t blocks, DecodeTrace& trace)
{
    auto align = static_cast<std::size_t>(decoder.GetInfo(APE_INFO_BLOCK_ALIGN));
    std::vector<unsigned char> buffer(align * std::size_t(chunk));
    std::int64_t done = 0;
    while (blocks < 0 || done < blocks) {
        int want = blocks < 0 ? chunk : static_cast<int>(std::min<std::int64_t>(chunk, blocks - done));
        int got = -1;
        int result = decoder.GetData(buffer.data(), want, &got);
        trace.calls.emplace_back(got, result);
        trace.pcm.insert(trace.pcm.end(), buffer.begin(), buffer.begin() + std::ptrdiff_t(got * align));
        if (got <= 0)
            break;
        done += got;
    }
}

DecodeTrace Decode(const fs::path& path, int threads, int chunk, std::int64_t start, std::int64_t blocks)
{
    DecodeTrace trace;
    auto decoder = OpenDecoder(path, threads, &trace.openError);
    if (!decoder)
        return trace;
    if (start != 0)
        trace.calls.emplace_back(-1, decoder->Seek(start));
    ReadBlocks(*decoder, chunk, blocks, trace);
    return trace;
}

std::vector<fs::path> AllApeFiles()
{
    std::vector<fs::path> files;
    for (const fs::path& folder : {FixturePath(""), SharedTestData() / "ape"})
        if (fs::is_directory(folder))
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.path().extension() == ".ape")
                    files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace testing_support
