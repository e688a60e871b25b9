// The dialogs on their own: how their text becomes numbers, the circle dialog's refusal,
// the titles and controls.
#include "QuirnelVersion.h"
#include "base/MessageBox.h"
#include "reference/ReferenceSet.h"
#include "view/AboutDlg.h"
#include "view/CircleDialog.h"
#include "view/ContinuumForm.h"
#include "view/FormDialog.h"
#include "view/InputDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(DialogNumberTest, ReadsLikeTheCLibrary) {
    EXPECT_EQ(ReadDialogNumber("30"), 30);
    EXPECT_EQ(ReadDialogNumber("-5"), -5);
    EXPECT_EQ(ReadDialogNumber("+7"), 7);
    EXPECT_EQ(ReadDialogNumber("abc"), 0);
    EXPECT_EQ(ReadDialogNumber(""), 0);
    EXPECT_EQ(ReadDialogNumber(" \t12xyz"), 12);
    EXPECT_EQ(ReadDialogNumber("- 4"), 0);
    EXPECT_EQ(ReadDialogNumber("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ReadDialogNumber("-99999999999999999999"), INT_MIN);
}

TEST(DialogNumberTest, EachUseKeepsItsRange) {
    EXPECT_EQ(FemaleTiltFromText("30"), 24);
    EXPECT_EQ(FemaleTiltFromText("-5"), 0);
    EXPECT_EQ(FemaleTiltFromText("abc"), 0);
    EXPECT_EQ(FemaleTiltFromText(" 12xyz"), 12);
    EXPECT_EQ(DurationFromText("0"), 1);
    EXPECT_EQ(DurationFromText("250"), 100);
    EXPECT_EQ(DurationFromText("abc"), 1);
    EXPECT_EQ(DurationFromText("55"), 55);
}

// Each dialog number at the ends of its range, and one beyond, which is kept to the end.
TEST(DialogNumberTest, EachUseTakesBothEndsAndKeepsOneBeyondToThem) {
    const struct {
        int (*use)(const std::string&);
        const char* text;
        int value;
    } cases[] = {
        {FemaleTiltFromText, "0", 0},       {FemaleTiltFromText, "-1", 0},
        {FemaleTiltFromText, "24", 24},     {FemaleTiltFromText, "25", 24},
        {DurationFromText, "1", 1},         {DurationFromText, "0", 1},
        {DurationFromText, "100", 100},     {DurationFromText, "101", 100},
        {GridWidthFromCellCount, "1", 380}, {GridWidthFromCellCount, "0", 380},
        {GridWidthFromCellCount, "380", 1}, {GridWidthFromCellCount, "381", 1},
        {GridWidthFromCellCount, "190", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.use(c.text), c.value) << c.text;
}

TEST(DialogNumberTest, ZoomCountBecomesAPositiveGridWidth) {
    EXPECT_EQ(CellCountOfGridWidth(25), 15);
    EXPECT_EQ(GridWidthFromCellCount("15"), 25);
    EXPECT_EQ(GridWidthFromCellCount("10"), 38);
    EXPECT_EQ(GridWidthFromCellCount("20"), 19);
    EXPECT_EQ(GridWidthFromCellCount("7"), 54);
    EXPECT_EQ(GridWidthFromCellCount("380"), 1);
    // Counts outside 1..380 are kept to that range: never a width of zero or less.
    EXPECT_EQ(GridWidthFromCellCount("1000"), 1);
    EXPECT_EQ(GridWidthFromCellCount("0"), 380);
    EXPECT_EQ(GridWidthFromCellCount("-3"), 380);
    EXPECT_EQ(GridWidthFromCellCount("abc"), 380);
}

TEST(DialogNumberTest, CircleFieldsTakeOnlyUnsignedNumbers) {
    unsigned value = 99;
    EXPECT_TRUE(ReadCircleValue(" 20\t ", value));
    EXPECT_EQ(value, 20u);
    EXPECT_TRUE(ReadCircleValue("0", value));
    EXPECT_EQ(value, 0u);
    for (const char* refused : {"-3", "", "  ", "12a", "+5", "1 2", "40000", "99999999999"}) {
        value = 7;
        EXPECT_FALSE(ReadCircleValue(refused, value)) << refused;
        EXPECT_EQ(value, 7u) << refused;
    }
}

TEST(InputDialogTest, ShowsThePromptAndTakesTheEditedTextOnOk) {
    CInputDialog dialog(nullptr, "Wieviele Formantpositionen ?", 15);
    EXPECT_EQ(dialog.windowTitle(), "Input");
    EXPECT_EQ(dialog.Prompt()->text(), "Wieviele Formantpositionen ?");
    EXPECT_EQ(dialog.Edit()->text(), "15");
    EXPECT_EQ(dialog.GetText(), "15");
    // The field lies below the question, inside the dialog.
    EXPECT_GT(dialog.Edit()->y(), dialog.Prompt()->y());
    EXPECT_LE(dialog.Edit()->geometry().right(), dialog.width());

    dialog.Edit()->clear();
    QTest::keyClicks(dialog.Edit(), "7");
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(dialog.Edit(), Qt::Key_Return); });
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.GetText(), "7");
}

TEST(InputDialogTest, CancelKeepsTheFirstText) {
    CInputDialog dialog(nullptr, "Bitte Namen eingeben:", std::string());
    QTest::keyClicks(dialog.Edit(), "session");
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    EXPECT_EQ(dialog.DoModal(), 2);
    EXPECT_EQ(dialog.GetText(), "");
}

