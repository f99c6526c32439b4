#include "form2.h"

#include "choicebox.h"
#include "layout.h"
#include "npcstats.h"
#include "problembox.h"
#include "problems.h"
#include "random.h"
#include "wordlist.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kClientWidth = 3225 / kTwipsPerPixel;
constexpr int kClientHeight = 4095 / kTwipsPerPixel;

// A text box with the label that names it, in tab order. Positions are in
// twips from the window's top-left corner.
struct LabelledBox {
    QLabel* Form2::*label;
    const char* labelName;
    QRect labelRect;
    QLineEdit* Form2::*box;
    const char* boxName;
    QRect boxRect;
};

constexpr LabelledBox kBoxes[] = {
    {&Form2::Label1, "Label1", Twips(120, 120, 585, 195), &Form2::npc_name, "npc_name",
     Twips(840, 120, 2295, 285)},
    {&Form2::Label2, "Label2", Twips(0, 480, 720, 195), &Form2::npc_maxhp, "npc_maxhp",
     Twips(840, 480, 615, 285)},
    {&Form2::Label3, "Label3", Twips(0, 840, 720, 195), &Form2::npc_maxsp, "npc_maxsp",
     Twips(840, 840, 615, 285)},
    {&Form2::Label4, "Label4", Twips(0, 1200, 720, 195), &Form2::npc_strength, "npc_strength",
     Twips(840, 1200, 615, 285)},
    {&Form2::Label5, "Label5", Twips(0, 1560, 720, 195), &Form2::npc_dex, "npc_dex",
     Twips(840, 1560, 615, 285)},
    {&Form2::Label6, "Label6", Twips(0, 1920, 720, 195), &Form2::npc_agility, "npc_agility",
     Twips(840, 1920, 615, 285)},
    {&Form2::Label7, "Label7", Twips(1560, 480, 840, 195), &Form2::npc_intel, "npc_intel",
     Twips(2520, 480, 615, 285)},
    {&Form2::Label8, "Label8", Twips(1560, 840, 840, 195), &Form2::npc_atp, "npc_atp",
     Twips(2520, 840, 615, 285)},
    {&Form2::Label9, "Label9", Twips(1560, 1200, 840, 195), &Form2::npc_pdef, "npc_pdef",
     Twips(2520, 1200, 615, 285)},
    {&Form2::Label10, "Label10", Twips(1440, 1560, 960, 195), &Form2::npc_mdef, "npc_mdef",
     Twips(2520, 1560, 615, 285)},
    {&Form2::Label11, "Label11", Twips(1560, 1920, 840, 195), &Form2::npc_evasion, "npc_evasion",
     Twips(2520, 1920, 615, 285)},
    {&Form2::Label12, "Label12", Twips(0, 2280, 720, 195), &Form2::npc_exp, "npc_exp",
     Twips(840, 2280, 615, 285)},
    {&Form2::Label13, "Label13", Twips(1680, 2280, 720, 195), &Form2::npc_money, "npc_money",
     Twips(2520, 2280, 615, 285)},
};

QLabel* rightAlignedLabel(const QString& caption, const char* name, const QRect& rect,
                          QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(rect);
    // Each caption ends just left of the box it names.
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

// The font every control of the window uses.
QFont windowFont()
{
    // The label boxes were measured for an 8-point dialog font. A narrow
    // face at that size (11 pixels) shows "Intelligence:" whole in its 56
    // pixels, where the main window's regular face needs 59. Liberation Sans
    // Narrow has Arial Narrow's metrics.
    QFont font;
    font.setFamilies({QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow")});
    font.setPixelSize(11);
    return font;
}

} // namespace

Form2::Form2()
{
    setObjectName(QStringLiteral("Form2"));
    Problems::SetDefaultNotifier(ShowProblemBox);
    setWindowTitle(QStringLiteral("NPC Stats Generator"));
    setFont(windowFont());
    // A small title bar with a close box only, no resizing, no taskbar
    // button of its own.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // Qt treats a tool window without a parent as an accessory that must not
    // keep the program running, and clears this when the flags are set. This
    // window stands on its own: with the main window closed, the program
    // ends only when this one closes too.
    setAttribute(Qt::WA_QuitOnClose, true);
    setAttribute(Qt::WA_DeleteOnClose, true);
    setFixedSize(kClientWidth, kClientHeight);

    createControls();
    npc_name->setFocus();
    Form_Load();
}

void Form2::createControls()
{
    for (const LabelledBox& row : kBoxes) {
        const StatRow* stat = StatRowForBox(QLatin1String(row.boxName));
        const QString caption = stat ? QLatin1String(stat->label) : QStringLiteral("Name:");
        this->*row.label = rightAlignedLabel(caption, row.labelName, row.labelRect, this);
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(row.boxName));
        box->setGeometry(row.boxRect);
        (this->*row.label)->setBuddy(box);
        this->*row.box = box;
        if (stat)
            m_stats[static_cast<std::size_t>(stat - kStatRows.data())] = box;
    }

    Frame1 = new QGroupBox(QStringLiteral("Generation Properties"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(Twips(120, 2640, 3015, 855));
    // Inside the frame, positions count from the frame's corner.
    npc_diff = new ChoiceBox(Frame1);
    npc_diff->setObjectName(QStringLiteral("npc_diff"));
    npc_diff->setGeometry(Twips(960, 360, 1935, 315));
    for (const Difficulty& difficulty : kDifficulties)
        npc_diff->addItem(QLatin1String(difficulty.text));
    Label14 = rightAlignedLabel(QStringLiteral("Difficulty:"), "Label14", Twips(120, 360, 720, 195),
                                Frame1);
    Label14->setBuddy(npc_diff);

    Command1 = new QPushButton(QStringLiteral("Generate"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Twips(120, 3600, 3015, 375));

    npc_name_list = new WordListModel(this);
    npc_name_list->setObjectName(QStringLiteral("npc_name_list"));

    QWidget* previous = nullptr;
    for (const LabelledBox& row : kBoxes) {
        if (previous)
            QWidget::setTabOrder(previous, this->*row.box);
        previous = this->*row.box;
    }
    QWidget::setTabOrder(previous, npc_diff);
    QWidget::setTabOrder(npc_diff, Command1);

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
}

void Form2::Form_Load()
{
    // One user action: files that fail are told in one message, once the
    // window is on screen.
    Problems::Scope problems(this, Problems::Scope::When::Later);
    LoadNpcNames(*npc_name_list);
    RandomSource::SeedFromClock();
}

void Form2::Command1_Click()
{
    // Each box is written as soon as its value is rolled.
    GenerateNpc(
        *npc_name_list, npc_diff->currentText(),
        [this](const QString& name) { npc_name->setText(name); },
        [this](std::size_t row, int value) { m_stats[row]->setText(QString::number(value)); });
}
