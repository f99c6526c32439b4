// quillmere-batch as an author runs it: a process with arguments, reading word lists from
// folders whose name is not ASCII, writing to standard output.
#include "testsupport.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

const QString kBatch = QUILLMERE_BUILD_DIR "/quillmere-batch";
const QString kData = u"/Wörter 名前"_qs;
// The one entry of each first and each second list of folder H: hard to write as CSV or JSON.
const QString kHard[] = {R"( a, "b"\)", "\x1f \u00e9\t"};

struct Run {
    int status; // -1 for a crash or a run that does not end
    QString out, err;
};

Run run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString only(int distinct, int asked)
{
    return QString("quillmere-batch: the word lists can give only %1 different results; %2 were "
                   "asked for\n")
        .arg(distinct)
        .arg(asked);
}

QString usage(const QString& message)
{
    return "quillmere-batch: " + message + "\nTry 'quillmere-batch --help' for more information.\n";
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT
    TempExeDir m_dir;
    // The folder @L, @F, @A or @H stands for.
    QString folder(const QString& letter) const { return m_dir.full("/" + letter + kData); }
    // Writes one list of a folder: "F/english/surnames".
    template <typename Content> void put(const QString& list, const Content& content) const
    {
        m_dir.write("/" + list.left(1) + kData + list.mid(1) + ".quillmere", content);
    }
private slots:
    void initTestCase();
    void runs_data();
    void runs();
    void options();
    void streams();
};

// L: seven entries in each of the twenty lists, named after their file ("Adj0" to "Adj6"...).
// F: a copy with each kind of fault a check names. A: entries that two pairs print alike (with a
// space, two lone surrogates that both print as "?", the same start of entries longer than a
// result), and a list with no entries. H: one hard entry in each list of the phrase commands.
void TestBatch::initTestCase()
{
    for (const QString& list :
         QString("adjectives-ect:Adj nouns-ect:Noun items-des-ect:ItemD items-objects:ItemO "
                 "equipment-ect:EquipD equipment-objects:EquipO skills-des-ect:SkillD "
                 "skills-objects:SkillO english/male_firstnames:EnM english/female_firstnames:EnF "
                 "english/surnames:EnS greek/male_firstnames:GrM greek/female_firstnames:GrF "
                 "greek/surnames:GrS japanese/male_firstnames:JaM japanese/female_firstnames:JaF "
                 "japanese/surnames:JaS gaelic/gaelic_male:GaM gaelic/gaelic_female:GaF "
                 "demon/demon_names:De")
             .split(' '))
        for (const char* letter : {"L", "F"})
            put(QString(letter) + "/" + list.section(':', 0, 0),
                QString("X0 X1 X2 X3 X4 X5 X6").replace("X", list.section(':', 1)).split(' '));
    QStringList many(32770, "W");
    for (int i = 0; i < many.size(); ++i)
        many[i] += QString::number(i);
    put("F/english/surnames", many);
    put("F/adjectives-ect", QByteArray("Noun1\r\nDark\r\n\r\n  Lead\r\nTrail \r\nDARK\r\nDark\n"
                                       "Se\xe1n\r\n\xf0\x9f\x90\x89\r\nLast"));
    put("F/greek/surnames", QByteArray("\xff\xfeG\0\r\0\n\0\0\xd8\r\0\n\0", 14));
    put("F/japanese/surnames", QByteArray(32768, 'J'));
    const QString fifo = folder("F") + "/gaelic/gaelic_female.quillmere";
    QFile::remove(folder("F") + "/english/male_firstnames.quillmere");
    QVERIFY(QFile::remove(fifo) && ::mkfifo(QFile::encodeName(fifo), 0644) == 0);

    put("A/adjectives-ect", QStringList{"Iron", "Iron Plate"});
    put("A/nouns-ect", QStringList{"Plate Mail", "Mail"});
    put("A/items-des-ect", QByteArray("\xff\xfe\0\xd8\r\0\n\0\0\xdc", 10));
    put("A/equipment-ect", QStringList{QString(40000, 'A') + "1", QString(40000, 'A') + "2"});
    put("A/items-objects", QStringList{"x"});
    put("A/equipment-objects", QStringList{"x"});
    put("A/skills-des-ect", QStringList{"Skill"});
    put("A/skills-objects", QByteArray());
    for (const QString& list :
         QString("adjectives-ect items-des-ect equipment-ect skills-des-ect "
                 "english/male_firstnames gaelic/gaelic_male demon/demon_names")
             .split(' '))
        put("H/" + list, QStringList{kHard[0]});
    for (const QString& list :
         QString("nouns-ect items-objects equipment-objects skills-objects english/surnames")
             .split(' '))
        put("H/" + list, QStringList{kHard[1]});
}

