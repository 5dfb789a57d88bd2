// A collection's conversion as shell commands, one per album and one per
// folder of loose tracks, for GNU parallel to spread over cores or hosts.
// Each command is complete by itself: absolute paths, every output setting
// stated, no settings file read, so that any host makes the same files.
#pragma once

#include "cli/CollectionScan.h"

#include <cstdio>
#include <string>
#include <vector>

// `program`: the converter's absolute path; `destination`: DEST without the
// trailing "/"; `settings`: OutputArguments of the run. Inputs whose path
// holds a line break cannot be one line of a plan: they are passed to
// `warn` and left out. Returns the number of commands printed.
int PrintPlan(std::FILE* out, const std::string& program, const std::string& destination,
              const std::vector<std::string>& settings, const std::vector<const CollectionInput*>& inputs,
              const ScanWarning& warn);

// `text` in single quotes for a POSIX shell.
std::string ShellQuoted(const std::string& text);
