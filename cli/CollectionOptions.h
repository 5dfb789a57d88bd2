// The options of whole-collection runs (-r, --force, --plan), of runs that
// must not depend on a settings file (--defaults), and of the report for
// scripts (--json).
#pragma once

#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

void AddCollectionOptions(CLI::App& app, CommandLine& options);

// Why the parsed options cannot go together; empty when they can.
std::string CheckCollectionOptions(const CommandLine& options);
