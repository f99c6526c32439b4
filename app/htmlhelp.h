#pragma once

#include <QByteArray>
#include <QtGlobal>

class QWidget;

// Quillmere's stand-in for the desktop's HTML Help viewer, called the same
// way: the calling window, the help file's path as an 8-bit string in the
// locale's encoding, a command and a data word.
//
// HH_DISPLAY_TOPIC with data 0 opens the file at its default topic in the
// caller's help window, created on first use and reused after, shows it in
// front and returns at once with that window. Other requests, and a call
// without a caller, are not supported and return nullptr.
inline constexpr int HH_DISPLAY_TOPIC = 0;

QWidget* HtmlHelp(QWidget* caller, const QByteArray& path8bit, int command, quintptr data);
