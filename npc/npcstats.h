#pragma once

#include <QString>
#include <array>
#include <functional>

class WordListModel;

// A statistic's value is drawn from floor to ceiling - 1.
struct StatRange {
    int floor;
    int ceiling;
};

// One statistic: its caption, the box that shows it, the name a game engine
// imports it under, and its range at each difficulty.
struct StatRow {
    const char* label;
    const char* box;
    const char* key;
    StatRange easy;
    StatRange medium;
    StatRange hard;
};

// The twelve statistics in the order they are rolled, which is not the order
// on screen; a different order would change which draw lands in which box.
inline constexpr std::array<StatRow, 12> kStatRows{{
    {"Max Hp:", "npc_maxhp", "max_hp", {100, 500}, {1000, 2000}, {5000, 10000}},
    {"Max Sp:", "npc_maxsp", "max_sp", {100, 500}, {1000, 1500}, {1000, 1700}},
    {"Intelligence:", "npc_intel", "intelligence", {10, 50}, {70, 150}, {100, 170}},
    {"Atk Power:", "npc_atp", "atk_power", {100, 110}, {110, 200}, {120, 250}},
    {"Strength:", "npc_strength", "strength", {30, 50}, {80, 170}, {100, 200}},
    {"P. Defense:", "npc_pdef", "p_defense", {80, 100}, {90, 140}, {100, 160}},
    {"M. Defense:", "npc_mdef", "m_defense", {80, 105}, {90, 140}, {100, 160}},
    {"Dexterity:", "npc_dex", "dexterity", {30, 50}, {90, 140}, {100, 160}},
    {"Agility:", "npc_agility", "agility", {40, 60}, {100, 140}, {100, 160}},
    {"Evasion:", "npc_evasion", "evasion", {0, 0}, {0, 0}, {0, 0}},
    {"Exp:", "npc_exp", "exp", {1, 15}, {55, 90}, {130, 200}},
    {"M. Drop:", "npc_money", "m_drop", {5, 30}, {80, 150}, {150, 400}},
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

// The files the candidate names come from, in loading order.
inline constexpr std::array<const char*, 2> kNpcNameFiles{"\\data\\demon\\demon_names.quillmere",
                                                          "\\data\\gaelic\\gaelic_male.quillmere"};

// Appends the candidate names of every name file, in order, to `names`.
void LoadNpcNames(WordListModel& names);

// The row whose box has this object name; nullptr when there is none.
const StatRow* StatRowForBox(const QString& box);

// Draws until floor(ceiling * r), with the product rounded to single
// precision, is at least `floor`. Every try takes one draw, so a ceiling and
// floor of 0 still take exactly one.
int RollStat(int ceiling, int floor);

// One NPC: a random name from `names` goes to `name`; then, if `difficulty`
// is exactly one of the three texts, every statistic is rolled in table
// order and handed to `stat` (its row in kStatRows and its value) before the
// next one is rolled. Any other text rolls nothing. Returns whether the
// statistics were rolled.
bool GenerateNpc(const WordListModel& names, const QString& difficulty,
                 const std::function<void(const QString&)>& name,
                 const std::function<void(std::size_t, int)>& stat);