void TestBatch::runs_data()
{
    // The status, all of standard output and all of standard error; @L, @F, @A and @H stand for
    // the folders.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const auto row = [this](const QString& args, int status, const QString& out,
                            const QString& err = {}) {
        QStringList words = args.split(' ', Qt::SkipEmptyParts);
        for (QString& word : words)
            word.replace(QRegularExpression("@([A-Z])"), m_dir.path() + "/\\1" + kData);
        QTest::newRow(qPrintable(args)) << words << status << out << err;
    };
    // A fixed seed gives known results: a change in the draw order, the seeding or the files a
    // mode reads shows here. A name without a surname ends without a space.
    row("title --seed 42 --data @L", 0, "Adj5 Noun3\n");
    row("item --seed 42 --data @L", 0, "ItemD5 ItemO3\n");
    row("equipment --seed 42 --data @L", 0, "EquipD5 EquipO3\n");
    row("skill --seed 42 --data @L", 0, "SkillD5 SkillO3\n");
    row("skill --seed 18446744073709551615 --data @L", 0, "SkillD1 SkillO1\n");
    row("title --seed 0 -n 3 --data @L", 0, "Adj4 Noun4\nAdj6 Noun4\nAdj6 Noun0\n");
    row("title --count=5 --seed 42 --data=@L", 0,
        "Adj5 Noun3\nAdj2 Noun5\nAdj4 Noun5\nAdj3 Noun6\nAdj0 Noun5\n");
    row("character --seed 42 --data @L", 0, "EnM5 EnS3\n");
    row("character --nationality GREEK --gender Female --seed 42 --data @L", 0, "GrF5 GrS3\n");
    row("character --nationality=japanese --seed 42 --data @L", 0, "JaM5 JaS3\n");
    row("character --nationality Gaelic --gender=female -n 2 --seed 42 --data @L", 0,
        "GaF5\nGaF2\n");
    row("character --nationality demon --format csv --seed 42 --data @L", 0,
        "name,first_name,surname\r\nDe5,De5,\r\n");
    row("npc --difficulty Hard --seed 42 --data @L", 0,
        "Name: GaM4, Max Hp: 7550, Max Sp: 1001, Intelligence: 121, Atk Power: 131, Strength: "
        "198, P. Defense: 124, M. Defense: 125, Dexterity: 150, Agility: 158, Evasion: 0, Exp: "
        "155, M. Drop: 366\n");
    // Every command in every format, with and without --unique, from lists of one entry each, so
    // a phrase command has one result: -n 2 prints it twice, or once and tells why. CSV quotes a
    // field with a comma, a quote or padding at either end and ends its lines in CR LF; JSON
    // escapes what would end a string and every control character.
    const QString csv[] = {"\" a, \"\"b\"\"\\ \x1f \u00e9\t\"", R"(" a, ""b""\")",
                           "\"\x1f \u00e9\t\""};
    const QString json[] = {R"(" a, \"b\"\\ \u001f é\t")", R"(" a, \"b\"\\")", R"("\u001f é\t")"};
    for (const QString command : {"title", "item", "equipment", "skill", "character"}) {
        const QStringList names = command == "character"
                                      ? QStringList{"name", "first_name", "surname"}
                                      : QStringList{command, "first_word", "second_word"};
        const QString lines[][2] = {
            {"", kHard[0] + " " + kHard[1] + "\n"},
            {names.join(',') + "\r\n", csv[0] + "," + csv[1] + "," + csv[2] + "\r\n"},
            {"", QString(R"({"%1":%4,"%2":%5,"%3":%6})")
                         .arg(names[0], names[1], names[2], json[0], json[1], json[2]) +
                     "\n"}};
        for (int f = 0; f < 3; ++f) {
            const QString args =
                command + " -n 2 --data @H --format " + QString("text csv json").section(' ', f, f);
            row(args, 0, lines[f][0] + lines[f][1] + lines[f][1]);
            row(args + " --unique", 1, lines[f][0] + lines[f][1], only(1, 2));
        }
    }
    const QString npc[] = {
        "name,max_hp,max_sp,intelligence,atk_power,strength,p_defense,m_defense,dexterity,agility,"
        "evasion,exp,m_drop\r\n" +
            csv[1] + ",233,180,37,109,38,94,103,38,55,0,13,16\r\n",
        "{\"name\":" + json[1] +
            R"(,"max_hp":233,"max_sp":180,"intelligence":37,"atk_power":109,"strength":38,)"
            R"("p_defense":94,"m_defense":103,"dexterity":38,"agility":55,"evasion":0,"exp":13,)"
            R"("m_drop":16})"
            "\n"};
    for (const QString unique : {"", " --unique"}) {
        row("npc --seed 42 --data @H --format csv" + unique, 0, npc[0]);
        row("npc --seed 42 --data @H --format json" + unique, 0, npc[1]);
    }
    // What two pairs print alike counts once; what the lists cannot give is told. A pick from a
    // list without entries is the empty text, after the space.
    row("title --unique -n 3 --seed 1 --data @A", 0,
        "Iron Plate Plate Mail\nIron Plate Mail\nIron Mail\n");
    row("title --unique -n 9 --seed 1 --data @A", 1,
        "Iron Plate Plate Mail\nIron Plate Mail\nIron Mail\n", only(3, 9));
    row("item --unique -n 9 --data @A", 1, "? x\n", only(1, 9));
    row("equipment --unique -n 9 --data @A", 1, QString(32767, 'A') + "\n", only(1, 9));
    row("skill --data @A", 0, "Skill \n");
    // The shipped lists and the test's own are clean; each planted fault is named with its file
    // and line. A list longer than a list holds is used as far as it goes, with a warning; with
    // a list that cannot be read, nothing is made.
    row("check", 0, "checked 20 word lists: nothing to fix\n");
    row("check @L", 0, "checked 20 word lists: nothing to fix\n");
    row("check @F", 1,
        QString(
            R"(%1/adjectives-ect.quillmere:7: mixed line ends (8 CR LF, 1 LF); this is the first line to end with LF
%1/adjectives-ect.quillmere:3: blank entry
%1/adjectives-ect.quillmere:4: "  Lead" begins with a space
%1/adjectives-ect.quillmere:5: "Trail " ends with a space
%1/adjectives-ect.quillmere:6: "DARK" differs only in capitals from line 2 ("Dark")
%1/adjectives-ect.quillmere:7: "Dark" repeats line 2
%1/adjectives-ect.quillmere:8: "Seán" is not valid UTF-8; it was read as Windows-1252
%1/english/male_firstnames.quillmere: cannot be read: No such file or directory
%1/english/surnames.quillmere:32768: this line and the 2 after it are beyond the 32767 entries a list holds; they are never used
%1/greek/surnames.quillmere: is written in UTF-16 LE, not UTF-8; it reads correctly here, but other tools may not
%1/greek/surnames.quillmere:2: "?" holds half of a UTF-16 surrogate pair, which is no character; it prints as "?"
%1/japanese/surnames.quillmere:1: "JJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJ..." is 32768 characters long, longer than a result (32767); results with it are cut short
%1/gaelic/gaelic_female.quillmere: cannot be read: it is not a regular file
%1/nouns-ect.quillmere:2: "Noun1" stands in %1/adjectives-ect.quillmere too (line 1), so a result can repeat it
checked 20 word lists: 14 findings in 7 of them
)")
            .arg(folder("F")));
    const QString cut = "quillmere-batch: %1/english/surnames.quillmere: a list holds at most "
                        "32767 entries; the lines beyond were not added\n";
    row("character --data @F/", 1, {},
        QString("quillmere-batch: %1/english/male_firstnames.quillmere: No such file or "
                "directory\n" +
                cut)
            .arg(folder("F")));
    row("character --gender female --seed 42 --data @F", 0, "EnF5 W15284\n", cut.arg(folder("F")));
    // --version names the program. A mistake on the command line is told in one line and the
    // pointer to --help.
    row("npc --version", 0, "quillmere-batch (Quillmere) 1.0\n");
    for (
        const QString& line :
        QString(
            R"(|no command given; the commands are title, item, equipment, skill, character, npc, invent and check
names|unknown command 'names'; the commands are title, item, equipment, skill, character, npc, invent and check
title --colour|unknown option '--colour'; the options are -n/--count, --seed, --show-seed, --format, --unique, --starts-with, --ends-with, --contains, --min-length, --max-length, --match, --data, --nationality, --gender, --part, --difficulty, -h/--help, -V/--version
title -n|missing value after '-n'
title --count=-1|--count must be a whole number from 0 to 1000000000, not '-1'
title -n +5|--count must be a whole number from 0 to 1000000000, not '+5'
title -n 1000000001|--count must be a whole number from 0 to 1000000000, not '1000000001'
npc --seed x1|--seed must be a whole number from 0 to 18446744073709551615, not 'x1'
title --format xml|unknown format 'xml'; the choices are text, csv, json, markdown, foundry
character --nationality Welsh|unknown nationality 'Welsh'; the choices are english, greek, japanese, gaelic, demon
title extra|unexpected argument 'extra'; title takes options only
check a b|unexpected argument 'b'; check takes one folder at most
title --data=|--data needs a folder laid out like data/
npc --unique -n 20000001|--unique can remember at most 20000000 results to compare; 20000001 were asked for)")
            .split('\n'))
        row(line.section('|', 0, 0), 2, {}, usage(line.section('|', 1)));
}

