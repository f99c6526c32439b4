#include "npcstats.h"

#include "random.h"
#include "wordlist.h"

#include <QComboBox>
#include <QLineEdit>
#include <cmath>

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

void GenerateNpc(const NpcControls& controls)
{
    controls.name.setText(controls.names.entry(PickIndex(controls.names)));

    // Three separate exact tests: no trimming, no case folding, and a text
    // that matches none leaves the statistics alone.
    for (const Difficulty& difficulty : kDifficulties) {
        if (controls.difficulty.currentText() != QLatin1String(difficulty.text))
            continue;
        for (std::size_t i = 0; i < kStatRows.size(); ++i) {
            const StatRange& range = kStatRows[i].*difficulty.range;
            // Written at once, so each box holds its value before the next
            // statistic takes its draws.
            controls.stats[i]->setText(QString::number(RollStat(range.ceiling, range.floor)));
        }
    }
}
