// quillmere-batch as an author runs it: a process with arguments, reading
// word lists from a folder, writing to standard output.
#include "testsupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run batch(const QStringList& args, const QString& stdoutFile = {})
{
    QProcess process;
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    process.start(QStringLiteral(QUILLMERE_BUILD_DIR "/quillmere-batch"), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Fields of one RFC 4180 record (without its line end).
QStringList csvFields(const QString& line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (quoted && line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.last() += line[++i];
        else if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ',' && !quoted)
            fields << QString();
        else
            fields.last() += line[i];
    }
    return fields;
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT
    // Seven entries in each of the twenty lists, named after their file: "Adj0" to "Adj6"...
    TempExeDir m_lists;
private slots:
    void initTestCase();
    void seededRuns_data();
    void seededRuns();
    void picksAndRoundTrips();
    void badInput_data();
    void badInput();
    void output();
    void check();
};

void TestBatch::initTestCase()
{
    for (const QString& file :
         QString("adjectives-ect:Adj nouns-ect:Noun items-des-ect:ItemD items-objects:ItemO "
                 "equipment-ect:EquipD equipment-objects:EquipO skills-des-ect:SkillD "
                 "skills-objects:SkillO english/male_firstnames:EnM english/female_firstnames:EnF "
                 "english/surnames:EnS greek/male_firstnames:GrM greek/female_firstnames:GrF "
                 "greek/surnames:GrS japanese/male_firstnames:JaM japanese/female_firstnames:JaF "
                 "japanese/surnames:JaS gaelic/gaelic_male:GaM gaelic/gaelic_female:GaF "
                 "demon/demon_names:De")
             .split(' ')) {
        QStringList entries;
        for (int i = 0; i < 7; ++i)
            entries << file.section(':', 1) + QString::number(i);
        m_lists.write("\\data\\" + file.section(':', 0, 0).replace('/', '\\') + ".quillmere",
                      entries);
    }
}

void TestBatch::seededRuns_data()
{
    // A fixed seed gives a known first result: a change in the draw order, the seeding or the
    // files a mode reads shows here.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("first");
    auto row = [](QStringList args, const char* first) {
        QTest::newRow(qPrintable(args.join(' '))) << args << QString(first);
    };
    row({"title"}, "Adj5 Noun3");
    row({"item"}, "ItemD5 ItemO3");
    row({"equipment"}, "EquipD5 EquipO3");
    row({"skill"}, "SkillD5 SkillO3");
    row({"character"}, "EnM5 EnS3");
    row({"character", "--nationality", "greek", "--gender", "female"}, "GrF5 GrS3");
    row({"character", "--nationality=japanese"}, "JaM5 JaS3");
    row({"character", "--nationality", "gaelic", "--gender=female"}, "GaF5 ");
    row({"character", "--nationality", "demon"}, "De5 ");
    row({"npc"}, "Name: GaM4, Max Hp: 233, Max Sp: 180, Intelligence: 37, Atk Power: 109, "
                 "Strength: 38, P. Defense: 94, M. Defense: 103, Dexterity: 38, Agility: 55, "
                 "Evasion: 0, Exp: 13, M. Drop: 16");
    row({"npc", "--difficulty", "hard", "--format", "json"},
        "{\"name\":\"GaM4\",\"max_hp\":7550,\"max_sp\":1001,\"intelligence\":121,\"atk_power\":131,"
        "\"strength\":198,\"p_defense\":124,\"m_defense\":125,\"dexterity\":150,\"agility\":158,"
        "\"evasion\":0,\"exp\":155,\"m_drop\":366}");
}

void TestBatch::seededRuns()
{
    QFETCH(QStringList, args);
    QFETCH(QString, first);
    args << "--seed"
         << "42"
         << "--data" << m_lists.full("\\data") << "-n"
         << "500";
    const Run once = batch(args);
    QCOMPARE(once.err, QByteArray());
    QCOMPARE(once.out.count('\n'), 500);
    QCOMPARE(batch(args).out, once.out);
    QCOMPARE(QString::fromUtf8(once.out.left(once.out.indexOf('\n'))), first);
}

void TestBatch::picksAndRoundTrips()
{
    // 100,000 titles from ten first words and seven second words: every cell of the 70 is
    // about as frequent as the others (chi-square, 69 degrees of freedom, p = 0.001).
    TempExeDir exe;
    exe.write("\\data\\adjectives-ect.quillmere",
              QString("A0 A1 A2 A3 A4 A5 A6 A7 A8 A9").split(' '));
    exe.write("\\data\\nouns-ect.quillmere", QString("B0 B1 B2 B3 B4 B5 B6").split(' '));
    QHash<QByteArray, int> cells;
    for (const QByteArray& line :
         batch({"title", "-n", "100000", "--seed", "7", "--data", exe.full("\\data")})
             .out.split('\n'))
        cells[line] += !line.isEmpty();
    double chi2 = 0;
    for (const int observed : std::as_const(cells))
        chi2 += observed ? (observed - 1e5 / 70) * (observed - 1e5 / 70) / (1e5 / 70) : 0;
    QVERIFY2(cells.size() == 71 && chi2 < 111.4, qPrintable(QString::number(chi2)));

    // Entries that a careless writer of CSV or JSON would damage come back exactly.
    const QStringList first{"a, b", "say \"hi\"", "  lead", u"Ōkami"_qs, "back\\slash", ""};
    const QStringList second{"trail ", "x", "tab\there", "\"", "", u"é"_qs};
    exe.write("\\data\\items-des-ect.quillmere", first);
    exe.write("\\data\\items-objects.quillmere", second);
    QSet<QString> expected;
    for (const QString& f : first)
        for (const QString& s : second)
            expected << f + "|" + s;
    for (const QString format : {"csv", "json"}) {
        QStringList lines = QString::fromUtf8(batch({"item", "--unique", "-n", "36", "--format",
                                                     format, "--data", exe.full("\\data")})
                                                  .out)
                                .split(format == "csv" ? "\r\n" : "\n");
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(format == "csv" ? lines.takeFirst() : "item,first_word,second_word",
                 QString("item,first_word,second_word"));
        QSet<QString> seen;
        for (const QString& line : lines) {
            const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
            const QStringList f =
                format == "csv" ? csvFields(line)
                                : QStringList{o["item"].toString(), o["first_word"].toString(),
                                              o["second_word"].toString()};
            QVERIFY2(f.size() == 3 && f[0] == f[1] + " " + f[2], qPrintable(line));
            seen << f[1] + "|" + f[2];
        }
        QCOMPARE(seen, expected);
    }
}

void TestBatch::badInput_data()
{
    // What is wrong, the status, and words the one line on standard error must hold.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("said");
    auto row = [](QStringList args, int status, QStringList said) {
        QTest::newRow(qPrintable(args.join(' '))) << args << status << said;
    };
    row({}, 2, {"no command", "title, item, equipment, skill, character, npc, check"});
    row({"names"}, 2, {"'names'", "title, item"});
    row({"title", "--colour"}, 2, {"'--colour'", "--count"});
    row({"title", "-n"}, 2, {"-n needs a value"});
    row({"title", "-n", "ten"}, 2, {"'ten'", "0 to 1000000000"});
    row({"title", "--count=-1"}, 2, {"'-1'", "0 to 1000000000"});
    row({"title", "-n", "1000000001"}, 2, {"'1000000001'"});
    row({"npc", "--seed", "x1"}, 2, {"'x1'", "18446744073709551615"});
    row({"title", "--format", "xml"}, 2, {"'xml'", "text, csv, json"});
    row({"character", "--nationality", "English"}, 2, {"'English'", "english, greek, japanese"});
    row({"character", "--gender", "f"}, 2, {"'f'", "male, female"});
    row({"npc", "--difficulty", "Easy"}, 2, {"'Easy'", "easy, medium, hard"});
    row({"title", "--difficulty", "hard"}, 2, {"--difficulty", "npc"});
    row({"title", "extra"}, 2, {"'extra'"});
    row({"title", "--data", "/nonexistent"}, 1,
        {"quillmere-batch: /nonexistent/adjectives-ect.quillmere: No such file or directory"});
    // What --unique could give comes before it says so.
    row({"character", "--nationality", "demon", "--unique", "-n", "100000"}, 1, {"only", "100000"});
}

void TestBatch::badInput()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QStringList, said);
    const Run run = batch(args);
    QCOMPARE(run.status, status);
    for (const QString& words : said)
        QVERIFY2(run.err.contains(words.toUtf8()), run.err.constData());
    QVERIFY(args.contains("--unique") ? run.out.count('\n') > 100 && run.out.count('\n') < 100000
                                      : run.out.isEmpty());
}

