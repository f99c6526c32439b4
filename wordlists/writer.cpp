#include "writer.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>

void BufferedWriter::write(const char* data, qsizetype size)
{
    qsizetype done = 0;
    while (m_state == State::Open && done < size) {
        const ssize_t n = ::write(m_fd, data + done, static_cast<std::size_t>(size - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EPIPE) {
            m_state = State::ReaderGone;
        } else {
            m_state = State::Failed;
            m_error = n < 0 ? qt_error_string(errno) : QStringLiteral("nothing was written");
        }
    }
}

bool BufferedWriter::flush()
{
    write(m_buffer, m_used);
    m_used = 0;
    return ok();
}

void BufferedWriter::spill(const char* data, qsizetype size)
{
    flush();
    if (size > kBufferSize / 2)
        return write(data, size);
    std::memcpy(m_buffer, data, static_cast<std::size_t>(size));
    m_used = size;
}

int BufferedWriter::finish(int status, const char* what)
{
    flush();
    if (m_state != State::Failed)
        return status;
    std::fprintf(stderr, "%s: cannot write %s: %s\n",
                 qPrintable(QCoreApplication::applicationName()), what, qPrintable(m_error));
    return 1;
}
