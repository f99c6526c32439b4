// quillmere-batch as an author runs it: a process with arguments, reading
// word lists from a folder, writing to standard output.
#include "testsupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace {

const QString kBatch = QUILLMERE_BUILD_DIR "/quillmere-batch";
const QString kTry = "Try 'quillmere-batch --help' for more information.\n";

struct Run {
    int status; // -1 for a crash
    QString out, err;
};

Run run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A script for a plain bash, $b being the program, standard error merged in.
QString shell(const QString& script)
{
    const Run r =
        run("bash", {"--norc", "--noprofile", "-c", "exec 2>&1; b=" + kBatch + "; " + script});
    return r.out;
}

// Seven entries in each of the twenty lists, named after their file: "Adj0" to "Adj6"...
void writeLists(const TempExeDir& dir)
{
    for (const QString& file :
         QString("adjectives-ect:Adj nouns-ect:Noun items-des-ect:ItemD items-objects:ItemO "
                 "equipment-ect:EquipD equipment-objects:EquipO skills-des-ect:SkillD "
                 "skills-objects:SkillO english/male_firstnames:EnM english/female_firstnames:EnF "
                 "english/surnames:EnS greek/male_firstnames:GrM greek/female_firstnames:GrF "
                 "greek/surnames:GrS japanese/male_firstnames:JaM japanese/female_firstnames:JaF "
                 "japanese/surnames:JaS gaelic/gaelic_male:GaM gaelic/gaelic_female:GaF "
                 "demon/demon_names:De")
             .split(' '))
        dir.write("/data/" + file.section(':', 0, 0) + ".quillmere",
                  QString("X0 X1 X2 X3 X4 X5 X6").replace("X", file.section(':', 1)).split(' '));
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT
    TempExeDir m_lists, m_faults;
private slots:
    void runs_data();
    void runs();
    void formats_data();
    void formats();
    void unique();
    void streams();
    void completion();
};

