// The play length a RealMedia file declares: the duration field of its PROP
// header, which follows the ".RMF" file header.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

// Nothing when the file cannot be read, is not RealMedia, or its headers do
// not hold together; every size read from the file is checked against it.
std::optional<std::uint32_t> ReadRealMediaLength(const std::string& path);
