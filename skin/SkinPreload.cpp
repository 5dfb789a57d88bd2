#include "skin/SkinPreload.h"

#include "skin/SkinButton.h"
#include "skin/SkinFile.h"
#include "skin/SkinFrame.h"
#include "skin/SkinMultimediaList.h"

#include "platform/core/Strings.h"

#include <cwchar>
#include <system_error>

namespace {

// The keyword matches any value that begins with it, in any case.
bool IsKind(const std::wstring& type, const wchar_t* keyword)
{
    std::size_t length = std::wcslen(keyword);
    return type.size() >= length && win::CompareNoCase(type, keyword, length) == 0;
}

}  // namespace

bool LoadSkinElements(const std::wstring& directory, const std::wstring& path, SkinElements& elements)
{
    SkinFile file;
    if (!file.Open(path))
        return false;
    std::vector<std::wstring> sections;
    file.GetSectionNames(sections);
    for (const auto& section : sections) {
        std::wstring type = file.GetString(section, L"type", L"Window");
        std::unique_ptr<SkinElement> element;
        if (IsKind(type, L"Window"))
            element = std::make_unique<SkinFrame>(file, section, directory);
        else if (IsKind(type, L"Button"))
            element = std::make_unique<SkinButton>(file, section, directory);
        else if (IsKind(type, L"mmlist"))
            element = std::make_unique<SkinMultimediaList>(file, section, directory);
        else
            continue;
        element->Load();
        elements.push_back(std::move(element));
    }
    return true;
}

SkinPreload::SkinPreload(std::wstring directory, std::wstring path)
    : directory_(std::move(directory)), path_(std::move(path))
{
    try {
        thread_ = std::thread([this] { opened_ = LoadSkinElements(directory_, path_, loaded_); });
    } catch (const std::system_error&) {
        // Take loads it then, as if there had been no head start.
    }
}

SkinPreload::~SkinPreload()
{
    if (thread_.joinable())
        thread_.join();
}

bool SkinPreload::IsFor(const std::wstring& directory, const std::wstring& path) const
{
    return directory == directory_ && path == path_;
}

bool SkinPreload::Take(SkinElements& elements)
{
    if (thread_.joinable())
        thread_.join();
    else if (!taken_)
        opened_ = LoadSkinElements(directory_, path_, loaded_);
    if (taken_)
        return false;
    taken_ = true;
    for (auto& element : loaded_)
        elements.push_back(std::move(element));
    loaded_.clear();
    return opened_;
}
