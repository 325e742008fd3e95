#pragma once

#include <filesystem>

namespace PyxFuzz
{
// Runs every operation on every protocol against a simulated reader and writes each run that succeeds, as
// the reply fuzzer reads it, into `folder`.
void WriteReplySeeds(const std::filesystem::path& folder);
} // namespace PyxFuzz
