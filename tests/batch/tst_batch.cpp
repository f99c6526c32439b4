// quillmere-batch as an author runs it: a process with arguments, reading
// word lists from a folder, writing to standard output.
#include "testsupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace {

const QString kBatch = QUILLMERE_BUILD_DIR "/quillmere-batch";

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

// What a script prints in a plain bash, $b being the program, standard error merged in.
QString shell(const QString& script)
{
    return run("bash", {"--norc", "--noprofile", "-c", "exec 2>&1; b=" + kBatch + "; " + script})
        .out;
}

QString only(int distinct, int asked)
{
    return QString("quillmere-batch: the word lists can give only %1 different results; %2 were "
                   "asked for\n")
        .arg(distinct)
        .arg(asked);
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

// A line of output as its fields: CSV as a spreadsheet reads it (the outer spaces of an unquoted
// field dropped), JSON by the header's names, text whole but for an NPC, whose name is taken.
QStringList fields(const QString& format, const QString& line, const QString& header)
{
    static const QRegularExpression csv(R"re((?:^|,)(?:"((?:[^"]|"")*)"|([^,"]*)))re");
    QStringList f;
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(line.toUtf8(), &error).object();
    if (format == "csv")
        for (const QRegularExpressionMatch& m : csv.globalMatch(line))
            f << (m.hasCaptured(1) ? m.captured(1).replace("\"\"", "\"") : m.captured(2).trimmed());
    else if (format == "json" && error.error == QJsonParseError::NoError)
        for (const QString& key : header.split(','))
            f << (o[key].isString() ? o[key].toString() : QString::number(o[key].toInt()));
    else if (format == "text")
        f << (line.startsWith("Name: ") ? line.mid(6, line.indexOf(", Max Hp: ") - 6) : line);
    return f;
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT
    TempExeDir m_lists, m_faults, m_alike;
private slots:
    void runs_data();
    void runs();
    void formats_data();
    void formats();
    void streams();
    void completion();
};

void TestBatch::runs_data()
{
    // The test's own lists, and a copy with each kind of fault a check names.
    writeLists(m_lists);
    writeLists(m_faults);
    const QString lists = m_lists.full("/data"), faults = m_faults.full("/data");
    QStringList many(32770, "W");
    for (int i = 0; i < many.size(); ++i)
        many[i] += QString::number(i);
    m_faults.write("/data/items-objects.quillmere", many);
    m_faults.write("/data/adjectives-ect.quillmere",
                   "Dark\r\nNoun1\r\n\r\n  Lead\r\nTrail \r\nDARK\r\nDark\nSe\xe1n\r\n");
    m_faults.write("/data/greek/surnames.quillmere",
                   QByteArray("\xff\xfeG\0\r\0\n\0\0\xd8\r\0\n\0", 14));
    m_faults.write("/data/japanese/surnames.quillmere", QByteArray(32768, 'J'));
    QFile::remove(faults + "/english/surnames.quillmere");
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
    // Entries that two pairs print alike: with a space, two lone surrogates that both print as
    // "?", and the same start of entries longer than a result.
    const QString alike = m_alike.full("/data");
    m_alike.write("/data/adjectives-ect.quillmere", QStringList{"Iron", "Iron Plate"});
    m_alike.write("/data/nouns-ect.quillmere", QStringList{"Plate Mail", "Mail"});
    m_alike.write("/data/items-des-ect.quillmere", QByteArray("\xff\xfe\0\xd8\r\0\n\0\0\xdc", 10));
    m_alike.write("/data/equipment-ect.quillmere",
                  QStringList{QString(40000, 'A') + "1", QString(40000, 'A') + "2"});
    for (const char* file : {"items-objects", "equipment-objects"})
        m_alike.write(QString("/data/%1.quillmere").arg(file), QStringList{"x"});

    // The status, all of standard output and all of standard error. Every run gives the same
    // twice.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const auto row = [](const QString& args, int status, const QString& out, QString err = {}) {
        QTest::newRow(qPrintable(args))
            << args.split(' ', Qt::SkipEmptyParts) << status << out << err;
    };
    // A fixed seed gives known results: a change in the draw order, the seeding or the files a
    // mode reads shows here. A name without a surname ends without a space.
    const QString seeded = " --seed 42 --data " + lists;
    row("title" + seeded, 0, "Adj5 Noun3\n");
    row("item" + seeded, 0, "ItemD5 ItemO3\n");
    row("equipment" + seeded, 0, "EquipD5 EquipO3\n");
    row("skill" + seeded, 0, "SkillD5 SkillO3\n");
    row("skill --seed 18446744073709551615 --data " + lists, 0, "SkillD1 SkillO1\n");
    row("character" + seeded, 0, "EnM5 EnS3\n");
    row("character --nationality GREEK --gender Female" + seeded, 0, "GrF5 GrS3\n");
    row("character --nationality=japanese" + seeded, 0, "JaM5 JaS3\n");
    row("character --nationality Gaelic --gender=female -n 2" + seeded, 0, "GaF5\nGaF2\n");
    row("character --nationality demon --format csv" + seeded, 0,
        "name,first_name,surname\r\nDe5,De5,\r\n");
    row("npc" + seeded, 0,
        "Name: GaM4, Max Hp: 233, Max Sp: 180, Intelligence: 37, Atk Power: 109, Strength: 38, "
        "P. Defense: 94, M. Defense: 103, Dexterity: 38, Agility: 55, Evasion: 0, Exp: 13, "
        "M. Drop: 16\n");
    row("npc --difficulty Hard --format JSON" + seeded, 0,
        "{\"name\":\"GaM4\",\"max_hp\":7550,\"max_sp\":1001,\"intelligence\":121,\"atk_power\":131,"
        "\"strength\":198,\"p_defense\":124,\"m_defense\":125,\"dexterity\":150,\"agility\":158,"
        "\"evasion\":0,\"exp\":155,\"m_drop\":366}\n");
    for (const char* count : {"-n5", "-n 5", "--count=5", "--count 5"})
        row(QString("title %1").arg(count) + seeded, 0,
            "Adj5 Noun3\nAdj2 Noun5\nAdj4 Noun5\nAdj3 Noun6\nAdj0 Noun5\n");
    // What two pairs print alike counts once; what the lists cannot give is told.
    row("title --unique -n 3 --seed 1 --data " + alike, 0,
        "Iron Plate Plate Mail\nIron Plate Mail\nIron Mail\n");
    row("title --unique -n 9 --seed 1 --data " + alike, 1,
        "Iron Plate Plate Mail\nIron Plate Mail\nIron Mail\n", only(3, 9));
    row("item --unique -n 9 --data " + alike, 1, "? x\n", only(1, 9));
    row("equipment --unique -n 9 --data " + alike, 1, QString(32767, 'A') + "\n", only(1, 9));
    // The shipped lists and the test's own are clean; each planted fault is named with its file
    // and line. A list longer than a list holds is used as far as it goes, with a warning.
    row("check", 0, "checked 20 word lists: nothing to fix\n");
    row("check " + lists, 0, "checked 20 word lists: nothing to fix\n");
    row("check " + faults, 1, QString(findings).arg(faults));
    row("character --data " + faults, 1, {},
        "quillmere-batch: " + faults + "/english/surnames.quillmere: No such file or directory\n");
    row("item --seed 42 --data " + faults, 0, "ItemD5 W15284\n",
        "quillmere-batch: " + faults +
            "/items-objects.quillmere: a list holds at most 32767 entries; the lines beyond were "
            "not added\n");
    // --help is what the manual page is made from; --version names the program. A mistake on the
    // command line is told in one line and the pointer to --help.
    row("npc --version", 0, "quillmere-batch (Quillmere) 1.0\n");
    const char* const usage[][2] = {
        {"", "no command given; the commands are title, item, equipment, skill, character, npc "
             "and check"},
        {"names", "unknown command 'names'; the commands are title, item, equipment, skill, "
                  "character, npc and check"},
        {"title --colour", "unknown option '--colour'; the options are -n/--count, --seed, "
                           "--format, --unique, --data, --nationality, --gender, --difficulty, "
                           "-h/--help, -V/--version"},
        {"title -n", "missing value after '-n'"},
        {"title --count=-1", "--count must be a whole number from 0 to 1000000000, not '-1'"},
        {"title -n 1000000001",
         "--count must be a whole number from 0 to 1000000000, not '1000000001'"},
        {"npc --seed x1", "--seed must be a whole number from 0 to 18446744073709551615, not 'x1'"},
        {"title --format xml", "unknown format 'xml'; the choices are text, csv, json"},
        {"character --nationality Welsh",
         "unknown nationality 'Welsh'; the choices are english, greek, japanese, gaelic, demon"},
        {"title --nationality greek",
         "--nationality does not apply to title; it applies to character"},
        {"check -n 3", "-n/--count does not apply to check; it applies to title, item, equipment, "
                       "skill, character and npc"},
        {"title extra", "unexpected argument 'extra'; title takes options only"},
        {"check a b", "unexpected argument 'b'; check takes one folder at most"},
        {"title --data=", "--data needs a folder laid out like data/"},
        // Every NPC printed is remembered for --unique, in memory that is limited.
        {"npc --unique -n 20000001",
         "--unique can remember at most 20000000 results to compare; 20000001 were asked for"},
    };
    for (const auto& [args, message] : usage)
        row(args, 2, {},
            QString("quillmere-batch: %1\nTry 'quillmere-batch --help' for more information.\n")
                .arg(message));
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
    QCOMPARE(r.out, out);
    QCOMPARE(run(kBatch, args).out, r.out);
}

void TestBatch::formats_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("distinct"); // different results the lists can give
    const std::tuple<const char*, const char*, int> commands[] = {
        {"title", "title,first_word,second_word", 36},
        {"item", "item,first_word,second_word", 36},
        {"equipment", "equipment,first_word,second_word", 36},
        {"skill", "skill,first_word,second_word", 36},
        {"character", "name,first_name,surname", 36},
        {"character --nationality gaelic", "name,first_name,surname", 6},
        {"npc",
         "name,max_hp,max_sp,intelligence,atk_power,strength,p_defense,m_defense,dexterity,"
         "agility,evasion,exp,m_drop",
         1000},
    };
    for (const auto& [command, header, distinct] : commands)
        for (const char* format : {"text", "csv", "json"})
            for (const char* unique : {"", " --unique"}) {
                const QString args = QString("%1 --format %2%3").arg(command, format, unique);
                QTest::newRow(qPrintable(args)) << args.split(' ') << QString(header) << distinct;
            }
}

// Entries that a careless writer of CSV or JSON would damage come back exactly, in every command
// and format: quotes, commas, padding, a tab, a backslash, letters beyond ASCII, nothing at all.
// CSV lines end in CR LF, the others in LF alone, and JSON holds no raw control character. With
// --unique every result the lists can give comes once, and the rest is told.
void TestBatch::formats()
{
    QFETCH(QStringList, args);
    QFETCH(QString, header);
    QFETCH(int, distinct);
    const QStringList first{"a, b", "say \"hi\"", "  lead", u"Ōkami"_qs, "back\\slash", ""};
    const QStringList second{"trail ", "x", "tab\there", "\"", "", u"é"_qs};
    TempExeDir exe;
    const QStringList files =
        QString("adjectives-ect items-des-ect equipment-ect skills-des-ect "
                "english/male_firstnames gaelic/gaelic_male demon/demon_names "
                "nouns-ect items-objects equipment-objects skills-objects "
                "english/surnames")
            .split(' ');
    for (int i = 0; i < files.size(); ++i) // the first seven hold first words and names
        exe.write("/data/" + files[i] + ".quillmere", i < 7 ? first : second);
    const bool npc = args[0] == "npc", joined = !npc && !args.contains("gaelic");
    const QString format = args[args.indexOf("--format") + 1];
    const int made = args.contains("--unique") ? std::min(40, distinct) : 40;
    const Run r = run(kBatch, args + QStringList{"--data", exe.full("/data"), "-n", "40"});
    QCOMPARE(r.status, made < 40 ? 1 : 0);
    QCOMPARE(r.err, made < 40 ? only(made, 40) : QString());
    QStringList lines = r.out.split(format == "csv" ? "\r\n" : "\n");
    QVERIFY(lines.takeLast().isEmpty() && (format != "csv" || lines.takeFirst() == header));
    QVERIFY(!lines.join("").contains(
        QRegularExpression(format == "json" ? "[\\x00-\\x1f]" : "[\r\n]")));
    QCOMPARE(lines.size(), made);

    QSet<QString> results(first.begin(), first.end()), seen;
    for (const QString& f : first)
        for (const QString& s : second)
            if (joined)
                results << f + " " + s;
    for (const QString& line : lines) {
        const QStringList f = fields(format, line, header);
        QVERIFY2(!f.isEmpty() && results.contains(f[0]) &&
                     (format == "text" || f.size() == (npc ? 13 : 3)),
                 qPrintable(line));
        QVERIFY2(
            npc || format == "text" ||
                (joined ? f[0] == f[1] + " " + f[2] && first.contains(f[1]) && second.contains(f[2])
                        : f[1] == f[0] && f[2].isEmpty()),
            qPrintable(line));
        seen << (npc ? line : f[0]);
    }
    QVERIFY(!args.contains("--unique") || seen.size() == made);
}

// Output that cannot be written is told, with status 1, for every command, and a closed
// standard output is refused before anything is made. A reader that goes away ends the run
// quietly, long before a billion titles; closed standard input and error change nothing.
void TestBatch::streams()
{
    QCOMPARE(shell("$b --help >/dev/full; echo $?; $b -V >/dev/full; echo $?; "
                   "$b check >/dev/full; echo $?; $b npc -n 100000 --unique >/dev/full; echo $?; "
                   "$b title >&-; echo $?; $b --help >&-; echo $?; "
                   "$b title -n 1000000000 | head -1 >/dev/null; echo ${PIPESTATUS[0]}; "
                   "$b title 2>&- <&- | wc -l; $b --help | head -1"),
             "quillmere-batch: cannot write the help: No space left on device\n1\n"
             "quillmere-batch: cannot write the version: No space left on device\n1\n"
             "quillmere-batch: cannot write the report: No space left on device\n1\n"
             "quillmere-batch: cannot write the results: No space left on device\n1\n"
             "quillmere-batch: standard output is closed, so nothing can be written\n1\n"
             "quillmere-batch: standard output is closed, so nothing can be written\n1\n"
             "0\n1\nUsage: quillmere-batch COMMAND [OPTION]...\n");
}

// The completion works in a bash without the bash-completion package, offers the options of
// the command at hand only, and completes values after a space or an equals sign.
void TestBatch::completion()
{
    const std::pair<const char*, const char*> rows[] = {
        {"''", "title item equipment skill character npc check"},
        {"ch", "character check"},
        {"title --", "--help --version --count --seed --format --unique --data"},
        {"npc --", "--help --version --count --seed --format --unique --data --difficulty"},
        {"character --n", "--nationality"},
        {"character --nationality g", "greek gaelic"},
        {"character --gender = f", "female"},
        {"item --format =", "text csv json"},
        {"title -n ''", ""},
    };
    QString script = QString("source %1 && complete -p quillmere-batch").arg(QUILLMERE_COMPLETION);
    QString expected = "complete -F _quillmere_batch quillmere-batch\n";
    for (const auto& [words, offered] : rows) {
        script +=
            QString("; COMP_WORDS=(quillmere-batch %1); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
                    "_quillmere_batch; echo \"${COMPREPLY[*]}\"")
                .arg(words);
        expected += QString(offered) + "\n";
    }
    QCOMPARE(shell(script), expected);
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
