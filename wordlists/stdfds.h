#pragma once

// Descriptors 0, 1 and 2 are standard input, output and error only while they
// are open. A program started with one of them closed hands that number to
// the next file, pipe or event descriptor it opens, and Qt opens several: what
// was meant for the terminal would then be written into one of those.
//
// Opens /dev/null on each of the three that is closed, so nothing can take
// its place; call it before anything else opens a file. Returns which were
// closed: bit 0 for standard input, bit 1 for output, bit 2 for error.
int OpenClosedStandardDescriptors();
