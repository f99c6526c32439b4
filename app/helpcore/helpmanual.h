#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QtGlobal>
#include <optional>

// The help file is read by a process of its own, quillmere-helpreader, so
// that a damaged file which crashes or hangs chmlib takes only that process
// down. The reader sends the whole manual back on its standard output in one
// reply; the viewer then shows it from memory. Nothing in a reply is
// trusted: every frame is checked against the caps below before it is used.
//
// A reply is the 8 bytes "QMHELP1\n", then frames of a 4-byte tag, a 32-bit
// little-endian payload length and the payload:
//   "FAIL"  one byte, a HelpFailure; the only frame of a failed reply
//   "TITL"  the title, UTF-8                       at most once
//   "HOME"  the default topic, an object path      at most once
//   "TOCF"  the contents file, an object path      at most once
//   "OBJ "  a 16-bit path length, the path, the object's bytes
//   "BIG "  a 16-bit path length, the path, a 64-bit size: an object too
//           large to be sent
//   "END "  a 32-bit count of OBJ and BIG frames; the last frame
// Object paths are absolute ("/index.html"), UTF-8, without control
// characters, and each names one object only.

// No picture or page of a manual comes near these; a file that needs more is
// not one the viewer has to show.
inline constexpr qint64 kMaxHelpObjectBytes = 4 * 1024 * 1024;
inline constexpr qint64 kMaxHelpTotalBytes = 32 * 1024 * 1024;
inline constexpr int kMaxHelpObjects = 4096;
inline constexpr int kMaxHelpPathBytes = 1024;
inline constexpr int kMaxHelpTitleBytes = 1024;
// The longest well-formed reply; the viewer stops the reader past it.
inline constexpr qint64 kMaxHelpReplyBytes = 8 + 3 * (8 + 1024) +
                                             kMaxHelpObjects * (8 + 2 + kMaxHelpPathBytes + 8) +
                                             kMaxHelpTotalBytes + 8 + 4;

// Why a help file cannot be shown. The reader names the reason by number;
// the words are the viewer's own.
enum class HelpFailure : quint8 {
    None = 0,
    NoSuchFile = 1,
    Folder = 2,
    NotRegular = 3,
    Unreadable = 4,
    NotCompiledHelp = 5,
    NoPages = 6,
    TooLarge = 7,
    Damaged = 8,
};
inline constexpr quint8 kLastHelpFailure = 8;

// The end of the sentence "Could not open the help file ... because ...";
// empty for None and Damaged, which have sentences of their own.
QString HelpFailureReason(HelpFailure failure);

// A help file as the reader found it.
struct HelpManual {
    QString title;
    QString defaultTopic;
    QString contentsFile;
    QHash<QString, QByteArray> objects;
    // Objects too large to be sent, by their size in bytes.
    QHash<QString, qint64> oversized;

    bool operator==(const HelpManual&) const = default;
};

struct HelpReply {
    HelpFailure failure = HelpFailure::None;
    HelpManual manual; // empty unless failure is None
};

// The reply in its framed form. Fields beyond the caps make it a reply that
// ParseHelpReply refuses; the reader keeps within them.
QByteArray EncodeHelpReply(const HelpReply& reply);

// Checks every frame of `bytes`. Anything malformed, over a cap, repeated or
// out of place gives Damaged; a manual whose default topic it does not hold
// gives NoPages.
HelpReply ParseHelpReply(QByteArrayView bytes);

// Whether `path` may name an object in a reply: absolute, valid UTF-8 within
// kMaxHelpPathBytes, no control characters.
bool IsHelpObjectPath(const QString& path);
