// quillmere-batch's filters, roll tables, invented names and seeds, run as a process on lists
// of the test's own or on the shipped ones.
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct Run {
    int status; // -1 for a crash
    QString out, err;
    QStringList lines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

// The arguments are split at spaces; "_" stands for a space inside one.
Run run(const QString& args, const QString& data = {})
{
    QProcess process;
    process.start(QUILLMERE_BUILD_DIR "/quillmere-batch",
                  args.split(' ').replaceInStrings("_", " ") +
                      (data.isEmpty() ? QStringList() : QStringList{"--data", data}));
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Each different line once, in order; an NPC line as its name.
QString distinct(QStringList lines)
{
    for (QString& line : lines)
        line = line.startsWith("Name: ") ? line.mid(6).section(", Max Hp: ", 0, 0) : line;
    lines.sort();
    lines.removeDuplicates();
    return lines.join(';');
}

// Entries with spaces, so that a filter's text can cross the space between a result's two
// entries, and with a bar, which a markdown table escapes. The lists of one entry (Gaelic, the
// NPC names) hold the nine results whole.
const QString kResults = "Ash|Oak Gate Ward;Ash|Oak Key;Ash|Oak Mail;Dark Gate Ward;Dark Key;"
                         "Dark Mail;Iron Gate Gate Ward;Iron Gate Key;Iron Gate Mail";

} // namespace

class TestBatchTables : public QObject {
    Q_OBJECT
    TempExeDir m_lists;
    const QString m_data = m_lists.full("/data");
private slots:
    // Every list the program reads, by the pattern of its name. Greek women's names are of a
    // consonant, a vowel and "n" or "na"; a chain makes fifteen new names from them.
    void initTestCase()
    {
        const QStringList lists =
            QString("Key;Mail;Gate Ward/Dark;Iron Gate;Ash|Oak/" + kResults +
                    "/Ban;Ben;Bon;Dan;Den;Don;Gan;Gen;Gon;Kan;Ken;Kon;Lan;"
                    "Len;Lon;Man;Men;Mon;Nan;Nen;Bana;Dena;Gona;Kana;Lena/Zed")
                .split('/');
        const QStringList patterns{"nouns|objects|english/sur", "-ect|english/m", "gaelic_m|demon",
                                   "greek/f", ""};
        for (QDirIterator it(kSourceDir + "/data", {"*.quillmere"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString file = it.next().mid(kSourceDir.size());
            int k = 0;
            while (!file.contains(QRegularExpression(patterns[k])))
                ++k;
            m_lists.write(file, lists[k].split(';'));
        }
    }
    void filters_data();
    void filters();
    void tables();
    void invent();
};

void TestBatchTables::filters_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("results");
    const std::pair<const char*, const char*> filters[] = {
        {"--starts-with dARK_m", "Dark Mail"},
        {"--ends-with k_KEY", "Ash|Oak Key;Dark Key"},
        {"--contains E_g", "Iron Gate Gate Ward"},
        {"--min-length 14", "Ash|Oak Gate Ward;Dark Gate Ward;Iron Gate Gate Ward;Iron Gate Mail"},
        {"--max-length 9", "Dark Key;Dark Mail"},
        {"--match ^a.*[LY]$", "Ash|Oak Key;Ash|Oak Mail"},
        {"--starts-with=i --contains=GATE_K --max-length=13 --ends-with=y", "Iron Gate Key"},
        {"--match ^(?!.*ward) --min-length 12", "Ash|Oak Mail;Iron Gate Key;Iron Gate Mail"},
        {"--starts-with ash|oak_g --ends-with mail", ""},
    };
    for (const char* command : {"title", "item", "equipment", "skill", "character",
                                "character --nationality GAELIC", "npc"})
        for (const auto& [filter, results] : filters)
            QTest::newRow(qPrintable(QString("%1 %2").arg(command, filter)))
                << QString("%1 %2").arg(command, filter) << QString(results);
}

// Every command with each kind of filter, in any case, and their combination, drawn at random
// and with --unique: the results are exactly those that pass, and when none can, that is told.
// The seed that --show-seed tells makes the same run again.
void TestBatchTables::filters()
{
    QFETCH(QString, args);
    QFETCH(QString, results);
    const int passing = results.isEmpty() ? 0 : results.count(';') + 1;
    const QString only = "the word lists can give only %1 different results that pass the filters; "
                         "60 were asked for\n",
                  none = "no result the word lists can give passes the filters\n";
    for (const QString unique : {"", " --unique"}) {
        const Run r = run(args + " -n 60 --show-seed" + unique, m_data);
        const auto seed = QRegularExpression("^quillmere-batch: seed (\\d+); --seed \\1 makes this "
                                             "run again\n")
                              .match(r.err);
        QCOMPARE(run(args + " -n 60" + unique + " --seed " + seed.captured(1), m_data).out, r.out);
        const bool all = passing > 0 && (args.startsWith("npc") || unique.isEmpty());
        QCOMPARE(distinct(r.lines()), results);
        QCOMPARE(r.lines().size(), all ? 60 : passing);
        QCOMPARE(r.err.mid(seed.capturedLength()),
                 all ? "" : "quillmere-batch: " + (passing ? only.arg(passing) : none));
        QCOMPARE(r.status, all ? 0 : 1);
    }
}

// A dN table parses back, bars unescaped, into N results the lists can give, numbered 1 to N;
// a Foundry RollTable parses as JSON and holds each as a text result of its own number alone.
// A regular expression that does not compile is a mistake of the command line.
void TestBatchTables::tables()
{
    for (const QString format : {"markdown", "FOUNDRY"})
        for (const auto& [command, heading] :
             {std::pair{"title", "Title"},
              {"character --nationality gaelic", "Name"},
              {"npc", "Name | Max Hp | Max Sp | Intelligence | Atk Power | Strength | "
                      "P. Defense | M. Defense | Dexterity | Agility | Evasion | Exp | M. Drop"}}) {
            const Run r = run(QString(command) + " -n 7 --seed 5 --format " + format, m_data);
            QStringList results, lines = r.lines();
            const QJsonObject table = QJsonDocument::fromJson(r.out.toUtf8()).object();
            QVERIFY(format == "markdown" ? lines.takeFirst() == QString("| d7 | %1 |").arg(heading)
                                         : table["formula"] == "1d7");
            for (int i = 0; format == "markdown" && i < lines.size(); ++i) {
                const QStringList cells = lines[i].split(QRegularExpression(R"((?<!\\)\|)"));
                QCOMPARE(cells[1], i ? QString(" %1 ").arg(i) : " --- ");
                results << cells[2].trimmed().replace("\\|", "|");
            }
            for (int i = 0; i < table["results"].toArray().size(); ++i) {
                const QJsonObject row = table["results"][i].toObject();
                QCOMPARE(QJsonDocument(row).toJson(QJsonDocument::Compact),
                         QString(R"({"drawn":false,"range":[%1,%1],"text":"%2","type":"text",)"
                                 R"("weight":1})")
                             .arg(i + 1)
                             .arg(row["text"].toString()));
                results << row["text"].toString();
            }
            QCOMPARE(results.size(), format == "markdown" ? 8 : 7);
            for (const QString& result : results.mid(format == "markdown" ? 1 : 0))
                QVERIFY2(kResults.split(';').contains(distinct({result})), qPrintable(result));
        }
    QCOMPARE(run("title --match a(b").err,
             "quillmere-batch: --match 'a(b' is not a valid regular expression: missing closing "
             "parenthesis at character 4\nTry 'quillmere-batch --help' for more information.\n");
}

// Invented names are new to every shipped name list, as long as the list's own and spell no
// run of four consonants its names do not; a seed makes them again; --unique ends when the
// chain runs out, with filters too; a list too small is refused.
void TestBatchTables::invent()
{
    QSet<QString> known, own;
    for (QDirIterator it(kSourceDir + "/data", {"*names*", "gaelic_*"}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        for (const QString& name : ShippedLines(it.next().mid(kSourceDir.size())))
            known << name.toCaseFolded();
    const auto runs = [](const QString& name) { // of four letters or more that are no vowels
        QSet<QString> found;
        for (const auto& m :
             QRegularExpression("(?:(?![aeiouy])\\p{L}){4,}")
                 .globalMatch(name.normalized(QString::NormalizationForm_D).toLower()))
            found << m.captured();
        return found;
    };
    for (const QString& name : ShippedLines("/data/gaelic/gaelic_female.quillmere"))
        own += runs(name);
    const QString gaelic = "invent --nationality Gaelic --gender FEMALE -n 3000 --";
    const Run r = run(gaelic + "show-seed");
    QVERIFY(run(gaelic + "seed " + r.err.section(' ', 2, 2).chopped(1)).out == r.out);
    QVERIFY(run(gaelic + "seed 12").out != r.out);
    QVERIFY(r.lines().size() == 3000 && distinct(r.lines()).count(';') > 1000);
    for (const QString& name : r.lines())
        QVERIFY2(!known.contains(name.toCaseFolded()) && name.size() >= 3 && name.size() <= 15 &&
                     own.contains(runs(name)),
                 qPrintable(name));
    const Run f = run("invent --nationality greek --gender female -n 99 --unique --ends-with NA "
                      "--match ^[b-g] --max-length 4",
                      m_data);
    QCOMPARE(
        distinct(f.lines()) + f.err,
        "Bena;Bona;Dana;Dona;Gana;Gena" // of fifteen new names the chain can make
        "quillmere-batch: made 6 of the 99 names asked for: in 100000 tries in a row the chain "
        "made no name that no list holds, that was not made already, and that passes the "
        "filters\n");
    QCOMPARE(run("invent", m_data).err,
             "quillmere-batch: " + m_data +
                 "/english/male_firstnames.quillmere: 3 different names "
                 "are too few to learn from; invent needs at least 20\n");
}

QTEST_GUILESS_MAIN(TestBatchTables)
#include "tst_batchtables.moc"