void TestBatch::runs_data()
{
    // The test's own lists, and a copy with each kind of fault a check names.
    writeLists(m_lists);
    writeLists(m_faults);
    const QString dir = m_faults.full("/data");
    QStringList many(32770, "W");
    for (int i = 0; i < many.size(); ++i)
        many[i] += QString::number(i);
    m_faults.write("/data/items-objects.quillmere", many);
    m_faults.write("/data/adjectives-ect.quillmere",
                   "Dark\r\nNoun1\r\n\r\n  Lead\r\nTrail \r\nDARK\r\nDark\nSe\xe1n\r\n");
    m_faults.write("/data/greek/surnames.quillmere",
                   QByteArray("\xff\xfeG\0\r\0\n\0\0\xd8\r\0\n\0", 14));
    m_faults.write("/data/japanese/surnames.quillmere", QByteArray(32768, 'J'));
    QFile::remove(dir + "/english/surnames.quillmere");
    const char* findings =
        R"(%1/adjectives-ect.quillmere:7: mixed line ends (7 CR LF, 1 LF); this is the first line to end with LF
%1/adjectives-ect.quillmere:3: blank entry
%1/adjectives-ect.quillmere:4: "  Lead" begins with a space
%1/adjectives-ect.quillmere:5: "Trail " ends with a space
%1/adjectives-ect.quillmere:6: "DARK" differs only in capitals from line 1 ("Dark")
%1/adjectives-ect.quillmere:7: "Dark" repeats line 1
%1/adjectives-ect.quillmere:8: "Seán" is not valid UTF-8; it was read as Windows-1252
%1/items-objects.quillmere:32768: this line and the 2 after it are beyond the 32767 entries a list holds; they are never used
%1/english/surnames.quillmere: cannot be read: No such file or directory
%1/greek/surnames.quillmere: is written in UTF-16 LE, not UTF-8; it reads correctly here, but other tools may not
%1/greek/surnames.quillmere:2: "?" holds half of a UTF-16 surrogate pair, which is no character; it prints as "?"
%1/japanese/surnames.quillmere:1: "JJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJ..." is 32768 characters long, longer than a result (32767); results with it are cut short
%1/nouns-ect.quillmere:2: "Noun1" stands in %1/adjectives-ect.quillmere too (line 2), so a result can repeat it
checked 20 word lists: 13 findings in 6 of them
)";
    // The status, how standard output begins (nothing: it stays empty) and all of standard
    // error. Every run gives the same twice.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const auto row = [](QStringList args, int status, QString out, QString err = {}) {
        QTest::newRow(qPrintable(args.join(' '))) << args << status << out << err;
    };
    const auto usage = [&](QStringList args, QString error) {
        row(args, 2, {}, "quillmere-batch: " + error + "\n" + kTry);
    };
    // A fixed seed gives a known first result: a change in the draw order, the seeding or the
    // files a mode reads shows here. A name without a surname ends without a space.
    const QStringList fixed{"--seed", "42", "--data", m_lists.full("/data"), "-n", "500"};
    auto seeded = [&](QStringList args, const char* first) { row(args + fixed, 0, first); };
    seeded({"title"}, "Adj5 Noun3\n");
    seeded({"item"}, "ItemD5 ItemO3\n");
    seeded({"equipment"}, "EquipD5 EquipO3\n");
    seeded({"skill"}, "SkillD5 SkillO3\n");
    seeded({"character"}, "EnM5 EnS3\n");
    seeded({"character", "--nationality", "GREEK", "--gender", "Female"}, "GrF5 GrS3\n");
    seeded({"character", "--nationality=japanese"}, "JaM5 JaS3\n");
    seeded({"character", "--nationality", "Gaelic", "--gender=female"}, "GaF5\nGaF2\n");
    seeded({"character", "--nationality", "demon", "--format", "csv"},
           "name,first_name,surname\r\nDe5,De5,\r\n");
    seeded({"npc"}, "Name: GaM4, Max Hp: 233, Max Sp: 180, Intelligence: 37, Atk Power: 109, "
                    "Strength: 38, P. Defense: 94, M. Defense: 103, Dexterity: 38, Agility: 55, "
                    "Evasion: 0, Exp: 13, M. Drop: 16\n");
    seeded({"npc", "--difficulty", "Hard", "--format", "JSON"},
           "{\"name\":\"GaM4\",\"max_hp\":7550,\"max_sp\":1001,\"intelligence\":121,"
           "\"atk_power\":131,\"strength\":198,\"p_defense\":124,\"m_defense\":125,"
           "\"dexterity\":150,\"agility\":158,\"evasion\":0,\"exp\":155,\"m_drop\":366}\n");
    for (const char* count : {"-n5", "-n 5", "--count=5", "--count 5"})
        row(QString("title --seed 42 --data %1 %2").arg(m_lists.full("/data"), count).split(' '), 0,
            "Adj5 Noun3\nAdj2 Noun5\nAdj4 Noun5\nAdj3 Noun6\nAdj0 Noun5\n");
    // --help is what the manual page is made from; --version names the program.
    row({"--help"}, 0, "Usage: quillmere-batch COMMAND [OPTION]...\n");
    row({"npc", "--version"}, 0, "quillmere-batch (Quillmere) 1.0\n");
    // The shipped lists and the test's own are clean; each planted fault is named with its file
    // and line. A list longer than a list holds is used as far as it goes, with a warning.
    row({"check"}, 0, "checked 20 word lists: nothing to fix\n");
    row({"check", m_lists.full("/data")}, 0, "checked 20 word lists: nothing to fix\n");
    row({"check", dir}, 1, QString(findings).arg(dir));
    row({"character", "--data", dir}, 1, {},
        "quillmere-batch: " + dir + "/english/surnames.quillmere: No such file or directory\n");
    row({"item", "--data", dir, "--seed", "42"}, 0, "ItemD5 W15284\n",
        "quillmere-batch: " + dir +
            "/items-objects.quillmere: a list holds at most 32767 "
            "entries; the lines beyond were not added\n");
    const QString commands = "title, item, equipment, skill, character, npc and check";
    const QString generators = "title, item, equipment, skill, character and npc";
    usage({}, "no command given; the commands are " + commands);
    usage({"names"}, "unknown command 'names'; the commands are " + commands);
    usage({"title", "--colour"},
          "unknown option '--colour'; the options are -n/--count, --seed, --format, --unique, "
          "--data, --nationality, --gender, --difficulty, -h/--help, -V/--version");
    usage({"title", "-n"}, "missing value after '-n'");
    usage({"title", "--unique=yes"}, "unexpected value after '--unique'");
    usage({"title", "-n", "ten"}, "--count must be a whole number from 0 to 1000000000, not 'ten'");
    usage({"title", "--count=-1"}, "--count must be a whole number from 0 to 1000000000, not '-1'");
    usage({"title", "-n", "1000000001"},
          "--count must be a whole number from 0 to 1000000000, not '1000000001'");
    usage({"npc", "--seed", "x1"},
          "--seed must be a whole number from 0 to 18446744073709551615, not 'x1'");
    usage({"title", "--format", "xml"}, "unknown format 'xml'; the choices are text, csv, json");
    usage({"character", "--nationality", "Welsh"},
          "unknown nationality 'Welsh'; the choices are english, greek, japanese, gaelic, demon");
    usage({"character", "--gender", "f"}, "unknown gender 'f'; the choices are male, female");
    usage({"npc", "--difficulty", "Extreme"},
          "unknown difficulty 'Extreme'; the choices are easy, medium, hard");
    usage({"title", "--nationality", "greek"},
          "--nationality does not apply to title; it applies to character");
    usage({"character", "--difficulty", "hard"},
          "--difficulty does not apply to character; it applies to npc");
    usage({"npc", "--gender", "female"}, "--gender does not apply to npc; it applies to character");
    usage({"check", "-n", "3"}, "-n/--count does not apply to check; it applies to " + generators);
    usage({"check", "--unique"}, "--unique does not apply to check; it applies to " + generators);
    usage({"title", "extra"}, "unexpected argument 'extra'; title takes options only");
    usage({"check", "a", "b"}, "unexpected argument 'b'; check takes one folder at most");
    usage({"title", "--data="}, "--data needs a folder laid out like data/");
    // Every NPC printed is remembered for --unique, and the memory for that is limited.
    usage({"npc", "--unique", "-n", "20000001"},
          "--unique can remember at most 20000000 results to compare; 20000001 were asked for");
}

