// Word lists: the random pick and Generate, and the shipped files.
#include "random.h"
#include "testsupport.h"
#include "twoword.h"
#include "wordlist.h"

#include <QRegularExpression>

// Case and accents do not make two names different to a reader (Pól, Pòl).
static QSet<QString> Folded(const QStringList& texts)
{
    QSet<QString> set;
    for (const QString& text : texts)
        set << text.normalized(QString::NormalizationForm_D)
                   .removeIf([](QChar c) { return c.isMark(); })
                   .toCaseFolded();
    return set;
}

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

    void shippedLists()
    {
        // The twenty lists ship: CR LF only, UTF-8 without BOM, ASCII outside the name files,
        // no blank, padded or repeated (ignoring case and accents) entries, no singular beside its
        // plural. The loaders find them by name.
        int found = 0;
        for (QDirIterator it(SourceDir() + "/data", {"*.quillmere"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext(); ++found) {
            QFile file(it.next());
            const QString path = file.fileName().mid(SourceDir().size()).replace('/', '\\');
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
            const QStringList entries = ShippedLines(path);
            const QSet<QString> distinct = Folded(ShippedLines(path));
            const bool twoWord = path.count('\\') == 2;
            QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF") && bytes.endsWith("\r\n") &&
                         bytes.count("\r\n") == bytes.count('\n') &&
                         bytes.count('\r') == bytes.count('\n') &&
                         QString::fromUtf8(bytes).toUtf8() == bytes &&
                         entries.size() >= (twoWord ? 250 : 200) &&
                         distinct.size() == entries.size(),
                     qPrintable(path));
            for (const QString& entry : entries) {
                const bool ascii = entry.toLatin1() == entry.toUtf8();
                // A Greek woman cannot carry a masculine surname, so only the genitive forms
                // that both genders share may stand.
                QVERIFY2(!entry.isEmpty() && entry == entry.trimmed() && entry.at(0).isUpper() &&
                             (ascii || !(twoWord || path.contains("japanese"))) &&
                             (!path.endsWith("greek\\surnames.quillmere") || entry.endsWith("ou") ||
                              entry.endsWith("ous")),
                         qPrintable(entry));
            }
            const char* plurals[][2] = {{"", "s"},    {"", "es"},    {"y", "ies"},
                                        {"f", "ves"}, {"fe", "ves"}, {"man", "men"}};
            for (const QString& e : distinct)
                for (const auto& [singular, plural] : plurals)
                    QVERIFY2(!e.endsWith(singular) ||
                                 !distinct.contains(e.chopped(qstrlen(singular)) + plural),
                             qPrintable(path + ": " + e));
        }
        QCOMPARE(found, 20);
    }

    void shippedPairs()
    {
        // Two-word names of atrocities and hate slogans, and well-known titles, kept beside this
        // test: none of the first, and at most the recorded number of the second, can come out.
        QStringList names[2];
        for (int i = 0; i < 2; ++i) {
            QFile list(QFINDTESTDATA(i ? "famous-titles.txt" : "atrocities.txt"));
            QVERIFY(list.open(QIODevice::ReadOnly));
            names[i] = QString(list.readAll()).split('\n').filter(QRegularExpression("^[^#]"));
        }
        // Primary and secondary file, famous titles they may still make, and whether no entry may
        // be in both. Lost and Dark make most of what titles still can: they are the register.
        // Names may be surnames too (Scott, Izumi); the two famous ones are Max Payne and Ruby
        // Knight.
        const std::tuple<const char*, const char*, int, bool> pairs[] = {
            {"adjectives-ect", "nouns-ect", 12, true},
            {"items-des-ect", "items-objects", 0, true},
            {"equipment-ect", "equipment-objects", 1, true},
            {"skills-des-ect", "skills-objects", 0, true},
            {"english\\male_firstnames", "english\\surnames", 1, false},
            {"english\\female_firstnames", "english\\surnames", 1, false},
            {"greek\\male_firstnames", "greek\\surnames", 0, true},
            {"greek\\female_firstnames", "greek\\surnames", 0, true},
            {"japanese\\male_firstnames", "japanese\\surnames", 0, true},
            {"japanese\\female_firstnames", "japanese\\surnames", 0, false},
        };
        for (const auto& [primary, secondary, famousCeiling, disjoint] : pairs) {
            const auto first = Folded(ShippedLines(QString("\\data\\%1.quillmere").arg(primary)));
            const auto second =
                Folded(ShippedLines(QString("\\data\\%1.quillmere").arg(secondary)));
            // Generate joins the two entries with one space, and an entry may hold spaces itself.
            QStringList made[2];
            for (int i = 0; i < 2; ++i)
                for (const QString& name : names[i])
                    for (qsizetype at = name.indexOf(' '); at >= 0; at = name.indexOf(' ', at + 1))
                        if (first.contains(Folded({name.left(at)})) &&
                            second.contains(Folded({name.mid(at + 1)})))
                            made[i] << name;
            made[1].removeDuplicates();
            QVERIFY2(made[0].isEmpty() && made[1].size() <= famousCeiling,
                     qPrintable(made[0].join(", ") + " | " + made[1].join(", ")));
            QVERIFY2(!disjoint || !first.intersects(second),
                     qPrintable(QSet<QString>(first).intersect(second).values().join(", ")));
        }
    }
};

QTEST_MAIN(TestWordLists)
#include "tst_wordlists.moc"