TEST(FormNumberTest, TakesDecimalNumbersWithBlanksAroundAndNothingElse) {
    double value = 0;
    EXPECT_TRUE(ReadFormNumber(" 0.4\t", value));
    EXPECT_EQ(value, 0.4);
    for (const char* refused : {"", " ", "12a", "1 2", "inf", "nan", "0x10", "1e999"})
        EXPECT_FALSE(ReadFormNumber(refused, value)) << refused;
    unsigned long long whole = 0;
    EXPECT_TRUE(ReadFormWholeNumber(" 7 ", whole));
    EXPECT_EQ(whole, 7u);
    for (const char* refused : {"", "-1", "+1", "7.0", "99999999999999999999"})
        EXPECT_FALSE(ReadFormWholeNumber(refused, whole)) << refused;
}

class CircleDialogTest : public ::testing::Test {
protected:
    RecordingMessageSink messages;
    ScopedMessageSink guard{&messages};
};

TEST_F(CircleDialogTest, RefusesANegativeRadiusAndSelectsTheField) {
    CCircleDialog dialog(nullptr, 16, 30);
    EXPECT_EQ(dialog.windowTitle(), "Input");
    EXPECT_EQ(dialog.RadiusEdit()->text(), "16");
    EXPECT_EQ(dialog.StepEdit()->text(), "30");
    dialog.show();
    dialog.RadiusEdit()->setText("-3");
    dialog.StepEdit()->setText("45");
    dialog.accept();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Please enter a positive integer."});
    EXPECT_TRUE(dialog.isVisible()); // it stays open
    EXPECT_EQ(dialog.RadiusEdit()->selectedText(), "-3");
    EXPECT_EQ(dialog.m_nRadius, 16u);
    EXPECT_EQ(dialog.m_nStep, 30u);
}

TEST_F(CircleDialogTest, RefusesAnEmptyStepAfterAGoodRadius) {
    CCircleDialog dialog(nullptr, 16, 30);
    dialog.show();
    dialog.RadiusEdit()->setText("25");
    dialog.StepEdit()->setText("");
    dialog.accept();
    EXPECT_EQ(messages.Texts().size(), 1u);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.m_nRadius, 16u); // nothing is taken over until both are good
}

TEST_F(CircleDialogTest, AcceptsNumbersSurroundedByBlanks) {
    CCircleDialog dialog(nullptr, 16, 30);
    dialog.RadiusEdit()->setText("  20 ");
    dialog.StepEdit()->setText("\t45");
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(dialog.m_nRadius, 20u);
    EXPECT_EQ(dialog.m_nStep, 45u);
}

TEST(AboutDlgTest, NamesTheProgramAndHasOneOkButton) {
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "About this Program");
    bool named = false;
    bool picture = false;
    bool version = false;
    bool licence = false;
    int cited = 0;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        named = named || label->text() == "Quirnel";
        picture = picture || !label->pixmap().isNull();
        version = version || label->text() == QString("Version ") + kQuirnelVersion;
        licence = licence || label->text().contains("GPL-3.0-or-later");
        for (const std::string& paper : ReferenceCitations())
            cited += label->text().contains(QString::fromStdString(paper));
    }
    EXPECT_EQ(cited, 4); // the four papers of the reference vowels
    EXPECT_TRUE(named);
    EXPECT_TRUE(picture);
    EXPECT_TRUE(version);
    EXPECT_TRUE(licence);
    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
    QTimer::singleShot(0, buttons[0], &QPushButton::click);
    EXPECT_EQ(dialog.DoModal(), 1);
}

TEST(FormDialogTest, ShowsTheFieldsAndStaysOpenWhileTheCheckRefuses) {
    RecordingMessageSink messages;
    ScopedMessageSink guard(&messages);
    InputForm form;
    form.title = "Go to Formants";
    form.fields = {TextField("F1 (Hz)", "700"), ChoiceField("Scale", {"Bark", "Hz"}, 1)};
    form.check = [](const InputForm& entered) {
        return entered.fields[0].text == "700" ? "" : "F1 must be 700.";
    };
    CFormDialog dialog(nullptr, form);
    EXPECT_EQ(dialog.windowTitle(), "Go to Formants");
    auto* f1 = qobject_cast<QLineEdit*>(dialog.Editor(0));
    auto* scale = qobject_cast<QComboBox*>(dialog.Editor(1));
    ASSERT_TRUE(f1 && scale);
    EXPECT_EQ(scale->currentText(), "Hz");
    f1->setText("9");
    dialog.accept();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"F1 must be 700."});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Form().fields[0].text, "700"); // nothing taken yet
    f1->setText("700");
    scale->setCurrentIndex(0);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Form().fields[1].chosen, 0);
}

// Make Continuum's typed F1 and F2 can be edited only while "typed below" is chosen.
TEST(FormDialogTest, TypedEndPointIsEnabledOnlyWhileItIsTheChosenEnd) {
    const std::vector<ContinuumPoint> points{{"i", {280, 2300, 0}}};
    CFormDialog dialog(nullptr, ContinuumForm(points, points, ContinuumRequest{}, 700, 1200));
    auto* to = qobject_cast<QComboBox*>(dialog.Editor(kContinuumTo));
    ASSERT_TRUE(to);
    EXPECT_EQ(to->currentIndex(), 1);
    EXPECT_FALSE(dialog.Editor(kContinuumF1)->isEnabled());
    EXPECT_FALSE(dialog.Editor(kContinuumF2)->isEnabled());
    to->setCurrentIndex(0);
    EXPECT_TRUE(dialog.Editor(kContinuumF1)->isEnabled());
    EXPECT_TRUE(dialog.Editor(kContinuumF2)->isEnabled());
    to->setCurrentIndex(1);
    EXPECT_FALSE(dialog.Editor(kContinuumF2)->isEnabled());
}

} // namespace
