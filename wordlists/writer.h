#pragma once

#include <QByteArray>
#include <QString>
#include <cstring>

// Standard output through one buffer. A reader that goes away (the end of a
// `| head`) ends the run quietly; any other failure to write is told once.
class Output {
public:
    Output() = default;
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void append(const char* data, qsizetype size)
    {
        if (m_used + size > kBufferSize)
            spill(data, size);
        else
            std::memcpy(m_buffer + m_used, data, static_cast<std::size_t>(size)), m_used += size;
    }
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }
    void append(char c) { append(&c, 1); }
    // Writes what is buffered; false once writing has stopped.
    bool flush();
    bool ok() const { return m_state == State::Open; }
    bool readerGone() const { return m_state == State::ReaderGone; }
    // Why writing failed, or an empty text.
    QString error() const { return m_error; }

private:
    static constexpr qsizetype kBufferSize = 64 * 1024;
    enum class State { Open, ReaderGone, Failed };
    // Flushes, then keeps `data` or writes it straight through if it is large.
    void spill(const char* data, qsizetype size);
    bool write(const char* data, qsizetype size);
    char m_buffer[kBufferSize];
    qsizetype m_used = 0;
    State m_state = State::Open;
    QString m_error;
};

// RFC 4180: a field is quoted when it holds a comma, a quote, a line break
// or begins or ends with a space, so spreadsheets keep it exactly.
QByteArray CsvField(const QString& text);
// A JSON string literal, quotes included.
QByteArray JsonString(const QString& text);
