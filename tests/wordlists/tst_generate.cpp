// The random source, the random pick and the two-word Generate command.
#include "problems.h"
#include "random.h"
#include "testsupport.h"
#include "twoword.h"
#include "wordlist.h"

#include <QtTest>

class TestGenerate : public QObject {
    Q_OBJECT
private slots:
    void pick_data();
    void pick();
    void realDrawsAre24BitsBelowOne();
    void phrase_data();
    void phrase();
    void loadersReplaceBothLists();
};

void TestGenerate::pick_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<float>("draw");
    QTest::addColumn<int>("index");
    QTest::newRow("zero picks first") << 10 << 0.0f << 0;
    QTest::newRow("largest draw picks last") << 10 << kLargestBelowOne << 9;
    QTest::newRow("largest draw, full list") << 32767 << kLargestBelowOne << 32766;
    QTest::newRow("empty list") << 0 << kLargestBelowOne << 0;
    QTest::newRow("boundary") << 4 << 0.25f << 1;
    QTest::newRow("below boundary") << 4 << std::nextafter(0.25f, 0.0f) << 0;
}

void TestGenerate::pick()
{
    QFETCH(int, count);
    QFETCH(float, draw);
    QFETCH(int, index);
    QCOMPARE(PickIndexFor(count, draw), index);
}

void TestGenerate::realDrawsAre24BitsBelowOne()
{
    RandomSource::SeedFromClock();
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int i = 0; i < 200000; ++i) {
        const float r = RandomSource::Draw();
        QVERIFY(r >= 0.0f && r < 1.0f);
        QCOMPARE(r * 16777216.0f, std::floor(r * 16777216.0f));
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    QVERIFY(lowest < 0.001f && highest > 0.999f);
}

void TestGenerate::phrase_data()
{
    QTest::addColumn<QStringList>("prim");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<float>("r1");
    QTest::addColumn<float>("r2");
    QTest::addColumn<QString>("result");
    const QStringList adj{"Crimson", "Silent", "Eternal"};
    const QStringList noun{"Kingdom", "Saga"};
    QTest::newRow("first, last") << adj << noun << 0.0f << kLargestBelowOne << "Crimson Saga";
    QTest::newRow("last, first") << adj << noun << kLargestBelowOne << 0.0f << "Eternal Kingdom";
    QTest::newRow("empty secondary") << adj << QStringList{} << 0.5f << 0.5f << "Silent ";
    QTest::newRow("empty primary") << QStringList{} << noun << 0.5f << 0.5f << " Saga";
    QTest::newRow("both empty") << QStringList{} << QStringList{} << 0.1f << 0.9f << " ";
    QTest::newRow("blank entry") << QStringList{""} << noun << 0.0f << 0.0f << " Kingdom";
    QTest::newRow("several words") << QStringList{"Lord  of"} << QStringList{" the Rings "} << 0.3f
                                   << 0.6f << "Lord  of  the Rings ";
}

void TestGenerate::phrase()
{
    QFETCH(QStringList, prim);
    QFETCH(QStringList, second);
    QFETCH(float, r1);
    QFETCH(float, r2);
    QFETCH(QString, result);
    WordListModel p;
    WordListModel s;
    p.append(prim);
    s.append(second);
    ScriptedDraws draws{r1, r2};
    QCOMPARE(GeneratePhrase(p, s), result);
    QCOMPARE(draws.used(), 2);
}

void TestGenerate::loadersReplaceBothLists()
{
    const std::pair<TwoWordFiles, void (*)(WordListModel&, WordListModel&)> modes[] = {
        {kTitleFiles, LoadTitleWords},
        {kItemFiles, LoadItemWords},
        {kEquipmentFiles, LoadEquipmentWords},
        {kSkillFiles, LoadSkillWords}};
    for (const auto& [files, load] : modes) {
        TempExeDir exe;
        WordListModel prim;
        WordListModel second;
        prim.append({"old"});
        second.append({"old"});
        // Only the secondary file exists: the primary list is emptied all the same.
        exe.write(files.secondary, QStringList{"S1", "S2"});
        ProblemCatcher catcher;
        load(prim, second);
        QCOMPARE(prim.count(), 0);
        QCOMPARE(second.entries(), (QStringList{"S1", "S2"}));
        exe.write(files.primary, QStringList{"P1"});
        load(prim, second);
        load(prim, second);
        QCOMPARE(prim.entries(), QStringList{"P1"});
        QCOMPARE(second.entries(), (QStringList{"S1", "S2"}));
    }
}

QTEST_MAIN(TestGenerate)
#include "tst_generate.moc"
