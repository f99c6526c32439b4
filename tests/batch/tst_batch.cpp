// quillmere-batch as an author runs it: a process with arguments, reading
// word lists from a folder, writing to standard output.
#include "testsupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <tuple>

namespace {

// The exit status (-1 for a crash), standard output and standard error.
std::tuple<int, QByteArray, QByteArray>
batch(const QStringList& args, const char* program = QUILLMERE_BUILD_DIR "/quillmere-batch")
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
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
    void outputs();
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
    m_faults.write("/data/greek/surnames.quillmere", QByteArray("\xff\xfeG\0\r\0\n\0", 8));
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
%1/nouns-ect.quillmere:2: "Noun1" stands in %1/adjectives-ect.quillmere too (line 2), so a result can repeat it
checked 20 word lists: 11 findings in 5 of them
)";
    // Words the one line on standard error must hold (none: it stays empty), the status, and
    // how standard output begins (nothing: it stays empty). Every run gives the same twice.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    auto row = [](QStringList args, QStringList said, int status = 2, QString out = {}) {
        QTest::newRow(qPrintable(args.join(' '))) << args << said << status << out;
    };
    // A fixed seed gives a known first result: a change in the draw order, the seeding or the
    // files a mode reads shows here.
    const QStringList fixed{"--seed", "42", "--data", m_lists.full("/data"), "-n", "500"};
    auto seeded = [&](QStringList args, const char* first) { row(args + fixed, {}, 0, first); };
    seeded({"title"}, "Adj5 Noun3\n");
    seeded({"item"}, "ItemD5 ItemO3\n");
    seeded({"equipment"}, "EquipD5 EquipO3\n");
    seeded({"skill"}, "SkillD5 SkillO3\n");
    seeded({"character"}, "EnM5 EnS3\n");
    seeded({"character", "--nationality", "greek", "--gender", "female"}, "GrF5 GrS3\n");
    seeded({"character", "--nationality=japanese"}, "JaM5 JaS3\n");
    seeded({"character", "--nationality", "gaelic", "--gender=female"}, "GaF5 \n");
    seeded({"character", "--nationality", "demon"}, "De5 \n");
    // Only 49 different titles: all are printed, the first as without --unique.
    row(QStringList{"title", "--unique"} + fixed, {"only 49 different"}, 1, "Adj5 Noun3\n");
    seeded({"npc"}, "Name: GaM4, Max Hp: 233, Max Sp: 180, Intelligence: 37, Atk Power: 109, "
                    "Strength: 38, P. Defense: 94, M. Defense: 103, Dexterity: 38, Agility: 55, "
                    "Evasion: 0, Exp: 13, M. Drop: 16\n");
    seeded({"npc", "--difficulty", "hard", "--format", "json"},
           "{\"name\":\"GaM4\",\"max_hp\":7550,\"max_sp\":1001,\"intelligence\":121,"
           "\"atk_power\":131,\"strength\":198,\"p_defense\":124,\"m_defense\":125,"
           "\"dexterity\":150,\"agility\":158,\"evasion\":0,\"exp\":155,\"m_drop\":366}\n");
    // --help is what the manual page is made from; --version names the program.
    row({"--help"}, {}, 0, "Usage: quillmere-batch COMMAND [OPTION]...\n");
    row({"npc", "--version"}, {}, 0, "quillmere-batch (Quillmere) 1.0\n");
    // The shipped lists and the test's own are clean; each planted fault is named with its file
    // and line.
    row({"check"}, {}, 0, "checked 20 word lists: nothing to fix\n");
    row({"check", m_lists.full("/data")}, {}, 0, "checked 20 word lists: nothing to fix\n");
    row({"check", dir}, {}, 1, QString(findings).arg(dir));
    row({}, {"no command", "title, item, equipment, skill, character, npc, check"});
    row({"names"}, {"'names'", "title, item"});
    row({"title", "--colour"}, {"'--colour'", "--count"});
    row({"title", "-n"}, {"-n needs a value"});
    row({"title", "-n", "ten"}, {"'ten'", "0 to 1000000000"});
    row({"title", "--count=-1"}, {"'-1'", "0 to 1000000000"});
    row({"title", "-n", "1000000001"}, {"'1000000001'"});
    row({"npc", "--seed", "x1"}, {"'x1'", "18446744073709551615"});
    row({"title", "--format", "xml"}, {"'xml'", "text, csv, json"});
    row({"character", "--nationality", "English"}, {"'English'", "english, greek, japanese"});
    row({"character", "--gender", "f"}, {"'f'", "male, female"});
    row({"npc", "--difficulty", "Easy"}, {"'Easy'", "easy, medium, hard"});
    row({"title", "--difficulty", "hard"}, {"--difficulty", "npc"});
    row({"title", "extra"}, {"'extra'"});
    row({"character", "--data", dir},
        {"quillmere-batch: " + dir + "/english/surnames.quillmere: No such file or directory"}, 1);
}

