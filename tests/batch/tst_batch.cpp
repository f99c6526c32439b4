// quillmere-batch as an author runs it: a process with arguments, reading word lists from
// folders whose name is not ASCII, writing to standard output.
#include "testsupport.h"

#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>

namespace {

const QString kData = u"/Wörter 名前"_qs;
// The one entry of each first and each second list of folder H: hard to write as CSV or JSON.
const QString kHard[] = {R"( a, "b"\)", "\x1f \u00e9\t"};
const QString kOnly = "quillmere-batch: the word lists can give only %1 different results; %2 "
                      "were asked for\n";

struct Run {
    int status; // -1 for a crash or a run that does not end
    QString out, err;
    QStringList lines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

Run run(const QStringList& args, const QString& program = QUILLMERE_BUILD_DIR "/quillmere-batch")
{
    QProcess process;
    process.start(program, args); // killed, if it has not ended, when it goes
    const bool ended = process.waitForFinished(60000);
    return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
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

} // namespace

class TestBatch : public QObject {
    Q_OBJECT
    TempExeDir m_dir;
    // Writes one list of a folder: "F/english/surnames".
    template <typename Content> void put(const QString& list, const Content& content) const
    {
        m_dir.write("/" + list.left(1) + kData + list.mid(1) + ".quillmere", content);
    }
    // A text with its folders, "@T" and the like, spelled out.
    QString at(QString text) const
    {
        return text.replace(QRegularExpression("@([A-Z])"), m_dir.path() + "/\\1" + kData);
    }
    // A command line split at spaces; "_" is a space inside an argument.
    QStringList args(const QString& line) const
    {
        QStringList words = line.split(' ', Qt::SkipEmptyParts);
        for (QString& word : words)
            word = at(word.replace('_', ' '));
        return words;
    }
private slots:
    void initTestCase();
    void runs_data();
    void runs();
    void filters();
    void invent();
    void streams();
};

// Folders of every list the program reads. L: seven entries each, named after the list
// ("nouns-ect0" to "nouns-ect6"). F: a copy with each kind of fault a check names. A: entries
// that two pairs print alike (with a space, two lone surrogates that both print as "?", the same
// start of entries longer than a result), and a list with no entries. H: one hard entry in each
// list. T: entries with spaces, so that a filter's text can cross the space between a result's
// two entries, and with a bar, which a markdown table escapes; the lists of one entry (Gaelic,
// the NPC names) hold the nine results whole. Greek women's names are of a consonant, a vowel
// and "n" or "na", from which a chain makes fifteen new names.
void TestBatch::initTestCase()
{
    const QStringList t = QString("Zed/Key;Mail;Gate Ward/Dark;Iron Gate;Ash|Oak/Ash|Oak Gate Ward;"
                                  "Ash|Oak Key;Ash|Oak Mail;Dark Gate Ward;Dark Key;Dark Mail;Iron "
                                  "Gate Gate Ward;Iron Gate Key;Iron Gate "
                                  "Mail/Ban;Ben;Bon;Dan;Den;Don;Gan;Gen;Gon;Kan;Ken;Kon;Lan;"
                                  "Len;Lon;Man;Men;Mon;Nan;Nen;Bana;Dena;Gona;Kana;Lena")
                              .split('/');
    // Which of those a list gets: the group its name matches, or the first when none does.
    const QRegularExpression kinds(
        "(nouns|objects|english/sur)|(-ect|english/m)|(gaelic_m|demon)|(greek/f)|$");
    for (QDirIterator it(kSourceDir + "/data", {"*.quillmere"}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString name = it.next().mid(kSourceDir.size() + 6).chopped(10);
        const QStringList seven = QString("@0 @1 @2 @3 @4 @5 @6").replace("@", name).split(' ');
        put("L/" + name, seven);
        put("F/" + name, seven);
        const int k = kinds.match(name).lastCapturedIndex();
        put("T/" + name, t[k].split(';'));
        put("H/" + name, QStringList{kHard[k == 1]});
    }
    QStringList many(32770, "W");
    for (int i = 0; i < many.size(); ++i)
        many[i] += QString::number(i);
    put("F/english/surnames", many);
    put("F/adjectives-ect", QByteArray("nouns-ect1\r\nDark\r\n\r\n  Lead\r\nTrail \r\nDARK\r\n"
                                       "Dark\nSe\xe1n\r\n\xf0\x9f\x90\x89\r\nLast"));
    put("F/greek/surnames", QByteArray("\xff\xfeG\0\r\0\n\0\0\xd8\r\0\n\0", 14));
    put("F/japanese/surnames", QByteArray(32768, 'J'));
    const QString fifo = at("@F/gaelic/gaelic_female.quillmere");
    QFile::remove(at("@F/english/male_firstnames.quillmere"));
    QVERIFY(QFile::remove(fifo) && ::mkfifo(QFile::encodeName(fifo), 0644) == 0);
    for (const QString list : {"adjectives-ect:Iron;Iron Plate", "nouns-ect:Plate Mail;Mail",
                               "items-objects:x", "equipment-objects:x", "skills-des-ect:Skill"})
        put("A/" + list.section(':', 0, 0), list.section(':', 1).split(';'));
    put("A/items-des-ect", QByteArray("\xff\xfe\0\xd8\r\0\n\0\0\xdc", 10));
    put("A/equipment-ect", QStringList{QString(40000, 'A') + "1", QString(40000, 'A') + "2"});
    put("A/skills-objects", QByteArray());
}

void TestBatch::runs_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("ends"); // the status, standard error and standard output
    // A mistake on the command line (status 2) is told in one line and the pointer to --help.
    const auto row = [this](const QString& line, int status, const QString& out, QString err = {}) {
        if (status == 2)
            err = "quillmere-batch: " + err +
                  "\nTry 'quillmere-batch --help' for more information.\n";
        QTest::newRow(qPrintable(line))
            << args(line) << QString("%1|").arg(status) + at(err + "|" + out);
    };
    // The command line, the status, all of standard output and all of standard error, "\n" and
    // "\r" standing for line ends. A fixed seed gives known results: a change in the draw order,
    // the seeding or the files a mode reads shows here. A name without a surname ends without a
    // space. What two pairs print alike counts once; what the lists cannot give is told. A pick
    // from a list without entries is the empty text, after the space. A dN table escapes what
    // markdown would read as its own; a Foundry RollTable (compared as compact JSON) holds each
    // result alone in its range of one. Invented names are new to every list, and what the chain
    // cannot make is told; a list too small is refused. The shipped lists are clean. A list longer
    // than a list holds is used as far as it goes, with a warning; with a list that cannot be
    // read, nothing is made.
    for (const QString& line :
         QString(R"(title --seed 42 --data @L ~ 0 ~ adjectives-ect5 nouns-ect3\n
item --seed 42 --data @L ~ 0 ~ items-des-ect5 items-objects3\n
equipment --seed 42 --data @L ~ 0 ~ equipment-ect5 equipment-objects3\n
skill --seed 42 --data @L ~ 0 ~ skills-des-ect5 skills-objects3\n
skill --seed 18446744073709551615 --data @L ~ 0 ~ skills-des-ect1 skills-objects1\n
title --seed 0 -n 3 --data @L ~ 0 ~ adjectives-ect4 nouns-ect4\nadjectives-ect6 nouns-ect4\nadjectives-ect6 nouns-ect0\n
title -n2 --seed=42 --data=@L ~ 0 ~ adjectives-ect5 nouns-ect3\nadjectives-ect2 nouns-ect5\n
character --seed 42 --data @L ~ 0 ~ english/male_firstnames5 english/surnames3\n
character --nationality GREEK --gender Female --seed 42 --data @L ~ 0 ~ greek/female_firstnames5 greek/surnames3\n
character --nationality=japanese --seed 42 --data @L ~ 0 ~ japanese/male_firstnames5 japanese/surnames3\n
character --nationality Gaelic --gender=female -n 2 --seed 42 --data @L ~ 0 ~ gaelic/gaelic_female5\ngaelic/gaelic_female2\n
character --nationality demon --format csv --seed 42 --data @L ~ 0 ~ name,first_name,surname\r\ndemon/demon_names5,demon/demon_names5,\r\n
npc --difficulty Hard --seed 42 --data @L ~ 0 ~ Name: gaelic/gaelic_male4, Max Hp: 7550, Max Sp: 1001, Intelligence: 121, Atk Power: 131, Strength: 198, P. Defense: 124, M. Defense: 125, Dexterity: 150, Agility: 158, Evasion: 0, Exp: 155, M. Drop: 366\n
npc --seed 42 --data @H --format csv ~ 0 ~ name,max_hp,max_sp,intelligence,atk_power,strength,p_defense,m_defense,dexterity,agility,evasion,exp,m_drop\r\n" a, ""b""\",233,180,37,109,38,94,103,38,55,0,13,16\r\n
npc --seed 42 --data @H --format json --unique ~ 0 ~ {"name":" a, \"b\"\\","max_hp":233,"max_sp":180,"intelligence":37,"atk_power":109,"strength":38,"p_defense":94,"m_defense":103,"dexterity":38,"agility":55,"evasion":0,"exp":13,"m_drop":16}\n
title --unique -n 3 --seed 1 --data @A ~ 0 ~ Iron Plate Plate Mail\nIron Plate Mail\nIron Mail\n
title --unique -n 9 --seed 1 --data @A ~ 1 ~ Iron Plate Plate Mail\nIron Plate Mail\nIron Mail\n ~ quillmere-batch: the word lists can give only 3 different results; 9 were asked for\n
item --unique -n 9 --data @A ~ 1 ~ ? x\n ~ quillmere-batch: the word lists can give only 1 different results; 9 were asked for\n
skill --data @A ~ 0 ~ Skill \n
character --nationality gaelic -n 3 --seed 5 --format markdown --data @T ~ 0 ~ | d3 | Name |\n| --- | --- |\n| 1 | Dark Mail |\n| 2 | Ash\|Oak Key |\n| 3 | Iron Gate Mail |\n
npc -n 2 --seed 5 --format MARKDOWN --data @T ~ 0 ~ | d2 | Name | Max Hp | Max Sp | Intelligence | Atk Power | Strength | P. Defense | M. Defense | Dexterity | Agility | Evasion | Exp | M. Drop |\n| --- | --- | --- | --- | --- | --- | --- | --- | --- | --- | --- | --- | --- | --- |\n| 1 | Ash\|Oak Key | 162 | 377 | 48 | 101 | 48 | 81 | 97 | 46 | 45 | 0 | 7 | 17 |\n| 2 | Dark Key | 347 | 138 | 22 | 106 | 39 | 91 | 91 | 32 | 49 | 0 | 10 | 13 |\n
title -n 2 --seed 5 --format foundry --data @T ~ 0 ~ {"description":"","displayRoll":true,"formula":"1d2","name":"Game titles","replacement":true,"results":[{"drawn":false,"range":[1,1],"text":"Iron Gate Key","type":"text","weight":1},{"drawn":false,"range":[2,2],"text":"Dark Gate Ward","type":"text","weight":1}]}
npc --seed 5 --format foundry --data @T ~ 0 ~ {"description":"","displayRoll":true,"formula":"1d1","name":"NPCs","replacement":true,"results":[{"drawn":false,"range":[1,1],"text":"Name: Ash|Oak Key, Max Hp: 162, Max Sp: 377, Intelligence: 48, Atk Power: 101, Strength: 48, P. Defense: 81, M. Defense: 97, Dexterity: 46, Agility: 45, Evasion: 0, Exp: 7, M. Drop: 17","type":"text","weight":1}]}
invent --nationality greek --gender female -n 99 --unique --ends-with NA --match ^[b-g] --max-length 4 --seed 3 --data @T ~ 1 ~ Bena\nGena\nDana\nGana\nBona\nDona\n ~ quillmere-batch: made 6 of the 99 names asked for: in 100000 tries in a row the chain made no name that no list holds, that was not made already, and that passes the filters\n
invent --data @T ~ 1 ~  ~ quillmere-batch: @T/english/male_firstnames.quillmere: 3 different names are too few to learn from; invent needs at least 20\n
check ~ 0 ~ checked 20 word lists: nothing to fix\n
check --data @L ~ 0 ~ checked 20 word lists: nothing to fix\n
character --data @F/ ~ 1 ~  ~ quillmere-batch: @F/english/male_firstnames.quillmere: No such file or directory\nquillmere-batch: @F/english/surnames.quillmere: a list holds at most 32767 entries; the lines beyond were not added\n
character --gender female --seed 42 --data @F ~ 0 ~ english/female_firstnames5 W15284\n ~ quillmere-batch: @F/english/surnames.quillmere: a list holds at most 32767 entries; the lines beyond were not added\n
npc --version ~ 0 ~ quillmere-batch (Quillmere) 1.0\n
 ~ 2 ~  ~ no command given; the commands are title, item, equipment, skill, character, npc, invent and check
names ~ 2 ~  ~ unknown command 'names'; the commands are title, item, equipment, skill, character, npc, invent and check
title --colour ~ 2 ~  ~ unknown option '--colour'; the options are -n/--count, --seed, --show-seed, --format, --unique, --starts-with, --ends-with, --contains, --min-length, --max-length, --match, --data, --nationality, --gender, --part, --difficulty, -h/--help, -V/--version
title -n ~ 2 ~  ~ missing value after '-n'
title -n +5 ~ 2 ~  ~ --count must be a whole number from 0 to 1000000000, not '+5'
title -n 1000000001 ~ 2 ~  ~ --count must be a whole number from 0 to 1000000000, not '1000000001'
npc --seed x1 ~ 2 ~  ~ --seed must be a whole number from 0 to 18446744073709551615, not 'x1'
title --format xml ~ 2 ~  ~ unknown format 'xml'; the choices are text, csv, json, markdown, foundry
character --nationality Welsh ~ 2 ~  ~ unknown nationality 'Welsh'; the choices are english, greek, japanese, gaelic, demon
title extra ~ 2 ~  ~ unexpected argument 'extra'; title takes options only
check a b ~ 2 ~  ~ unexpected argument 'b'; check takes one folder at most
title --data= ~ 2 ~  ~ --data needs a folder laid out like data/
title --match a(b ~ 2 ~  ~ --match 'a(b' is not a valid regular expression: missing closing parenthesis at character 4
title --min-length 5 --max-length 4 ~ 2 ~  ~ --min-length 5 is more than --max-length 4; no text is both
title --format Markdown -n 100001 ~ 2 ~  ~ --format markdown makes one table of at most 100000 rows; 100001 were asked for
invent --part surname --nationality gaelic ~ 2 ~  ~ gaelic names have no surname; --part surname applies to english, greek and japanese
npc --unique -n 20000001 ~ 2 ~  ~ --unique can remember at most 20000000 results to compare; 20000001 were asked for
npc --nationality Greek ~ 2 ~  ~ --nationality does not apply to npc; it applies to character and invent
title --gender FEMALE ~ 2 ~  ~ --gender does not apply to title; it applies to character and invent
character --part surname ~ 2 ~  ~ --part does not apply to character; it applies to invent
title --difficulty hard ~ 2 ~  ~ --difficulty does not apply to title; it applies to npc)")
             .split('\n')) {
        const QStringList field =
            QString(line).replace("\\n", "\n").replace("\\r", "\r").split(" ~ ");
        row(field[0], field[1].toInt(), field[2], field.value(3));
    }
    row("equipment --unique -n 9 --data @A", 1, QString(32767, 'A') + "\n", kOnly.arg(1).arg(9));
    // Each planted fault is named with its file and line.
    row("check @F", 1,
        R"(@F/adjectives-ect.quillmere:7: mixed line ends (8 CR LF, 1 LF); this is the first line to end with LF
@F/adjectives-ect.quillmere:3: blank entry
@F/adjectives-ect.quillmere:4: "  Lead" begins with a space
@F/adjectives-ect.quillmere:5: "Trail " ends with a space
@F/adjectives-ect.quillmere:6: "DARK" differs only in capitals from line 2 ("Dark")
@F/adjectives-ect.quillmere:7: "Dark" repeats line 2
@F/adjectives-ect.quillmere:8: "Seán" is not valid UTF-8; it was read as Windows-1252
@F/english/male_firstnames.quillmere: cannot be read: No such file or directory
@F/english/surnames.quillmere:32768: this line and the 2 after it are beyond the 32767 entries a list holds; they are never used
@F/greek/surnames.quillmere: is written in UTF-16 LE, not UTF-8; it reads correctly here, but other tools may not
@F/greek/surnames.quillmere:2: "?" holds half of a UTF-16 surrogate pair, which is no character; it prints as "?"
@F/japanese/surnames.quillmere:1: "JJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJJ..." is 32768 characters long, longer than a result (32767); results with it are cut short
@F/gaelic/gaelic_female.quillmere: cannot be read: it is not a regular file
@F/nouns-ect.quillmere:2: "nouns-ect1" stands in @F/adjectives-ect.quillmere too (line 1), so a result can repeat it
checked 20 word lists: 14 findings in 7 of them
)");
    // Every phrase command in CSV and JSON, from lists of one entry each, so it has one result:
    // -n 2 prints it twice, or with --unique once and tells why. CSV quotes a field with a comma,
    // a quote or padding at either end and ends its lines in CR LF; JSON escapes what would end a
    // string and every control character.
    const QString csv = "\" a, \"\"b\"\"\\ \x1f \u00e9\t\","
                        R"(" a, ""b""\")"
                        ",\"\x1f \u00e9\t\"\r\n",
                  json = R"({"%1":" a, \"b\"\\ \u001f é\t","%2":" a, \"b\"\\","%3":"\u001f é\t"})"
                         "\n";
    for (const QString command : {"title", "item", "equipment", "skill", "character"}) {
        const QString c = command == "character" ? "name,first_name,surname"
                                                 : command + ",first_word,second_word";
        row(command + " -n 2 --data @H --format csv", 0, c + "\r\n" + csv + csv);
        row(command + " -n 2 --data @H --format json --unique", 1,
            json.arg(c.section(',', 0, 0), c.section(',', 1, 1), c.section(',', 2)),
            kOnly.arg(1).arg(2));
    }
    // Each option refused by check names every command it applies to.
    for (const QString typed :
         {"-n2", "--seed=0", "--show-seed", "--format CSV", "--unique", "--starts-with a",
          "--ends-with a", "--contains a", "--min-length 1", "--max-length 1", "--match a"})
        row("check " + typed, 2, {},
            (typed == "-n2" ? "-n/--count" : typed.section(QRegularExpression("[ =]"), 0, 0)) +
                " does not apply to check; it applies to title, item, equipment, skill, "
                "character, npc and invent");
}

// Every run gives the same twice.
void TestBatch::runs()
{
    QFETCH(QStringList, args);
    QFETCH(QString, ends);
    Run r = run(args);
    QCOMPARE(run(args).out, r.out);
    if (args.contains("foundry"))
        r.out = QJsonDocument::fromJson(r.out.toUtf8()).toJson(QJsonDocument::Compact);
    QCOMPARE(QString("%1|").arg(r.status) + r.err + "|" + r.out, ends);
}

// Every command with each kind of filter, in any case, and their combination, drawn at random
// and with --unique: the results are exactly those that pass, and when none can, that is told.
// The seed that --show-seed tells makes the same run again.
void TestBatch::filters()
{
    const std::pair<const char*, const char*> filters[] = {
        {"--starts-with dARK_m", "Dark Mail"},
        {"--ends-with k_KEY", "Ash|Oak Key;Dark Key"},
        {"--contains E_g", "Iron Gate Gate Ward"},
        {"--min-length 14", "Ash|Oak Gate Ward;Dark Gate Ward;Iron Gate Gate Ward;Iron Gate Mail"},
        {"--max-length 9", "Dark Key;Dark Mail"},
        {"--match ^a.*[LY]$", "Ash|Oak Key;Ash|Oak Mail"},
        {"--starts-with=i --contains=GATE_K --max-length=13 --ends-with=y", "Iron Gate Key"},
        {"--starts-with ash|oak_g --ends-with mail", ""},
    };
    const QRegularExpression told(
        "^quillmere-batch: seed (\\d+); --seed \\1 makes this run again\n");
    for (const QString command : {"title", "item", "equipment", "skill", "character",
                                  "character --nationality GAELIC", "npc"})
        for (const auto& [filter, results] : filters)
            for (const QString unique : {"", " --unique"}) {
                const QString line = command + " -n 60 --data @T " + filter + unique;
                const Run r = run(args(line + " --show-seed"));
                const auto seed = told.match(r.err);
                const int passing = *results ? QString(results).count(';') + 1 : 0;
                const bool all = passing > 0 && (command == "npc" || unique.isEmpty());
                const QString why =
                    passing ? kOnly.arg(passing).arg(60).replace("results;",
                                                                 "results that pass the filters;")
                            : "quillmere-batch: no result the word lists can give passes the "
                              "filters\n";
                QVERIFY2(distinct(r.lines()) == results && r.status == !all &&
                             r.lines().size() == (all ? 60 : passing) &&
                             r.err.mid(seed.capturedLength()) == (all ? "" : why),
                         qPrintable(line + ": " + r.err + r.out));
                QCOMPARE(run(args(line + " --seed " + seed.captured(1))).out, r.out);
            }
}

// Invented names are new to every shipped name list, and no name cut short; they are as long as
// the list's own and spell no run of four consonants its names do not.
void TestBatch::invent()
{
    QString known; // every known name after a line end, so a start of one is found with the end
    for (QDirIterator it(kSourceDir + "/data", {"*names*", "gaelic_*"}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        known += "\n" + ShippedLines(it.next().mid(kSourceDir.size())).join('\n').toCaseFolded();
    // A run of four letters and no vowel stands in some Gaelic woman's name as the list spells it.
    const auto bare = [](const QString& text) {
        return text.normalized(QString::NormalizationForm_D).toLower();
    };
    const QString own = bare(ShippedLines("/data/gaelic/gaelic_female.quillmere").join(' '));
    const QRegularExpression runs("(?:(?![aeiouy])\\p{L}){4,}");
    const Run r = run(args("invent --nationality Gaelic --gender FEMALE -n 3000"));
    QVERIFY(r.lines().size() == 3000 && distinct(r.lines()).count(';') > 1000);
    for (const QString& name : r.lines()) {
        QVERIFY2(!known.contains('\n' + name.toCaseFolded()) && name.size() >= 3 &&
                     name.size() <= 15,
                 qPrintable(name));
        for (const auto& m : runs.globalMatch(bare(name)))
            QVERIFY2(own.contains(m.captured()), qPrintable(name));
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
        "exec 2>&1; b=" QUILLMERE_BUILD_DIR "/quillmere-batch"
        "; source " QUILLMERE_COMPLETION "; c() { COMP_WORDS=(x \"$@\"); "
        "COMP_CWORD=$#; _quillmere_batch; echo \"${COMPREPLY[*]}\"; }; "
        "$b --help >/dev/full; echo $?; $b -V >/dev/full; echo $?; "
        "$b check >/dev/full; echo $?; $b npc -n 100000 --unique >/dev/full; echo $?; "
        "$b title >&-; echo $?; $b --help >&-; echo $?; $b title -n 200000 | wc -l; "
        "$b title -n 1000000000 | head -1 >/dev/null; echo ${PIPESTATUS[0]}; "
        "$b title 2>&- <&- | wc -l; $b --help | head -1; complete -p quillmere-batch; "
        "c ch; c npc --; c character --nationality g; c character --gender = f; c title -n ''";
    QCOMPARE(run({"--norc", "--noprofile", "-c", script}, "bash").out,
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
