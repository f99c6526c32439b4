// The shipped word lists: every file the program names is there, in the
// format it is meant to ship in, with enough distinct entries.
#include "nationalities.h"
#include "testsupport.h"
#include "twoword.h"

#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <QtTest>

class TestData : public QObject {
    Q_OBJECT
private slots:
    void shippedLists_data();
    void shippedLists();
    void noStrayFiles();
};

void TestData::shippedLists_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<bool>("asciiOnly");
    QTest::addColumn<bool>("caseInsensitiveUnique");
    for (const TwoWordFiles& f : {kTitleFiles, kItemFiles, kEquipmentFiles, kSkillFiles}) {
        QTest::newRow(f.primary) << QString(f.primary) << 250 << true << true;
        QTest::newRow(f.secondary) << QString(f.secondary) << 250 << true << true;
    }
    const QHash<QString, int> minimum{
        {"\\data\\english\\male_firstnames.quillmere", 300},
        {"\\data\\english\\female_firstnames.quillmere", 300},
        {"\\data\\english\\surnames.quillmere", 400},
        {"\\data\\greek\\male_firstnames.quillmere", 200},
        {"\\data\\greek\\female_firstnames.quillmere", 200},
        {"\\data\\greek\\surnames.quillmere", 300},
        {"\\data\\japanese\\male_firstnames.quillmere", 200},
        {"\\data\\japanese\\female_firstnames.quillmere", 200},
        {"\\data\\japanese\\surnames.quillmere", 300},
        {"\\data\\gaelic\\gaelic_male.quillmere", 200},
        {"\\data\\gaelic\\gaelic_female.quillmere", 200},
        {"\\data\\demon\\demon_names.quillmere", 250},
    };
    QSet<QString> seen;
    for (const Nationality& n : kNationalities) {
        for (const char* file : {n.maleFile, n.femaleFile, n.surnameFile}) {
            if (!file || seen.contains(file))
                continue;
            seen.insert(file);
            QVERIFY2(minimum.contains(file), file);
            // Hepburn is written in ASCII; Gaelic keeps its accents.
            const bool ascii = QString(n.key) == "japanese";
            QTest::newRow(file) << QString(file) << minimum.value(file) << ascii
                                << (QString(n.key) == "demon");
        }
    }
    QCOMPARE(seen.size(), minimum.size());
}

void TestData::shippedLists()
{
    QFETCH(QString, relativePath);
    QFETCH(int, minimum);
    QFETCH(bool, asciiOnly);
    QFETCH(bool, caseInsensitiveUnique);
    QString rel = relativePath;
    QFile file(SourceDir() + rel.replace('\\', '/'));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray bytes = file.readAll();

    QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF"), "byte-order mark");
    QVERIFY2(bytes.endsWith("\r\n"), "last line has no CR LF");
    QCOMPARE(bytes.count('\r'), bytes.count('\n'));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    QVERIFY2(!utf8.hasError(), "not UTF-8");

    QStringList entries = text.split("\r\n");
    entries.removeLast();
    QVERIFY2(entries.size() >= minimum, qPrintable(QString::number(entries.size())));
    QSet<QString> distinct;
    for (const QString& entry : entries) {
        QVERIFY2(!entry.isEmpty(), "blank line");
        QVERIFY2(entry == entry.trimmed(), qPrintable("blanks around '" + entry + "'"));
        QVERIFY2(entry.normalized(QString::NormalizationForm_C) == entry, qPrintable(entry));
        for (const QChar c : entry) {
            QVERIFY2(c.isPrint(), qPrintable("control character in " + entry));
            if (asciiOnly)
                QVERIFY2(c.unicode() < 128, qPrintable("not ASCII: " + entry));
        }
        QVERIFY2(entry.at(0).isUpper(), qPrintable("not capitalised: " + entry));
        const QString key = caseInsensitiveUnique ? entry.toCaseFolded() : entry;
        QVERIFY2(!distinct.contains(key), qPrintable("duplicate: " + entry));
        distinct.insert(key);
    }
}

void TestData::noStrayFiles()
{
    // The program reads twenty files and nothing else; anything more in data/
    // would be a list nobody loads.
    QStringList found;
    QDirIterator it(SourceDir() + "/data", {"*.quillmere"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next().mid(SourceDir().size()).replace('/', '\\');
    found.sort();
    QStringList named;
    for (const TwoWordFiles& f : {kTitleFiles, kItemFiles, kEquipmentFiles, kSkillFiles})
        named << f.primary << f.secondary;
    for (const Nationality& n : kNationalities)
        for (const char* file : {n.maleFile, n.femaleFile, n.surnameFile})
            if (file && !named.contains(file))
                named << file;
    named.sort();
    QCOMPARE(named.size(), 20);
    QCOMPARE(found, named);
}

QTEST_MAIN(TestData)
#include "tst_data.moc"
