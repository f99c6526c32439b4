#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstring>
#include <unistd.h>

// Output through one buffer to a descriptor, standard output by default. A
// reader that goes away (EPIPE: the end of a `| head`) stops the writing
// quietly; any other failure, such as a full disk (ENOSPC), stops it too and
// is kept to be told once, by finish().
class BufferedWriter {
public:
    explicit BufferedWriter(int fd = STDOUT_FILENO) : m_fd(fd) {}
    ~BufferedWriter() { flush(); }
    BufferedWriter(const BufferedWriter&) = delete;
    BufferedWriter& operator=(const BufferedWriter&) = delete;

    void append(const char* data, qsizetype size)
    {
        if (size <= 0) // an empty view may have no data at all
            return;
        if (m_used + size > kBufferSize)
            return spill(data, size);
        std::memcpy(m_buffer + m_used, data, static_cast<std::size_t>(size));
        m_used += size;
    }
    void append(QByteArrayView bytes) { append(bytes.data(), bytes.size()); }
    void append(char c) { append(&c, 1); }
    // Writes what is buffered; false once writing has stopped.
    bool flush();
    bool ok() const { return m_state == State::Open; }
    // Flushes, then gives `status` when everything was written or the reader
    // went away. When writing failed it says on standard error that `what`
    // could not be written, and why, and gives 1.
    int finish(int status, const char* what);

private:
    static constexpr qsizetype kBufferSize = 64 * 1024;
    enum class State { Open, ReaderGone, Failed };
    // Flushes, then keeps `data` or writes it straight through if it is large.
    void spill(const char* data, qsizetype size);
    void write(const char* data, qsizetype size);
    int m_fd;
    char m_buffer[kBufferSize];
    qsizetype m_used = 0;
    State m_state = State::Open;
    QString m_error;
};
