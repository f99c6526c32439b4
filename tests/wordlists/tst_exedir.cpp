// The real executable finds data/ beside its real file, wherever it is
// started from and through whatever symlink.
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

class TestExeDir : public QObject {
    Q_OBJECT
private slots:
    void findsDataBesideTheRealFile();
};

namespace {
// Starts the program, lets it load, and returns what it said on stderr.
QString runFor(const QString& program, const QString& workingDir)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir);
    process.start(program, {});
    if (!process.waitForStarted(5000))
        return "quillmere: did not start";
    // Start-up reads its lists before the event loop runs; a second is plenty.
    process.waitForFinished(1500);
    process.kill();
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardError());
}
} // namespace

void TestExeDir::findsDataBesideTheRealFile()
{
    const QString real = QStringLiteral(QUILLMERE_BUILD_DIR) + "/quillmere";
    QVERIFY(QFile::exists(real));
    QVERIFY(QFile::exists(QStringLiteral(QUILLMERE_BUILD_DIR) + "/data/nouns-ect.quillmere"));
    QTemporaryDir elsewhere;
    QVERIFY(QDir(elsewhere.path()).mkpath("bin"));

    // Through a symlink in a bin/ folder, started from an unrelated folder.
    const QString link = elsewhere.path() + "/bin/quillmere";
    QVERIFY(QFile::link(real, link));
    const QString viaLink = runFor(link, QDir::rootPath());
    QVERIFY2(!viaLink.contains("quillmere: "), qPrintable(viaLink));

    // A copy without data beside it says which files it could not read.
    const QString copy = elsewhere.path() + "/copy";
    QVERIFY(QFile::copy(real, copy));
    const QString viaCopy = runFor(copy, QStringLiteral(QUILLMERE_BUILD_DIR));
    QVERIFY2(viaCopy.contains(elsewhere.path() + "/data/adjectives-ect.quillmere: No such file"),
             qPrintable(viaCopy));
}

QTEST_MAIN(TestExeDir)
#include "tst_exedir.moc"
