// The widgets of the word lists: the result box and its copy to the clipboard.
#include "guitestsupport.h"
#include "resultbox.h"

class TestWordListWidgets : public QObject {
    Q_OBJECT
private slots:
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

QTEST_MAIN(TestWordListWidgets)
#include "tst_wordlistwidgets.moc"