// Every run gives the same twice.
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

// Each option works with every command it belongs to, as the help spells it, and is refused,
// with the commands it applies to named, by every other command.
void TestBatch::options()
{
    const QString generators = "title, item, equipment, skill, character, npc and invent";
    const std::tuple<QString, QString, QString, int> options[] = {
        // typed, as messages name it, the commands it applies to, the lines a run writes
        {"-n2", "-n/--count", generators, 2},
        {"--seed=0", "--seed", generators, 1},
        {"--format CSV", "--format", generators, 2},
        {"--unique", "--unique", generators, 1},
        {"", "--data", "title, item, equipment, skill, character, npc, invent and check", 1},
        {"--nationality Greek", "--nationality", "character and invent", 1},
        {"--gender FEMALE", "--gender", "character and invent", 1},
        {"--difficulty hard", "--difficulty", "npc", 1},
    };
    for (const auto& [typed, name, applies, lines] : options) {
        for (const QString command :
             {"title", "item", "equipment", "skill", "character", "npc", "check"}) {
            const QString args = command + " " + typed + " --data";
            const Run r = run(kBatch, args.split(' ', Qt::SkipEmptyParts) << folder("L"));
            if (QString(applies).replace(" and ", ", ").split(", ").contains(command))
                QVERIFY2(r.status == 0 && r.err.isEmpty() && r.out.count('\n') == lines,
                         qPrintable(args + ": " + r.err + r.out));
            else
                QCOMPARE(r.err, usage(QString("%1 does not apply to %2; it applies to %3")
                                          .arg(name, command, applies)));
        }
    }
}