void TestBatch::runs()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run r = run(kBatch, args);
    QCOMPARE(r.status, status);
    QCOMPARE(r.err, err);
    QCOMPARE(out.isEmpty() ? r.out : r.out.left(out.size()), out);
    QCOMPARE(run(kBatch, args).out, r.out);
}

void TestBatch::formats_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("distinct"); // different results the lists can give
    const char* const formats[] = {"text", "csv", "json"};
    const std::tuple<QStringList, QString, int> commands[] = {
        {{"title"}, "title,first_word,second_word", 36},
        {{"item"}, "item,first_word,second_word", 36},
        {{"equipment"}, "equipment,first_word,second_word", 36},
        {{"skill"}, "skill,first_word,second_word", 36},
        {{"character"}, "name,first_name,surname", 36},
        {{"character", "--nationality", "gaelic"}, "name,first_name,surname", 6},
        {{"npc"},
         "name,max_hp,max_sp,intelligence,atk_power,strength,p_defense,m_defense,dexterity,"
         "agility,evasion,exp,m_drop",
         1 << 30},
    };
    for (const auto& [command, header, distinct] : commands)
        for (const char* format : formats)
            for (const bool unique : {false, true}) {
                const QStringList args = command + QStringList{"--format", format} +
                                         (unique ? QStringList{"--unique"} : QStringList{});
                QTest::newRow(qPrintable(args.join(' '))) << args << header << distinct;
            }
}

