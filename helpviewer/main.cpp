// quillmere-help <help file> [--owner <window id>]
//
// Shows a compiled HTML help file in a window of its own. Quillmere starts it
// for "Contents" and talks to it through its standard input and output, one
// line at a time:
//   in:  "ping" asks for "pong"; "show" shows the first page again in front;
//        the end of input means Quillmere has gone, and so does the viewer.
//   out: "ready" once it listens, "window <id>" once its window is shown,
//        "showing <address>" for every page, "problem <sentence>" when the
//        file cannot be shown.
// Being a process of its own, a damaged file or a page that takes Qt forever
// to lay out costs only this window; Quillmere ends it when it stops
// answering.
#include "helpwindow.h"

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class OwnerLink : public QObject {
public:
    explicit OwnerLink(HelpWindow& window)
        : m_window(window), m_input(STDIN_FILENO, QSocketNotifier::Read)
    {
        m_output.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
        connect(&m_input, &QSocketNotifier::activated, this, &OwnerLink::readInput);
        connect(&window, &HelpWindow::report, this, &OwnerLink::send);
    }

    void send(const QString& line)
    {
        // A line never holds a line end, whatever a page's address held.
        m_output.write(QString(line).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8() + '\n');
    }

private:
    void readInput()
    {
        char buffer[512];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (got <= 0)
            return QCoreApplication::quit();
        m_pending.append(buffer, got);
        for (qsizetype end; (end = m_pending.indexOf('\n')) >= 0; m_pending.remove(0, end + 1)) {
            const QByteArray command = m_pending.left(end).trimmed();
            if (command == "ping")
                send(QStringLiteral("pong"));
            else if (command == "show")
                m_window.showInFront();
        }
    }

    HelpWindow& m_window;
    QSocketNotifier m_input;
    QFile m_output;
    QByteArray m_pending;
};

// On X11 the window belongs to Quillmere's main window: the desktop keeps it
// above that window and treats the two as one program.
void belongTo(QWidget& window, WId owner)
{
    if (!owner || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    window.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    window.winId();
    if (QWindow* foreign = QWindow::fromWinId(owner)) {
        // Kept by the application, which outlives the help window.
        static_cast<QObject*>(foreign)->setParent(qApp);
        window.windowHandle()->setTransientParent(foreign);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    // A crash inside chmlib is expected now and then and must leave no core
    // file; nor may a damaged file make it take the machine's memory. Writing
    // to a Quillmere that has gone must not kill the viewer before it sees
    // the end of its input.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
#ifndef QUILLMERE_SANITIZED
    const rlimit memory{rlim_t(4) << 30, rlim_t(4) << 30};
    setrlimit(RLIMIT_AS, &memory);
#endif
    std::signal(SIGPIPE, SIG_IGN);

    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2 && (args.size() != 4 || args[2] != QLatin1String("--owner"))) {
        std::fputs("usage: quillmere-help <help file> [--owner <window id>]\n", stderr);
        return 2;
    }
    HelpWindow window(args[1]);
    window.setWindowIcon(QIcon(QStringLiteral(":/quillmere.png")));
    OwnerLink link(window);
    link.send(QStringLiteral("ready"));
    QTimer::singleShot(0, &window, [&] {
        belongTo(window, args.value(3).toULongLong());
        window.showInFront();
        link.send(QStringLiteral("window ") + QString::number(window.winId()));
    });
    return QApplication::exec();
}
