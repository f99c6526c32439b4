#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A list box counts its entries in a signed 16-bit number.
inline constexpr int kMaxWordListEntries = 32767;

// Beyond this a file is not a word list anyone wrote by hand; reading stops
// there so that a stray video or disk image in data/ cannot freeze the
// window or exhaust memory.
inline constexpr qint64 kMaxWordListFileBytes = 64 * 1024 * 1024;

struct WordListRead {
    QStringList lines;      // entries in file order, at most the limit asked for
    QString error;          // empty when the file was read to its end
    bool truncated = false; // lines were left out because of a limit
};

// Decodes a word list's bytes: valid UTF-8 (a leading byte-order mark
// dropped) is read as UTF-8, anything else as Windows-1252.
QString DecodeWordListBytes(const QByteArray& bytes);

// Splits text into entries. CR LF, LF alone and CR alone each end a line; a
// terminator at the very end adds no empty entry; blank lines are entries.
QStringList SplitWordListLines(const QString& text);

// Opens, reads and closes one word-list file, keeping at most `maxLines`
// entries. Never throws; a file that cannot be opened or read gives the
// system's reason in `error`.
WordListRead ReadWordListFile(const QString& fullPath, int maxLines = kMaxWordListEntries);
