// The readers under test take file names, so each input is written to a
// file in a folder of this process's own (on /dev/shm when there is one, to
// keep the disk out of the loop) before it is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The folder, with a trailing "/", made on first use and removed at exit.
const std::string& ScratchFolder();
// Writes `size` bytes as `name` in the folder; returns the file's path.
std::string WriteScratch(const std::string& name, const std::uint8_t* data, std::size_t size);
// The same path as the wide string the readers take.
std::wstring WidePath(const std::string& path);

}  // namespace fuzz
