// quillmere-batch: Quillmere's generators on the command line.
#include "check.h"
#include "generate.h"
#include "options.h"
#include "paths.h"
#include "problems.h"
#include "stdfds.h"
#include "writer.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (OpenClosedStandardDescriptors() & 2) {
        std::fputs("quillmere-batch: standard output is closed, so nothing can be written\n",
                   stderr);
        return 1;
    }
    // A reader that stops early (| head) is seen as EPIPE on write and ends
    // the run quietly, instead of a signal killing it mid-line.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmere-batch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    Problems::SetProgramName(QStringLiteral("quillmere-batch"));

    const auto parsed = ParseBatchArguments(QCoreApplication::arguments());
    if (const auto* usage = std::get_if<UsageError>(&parsed))
        return TellUsageError(usage->message);
    const BatchOptions& options = std::get<BatchOptions>(parsed);
    BufferedWriter out;
    switch (options.command) {
    case BatchOptions::Command::Help:
        out.append(BatchUsage().toUtf8());
        return out.finish(0, "the help");
    case BatchOptions::Command::Version:
        out.append("quillmere-batch (Quillmere) " QUILLMERE_VERSION "\n");
        return out.finish(0, "the version");
    default:
        if (!options.dataFolder.isEmpty())
            SetDataFolder(options.dataFolder);
        return options.command == BatchOptions::Command::Check ? RunCheck(out)
                                                               : RunGenerator(options, out);
    }
}
