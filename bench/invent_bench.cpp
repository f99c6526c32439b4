// How the invented names of quillmere-batch invent measure up, list by list:
// novelty against every shipped name list, how many held-out names of a list
// the chain learnt from the rest could make, the shape checks, and speed.
//   quillmere_invent_bench <data folder>
#include "namemodel.h"
#include "random.h"
#include "wordlistfile.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <random>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString data = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("data");
    QMap<QString, QStringList> lists;
    QStringList everyName;
    for (QDirIterator it(data, {"*.quillmere"}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        if (path.mid(data.size() + 1).contains('/'))
            everyName += lists[path.mid(data.size() + 1)] = ReadWordListFile(path).lines;
    }
    std::printf("%-32s %9s %8s %9s %9s %12s\n", "list", "novel", "raw new", "held-out", "shape",
                "names/s");
    for (auto it = lists.cbegin(); it != lists.cend(); ++it) {
        RandomSource::Seed(1);
        const NameModel model(*it, everyName);
        int novel = 0, raw = 0, shape = 0;
        QElapsedTimer clock;
        clock.start();
        const int n = 100000;
        QSet<QString> known;
        for (const QString& name : everyName)
            known.insert(name.toCaseFolded());
        for (int i = 0; i < n; ++i) {
            const QString name = model.invent(RandomSource::Draw);
            novel += !name.isEmpty() && !known.contains(name.toCaseFolded());
            shape += name.isEmpty() || !model.canMake(name);
        }
        const double rate = n / (clock.nsecsElapsed() / 1e9);
        // Held out: a tenth of the list, the chain learnt from the rest.
        QStringList shuffled = *it;
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(8));
        const QStringList held = shuffled.mid(0, shuffled.size() / 10);
        const QStringList rest = shuffled.mid(shuffled.size() / 10);
        const NameModel learnt(rest, rest);
        int makes = 0;
        for (const QString& name : held)
            makes += learnt.canMake(name);
        RandomSource::Seed(1);
        const NameModel open(*it, {});
        for (int i = 0; i < 10000; ++i)
            raw += !known.contains(open.invent(RandomSource::Draw).toCaseFolded());
        std::printf("%-32s %8.2f%% %7.1f%% %4d/%-4lld %9d %12.0f\n", qPrintable(it.key()),
                    100.0 * novel / n, raw / 100.0, makes, qlonglong(held.size()), shape, rate);
    }
    return 0;
}