void TestBatch::output()
{
    // A reader that goes away ends the run quietly, long before a billion titles.
    QProcess shell;
    shell.start("bash", {"-c", "'" QUILLMERE_BUILD_DIR "/quillmere-batch' title -n 1000000000 | "
                               "head -1 >/dev/null; echo ${PIPESTATUS[0]}"});
    QVERIFY(shell.waitForFinished(20000));
    QCOMPARE(shell.readAllStandardOutput() + shell.readAllStandardError(), QByteArray("0\n"));
    // Output that cannot be written is told, with status 1.
    const Run full = batch({"title", "-n", "100000"}, "/dev/full");
    QVERIFY2(full.status == 1 && full.err.contains("No space left on device"), full.err.data());
    // --help is what the manual page is made from; --version names the program.
    QVERIFY(batch({"--help"}).out.startsWith("Usage: quillmere-batch COMMAND [OPTION]..."));
    QCOMPARE(batch({"npc", "--version"}).out, QByteArray("quillmere-batch (Quillmere) 1.0\n"));
}

void TestBatch::check()
{
    // The shipped lists and the test's own are clean.
    QCOMPARE(batch({"check"}).out, QByteArray("checked 20 word lists: nothing to fix\n"));
    QCOMPARE(batch({"check", m_lists.full("\\data")}).status, 0);
    // Each kind of fault, planted in a copy, is named with its file and line.
    const QString d = m_lists.full("\\data");
    QByteArray many;
    for (int i = 0; i < 32770; ++i)
        many += "W" + QByteArray::number(i) + "\r\n";
    const std::pair<const char*, QByteArray> faults[] = {
        {"adjectives-ect", "Dark\r\nNoun1\r\n\r\n  Lead\r\nTrail \r\ndark\r\nDark\nSe\xe1n\r\n"},
        {"greek/surnames", QByteArray("\xff\xfeG\0\r\0\n\0", 8)},
        {"items-objects", many}};
    for (const auto& [file, bytes] : faults)
        QFile::rename(d + "/" + file + ".quillmere", d + "/" + file + ".good");
    for (const auto& [file, bytes] : faults)
        m_lists.write(QString("\\data\\%1.quillmere").arg(file).replace('/', '\\'), bytes);
    QFile::rename(d + "/english/surnames.quillmere", d + "/english/surnames.good");
    const Run run = batch({"check", d});
    for (const char* file :
         {"adjectives-ect", "greek/surnames", "items-objects", "english/surnames"}) {
        QFile::remove(d + "/" + file + ".quillmere");
        QFile::rename(d + "/" + file + ".good", d + "/" + file + ".quillmere");
    }
    QCOMPARE(run.status, 1);
    QCOMPARE(QString::fromUtf8(run.out).split('\n'),
             QStringList({
                 d + "/adjectives-ect.quillmere:7: mixed line ends (7 CR LF, 1 LF); this is the "
                     "first line to end with LF",
                 d + "/adjectives-ect.quillmere:3: blank entry",
                 d + "/adjectives-ect.quillmere:4: \"  Lead\" begins with a space",
                 d + "/adjectives-ect.quillmere:5: \"Trail \" ends with a space",
                 d + "/adjectives-ect.quillmere:6: \"dark\" differs only in capitals from line 1 "
                     "(\"Dark\")",
                 d + "/adjectives-ect.quillmere:7: \"Dark\" repeats line 1",
                 d + u"/adjectives-ect.quillmere:8: \"Seán\" is not valid UTF-8; it was read as "
                     "Windows-1252"_qs,
                 d + "/items-objects.quillmere:32768: this line and the 2 after it are beyond the "
                     "32767 entries a list holds; they are never used",
                 d + "/english/surnames.quillmere: cannot be read: No such file or directory",
                 d + "/greek/surnames.quillmere: is written in UTF-16 LE, not UTF-8; it reads "
                     "correctly here, but other tools may not",
                 d + "/nouns-ect.quillmere:2: \"Noun1\" stands in " + d +
                     "/adjectives-ect.quillmere too (line 2), so a result can repeat it",
                 "checked 20 word lists: 11 findings in 5 of them",
                 "",
             }));
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