void TestBatch::runs()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, said);
    QFETCH(int, status);
    QFETCH(QString, out);
    const auto [exitStatus, stdOut, stdErr] = batch(args);
    QCOMPARE(exitStatus, status);
    QCOMPARE(stdErr.count('\n'), said.isEmpty() ? 0 : 1);
    for (const QString& words : said)
        QVERIFY2(stdErr.contains(words.toUtf8()), stdErr.constData());
    QCOMPARE(QString::fromUtf8(out.isEmpty() ? stdOut : stdOut.left(out.toUtf8().size())), out);
    QCOMPARE(std::get<1>(batch(args)), stdOut);
}

void TestBatch::outputs()
{
    // 100,000 titles from ten first words and seven second words: every cell of the 70 is
    // about as frequent as the others (chi-square, 69 degrees of freedom, p = 0.001).
    TempExeDir exe;
    exe.write("/data/adjectives-ect.quillmere", QString("A B C D E F G H I J").split(' '));
    exe.write("/data/nouns-ect.quillmere", QString("0 1 2 3 4 5 6").split(' '));
    QHash<QByteArray, int> cells;
    const QByteArray titles =
        std::get<1>(batch({"title", "-n", "100000", "--seed", "7", "--data", exe.full("/data")}));
    for (const QByteArray& line : titles.trimmed().split('\n'))
        ++cells[line];
    double chi2 = 0;
    for (const int o : cells)
        chi2 += (o - 1e5 / 70) * (o - 1e5 / 70) / (1e5 / 70);
    QVERIFY2(cells.size() == 70 && chi2 < 111.4, qPrintable(QString::number(chi2)));

    // Entries that a careless writer of CSV or JSON would damage come back exactly (and JSON
    // strings hold no raw control characters), each of the 36 pairs once; that a 37th cannot be
    // made is told after them.
    const QStringList first{"a, b", "say \"hi\"", "  lead", u"Ōkami"_qs, "back\\slash", ""};
    const QStringList second{"trail ", "x", "tab\there", "\"", "", u"é"_qs};
    exe.write("/data/items-des-ect.quillmere", first);
    exe.write("/data/items-objects.quillmere", second);
    // Fields of one RFC 4180 record (without its line end), read as a spreadsheet does: the outer
    // spaces of an unquoted field are dropped.
    const auto csvFields = [](const QString& line) {
        static const QRegularExpression field(R"re((?:^|,)(?:"((?:[^"]|"")*)"|([^,"]*)))re");
        QStringList f;
        for (const QRegularExpressionMatch& m : field.globalMatch(line))
            f << (m.hasCaptured(1) ? m.captured(1).replace("\"\"", "\"") : m.captured(2).trimmed());
        return f;
    };
    for (const QString format : {"csv", "json"}) {
        const auto [status, out, err] = batch(
            {"item", "--unique", "-n", "37", "--format", format, "--data", exe.full("/data")});
        QVERIFY2(status == 1 && err.contains("only 36 different results; 37"), err.data());
        QStringList lines = QString::fromUtf8(out).split(format == "csv" ? "\r\n" : "\n");
        QVERIFY(lines.takeLast().isEmpty() &&
                (format == "json" || lines.takeFirst() == "item,first_word,second_word"));
        for (const QString& line : lines) {
            const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
            const QStringList f =
                format == "csv" ? csvFields(line)
                                : QStringList{o["item"].toString(), o["first_word"].toString(),
                                              o["second_word"].toString()};
            QVERIFY2(f.size() == 3 && f[0] == f[1] + " " + f[2] && first.contains(f[1]) &&
                         second.contains(f[2]) && (format == "csv" || !line.contains('\t')),
                     qPrintable(line));
        }
        QVERIFY(lines.size() == 36 && QSet<QString>(lines.begin(), lines.end()).size() == 36);
    }

    // A reader that goes away ends the run quietly, long before a billion titles; output that
    // cannot be written is told, with status 1.
    const auto [code, shellOut, shellErr] = batch(
        {"-c", "b='" QUILLMERE_BUILD_DIR "/quillmere-batch'; \"$b\" title -n 1000000000 | head -1 "
               ">/dev/null; echo ${PIPESTATUS[0]}; \"$b\" title -n 100000 >/dev/full; echo $?"},
        "bash");
    QCOMPARE(shellOut + shellErr,
             "0\n1\nquillmere-batch: cannot write the results: No space left on device\n");
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
