#pragma once

#include "wordlistbox.h"

#include <QMainWindow>
#include <QPointer>

class ChoiceBox;
class ImageList;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolBar;
class ResultBox;

// The main window. Its controls hold all of its state: the two lists are
// the word lists of the current mode, the hidden `thelang` holds the
// nationality key, and there is no mode variable.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The two-word loaders and the character loader, on this window's lists.
    void LoadTitleWords();
    void LoadItemWords();
    void LoadEquipmentWords();
    void LoadSkillWords();
    void LoadCharacterWords();

    // The mode switch for mode 1 to 5, in toolbar order.
    void SwitchMode(int index);

    // Help: the help file's path, and opening it at its default topic.
    QString SetHTMLHelpStrings() const;
    void HTMLHelpContents();

    QWidget* npcWindow() const { return m_npc.data(); }

    // Controls, named as the window names them.
    QToolBar* Buttons = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* thelang = nullptr;
    WordListBox* prim_words = nullptr;
    QLabel* thething = nullptr;
    WordListBox* second_words = nullptr;
    QLabel* char_genderL = nullptr;
    QLabel* char_nationL = nullptr;
    ChoiceBox* char_sex = nullptr;
    ChoiceBox* char_lang2 = nullptr;
    ResultBox* Text2 = nullptr;
    QPushButton* Command1 = nullptr;
    ImageList* icons = nullptr;

    QMenu* fl = nullptr;
    QAction* ex = nullptr;
    QMenu* sgm = nullptr;
    QAction* gt = nullptr;
    QAction* cn = nullptr;
    QAction* in = nullptr;
    QAction* en = nullptr;
    QAction* sn = nullptr;
    QAction* npcstat = nullptr;
    QMenu* hp = nullptr;
    QAction* cont = nullptr;

private:
    void createControls(QWidget* client);
    void setUpControls();
    void connectControls();
    void createMenus();
    void createToolbar(QWidget* client);
    void startUp();

    void Buttons_ButtonClick(QAction* button);
    void Command1_Click();
    void ex_Click();
    void npcstat_Click();
    void char_lang2_Click();
    void char_sex_Click();

    QPointer<QWidget> m_npc;
};

// The font every control uses unless it sets its own.
QFont DefaultDialogFont();
