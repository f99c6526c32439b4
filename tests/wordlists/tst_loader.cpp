// The word-list reader and LoadWordList: line rules, encodings, failures,
// and the entry limit of a list.
#include "loadwordlist.h"
#include "problems.h"
#include "testsupport.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QFile>
#include <QtTest>
#include <sys/stat.h>

class TestLoader : public QObject {
    Q_OBJECT
private slots:
    void lineRules_data();
    void lineRules();
    void encodings_data();
    void encodings();
    void failuresLeaveNothingOpen();
    void appendsWithoutClearing();
    void entryLimit();
    void oversizedFile();
};

void TestLoader::lineRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\nc\r\n") << abc;
    QTest::newRow("no final terminator") << QByteArray("a\r\nb\r\nc") << abc;
    QTest::newRow("lf only") << QByteArray("a\nb\nc\n") << abc;
    QTest::newRow("cr only") << QByteArray("a\rb\rc\r") << abc;
    QTest::newRow("mixed ends") << QByteArray("a\rb\nc\r\n") << abc;
    QTest::newRow("blank line") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("two terminators at end")
        << QByteArray("a\r\nb\r\n\r\n") << QStringList{"a", "b", ""};
    QTest::newRow("lf then cr is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("spaces kept") << QByteArray("  word \r\n\tx\r\n")
                                 << QStringList{"  word ", "\tx"};
    QTest::newRow("several words") << QByteArray("Lord of Ash\r\n") << QStringList{"Lord of Ash"};
    QTest::newRow("repeats kept") << QByteArray("a\r\na\r\n") << QStringList{"a", "a"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("only a terminator") << QByteArray("\r\n") << QStringList{""};
}

void TestLoader::lineRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    TempExeDir exe;
    exe.write("\\data\\t.quillmere", bytes);
    WordListModel list;
    ProblemCatcher problems;
    LoadWordList(list, "\\data\\t.quillmere");
    QCOMPARE(list.entries(), entries);
    QVERIFY(Problems::Pending().isEmpty());
}

void TestLoader::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("utf-8") << QByteArray("Se\xC3\xA1n\r\nM\xC3\xB2rag\r\n")
                           << QStringList{u"Seán"_qs, u"Mòrag"_qs};
    QTest::newRow("utf-8 with bom")
        << QByteArray("\xEF\xBB\xBFNiamh\r\nAoife\r\n") << QStringList{"Niamh", "Aoife"};
    QTest::newRow("bom only in first entry")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QStringList{u"\uFEFFx"_qs};
    QTest::newRow("windows-1252") << QByteArray("Se\xE1n\r\n\x80uro \x93q\x94\r\n")
                                  << QStringList{u"Seán"_qs, u"€uro “q”"_qs};
    QTest::newRow("truncated utf-8 falls back") << QByteArray("caf\xC3") << QStringList{u"cafÃ"_qs};
    QTest::newRow("binary with nul")
        << QByteArray("a\0b\r\n", 5) << QStringList{QString("a") + QChar(0) + "b"};
}

void TestLoader::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QCOMPARE(SplitWordListLines(DecodeWordListBytes(bytes)), entries);
}

void TestLoader::failuresLeaveNothingOpen()
{
    TempExeDir exe;
    exe.write("\\data\\good.quillmere", QStringList{"one", "two"});
    QDir().mkpath(exe.full("\\data\\folder.quillmere"));
    QVERIFY(::mkfifo(QFile::encodeName(exe.full("\\data\\pipe.quillmere")).constData(), 0600) == 0);

    const QStringList bad{"\\data\\missing.quillmere", "\\nodata\\x.quillmere",
                          "\\data\\folder.quillmere", "\\data\\pipe.quillmere"};
    ProblemCatcher catcher;
    {
        Problems::Scope scope(nullptr);
        WordListModel list;
        list.append({"kept"});
        for (const QString& rel : bad) {
            LoadWordList(list, rel);
            QCOMPARE(list.entries(), QStringList{"kept"});
        }
        // Nothing stayed open or locked: a good file still loads after them.
        for (int i = 0; i < 2000; ++i) {
            WordListModel again;
            LoadWordList(again, "\\data\\missing.quillmere");
        }
        LoadWordList(list, "\\data\\good.quillmere");
        QCOMPARE(list.entries(), (QStringList{"kept", "one", "two"}));
    }
    // One message for the whole action, naming every failed file and why.
    QCOMPARE(catcher.messages.size(), 1);
    const QString message = catcher.messages.first();
    for (const QString& rel : bad)
        QVERIFY2(message.contains(exe.full(rel)), qPrintable(message));
    QVERIFY(message.contains("No such file or directory"));
    QVERIFY(message.contains("folder"));
    QVERIFY(message.contains("not a regular file"));
}

void TestLoader::appendsWithoutClearing()
{
    TempExeDir exe;
    exe.write("\\data\\a.quillmere", QStringList{"x", "y"});
    exe.write("\\data\\b.quillmere", QStringList{"y", "z"});
    WordListModel list;
    LoadWordList(list, "\\data\\a.quillmere");
    LoadWordList(list, "\\data\\b.quillmere");
    QCOMPARE(list.entries(), (QStringList{"x", "y", "y", "z"}));
    QCOMPARE(list.entry(3), QString("z"));
    QCOMPARE(list.entry(4), QString());
    QCOMPARE(list.entry(-1), QString());
    QCOMPARE(WordListModel().entry(0), QString());
}

void TestLoader::entryLimit()
{
    TempExeDir exe;
    QByteArray bytes;
    for (int i = 0; i < kMaxWordListEntries + 5; ++i)
        bytes += QByteArray::number(i) + "\r\n";
    exe.write("\\data\\big.quillmere", bytes);
    exe.write("\\data\\small.quillmere", QStringList{"s1", "s2"});

    ProblemCatcher catcher;
    {
        Problems::Scope scope(nullptr);
        WordListModel list;
        LoadWordList(list, "\\data\\small.quillmere");
        LoadWordList(list, "\\data\\big.quillmere");
        QCOMPARE(list.count(), kMaxWordListEntries);
        QCOMPARE(list.entry(2), QString("0"));
        QCOMPARE(list.entry(kMaxWordListEntries - 1), QString::number(kMaxWordListEntries - 3));
    }
    QCOMPARE(catcher.messages.size(), 1);
    QVERIFY(catcher.messages.first().contains(exe.full("\\data\\big.quillmere")));
    QVERIFY(catcher.messages.first().contains("32767"));

    // Exactly at the limit is no problem.
    bytes.clear();
    for (int i = 0; i < kMaxWordListEntries; ++i)
        bytes += "w\r\n";
    exe.write("\\data\\full.quillmere", bytes);
    const WordListRead read = ReadWordListFile(exe.full("\\data\\full.quillmere"));
    QCOMPARE(read.lines.size(), kMaxWordListEntries);
    QVERIFY(read.error.isEmpty());
}

void TestLoader::oversizedFile()
{
    TempExeDir exe;
    // One line far larger than the reading limit, then more lines.
    QByteArray bytes(kMaxWordListFileBytes - 3, 'x');
    bytes += "\r\nnext\r\n" + QByteArray(1024, 'y');
    const QString path = exe.write("\\data\\huge.quillmere", bytes);
    const WordListRead read = ReadWordListFile(path);
    QCOMPARE(read.lines.size(), 1);
    QCOMPARE(read.lines.first().size(), kMaxWordListFileBytes - 3);
    QVERIFY(read.truncated);
    QVERIFY(read.error.contains("64 MiB"));
}

QTEST_MAIN(TestLoader)
#include "tst_loader.moc"
