// The result box: click selects all, double-click copies after Yes.
#include "resultbox.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestResultBox : public QObject {
    Q_OBJECT
private slots:
    void clickSelectsWholeText_data();
    void clickSelectsWholeText();
    void doubleClickCopiesOnlyOnYes_data();
    void doubleClickCopiesOnlyOnYes();
    void realConfirmationBox();
};

void TestResultBox::clickSelectsWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("x");
    QTest::newRow("two words, click left") << "Crimson Kingdom" << 5;
    QTest::newRow("two words, click right") << "Crimson Kingdom" << 190;
    QTest::newRow("trailing space") << "Niamh " << 100;
    QTest::newRow("empty") << "" << 100;
}

void TestResultBox::clickSelectsWholeText()
{
    QFETCH(QString, text);
    QFETCH(int, x);
    ResultBox box;
    box.resize(257, 27);
    box.setAlignment(Qt::AlignCenter);
    box.setText(text);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(x, 13));
    QCOMPARE(box.selectionStart(), text.isEmpty() ? -1 : 0);
    QCOMPARE(box.selectedText(), text);
}

void TestResultBox::doubleClickCopiesOnlyOnYes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << "Rusted Amulet" << true;
    QTest::newRow("no") << "Rusted Amulet" << false;
    QTest::newRow("yes keeps spaces") << " Saga" << true;
    QTest::newRow("yes on empty box") << "" << true;
    QTest::newRow("no on empty box") << "" << false;
}

void TestResultBox::doubleClickCopiesOnlyOnYes()
{
    QFETCH(QString, text);
    QFETCH(bool, yes);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("before");
    int asked = 0;
    QString selectedWhenAsked;
    ResultBox box;
    box.resize(257, 27);
    box.setText("generated");
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    ResultBox::SetConfirm([&](QWidget*) {
        ++asked;
        selectedWhenAsked = box.selectedText();
        box.setText(text); // what counts is the text at the moment of the answer
        return yes;
    });
    QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(100, 13));
    ResultBox::SetConfirm({});
    QCOMPARE(asked, 1);
    QCOMPARE(selectedWhenAsked, QString("generated"));
    QCOMPARE(clipboard->text(), yes ? text : QString("before"));
    if (yes)
        QCOMPARE(box.selectedText(), text);
}

void TestResultBox::realConfirmationBox()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const bool yes : {false, true}) {
        clipboard->setText("before");
        ResultBox box;
        box.setText("Frost Nova");
        box.show();
        QString title;
        QString message;
        bool noIcon = false;
        bool yesIsDefault = false;
        bool appModal = false;
        AnswerNextModal([&](QWidget* w) {
            auto* mb = qobject_cast<QMessageBox*>(w);
            QVERIFY(mb);
            title = mb->windowTitle();
            message = mb->text();
            noIcon = mb->icon() == QMessageBox::NoIcon;
            yesIsDefault =
                mb->defaultButton() == qobject_cast<QPushButton*>(mb->button(QMessageBox::Yes));
            appModal = mb->windowModality() == Qt::ApplicationModal;
            if (yes)
                QTest::keyClick(mb, Qt::Key_Return); // Enter answers Yes
            else
                mb->button(QMessageBox::No)->click();
        });
        box.CopyWithConfirmation();
        QCOMPARE(title, QString("Warning!"));
        QCOMPARE(message, QString("Are you sure you want to add the generation to clipboard?"));
        QVERIFY(noIcon);
        QVERIFY(yesIsDefault);
        QVERIFY(appModal);
        QCOMPARE(clipboard->text(), yes ? QString("Frost Nova") : QString("before"));
    }
}

QTEST_MAIN(TestResultBox)
#include "tst_resultbox.moc"
