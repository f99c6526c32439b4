// Word lists: the random pick and Generate.
#include "random.h"
#include "testsupport.h"
#include "twoword.h"
#include "wordlist.h"

class TestWordLists : public QObject {
    Q_OBJECT
private slots:
    void phrase()
    {
        const QStringList adj{"Crimson", "Silent", "Eternal"}, noun{"Kingdom", "Saga"};
        const std::tuple<QStringList, QStringList, float, float, QString> rows[] = {
            {adj, noun, 0.0f, kLargestBelowOne, "Crimson Saga"},
            {adj, noun, kLargestBelowOne, 0.0f, "Eternal Kingdom"},
            {adj, noun, 1.0f / 3, 0.49999997f, "Silent Kingdom"},
            {{}, {}, 0.1f, kLargestBelowOne, " "},
            {{""}, {" the Rings "}, 0.3f, 0.6f, "  the Rings "}};
        for (const auto& [prim, second, r1, r2, result] : rows) {
            WordListModel p, s;
            p.append(prim);
            s.append(second);
            ScriptedDraws draws({r1, r2});
            QCOMPARE(GeneratePhrase(p, s), result);
            QCOMPARE(draws.used, 2);
        }
        QCOMPARE(PickIndexFor(32767, kLargestBelowOne), 32766);
        // The real source: 24-bit draws, below one.
        RandomSource::SeedFromClock();
        for (int i = 0; i < 100000; ++i) {
            const float r = RandomSource::Draw();
            QVERIFY(r >= 0.0f && r < 1.0f && r * 16777216.0f == std::floor(r * 16777216.0f));
        }
    }
};

QTEST_MAIN(TestWordLists)
#include "tst_wordlists.moc"
