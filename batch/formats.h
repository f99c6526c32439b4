#pragma once

#include <QByteArrayView>

class BufferedWriter;

// RFC 4180: a field is quoted when it holds a comma, a quote or a line break,
// or begins or ends with a space or a tab, so spreadsheets keep it exactly.
void WriteCsvField(BufferedWriter& out, QByteArrayView field);

// A JSON string literal, quotes included; no control character stays raw.
void WriteJsonString(BufferedWriter& out, QByteArrayView text);
