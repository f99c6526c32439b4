#include "invent.h"

#include "filters.h"
#include "generate.h"
#include "loadwordlist.h"
#include "namemodel.h"
#include "nationalities.h"
#include "paths.h"
#include "problems.h"
#include "random.h"
#include "results.h"
#include "unique.h"
#include "wordlist.h"

#include <QSet>
#include <memory>

namespace {

// Fewer names than this teach a chain little but the names themselves.
constexpr qsizetype kMinNames = 20;
// Walks of the chain in a row that give no name to print before a run
// gives up: about half a second.
constexpr qint64 kMaxWalks = 100000;

QString learntFile(const BatchOptions& options)
{
    const Nationality& n = *NationalityByKey(options.nationality);
    return QLatin1String(options.part == BatchOptions::Part::Surname
                             ? n.surnameFile
                             : FirstNameFile(n, options.gender));
}

// "Invented Greek female names", "Invented Greek surnames".
QString tableTitle(const BatchOptions& options)
{
    const Nationality& n = *NationalityByKey(options.nationality);
    if (options.part == BatchOptions::Part::Surname)
        return QStringLiteral("Invented %1 surnames").arg(QLatin1String(n.display));
    if (qstrcmp(n.maleFile, n.femaleFile) == 0)
        return QStringLiteral("Invented %1 names").arg(QLatin1String(n.display));
    return QStringLiteral("Invented %1 %2 names")
        .arg(QLatin1String(n.display), options.gender.toLower());
}

QString shortfall(const BatchOptions& options, qint64 made)
{
    return QStringLiteral("made %1 of the %2 names asked for: in %3 tries in a row the chain made "
                          "no name that no list holds%4%5")
        .arg(made)
        .arg(options.count)
        .arg(kMaxWalks)
        .arg(options.unique ? QStringLiteral(", that was not made already") : QString())
        .arg(options.filters.any ? QStringLiteral(", and that passes the filters") : QString());
}

int invent(const BatchOptions& options, const NameModel& model, ResultWriter& out)
{
    if (options.unique && options.count > kMaxRemembered)
        return TellTooManyToRemember(options.count);
    const ResultFilter filter(options.filters);
    Fingerprints printed(options.unique ? options.count : 0);
    const auto draw = [] { return RandomSource::Draw(); };
    qint64 made = 0;
    for (qint64 misses = 0; made < options.count && out.ok() && misses < kMaxWalks;) {
        const QString name = model.invent(draw);
        const QByteArray text = name.toUtf8();
        if (name.isEmpty() || !filter.passes(name) || (options.unique && !printed.insert(text))) {
            misses += name.isEmpty() ? NameModel::kTries : 1;
            continue;
        }
        misses = 0;
        out.phrase(text, text.size());
        ++made;
    }
    return out.finish(made, options.count, shortfall(options, made));
}

} // namespace

QStringList NameLists()
{
    QStringList files;
    for (const Nationality& n : kNationalities)
        for (const char* file : {n.maleFile, n.femaleFile, n.surnameFile})
            if (file && !files.contains(QLatin1String(file)))
                files << QLatin1String(file);
    return files;
}

int RunInvent(const BatchOptions& options, BufferedWriter& writer)
{
    QStringList files = NameLists(); // the one to learn from first
    files.move(files.indexOf(learntFile(options)), 0);
    std::vector<std::unique_ptr<WordListModel>> lists;
    {
        Problems::Scope problems(nullptr);
        for (const QString& file : files) {
            lists.push_back(std::make_unique<WordListModel>());
            LoadWordList(*lists.back(), file);
        }
        if (Problems::AnyUnreadable())
            return 1;
    }
    QStringList learnt = lists.front()->entries();
    learnt.removeAll(QString());
    learnt.removeDuplicates();
    if (learnt.size() < kMinNames)
        return TellFailure(QStringLiteral("%1: %2 different names are too few to learn from; "
                                          "invent needs at least %3")
                               .arg(FullPath(files.front()))
                               .arg(learnt.size())
                               .arg(kMinNames));
    QStringList every;
    for (const auto& list : lists)
        every += list->entries();
    const NameModel model(learnt, every);
    SeedRandomSource(options);
    ResultWriter out(writer, options.format, {"name"}, tableTitle(options));
    return invent(options, model, out);
}
