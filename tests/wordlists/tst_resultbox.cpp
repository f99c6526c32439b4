// The result box: a click selects all, a double-click copies after Yes.
#include "resultbox.h"
#include "testsupport.h"

#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestResultBox : public QObject {
    Q_OBJECT
private slots:
    void clicks_data();
    void clicks();
    void realConfirmationBox();
};

void TestResultBox::clicks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("yes");
    QTest::newRow("left, yes") << "Crimson Kingdom" << 5 << true;
    QTest::newRow("right, no") << "Crimson Kingdom" << 190 << false;
    QTest::newRow("trailing space, yes") << "Niamh " << 100 << true;
    QTest::newRow("empty, yes") << "" << 100 << true;
    QTest::newRow("empty, no") << "" << 100 << false;
}

void TestResultBox::clicks()
{
    QFETCH(QString, text);
    QFETCH(int, x);
    QFETCH(bool, yes);
    ResultBox box;
    box.setGeometry(0, 0, 257, 27);
    box.setAlignment(Qt::AlignCenter);
    box.setText(text);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(x, 13));
    QCOMPARE(box.selectedText(), text);
    QCOMPARE(box.selectionStart(), text.isEmpty() ? -1 : 0);

    QGuiApplication::clipboard()->setText("before");
    int asked = 0;
    ResultBox::SetConfirm([&](QWidget*) {
        ++asked;
        [&] { QCOMPARE(box.selectedText(), text); }();
        box.setText(text + "typed"); // the text at the moment of the answer counts
        return yes;
    });
    QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(x, 13));
    ResultBox::SetConfirm({});
    QCOMPARE(asked, 1);
    QCOMPARE(QGuiApplication::clipboard()->text(), yes ? text + "typed" : QString("before"));
    if (yes)
        QCOMPARE(box.selectedText(), text + "typed");
}

void TestResultBox::realConfirmationBox()
{
    for (const bool yes : {false, true}) {
        QGuiApplication::clipboard()->setText("before");
        ResultBox box;
        box.setText("Frost Nova");
        QString seen;
        AnswerNextModal([&](QWidget* w) {
            auto* mb = qobject_cast<QMessageBox*>(w);
            QVERIFY(mb);
            const bool yesDefault =
                mb->defaultButton() == qobject_cast<QPushButton*>(mb->button(QMessageBox::Yes));
            seen = QString("%1|%2|%3|%4|%5")
                       .arg(mb->windowTitle(), mb->text())
                       .arg(mb->icon())
                       .arg(yesDefault)
                       .arg(mb->windowModality());
            if (yes)
                QTest::keyClick(mb, Qt::Key_Return); // Enter answers Yes
            else
                mb->button(QMessageBox::No)->click();
        });
        box.CopyWithConfirmation();
        QCOMPARE(
            seen,
            QString("Warning!|Are you sure you want to add the generation to clipboard?|0|1|%1")
                .arg(Qt::ApplicationModal));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 yes ? QString("Frost Nova") : QString("before"));
    }
}

QTEST_MAIN(TestResultBox)
#include "tst_resultbox.moc"
