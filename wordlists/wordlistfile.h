#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

// A list box counts its entries in a signed 16-bit number.
inline constexpr int kMaxWordListEntries = 32767;

// Beyond this a file is not a word list anyone wrote by hand: 32,767
// entries of 128 characters each fit in it. Reading stops there, so a stray
// video or disk image in data/ costs no more than a full list, and even the
// longest line that can be kept (4 MiB of bytes, 8 MiB as text) loads in
// well under a tenth of a second on a small machine.
inline constexpr qint64 kMaxWordListFileBytes = 4 * 1024 * 1024;

// How one line of a file was written, for telling an author what to fix.
struct WordListLine {
    enum class End : quint8 { None, CrLf, Lf, Cr };
    End end = End::None;      // its terminator; None for a last line without one
    bool windows1252 = false; // not valid UTF-8, so read as Windows-1252
};

struct WordListRead {
    QStringList lines;          // entries in file order, at most the limit asked for
    QString error;              // empty when the file was read to its end
    bool truncated = false;     // lines were left out because of a limit
    QString encoding;           // "UTF-8", or the UTF-16/UTF-32 its byte-order mark names
    QList<WordListLine> layout; // one per entry, when asked for
};

struct WordListLimits {
    int maxLines = kMaxWordListEntries;      // the room left in the list
    qint64 maxBytes = kMaxWordListFileBytes; // bytes read at most
    bool layout = false;                     // fill WordListRead::layout
};

// Reads at most `maxBytes` of `device` at once, then splits them into
// entries, stopping at the first line beyond `maxLines`. When the device
// holds more than `maxBytes`, or a read fails part-way, the bytes are cut
// at their last whole line, so no entry is half a line.
//
// Format: CR LF, LF alone and CR alone each end a line; a terminator at the
// very end adds no empty entry; blank lines are entries; entries are kept
// exactly as written. A byte-order mark selects UTF-16 or UTF-32 (LE or BE);
// otherwise each line on its own is UTF-8 when it is valid UTF-8 and
// Windows-1252 when it is not, so lines appended by two editors both read
// right. A leading UTF-8 byte-order mark is dropped.
WordListRead ReadWordList(QIODevice& device, const WordListLimits& limits = {});

// Opens, reads and closes one word-list file, within `limits`. Never throws and never waits on
// anything but the disk: a path that is not a regular file is refused before a byte is read. A file
// that cannot be opened or read gives the reason in `error`.
WordListRead ReadWordListFile(const QString& fullPath, const WordListLimits& limits = {});
