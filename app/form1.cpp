#include "form1.h"

#include "choicebox.h"
#include "form2.h"
#include "htmlhelp.h"
#include "imagelist.h"
#include "layout.h"
#include "modes.h"
#include "nationalities.h"
#include "paths.h"
#include "problembox.h"
#include "problems.h"
#include "random.h"
#include "resultbox.h"
#include "twoword.h"
#include "wordlistbox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

const Mode kModes[5] = {
    {"gt", "Game Title", "Game Title Generator", "Random Game Title", false,
     &Form1::LoadTitleWords},
    {"cn", "Character Name", "Character Name Generator", "Random Character", true,
     &Form1::LoadCharacterWords},
    {"in", "Item Name", "Item Name Generator", "Random Item Name", false, &Form1::LoadItemWords},
    {"en", "Equipment Name", "Equipment Name Generator", "Random Equipment", false,
     &Form1::LoadEquipmentWords},
    {"sn", "Skill Name", "Skill Name Generator", "Random Skill Name", false,
     &Form1::LoadSkillWords},
};

namespace {
constexpr int kClientWidth = 8655 / kTwipsPerPixel;
constexpr int kClientHeight = 4860 / kTwipsPerPixel;

QFont arial(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

template <typename W> W* place(W* widget, const char* name, const QRect& rect)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(rect);
    return widget;
}
} // namespace

QFont DefaultDialogFont()
{
    // Metric-compatible with Arial (Liberation Sans on Linux); 11 pixels is
    // the 8-point dialog font the boxes were measured for, at 96 dpi.
    return arial(11, false);
}

Form1::Form1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    Problems::SetDefaultNotifier(ShowProblemBox);
    setWindowTitle(QStringLiteral("Quillmere"));
    setWindowIcon(ProgramIcon());
    setFont(DefaultDialogFont());
    // A fixed single border: close button only, no resizing.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    icons = new ImageList(this);
    icons->setObjectName(QStringLiteral("icons"));
    createMenus();
    createToolbar(client);
    createControls(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    startUp();
}

Form1::~Form1()
{
    delete m_npc.data();
}

void Form1::createMenus()
{
    auto addItem = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QLatin1String(name));
        return action;
    };

    fl = menuBar()->addMenu(QStringLiteral("File"));
    fl->setObjectName(QStringLiteral("fl"));
    ex = addItem(fl, "ex", "Exit");

    sgm = menuBar()->addMenu(QStringLiteral("Select Generate Mode"));
    sgm->setObjectName(QStringLiteral("sgm"));
    QAction** modeItems[5] = {&gt, &cn, &in, &en, &sn};
    for (int i = 0; i < 5; ++i) {
        *modeItems[i] = addItem(sgm, kModes[i].menuName, kModes[i].menuCaption);
        connect(*modeItems[i], &QAction::triggered, this, [this, i] { SwitchMode(i + 1); });
    }
    npcstat = addItem(sgm, "npcstat", "Npc Stats");

    hp = menuBar()->addMenu(QStringLiteral("Help"));
    hp->setObjectName(QStringLiteral("hp"));
    cont = addItem(hp, "cont", "Contents");
    cont->setShortcut(QKeySequence(Qt::Key_F1));
    cont->setShortcutContext(Qt::WindowShortcut);
    connect(cont, &QAction::triggered, this, &Form1::HTMLHelpContents);

    connect(ex, &QAction::triggered, this, &Form1::ex_Click);
    connect(npcstat, &QAction::triggered, this, &Form1::npcstat_Click);
}

void Form1::createToolbar(QWidget* client)
{
    Buttons = place(new QToolBar(client), "Buttons", Twips(0, 0, 8655, 480));
    Buttons->setMovable(false);
    Buttons->setFloatable(false);
    Buttons->setIconSize(QSize(24, 24));
    Buttons->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int n = 1; n <= 5; ++n) {
        QAction* button = Buttons->addAction(QIcon(icons->image(n)), QString());
        button->setObjectName(QStringLiteral("Buttons_%1").arg(n));
        button->setData(n);
        button->setToolTip(QString::fromLatin1(kModes[n - 1].tooltip));
        Buttons->widgetForAction(button)->setAccessibleName(button->toolTip());
    }
    connect(Buttons, &QToolBar::actionTriggered, this, &Form1::Buttons_ButtonClick);
}

void Form1::createControls(QWidget* client)
{
    Label1 = place(new QLabel(QStringLiteral("Primary Words"), client), "Label1",
                   Twips(120, 600, 2175, 375));
    Label2 = place(new QLabel(QStringLiteral("Secondary Words"), client), "Label2",
                   Twips(6360, 600, 2175, 375));
    thelang = place(new QLineEdit(QStringLiteral("english"), client), "thelang",
                    Twips(4920, 600, 1575, 285));
    prim_words = place(new WordListBox(client), "prim_words", Twips(120, 960, 2175, 3765));
    thething = place(new QLabel(QStringLiteral("Random Game Title"), client), "thething",
                     Twips(2280, 960, 3975, 375));
    second_words = place(new WordListBox(client), "second_words", Twips(6360, 960, 2175, 3765));
    char_genderL = place(new QLabel(QStringLiteral("Gender:"), client), "char_genderL",
                         Twips(2400, 1560, 1815, 255));
    char_nationL = place(new QLabel(QStringLiteral("Character Nationality:"), client),
                         "char_nationL", Twips(4320, 1560, 1935, 255));
    char_sex = place(new ChoiceBox(client), "char_sex", Twips(2400, 1800, 1815, 315));
    char_lang2 = place(new ChoiceBox(client), "char_lang2", Twips(4320, 1800, 1935, 315));
    Text2 = place(new ResultBox(client), "Text2", Twips(2400, 2280, 3855, 405));
    Command1 = place(new QPushButton(QStringLiteral("Generate"), client), "Command1",
                     Twips(2400, 2760, 3855, 495));
    setUpControls();
    connectControls();
}

