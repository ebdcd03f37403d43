// The canvas's display list keeps texts beside its operations, and labels
// that size themselves to their captions.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "platform/runtime.h"

using namespace platform;

namespace {

class frmCanvas : public Form {
public:
    static constexpr const char* kName = "frmCanvas";
    explicit frmCanvas(Ui& ui) : Form(ui, kName, "Canvas", FormKind::TopLevel, 6000, 4000) {
        lblAuto.AutoSize = true;
    }
    PictureBox pic{*this, "pic", 0, 0, 4000, 3000};
    Label lblAuto{*this, "lblAuto", "", 100, 100, 500, 500};
    Label lblFixed{*this, "lblFixed", "", 100, 900, 500, 500};
};

TEST(CanvasText, PrintTextsGoWithAClearAndLineNamesStay) {
    headless::Session s;
    frmCanvas& f = s.ui.forms.Get<frmCanvas>(s.ui);
    f.pic.AddFixedLine("Xaxis", 0, 10, 100, 10);
    f.pic.CurrentX = 5;
    f.pic.CurrentY = 6;
    f.pic.Print("first");
    f.pic.Line(1, 2, 3, 4, QBColor(12));
    f.pic.Print("second");
    EXPECT_EQ(DisplayListText(f.pic),
              "fixed Xaxis 0 10 100 10 q0\ntext 5 6 first\nline 1 2 3 4 q12 style 0\ntext 3 4 second\n");
    f.pic.Cls();
    f.pic.AddFixedLine("Yaxis", 0, 0, 0, 10);
    f.pic.Print("third");
    EXPECT_EQ(DisplayListText(f.pic), "fixed Xaxis 0 10 100 10 q0\nfixed Yaxis 0 0 0 10 q0\ntext 0 0 third\n");
    // Many clears do not pile up texts.
    for (int i = 0; i < 3; ++i) {
        f.pic.Cls();
        f.pic.Print("again");
    }
    EXPECT_EQ(f.pic.TextOf(f.pic.DisplayList().back()), "again");
    EXPECT_EQ(f.pic.TextOf(f.pic.FixedLines()[1]), "Yaxis");
    // An operation is small enough for a million boxes.
    EXPECT_LE(sizeof(DrawOp), 40u);
}

TEST(CanvasText, LabelsSizeThemselvesByTheFixedRule) {
    headless::Session s;
    frmCanvas& f = s.ui.forms.Get<frmCanvas>(s.ui);
    // 8.25 points: 90.75 twips a character, 198 a line.
    f.lblAuto.Caption = "Max =  4.5\r\nMin =  0.0";
    EXPECT_EQ(f.lblAuto.Width, 908);   // 10 characters
    EXPECT_EQ(f.lblAuto.Height, 396);
    f.lblAuto.Caption = "";
    EXPECT_EQ(f.lblAuto.Width, 0);
    EXPECT_EQ(f.lblAuto.Height, 198);
    f.lblAuto.Caption = "ab\n\nabcd";
    EXPECT_EQ(f.lblAuto.Width, 363);
    EXPECT_EQ(f.lblAuto.Height, 594);
    f.lblAuto.FontSize = 10;   // a new font measures again
    EXPECT_EQ(f.lblAuto.Width, 440);
    EXPECT_EQ(f.lblAuto.Left, 100);
    f.lblFixed.Caption = "a long caption that does not fit";
    EXPECT_EQ(f.lblFixed.Width, 500);
}

}  // namespace
