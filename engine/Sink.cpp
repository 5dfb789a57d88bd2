#include "engine/Sink.h"

std::wstring AppearedReason(const std::wstring& path)
{
    return L"a file appeared at " + path + L" during the conversion; it was kept";
}
