// The helpers every setup dialog shares: reading and showing numbers, the up-down's direction,
// and the check on leaving a field.
#include "DialogInput.h"

#include "dialogs/CFieldCheck.h"
#include "dialogs/CUpDown.h"
#include "dialogs/DialogNumbers.h"

#include <QDialog>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <clocale>

using vs::formatDialogNumber;
using vs::parseDialogNumber;

namespace {

bool parses(const char* text, double expected)
{
    double v = -12345;
    return parseDialogNumber(QString::fromUtf8(text), v) && v == expected;
}

bool refused(const char* text)
{
    double v = -12345;
    return !parseDialogNumber(QString::fromUtf8(text), v) && v == -12345;
}

} // namespace

TEST(DialogNumbersTest, ZeroIsANumberOnlyWhenItStartsWithTheDigitZero)
{
    EXPECT_TRUE(parses("0", 0));
    EXPECT_TRUE(parses(" 0 ", 0));
    EXPECT_TRUE(parses("\t0.0\t", 0));
    EXPECT_TRUE(refused("-0"));
    EXPECT_TRUE(refused("+0"));
    EXPECT_TRUE(refused(".0"));
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused("   "));
    EXPECT_TRUE(refused("abc"));
}

TEST(DialogNumbersTest, OnlyBlanksMayFollowTheNumber)
{
    EXPECT_TRUE(parses("  12.5", 12.5));
    EXPECT_TRUE(parses("-3 \t", -3));
    EXPECT_TRUE(parses("+7", 7));
    EXPECT_TRUE(parses("1e2", 100));
    EXPECT_TRUE(refused("12.5cm"));
    EXPECT_TRUE(refused("1 2"));
    EXPECT_TRUE(refused("1\n"));
}

TEST(DialogNumbersTest, InfiniteAndNotANumberAreRefused)
{
    EXPECT_TRUE(refused("inf"));
    EXPECT_TRUE(refused("-infinity"));
    EXPECT_TRUE(refused("nan"));
    EXPECT_TRUE(refused("1e999"));
}

TEST(DialogNumbersTest, ThePointIsTheDecimalSeparatorWhateverTheLocale)
{
    const char* had = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = had != nullptr ? had : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    EXPECT_TRUE(parses("1.5", 1.5));
    EXPECT_TRUE(refused("1,5"));
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(DialogNumbersTest, ShowsTheGivenNumberOfDecimals)
{
    EXPECT_EQ(formatDialogNumber(72, 1), "72.0");
    EXPECT_EQ(formatDialogNumber(1.355, 2).left(3), "1.3");
    EXPECT_EQ(formatDialogNumber(49.6, 0), "50");
    EXPECT_EQ(formatDialogNumber(-0.25, 2), "-0.25");
    EXPECT_EQ(formatDialogNumber(12.5, 0), "12") << "as the C library rounds";
    EXPECT_EQ(formatDialogNumber(1e300, 1).size(), 303) << "long values are not cut";
}

TEST(UpDownTest, UpArrowReportsMinusOneAndDownPlusOne)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit;
    auto* upDown = new CUpDown;
    layout->addWidget(edit);
    layout->addWidget(upDown);
    upDown->setBuddy(edit);
    std::vector<int> steps;
    QObject::connect(upDown, &CUpDown::deltaPos, [&](int d) { steps.push_back(d); });

    upDown->upButton()->click();
    upDown->downButton()->click();
    dialoginput::arrow(edit, true);
    dialoginput::arrow(edit, false);
    EXPECT_EQ(steps, (std::vector<int>{-1, 1, -1, 1}));

    upDown->setEnabled(false);
    upDown->step(-1);
    EXPECT_EQ(steps.size(), 4u) << "a disabled up-down reports nothing";
}

TEST(FieldCheckTest, ARefusedFieldShowsItsMessageAndKeepsTheFocus)
{
    dialoginput::Messages messages;
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QLineEdit;
    auto* other = new QLineEdit;
    auto* cancel = new QPushButton("取消");
    layout->addWidget(edit);
    layout->addWidget(other);
    layout->addWidget(cancel);
    CFieldCheck check;
    CFieldCheck::setSkipsFieldCheck(cancel);
    QStringList applied;
    check.watch(
        edit, [](const QString& t) { return t == "bad" ? QString("错") : QString(); },
        [&](const QString& t) { applied << t; });
    dialog.show();
    dialog.activateWindow();
    QApplication::processEvents();

    edit->setText("bad");
    dialoginput::leave(edit, other);
    EXPECT_EQ(messages.texts, QStringList{"错"});
    EXPECT_TRUE(edit->hasFocus()) << "the focus goes back to the refused field";
    EXPECT_TRUE(applied.isEmpty());

    dialoginput::leave(edit, cancel);
    EXPECT_EQ(messages.texts.size(), 1) << "moving to Cancel is not leaving the field";

    edit->setText("good");
    dialoginput::leave(edit, other);
    EXPECT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(applied, QStringList{"good"});
    EXPECT_TRUE(other->hasFocus());
}
