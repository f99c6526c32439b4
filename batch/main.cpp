// quillmere-batch: Quillmere's generators on the command line.
#include "check.h"
#include "generate.h"
#include "options.h"
#include "output.h"
#include "paths.h"
#include "problems.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[])
{
    // A reader that stops early (| head) is seen as EPIPE on write and ends
    // the run quietly, instead of a signal killing it mid-line.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmere-batch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    Problems::SetProgramName(QStringLiteral("quillmere-batch"));

    const auto parsed = ParseBatchArguments(QCoreApplication::arguments());
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "%s\n", qPrintable(usage->message));
        return 2;
    }
    const BatchOptions& options = std::get<BatchOptions>(parsed);
    Output out;
    switch (options.command) {
    case BatchOptions::Command::Help:
        out.append(BatchUsage().toUtf8());
        break;
    case BatchOptions::Command::Version:
        out.append("quillmere-batch (Quillmere) " QUILLMERE_VERSION "\n");
        break;
    default:
        if (!options.dataFolder.isEmpty())
            SetDataFolder(options.dataFolder);
        return options.command == BatchOptions::Command::Check ? RunCheck(out)
                                                               : RunGenerator(options, out);
    }
    out.flush();
    return out.ok() || out.readerGone() ? 0 : 1;
}
