#pragma once

#include "options.h"

class BufferedWriter;

// Makes options.count results of a generating command and writes them in
// the chosen format. Returns the exit status.
int RunGenerator(const BatchOptions& options, BufferedWriter& out);
