// quillmere-helpreader <help file>
//
// Reads a compiled HTML help file with chmlib and writes the whole manual to
// standard output as one framed reply (see helpmanual.h). It runs as a
// process of its own so that a damaged file which crashes or hangs chmlib
// cannot take the program's windows down with it; the viewer gives it a few
// seconds and checks everything it sends.
#include "chmfile.h"

#include <cerrno>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__has_feature)
#define QUILLMERE_HAS_FEATURE(x) __has_feature(x)
#else
#define QUILLMERE_HAS_FEATURE(x) 0
#endif

namespace {

bool writeAll(const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + written,
                                  static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // A crash inside chmlib is expected now and then; it must not leave a
    // core file behind. Nor may a damaged file make it take the machine's
    // memory: a manual needs a few MiB. (The sanitizers reserve far more
    // address space than that for themselves.)
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
#if !defined(__SANITIZE_ADDRESS__) && !QUILLMERE_HAS_FEATURE(address_sanitizer)
    constexpr rlim_t kMaxAddressSpace = rlim_t(1) << 30;
    const rlimit memory{kMaxAddressSpace, kMaxAddressSpace};
    setrlimit(RLIMIT_AS, &memory);
#endif

    if (argc != 2) {
        std::fputs("usage: quillmere-helpreader <help file>\n", stderr);
        return 2;
    }
    HelpReply reply;
    {
        ChmFile file;
        reply.failure = file.open(QByteArray(argv[1]));
        if (reply.failure == HelpFailure::None)
            reply = file.readManual();
    }
    return writeAll(EncodeHelpReply(reply)) ? 0 : 1;
}
