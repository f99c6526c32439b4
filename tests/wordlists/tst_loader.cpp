// The word-list reader and LoadWordList: line rules, encodings, failures,
// and the limits of a list.
#include "loadwordlist.h"
#include "problems.h"
#include "testsupport.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QtTest>
#include <sys/stat.h>

class TestLoader : public QObject {
    Q_OBJECT
private slots:
    void readsEntries_data();
    void readsEntries();
    void failuresAreToldOnceAndLeaveNothingOpen();
    void limits();
};

void TestLoader::readsEntries_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\nc\r\n") << abc;
    QTest::newRow("no final end") << QByteArray("a\r\nb\r\nc") << abc;
    QTest::newRow("lf, cr, mixed") << QByteArray("a\nb\rc\r\n") << abc;
    QTest::newRow("blank lines") << QByteArray("a\r\n\r\nb\r\n\r\n")
                                 << QStringList{"a", "", "b", ""};
    QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("kept as written") << QByteArray("  Lord of Ash \r\n\tx\r\nx\r\nx")
                                     << QStringList{"  Lord of Ash ", "\tx", "x", "x"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("utf-8, bom dropped once")
        << QByteArray("\xEF\xBB\xBFSe\xC3\xA1n\r\n\xEF\xBB\xBF")
        << QStringList{u"Seán"_qs, u"\uFEFF"_qs};
    QTest::newRow("windows-1252") << QByteArray("Se\xE1n\r\n\x80 \x93q\x94")
                                  << QStringList{u"Seán"_qs, u"€ “q”"_qs};
    QTest::newRow("broken utf-8") << QByteArray("caf\xC3") << QStringList{u"cafÃ"_qs};
    QTest::newRow("binary") << QByteArray("a\0b", 3) << QStringList{QString("a") + QChar(0) + "b"};
}

void TestLoader::readsEntries()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    TempExeDir exe;
    exe.write("\\data\\t.quillmere", bytes);
    WordListModel list;
    LoadWordList(list, "\\data\\t.quillmere");
    QCOMPARE(list.entries(), entries);
    QVERIFY(Problems::Pending().isEmpty());
    QCOMPARE(list.entry(list.count()), QString()); // past the end reads empty
}

void TestLoader::failuresAreToldOnceAndLeaveNothingOpen()
{
    TempExeDir exe;
    exe.write("\\data\\good.quillmere", QStringList{"one", "two"});
    QDir().mkpath(exe.full("\\data\\folder.quillmere"));
    QCOMPARE(::mkfifo(QFile::encodeName(exe.full("\\data\\pipe.quillmere")).constData(), 0600), 0);
    const QStringList bad{"\\data\\missing.quillmere", "\\nodata\\x.quillmere",
                          "\\data\\folder.quillmere", "\\data\\pipe.quillmere"};
    ProblemCatcher catcher;
    {
        Problems::Scope scope(nullptr);
        WordListModel list;
        list.append({"kept"});
        for (int i = 0; i < 500; ++i) // a leaked descriptor per failure would run out
            for (const QString& rel : bad)
                LoadWordList(list, rel);
        LoadWordList(list, "\\data\\good.quillmere");
        LoadWordList(list, "\\data\\good.quillmere"); // appends, never clears
        QCOMPARE(list.entries(), (QStringList{"kept", "one", "two", "one", "two"}));
    }
    QCOMPARE(catcher.messages.size(), 1);
    const QString message = catcher.messages.first();
    for (const QString& rel : bad)
        QVERIFY2(message.contains(exe.full(rel) + ": "), qPrintable(message));
    for (const char* reason : {"No such file or directory", "folder", "not a regular file"})
        QVERIFY2(message.contains(reason), reason);
}

void TestLoader::limits()
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
        QCOMPARE(list.entry(kMaxWordListEntries - 1), QString::number(kMaxWordListEntries - 3));
    }
    QCOMPARE(catcher.messages.size(), 1);
    QVERIFY(catcher.messages.first().contains(exe.full("\\data\\big.quillmere") +
                                              ": a list holds at most 32767"));

    // A file too big to be a word list is read up to its last whole line.
    QByteArray huge(kMaxWordListFileBytes - 3, 'x');
    huge += "\r\nnext\r\n" + QByteArray(1024, 'y');
    const WordListRead read = ReadWordListFile(exe.write("\\data\\huge.quillmere", huge));
    QCOMPARE(read.lines.size(), 1);
    QCOMPARE(read.lines.first().size(), kMaxWordListFileBytes - 3);
    QVERIFY(read.error.contains("64 MiB"));
}

QTEST_MAIN(TestLoader)
#include "tst_loader.moc"
