// Word lists: the random pick and Generate, the shipped files, and the
// result box.
#include "random.h"
#include "resultbox.h"
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

    void resultBox()
    {
        ResultBox box;
        box.setGeometry(0, 0, 257, 27);
        box.setAlignment(Qt::AlignCenter);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        // A click anywhere selects the whole text. A double-click asks; Yes copies what the box
        // holds when answered, No copies nothing.
        for (const QString text : {"Crimson Kingdom", "Niamh ", ""})
            for (const bool yes : {false, true}) {
                box.setText(text);
                QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 13));
                QCOMPARE(box.selectedText(), text);
                QGuiApplication::clipboard()->setText("before");
                QString seen;
                AnswerNextModal([&](QWidget* w) {
                    auto* mb = qobject_cast<QMessageBox*>(w);
                    seen = QString("%1|%2|%3|%4")
                               .arg(mb->windowTitle(), mb->text())
                               .arg(mb->icon())
                               .arg(mb->defaultButton() == mb->button(QMessageBox::Yes));
                    box.setText(text + "!");
                    QTest::keyClick(mb, yes ? Qt::Key_Return : Qt::Key_Escape);
                });
                QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(200, 13));
                QCOMPARE(seen,
                         "Warning!|Are you sure you want to add the generation to clipboard?|0|1");
                QCOMPARE(QGuiApplication::clipboard()->text() + "|" + box.selectedText(),
                         yes ? text + "!|" + text + "!" : QString("before|"));
            }
    }
};

QTEST_MAIN(TestWordLists)
#include "tst_wordlists.moc"
