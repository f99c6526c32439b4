// The worst a word list can hold, as the user meets it: the mode load that
// reads it (time, and peak memory on top of what the window already held),
// then Generate, copy and a scroll through the lists with what was kept.
#include "form1.h"
#include "paths.h"
#include "problems.h"
#include "resultbox.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QByteArray repeated(const QByteArray& line, qint64 bytes)
{
    QByteArray out;
    out.reserve(bytes);
    while (out.size() + line.size() <= bytes)
        out += line;
    return out;
}

void writeFile(const QString& path, const std::function<void(QFile&)>& fill)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    fill(file);
}

// The peak resident memory since the last reset, in MiB.
double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

template <typename F> double medianMs(int runs, F&& action)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        action();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Case {
    const char* name;
    std::function<void(QFile&)> fill;
    bool bothLists; // the secondary list gets the same file
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SetExecutableDirForTesting(dir.path());
    QDir().mkpath(dir.path() + QStringLiteral("/data"));
    const QString primary = dir.path() + QStringLiteral("/data/adjectives-ect.quillmere");
    const QString secondary = dir.path() + QStringLiteral("/data/nouns-ect.quillmere");
    const QByteArray ordinary = repeated("Shattered\r\n", 300 * 11);
    writeFile(primary, [&](QFile& f) { f.write(ordinary); });
    writeFile(secondary, [&](QFile& f) { f.write(ordinary); });

    QStringList messages;
    Problems::SetNotifier([&](QObject*, const QString& m) { messages << m; });
    ResultBox::SetConfirm([](QWidget*) { return true; });
    Form1 form;
    form.show();
    QCoreApplication::processEvents();

    constexpr qint64 kMiB = 1024 * 1024;
    const std::vector<Case> cases = {
        {"200 MB of ordinary lines",
         [](QFile& f) {
             const QByteArray block = repeated("Wandering Lantern\r\n", kMiB);
             for (int i = 0; i < 200; ++i)
                 f.write(block);
         },
         false},
        {"one 50 MB line", [](QFile& f) { f.write(QByteArray(50'000'000, 'x') + "\r\n"); }, false},
        {"1 GB sparse", [](QFile& f) { f.resize(1024 * kMiB); }, false},
        {"longest kept line", [](QFile& f) { f.write(QByteArray(4 * kMiB - 2, 'x') + "\r\n"); },
         false},
        {"longest kept line, both lists",
         [](QFile& f) { f.write(QByteArray(4 * kMiB - 2, 'x') + "\r\n"); }, true},
        {"longest kept Windows-1252 line, both lists",
         [](QFile& f) { f.write(QByteArray(4 * kMiB - 2, '\xE9') + "\r\n"); }, true},
        {"32767 lines of 126 characters",
         [](QFile& f) { f.write(repeated(QByteArray(126, 'y') + "\r\n", 32767 * 128)); }, false},
    };

    std::printf("%-44s %9s %9s %8s %9s %9s %9s  %s\n", "file in place of the list(s)", "load ms",
                "+peak MiB", "entries", "gen ms", "copy ms", "scroll ms", "message");
    for (const Case& c : cases) {
        writeFile(primary, c.fill);
        if (c.bothLists)
            writeFile(secondary, c.fill);
        // Each load starts from empty lists; the median of five is shown, with
        // the largest rise in peak memory.
        std::vector<double> loads;
        double extra = 0;
        for (int run = 0; run < 5; ++run) {
            messages.clear();
            form.prim_words->words().clear();
            form.second_words->words().clear();
            QCoreApplication::processEvents();
            resetPeak();
            const double before = peakMiB();
            QElapsedTimer clock;
            clock.start();
            form.SwitchMode(1);
            form.repaint();
            loads.push_back(clock.nsecsElapsed() / 1e6);
            extra = std::max(extra, peakMiB() - before);
        }
        std::sort(loads.begin(), loads.end());
        const double loadMs = loads[loads.size() / 2];
        const double generate = medianMs(15, [&] {
            form.Command1->click();
            form.repaint();
        });
        const double copy = medianMs(15, [&] {
            form.Text2->CopyWithConfirmation();
            form.repaint();
        });
        const double scroll = medianMs(15, [&] {
            for (WordListBox* list : {form.prim_words, form.second_words}) {
                list->scrollToBottom();
                list->repaint();
                list->scrollToTop();
                list->repaint();
            }
        });
        QString message = messages.join(' ').section('\n', 2).simplified();
        message.replace(dir.path(), QStringLiteral("..."));
        std::printf("%-44s %9.1f %9.1f %8d %9.2f %9.2f %9.2f  %s\n", c.name, loadMs, extra,
                    form.prim_words->words().count(), generate, copy, scroll, qPrintable(message));
        writeFile(secondary, [&](QFile& f) { f.write(ordinary); });
    }
    return 0;
}
