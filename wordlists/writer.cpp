#include "output.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

Output::~Output()
{
    flush();
}

bool Output::write(const char* data, qsizetype size)
{
    qsizetype done = 0;
    while (m_state == State::Open && done < size) {
        const ssize_t n =
            ::write(STDOUT_FILENO, data + done, static_cast<std::size_t>(size - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EPIPE) {
            m_state = State::ReaderGone;
        } else {
            m_state = State::Failed;
            m_error = QString::fromLocal8Bit(n < 0 ? std::strerror(errno) : "nothing was written");
        }
    }
    return m_state == State::Open;
}

bool Output::flush()
{
    const bool ok = write(m_buffer, m_used);
    m_used = 0;
    return ok;
}

void Output::spill(const char* data, qsizetype size)
{
    flush();
    if (size > kBufferSize / 2) {
        write(data, size);
        return;
    }
    std::memcpy(m_buffer, data, static_cast<std::size_t>(size));
    m_used = size;
}

QByteArray CsvField(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const bool quote = bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
                       bytes.contains('\r') || bytes.startsWith(' ') || bytes.endsWith(' ') ||
                       bytes.startsWith('\t') || bytes.endsWith('\t');
    if (!quote)
        return bytes;
    QByteArray quoted = bytes;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

QByteArray JsonString(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    QByteArray out;
    out.reserve(bytes.size() + 2);
    out += '"';
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[u >> 4];
                out += hex[u & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}
