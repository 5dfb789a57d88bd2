#include "tags/TagRecord.h"

std::wstring TagRecord::Get(const std::string& name) const
{
    auto it = fields.find(name);
    return it == fields.end() || it->second.empty() ? std::wstring() : it->second.front();
}

void TagRecord::Set(const std::string& name, const std::wstring& value)
{
    if (value.empty())
        fields.erase(name);
    else
        fields[name] = {value};
}

void TagRecord::FillFrom(const TagRecord& other)
{
    for (const auto& [name, values] : other.fields)
        fields.try_emplace(name, values);
}
