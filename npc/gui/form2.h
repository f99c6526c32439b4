#pragma once

#include <QWidget>
#include <array>

class ChoiceBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class WordListModel;

// The NPC window: a random name and twelve statistics for a chosen
// difficulty. Its controls hold all of its state. It has no owner, so it
// stays open when the main window closes, and closing it discards it.
class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2();

    QLabel* Label1 = nullptr;
    QLineEdit* npc_name = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* npc_maxhp = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* npc_maxsp = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* npc_strength = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* npc_dex = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* npc_agility = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* npc_intel = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* npc_atp = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* npc_pdef = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* npc_mdef = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* npc_evasion = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* npc_exp = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* npc_money = nullptr;
    QGroupBox* Frame1 = nullptr;
    ChoiceBox* npc_diff = nullptr;
    QLabel* Label14 = nullptr;
    QPushButton* Command1 = nullptr;
    // The candidate names: a list that is never shown.
    WordListModel* npc_name_list = nullptr;

private:
    void createControls();
    // Fills the candidate names and reseeds the random source; runs once,
    // from the constructor, before the window is first shown.
    void Form_Load();
    void Command1_Click();

    std::array<QLineEdit*, 12> m_stats{};
};