// Entries that a careless writer of CSV or JSON would damage come back exactly, in every command
// and format: quotes, commas, padding, a tab, a backslash, letters beyond ASCII, nothing at all.
// CSV lines end in CR LF, the others in LF alone, and JSON strings hold no raw control character.
// With --unique every result the lists can give comes once, and the rest is told.
void TestBatch::formats()
{
    QFETCH(QStringList, args);
    QFETCH(QString, header);
    QFETCH(int, distinct);
    const QStringList first{"a, b", "say \"hi\"", "  lead", u"Ōkami"_qs, "back\\slash", ""};
    const QStringList second{"trail ", "x", "tab\there", "\"", "", u"é"_qs};
    TempExeDir exe;
    for (const char* file : {"adjectives-ect", "items-des-ect", "equipment-ect", "skills-des-ect",
                             "english/male_firstnames", "gaelic/gaelic_male", "demon/demon_names"})
        exe.write(QString("/data/%1.quillmere").arg(file), first);
    for (const char* file :
         {"nouns-ect", "items-objects", "equipment-objects", "skills-objects", "english/surnames"})
        exe.write(QString("/data/%1.quillmere").arg(file), second);
    const bool unique = args.removeAll("--unique") > 0;
    const bool npc = args[0] == "npc", joined = !npc && !args.contains("gaelic");
    const Run r = run(kBatch, args + QStringList{"--data", exe.full("/data"), "-n", "40"} +
                                  (unique ? QStringList{"--unique"} : QStringList{}));
    const QString format = args[args.indexOf("--format") + 1];
    const QString end = format == "csv" ? "\r\n" : "\n";
    QStringList lines = r.out.split(end);
    QVERIFY2(lines.takeLast().isEmpty() &&
                 !QString(r.out).remove(end).contains(QRegularExpression("[\r\n]")),
             "line ends");
    QVERIFY(format != "csv" || lines.takeFirst() == header);
    QVERIFY(format != "json" || !r.out.contains(QRegularExpression("[\\x00-\\x09\\x0b-\\x1f]")));
    QCOMPARE(lines.size(), unique ? std::min(40, distinct) : 40);
    QCOMPARE(r.err, distinct < 40 && unique
                        ? QString("quillmere-batch: the word lists can give only "
                                  "%1 different results; 40 were asked for\n")
                              .arg(distinct)
                        : QString());
    QCOMPARE(r.status, distinct < 40 && unique ? 1 : 0);

    // Each line as its parts: the whole result, its first entry and its second (or an NPC's
    // twelve values).
    QSet<QString> made(first.begin(), first.end());
    if (joined)
        for (const QString& f : first)
            for (const QString& s : second)
                made << f + " " + s;
    static const QRegularExpression csvField(R"re((?:^|,)(?:"((?:[^"]|"")*)"|([^,"]*)))re");
    QSet<QString> results;
    for (const QString& line : lines) {
        QStringList f;
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8(), &error).object();
        if (format == "csv")
            for (const QRegularExpressionMatch& m : csvField.globalMatch(line))
                // A spreadsheet drops the outer spaces of an unquoted field.
                f << (m.hasCaptured(1) ? m.captured(1).replace("\"\"", "\"")
                                       : m.captured(2).trimmed());
        else if (format == "json" && error.error == QJsonParseError::NoError)
            for (const QString& key : header.split(','))
                f << (o[key].isString() ? o[key].toString() : QString::number(o[key].toInt()));
        else if (format == "text")
            f << (npc ? line.mid(6, line.indexOf(", Max Hp: ") - 6) : line);
        QVERIFY2(!f.isEmpty() && made.contains(f[0]), qPrintable(line));
        QVERIFY2(format == "text" ? !npc || line.startsWith("Name: ")
                 : npc            ? f.size() == 13
                 : joined ? f.size() == 3 && f[0] == f[1] + " " + f[2] && first.contains(f[1]) &&
                                second.contains(f[2])
                          : f == QStringList({f[0], f[0], ""}),
                 qPrintable(line));
        results << (npc ? line : f[0]);
    }
    QVERIFY(!unique || results.size() == lines.size());
}

// Results that two pairs of entries print alike count once, for the number of results the lists
// can give and for the results printed: an entry with a space, two lone surrogates that both
// print as "?", and entries longer than a result whose start is the same.
void TestBatch::unique()
{
    TempExeDir exe;
    exe.write("/data/adjectives-ect.quillmere", QStringList{"Iron", "Iron Plate"});
    exe.write("/data/nouns-ect.quillmere", QStringList{"Plate Mail", "Mail"});
    exe.write("/data/items-des-ect.quillmere", QByteArray("\xff\xfe\0\xd8\r\0\n\0\0\xdc", 10));
    exe.write("/data/items-objects.quillmere", QStringList{"x"});
    const QString a(40000, 'A');
    exe.write("/data/equipment-ect.quillmere", QStringList{a + "1", a + "2"});
    exe.write("/data/equipment-objects.quillmere", QStringList{"x"});
    const std::tuple<const char*, QStringList> rows[] = {
        {"title", {"Iron Mail", "Iron Plate Mail", "Iron Plate Plate Mail"}},
        {"item", {"? x"}},
        {"equipment", {QString(32767, 'A')}},
    };
    for (const auto& [command, results] : rows) {
        for (const int asked : {int(results.size()), 10}) {
            const Run r = run(kBatch, {command, "--unique", "-n", QString::number(asked), "--data",
                                       exe.full("/data")});
            QStringList lines = r.out.split('\n');
            QVERIFY(lines.takeLast().isEmpty());
            lines.sort();
            QCOMPARE(lines, results);
            QCOMPARE(r.status, asked > results.size());
            QCOMPARE(r.err, asked == results.size()
                                ? QString()
                                : QString("quillmere-batch: the word lists can give only %1 "
                                          "different results; 10 were asked for\n")
                                      .arg(results.size()));
        }
    }
}

// Output that cannot be written is told, with status 1, for every command, and a closed
// standard output is refused before anything is made. A reader that goes away ends the run
// quietly, long before a billion titles.
void TestBatch::streams()
{
    QCOMPARE(shell("$b --help >/dev/full; echo $?; $b -V >/dev/full; echo $?; "
                   "$b check >/dev/full; echo $?; $b npc -n 100000 --unique >/dev/full; echo $?; "
                   "$b title >&-; echo $?; $b --help >&-; echo $?; "
                   "$b title -n 1000000000 | head -1 >/dev/null; echo ${PIPESTATUS[0]}; "
                   "$b title 2>&- <&- | wc -l"),
             "quillmere-batch: cannot write the help: No space left on device\n1\n"
             "quillmere-batch: cannot write the version: No space left on device\n1\n"
             "quillmere-batch: cannot write the report: No space left on device\n1\n"
             "quillmere-batch: cannot write the results: No space left on device\n1\n"
             "quillmere-batch: standard output is closed, so nothing can be written\n1\n"
             "quillmere-batch: standard output is closed, so nothing can be written\n1\n"
             "0\n1\n");
}

// The completion works in a bash without the bash-completion package, offers the options of
// the command at hand only, and completes values after a space or an equals sign.
void TestBatch::completion()
{
    const std::pair<const char*, const char*> rows[] = {
        {"''", "title item equipment skill character npc check"},
        {"ch", "character check"},
        {"-", "--help --version"},
        {"title --", "--help --version --count --seed --format --unique --data"},
        {"character --n", "--nationality"},
        {"npc --", "--help --version --count --seed --format --unique --data --difficulty"},
        {"check --", "--help --version --data"},
        {"character --nationality g", "greek gaelic"},
        {"character --gender = f", "female"},
        {"item --format =", "text csv json"},
        {"npc --difficulty ''", "easy medium hard"},
        {"title -n ''", ""},
    };
    QString script =
        QString("source %1 && complete -p quillmere-batch && ").arg(QUILLMERE_COMPLETION);
    QString expected = "complete -F _quillmere_batch quillmere-batch\n";
    for (const auto& [words, offered] : rows) {
        script += QString("COMP_WORDS=(quillmere-batch %1); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
                          "_quillmere_batch; echo \"${COMPREPLY[*]}\"; ")
                      .arg(words);
        expected += QString(offered) + "\n";
    }
    QCOMPARE(shell(script), expected);
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
