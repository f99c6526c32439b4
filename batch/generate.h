#pragma once

#include "options.h"

class BufferedWriter;

// Makes options.count results of a generating command and writes them in
// the chosen format. Returns the exit status.
int RunGenerator(const BatchOptions& options, BufferedWriter& out);

// Seeds the random source from --seed, or else from the clock, and tells
// the seed on standard error when --show-seed asks for it.
void SeedRandomSource(const BatchOptions& options);
