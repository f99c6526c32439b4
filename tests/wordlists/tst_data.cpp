// The shipped word lists: every file the program names is there and no
// other, in the format it ships in, with enough distinct entries.
#include "nationalities.h"
#include "testsupport.h"
#include "twoword.h"

#include <QDirIterator>
#include <QSet>
#include <QStringDecoder>
#include <QtTest>

class TestData : public QObject {
    Q_OBJECT
private slots:
    void shippedLists_data();
    void shippedLists();
};

void TestData::shippedLists_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<bool>("ascii");
    const QHash<QString, int> minimum{
        {"english\\male_firstnames", 300},  {"english\\female_firstnames", 300},
        {"english\\surnames", 400},         {"greek\\male_firstnames", 200},
        {"greek\\female_firstnames", 200},  {"greek\\surnames", 300},
        {"japanese\\male_firstnames", 200}, {"japanese\\female_firstnames", 200},
        {"japanese\\surnames", 300},        {"gaelic\\gaelic_male", 200},
        {"gaelic\\gaelic_female", 200},     {"demon\\demon_names", 250}};
    QStringList named;
    for (const TwoWordFiles& f : {kTitleFiles, kItemFiles, kEquipmentFiles, kSkillFiles})
        named << f.primary << f.secondary;
    for (const QString& path : named)
        QTest::newRow(qPrintable(path)) << path << 250 << true;
    for (const Nationality& n : kNationalities) {
        for (const char* file : {n.maleFile, n.femaleFile, n.surnameFile}) {
            if (!file || named.contains(file))
                continue;
            named << file;
            const QString stem = QString(file).mid(6).chopped(10);
            QVERIFY2(minimum.contains(stem), qPrintable(stem));
            // Hepburn is written in ASCII; Gaelic keeps its accents.
            QTest::newRow(file) << QString(file) << minimum[stem] << (stem.startsWith("japanese"));
        }
    }
    // The program reads these twenty files and nothing else in data/.
    QStringList found;
    QDirIterator it(SourceDir() + "/data", {"*.quillmere"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next().mid(SourceDir().size()).replace('/', '\\');
    found.sort();
    named.sort();
    QCOMPARE(named.size(), 20);
    QCOMPARE(found, named);
}

void TestData::shippedLists()
{
    QFETCH(QString, path);
    QFETCH(int, minimum);
    QFETCH(bool, ascii);
    QFile file(SourceDir() + QString(path).replace('\\', '/'));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF") && bytes.endsWith("\r\n"), "BOM or no final CR LF");
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\r'));
    QStringDecoder utf8(QStringConverter::Utf8);
    QStringList entries = QString(utf8.decode(bytes)).split("\r\n");
    QVERIFY2(!utf8.hasError(), "not UTF-8");
    entries.removeLast();
    QVERIFY2(entries.size() >= minimum, qPrintable(QString::number(entries.size())));
    QSet<QString> distinct;
    for (const QString& entry : entries) {
        QVERIFY2(!entry.isEmpty() && entry == entry.trimmed() && entry.at(0).isUpper(),
                 qPrintable("'" + entry + "'"));
        QVERIFY2(entry.normalized(QString::NormalizationForm_C) == entry, qPrintable(entry));
        for (const QChar c : entry)
            QVERIFY2(c.isPrint() && (!ascii || c.unicode() < 128), qPrintable(entry));
        // No two entries differ only in letter case.
        QVERIFY2(!distinct.contains(entry.toCaseFolded()), qPrintable("duplicate " + entry));
        distinct.insert(entry.toCaseFolded());
    }
}

QTEST_MAIN(TestData)
#include "tst_data.moc"
