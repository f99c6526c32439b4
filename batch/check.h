#pragma once

class BufferedWriter;

// Reads every word list the program uses and reports what an author would
// want to fix, one line per finding, then a summary. Returns the exit status:
// 0 when nothing was found, 1 otherwise.
int RunCheck(BufferedWriter& out);