// Output that cannot be written is told, with status 1, for every command, and a closed
// standard output is refused before anything is made. Every result asked for is written, however
// many; a reader that goes away ends the run quietly, long before a billion titles; closed
// standard input and error change nothing. The completion works in a bash without the
// bash-completion package, offers the options of the command at hand only, and completes values
// after a space or an equals sign.
void TestBatch::streams()
{
    const QString script =
        "exec 2>&1; b=" + kBatch +
        "; source " QUILLMERE_COMPLETION "; c() { COMP_WORDS=(x \"$@\"); "
        "COMP_CWORD=$#; _quillmere_batch; echo \"${COMPREPLY[*]}\"; }; "
        "$b --help >/dev/full; echo $?; $b -V >/dev/full; echo $?; "
        "$b check >/dev/full; echo $?; $b npc -n 100000 --unique >/dev/full; echo $?; "
        "$b title >&-; echo $?; $b --help >&-; echo $?; $b title -n 200000 | wc -l; "
        "$b title -n 1000000000 | head -1 >/dev/null; echo ${PIPESTATUS[0]}; "
        "$b title 2>&- <&- | wc -l; $b --help | head -1; complete -p quillmere-batch; "
        "c ch; c npc --; c character --nationality g; c character --gender = f; c title -n ''";
    QCOMPARE(run("bash", {"--norc", "--noprofile", "-c", script}).out,
             "quillmere-batch: cannot write the help: No space left on device\n1\n"
             "quillmere-batch: cannot write the version: No space left on device\n1\n"
             "quillmere-batch: cannot write the report: No space left on device\n1\n"
             "quillmere-batch: cannot write the results: No space left on device\n1\n"
             "quillmere-batch: standard output is closed, so nothing can be written\n1\n"
             "quillmere-batch: standard output is closed, so nothing can be written\n1\n"
             "200000\n0\n1\nUsage: quillmere-batch COMMAND [OPTION]...\n"
             "complete -F _quillmere_batch quillmere-batch\ncharacter check\n"
             "--help --version --count --seed --show-seed --format --unique --data --starts-with "
             "--ends-with --contains --min-length --max-length --match --difficulty\n"
             "greek gaelic\nfemale\n\n");
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
