#include "engine/ImageDecoder.h"

#include "modules/lossless/RawCdImage.h"

#include "platform/core/Files.h"

IAPEDecompress* OpenImageDecoder(const std::wstring& path, RawImage raw, int& error, std::wstring& why)
{
    error = 0;
    why.clear();
    IAPEDecompress* decoder = raw == RawImage::None
                                  ? CreateIAPEDecompress(path.c_str(), &error)
                                  : CreateRawCdDecompress(path.c_str(), raw == RawImage::BigEndian, &error);
    if (decoder)
        return decoder;
    std::wstring module;
    if (!win::NameTaken(path))
        why = L"the file is missing: " + path;
    else if (error == ERROR_DECODER_MISSING && !LoadApeDecoder(&module))
        why = module;
    else if (raw == RawImage::None && !LastOpenError().empty())
        why = LastOpenError();
    else
        why = L"not a readable audio file (error " + std::to_wstring(error ? error : ERROR_INVALID_INPUT_FILE) + L")";
    return nullptr;
}
