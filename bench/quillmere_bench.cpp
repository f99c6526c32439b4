// Timings of what the user waits for: a mode load into the two list boxes,
// shown and painted, against reading the same files alone.
#include "choicebox.h"
#include "form1.h"
#include "form2.h"
#include "nationalities.h"
#include "npcstats.h"
#include "paths.h"
#include "problems.h"
#include "twoword.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

QTemporaryDir* g_dir = nullptr;
std::unique_ptr<Form1> g_form;

void writeList(const QString& relative, int lines, const char* stem)
{
    QString path = g_dir->path() + relative;
    path.replace('\\', '/');
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += stem + QByteArray::number(i * 7919 % 100000) + "\r\n";
    file.write(bytes);
}

// A data folder where every list is full: 32,767 entries each.
void makeData()
{
    const int full = kMaxWordListEntries;
    writeList("\\data\\adjectives-ect.quillmere", full, "Shattered");
    writeList("\\data\\nouns-ect.quillmere", full, "Kingdom");
    writeList("\\data\\english\\male_firstnames.quillmere", full, "Edmund");
    writeList("\\data\\english\\female_firstnames.quillmere", full, "Eleanor");
    writeList("\\data\\english\\surnames.quillmere", full, "Hargreaves");
    writeList("\\data\\items-des-ect.quillmere", 300, "Gilded");
    writeList("\\data\\items-objects.quillmere", 300, "Chalice");
    writeList("\\data\\demon\\demon_names.quillmere", 300, "Vaskareth");
    writeList("\\data\\gaelic\\gaelic_male.quillmere", 300, "Eoghan");
}

void paint(Form1& form)
{
    QCoreApplication::processEvents();
    form.repaint();
}

// Reading and splitting a mode's files alone: the yardstick for what the
// window adds on top.
void BM_ReadAlone(benchmark::State& state, std::vector<const char*> files)
{
    for (auto _ : state) {
        qsizetype lines = 0;
        for (const char* file : files)
            lines += ReadWordListFile(FullPath(QLatin1String(file))).lines.size();
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK_CAPTURE(BM_ReadAlone, Title, {kTitleFiles.primary, kTitleFiles.secondary})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadAlone, Character,
                  {kNationalities[0].maleFile, kNationalities[0].surnameFile})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadAlone, Female, {kNationalities[0].femaleFile})
    ->Unit(benchmark::kMillisecond);

void BM_TitleModeLoadPainted(benchmark::State& state)
{
    Form1& form = *g_form;
    for (auto _ : state) {
        form.SwitchMode(1);
        paint(form);
    }
    if (form.prim_words->words().count() != kMaxWordListEntries)
        state.SkipWithError("lists did not fill");
}
BENCHMARK(BM_TitleModeLoadPainted)->Unit(benchmark::kMillisecond);

void BM_CharacterModeSwitchPainted(benchmark::State& state)
{
    Form1& form = *g_form;
    for (auto _ : state) {
        form.SwitchMode(2);
        paint(form);
        state.PauseTiming();
        form.SwitchMode(3); // leave the mode so the next switch is a real one
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CharacterModeSwitchPainted)->Unit(benchmark::kMillisecond);

void BM_GenderChangePainted(benchmark::State& state)
{
    Form1& form = *g_form;
    form.SwitchMode(2);
    const int female = form.char_sex->findText("Female");
    const int male = form.char_sex->findText("Male");
    bool toFemale = true;
    for (auto _ : state) {
        form.char_sex->setCurrentIndex(toFemale ? female : male);
        emit form.char_sex->activated(form.char_sex->currentIndex());
        paint(form);
        toFemale = !toFemale;
    }
}
BENCHMARK(BM_GenderChangePainted)->Unit(benchmark::kMillisecond);

void BM_GenerateTitle(benchmark::State& state)
{
    Form1& form = *g_form;
    form.SwitchMode(1);
    for (auto _ : state)
        form.Command1->click();
}
BENCHMARK(BM_GenerateTitle)->Unit(benchmark::kMicrosecond);

// One press of the NPC window's "Generate" at each difficulty, as the
// button does it.
void BM_NpcGenerate(benchmark::State& state)
{
    Form2 npc;
    npc.npc_diff->setEditText(QString::fromLatin1(kDifficulties[state.range(0)].text));
    for (auto _ : state)
        npc.Command1->click();
    state.SetLabel(kDifficulties[state.range(0)].text);
}
BENCHMARK(BM_NpcGenerate)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The slowest roll: Easy "Atk Power:" accepts 10 values out of 110, so it
// takes eleven draws on average.
void BM_SlowestRoll(benchmark::State& state)
{
    const StatRange range = kStatRows[3].easy;
    for (auto _ : state)
        benchmark::DoNotOptimize(RollStat(range.ceiling, range.floor));
}
BENCHMARK(BM_SlowestRoll)->Unit(benchmark::kNanosecond);

// Prints each window operation's median next to the median of reading its
// files alone.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median")
                m_median[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const std::pair<const char*, const char*> pairs[] = {
            {"BM_TitleModeLoadPainted", "BM_ReadAlone/Title"},
            {"BM_CharacterModeSwitchPainted", "BM_ReadAlone/Character"},
            {"BM_GenderChangePainted", "BM_ReadAlone/Female"},
        };
        std::printf("\nMedian window time against reading the same files alone:\n");
        for (const auto& [window, alone] : pairs) {
            if (!m_median.count(window) || !m_median.count(alone))
                continue;
            std::printf("  %-32s %8.2f ms  /  %-28s %8.2f ms  = ratio %.2f\n", window,
                        m_median[window], alone, m_median[alone],
                        m_median[window] / m_median[alone]);
        }
    }

private:
    std::map<std::string, double> m_median;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    SetExecutableDirForTesting(dir.path());
    makeData();
    // A benchmark must never sit waiting on a message box.
    Problems::SetNotifier([](QObject*, const QString& message) {
        qFatal("benchmark data is incomplete: %s", qPrintable(message));
    });
    g_form = std::make_unique<Form1>();
    g_form->show();
    paint(*g_form);

    std::vector<char*> args(argv, argv + argc);
    std::string reps = "--benchmark_repetitions=15";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    args.push_back(reps.data());
    args.push_back(aggregates.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    g_form.reset();
    return 0;
}
