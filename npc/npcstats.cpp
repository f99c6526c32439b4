#include "npcstats.h"

#include "loadwordlist.h"
#include "random.h"
#include "wordlist.h"

#include <cmath>

void LoadNpcNames(WordListModel& names)
{
    for (const char* file : kNpcNameFiles)
        LoadWordList(names, QLatin1String(file));
}

const StatRow* StatRowForBox(const QString& box)
{
    for (const StatRow& row : kStatRows) {
        if (box == QLatin1String(row.box))
            return &row;
    }
    return nullptr;
}

int RollStat(int ceiling, int floor)
{
    for (;;) {
        const float r = RandomSource::Draw();
        // The product is rounded to single precision before its whole part
        // is taken; that rounding decides a few values at the edges.
        const float product = static_cast<float>(ceiling) * r;
        const int x = static_cast<int>(std::floor(product));
        if (x >= floor)
            return x;
    }
}

bool GenerateNpc(const WordListModel& names, const QString& difficulty,
                 const std::function<void(const QString&)>& name,
                 const std::function<void(std::size_t, int)>& stat)
{
    name(names.entry(PickIndex(names)));

    // Three separate exact tests: no trimming, no case folding, and a text
    // that matches none leaves the statistics alone.
    bool rolled = false;
    for (const Difficulty& level : kDifficulties) {
        if (difficulty != QLatin1String(level.text))
            continue;
        for (std::size_t i = 0; i < kStatRows.size(); ++i) {
            const StatRange& range = kStatRows[i].*level.range;
            stat(i, RollStat(range.ceiling, range.floor));
        }
        rolled = true;
    }
    return rolled;
}
