#pragma once

#include <QString>
#include <limits>

class WordListModel;

// The pair of files one two-word mode loads: the primary file fills the list
// whose words stand first in a result, the secondary file the other.
struct TwoWordFiles {
    const char* primary;
    const char* secondary;
};

inline constexpr TwoWordFiles kTitleFiles{"\\data\\adjectives-ect.quillmere",
                                          "\\data\\nouns-ect.quillmere"};
inline constexpr TwoWordFiles kItemFiles{"\\data\\items-des-ect.quillmere",
                                         "\\data\\items-objects.quillmere"};
inline constexpr TwoWordFiles kEquipmentFiles{"\\data\\equipment-ect.quillmere",
                                              "\\data\\equipment-objects.quillmere"};
inline constexpr TwoWordFiles kSkillFiles{"\\data\\skills-des-ect.quillmere",
                                          "\\data\\skills-objects.quillmere"};
// In the order of the modes: titles, items, equipment, skills.
inline constexpr TwoWordFiles kTwoWordModes[] = {kTitleFiles, kItemFiles, kEquipmentFiles,
                                                 kSkillFiles};

// Clears both lists before either file is opened, then fills each from its
// file, so a failing first file never leaves words of the previous mode.
void LoadTwoWordLists(WordListModel& prim, WordListModel& second, const TwoWordFiles& files);

void LoadTitleWords(WordListModel& prim, WordListModel& second);
void LoadItemWords(WordListModel& prim, WordListModel& second);
void LoadEquipmentWords(WordListModel& prim, WordListModel& second);
void LoadSkillWords(WordListModel& prim, WordListModel& second);

// What stands between the two entries of a result.
inline constexpr char kPhraseSeparator = ' ';

// The two picks of one result, the primary drawn first.
struct PhrasePick {
    int first;
    int second;
};
PhrasePick PickPhrase(const WordListModel& prim, const WordListModel& second);

// The result box holds at most this many characters; what it shows of a
// longer result is its start.
inline constexpr qsizetype kMaxResultLength = 32767;

// The text of one result, at most `maxLength` characters of it.
QString PhraseText(const WordListModel& prim, const WordListModel& second, PhrasePick pick,
                   qsizetype maxLength);

// One result: a random primary entry, one space, a random secondary entry.
// Both picks are drawn before either entry is read; entries are used exactly
// as they stand, empty ones included. Only the first `maxLength` characters
// are built: a box that shows at most that many gets them without copying
// entries of millions of characters on every press.
QString GeneratePhrase(const WordListModel& prim, const WordListModel& second,
                       qsizetype maxLength = std::numeric_limits<qsizetype>::max());