void Form1::setUpControls()
{
    const QFont heading = arial(16, true); // Arial 12 pt bold
    for (QLabel* label : {Label1, Label2}) {
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setFont(heading);
    }
    // An 18-point line is taller than its box; sitting it on the bottom
    // edge clips only the empty space above the capitals, never the tails
    // of "q" and "p" in "Random Equipment".
    thething->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    thething->setFont(arial(24, true)); // Arial 18 pt bold
    char_genderL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    char_nationL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    char_genderL->setBuddy(char_sex);
    char_nationL->setBuddy(char_lang2);

    thelang->hide();
    thelang->setFocusPolicy(Qt::NoFocus);

    char_sex->addItems({QString::fromLatin1(kMaleText), QString::fromLatin1(kFemaleText)});
    for (const Nationality& n : kNationalities)
        char_lang2->addItem(QString::fromLatin1(n.display));

    Text2->setAlignment(Qt::AlignCenter);
    Text2->setMaxLength(kMaxResultLength);
    Text2->setFont(heading);
    Command1->setFont(arial(15, false)); // Arial 11.25 pt

    prim_words->setAccessibleName(Label1->text());
    second_words->setAccessibleName(Label2->text());
    Text2->setAccessibleName(QStringLiteral("Result"));
    Command1->setAccessibleName(Command1->text());
    char_sex->setAccessibleName(char_genderL->text());
    char_lang2->setAccessibleName(char_nationL->text());
}

void Form1::connectControls()
{
    // Keyboard order: lists and result first, then the character choices.
    QWidget::setTabOrder(prim_words, Command1);
    QWidget::setTabOrder(Command1, Text2);
    QWidget::setTabOrder(Text2, second_words);
    QWidget::setTabOrder(second_words, char_sex);
    QWidget::setTabOrder(char_sex, char_lang2);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(char_lang2, &ChoiceBox::chosen, this, &Form1::char_lang2_Click);
    connect(char_sex, &ChoiceBox::chosen, this, &Form1::char_sex_Click);
}

void Form1::startUp()
{
    // Start-up is one user action: every file that fails is told in one
    // message, after the window has appeared.
    Problems::Scope problems(this, Problems::Scope::When::Later);
    QDir::setCurrent(ExecutableDir());
    char_sex->hide();
    char_lang2->hide();
    char_genderL->hide();
    char_nationL->hide();
    LoadTitleWords();
    RandomSource::SeedFromClock();
    prim_words->setFocus();
}

void Form1::LoadTitleWords()
{
    ::LoadTitleWords(prim_words->words(), second_words->words());
}

void Form1::LoadItemWords()
{
    ::LoadItemWords(prim_words->words(), second_words->words());
}

void Form1::LoadEquipmentWords()
{
    ::LoadEquipmentWords(prim_words->words(), second_words->words());
}

void Form1::LoadSkillWords()
{
    ::LoadSkillWords(prim_words->words(), second_words->words());
}

void Form1::LoadCharacterWords()
{
    ::LoadCharacterWords(thelang->text(), prim_words->words(), second_words->words());
}

void Form1::SwitchMode(int index)
{
    if (index < 1 || index > 5)
        return;
    const Mode& mode = kModes[index - 1];
    Problems::Scope problems(this);
    thething->setText(QString::fromLatin1(mode.title));
    char_sex->setVisible(mode.characterControls);
    char_lang2->setVisible(mode.characterControls);
    char_genderL->setVisible(mode.characterControls);
    char_nationL->setVisible(mode.characterControls);
    (this->*mode.loader)();
}

void Form1::Buttons_ButtonClick(QAction* button)
{
    SwitchMode(button->data().toInt());
}

void Form1::Command1_Click()
{
    Text2->setText(GeneratePhrase(prim_words->words(), second_words->words(), kMaxResultLength));
}

void Form1::ex_Click()
{
    // Ends the program at once: no question, nothing saved, every window
    // gone with it.
    if (m_npc)
        m_npc->hide();
    hide();
    QCoreApplication::exit(0);
}

void Form1::npcstat_Click()
{
    // One NPC window at a time, without an owner: it is created (and loads
    // its names) only when none is open, and otherwise just comes forward.
    if (!m_npc) {
        m_npc = new Form2();
        m_npc->setWindowIcon(windowIcon());
    }
    m_npc->show();
    m_npc->raise();
    m_npc->activateWindow();
}

void Form1::char_lang2_Click()
{
    const Nationality* nationality = NationalityByDisplay(char_lang2->currentText());
    if (!nationality)
        return;
    Problems::Scope problems(this);
    thelang->setText(QString::fromLatin1(nationality->key));
    const QString male = QString::fromLatin1(kMaleText);
    char_sex->setCurrentIndex(char_sex->findText(male, Qt::MatchExactly | Qt::MatchCaseSensitive));
    char_sex->setEditText(male);
    LoadCharacterWords();
}

void Form1::char_sex_Click()
{
    Problems::Scope problems(this);
    GenderChosen(char_sex->currentText(), thelang->text(), prim_words->words());
}

QString Form1::SetHTMLHelpStrings() const
{
    return NativePath(ExecutableDir() + QStringLiteral("\\quillmere.chm"));
}

void Form1::HTMLHelpContents()
{
    // The viewer takes the path as 8-bit text in the locale's encoding, and
    // answers with its window, which nothing here needs.
    HtmlHelp(this, SetHTMLHelpStrings().toLocal8Bit(), HH_DISPLAY_TOPIC, 0);
}
