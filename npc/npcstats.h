#pragma once

#include <QString>
#include <array>

class QComboBox;
class QLineEdit;
class WordListModel;

// A statistic's value is drawn from floor to ceiling - 1.
struct StatRange {
    int floor;
    int ceiling;
};

// One statistic: its caption, the box that shows it, and its range at each
// difficulty.
struct StatRow {
    const char* label;
    const char* box;
    StatRange easy;
    StatRange medium;
    StatRange hard;
};

// The twelve statistics in the order they are rolled, which is not the order
// on screen; a different order would change which draw lands in which box.
inline constexpr std::array<StatRow, 12> kStatRows{{
    {"Max Hp:", "npc_maxhp", {100, 500}, {1000, 2000}, {5000, 10000}},
    {"Max Sp:", "npc_maxsp", {100, 500}, {1000, 1500}, {1000, 1700}},
    {"Intelligence:", "npc_intel", {10, 50}, {70, 150}, {100, 170}},
    {"Atk Power:", "npc_atp", {100, 110}, {110, 200}, {120, 250}},
    {"Strength:", "npc_strength", {30, 50}, {80, 170}, {100, 200}},
    {"P. Defense:", "npc_pdef", {80, 100}, {90, 140}, {100, 160}},
    {"M. Defense:", "npc_mdef", {80, 105}, {90, 140}, {100, 160}},
    {"Dexterity:", "npc_dex", {30, 50}, {90, 140}, {100, 160}},
    {"Agility:", "npc_agility", {40, 60}, {100, 140}, {100, 160}},
    {"Evasion:", "npc_evasion", {0, 0}, {0, 0}, {0, 0}},
    {"Exp:", "npc_exp", {1, 15}, {55, 90}, {130, 200}},
    {"M. Drop:", "npc_money", {5, 30}, {80, 150}, {150, 400}},
}};

// A difficulty as the drop-down shows it, and which column of the table it
// rolls with.
struct Difficulty {
    const char* text;
    StatRange StatRow::*range;
};

inline constexpr std::array<Difficulty, 3> kDifficulties{{
    {"Easy", &StatRow::easy},
    {"Medium", &StatRow::medium},
    {"Hard", &StatRow::hard},
}};

// The row whose box has this object name; nullptr when there is none.
const StatRow* StatRowForBox(const QString& box);

// Draws until floor(ceiling * r), with the product rounded to single
// precision, is at least `floor`. Every try takes one draw, so a ceiling and
// floor of 0 still take exactly one.
int RollStat(int ceiling, int floor);

// What the NPC Generate command reads and writes.
struct NpcControls {
    const WordListModel& names;
    QLineEdit& name;
    const QComboBox& difficulty;
    std::array<QLineEdit*, kStatRows.size()> stats; // in kStatRows order
};

// A random name from `names`, then, if the difficulty text is exactly one of
// the three, a fresh roll of every statistic. Any other text leaves the
// statistic boxes as they are.
void GenerateNpc(const NpcControls& controls);
