// The ranking window driven as a user would: models added, ranked, edited,
// averaged and saved.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "RankTestSupport.h"
#include "engine/Parameters.h"
#include "platform/runtime.h"
#include "windows/frmMain.h"

namespace ranktest {

using platform::vbNo;
using platform::vbOK;
using tivelor::frmRank;

std::string CovFileText(const std::vector<CovParam>& pars) {
    const std::string nl = "\r\n";
    std::string t = "Originally saved with the file name: x.cov" + nl + nl +
                    "Parameter values, step sizes, link codes, and definitions for numerically calculated "
                    "covariances:" + nl + nl;
    int k = 0;
    for (std::size_t i = 0; i < pars.size(); ++i) {
        const CovParam& p = pars[i];
        t += " " + platform::Format(static_cast<double>(i + 1), "000") + ") " +
             tivelor::RSetPad(platform::Format(p.value, "0.0000000E+00"), 14) +
             tivelor::RSetPad(platform::Format(p.free ? 0.1 : 0.0, "0.0000000E+00"), 16) + " " +
             tivelor::RSetPad(p.code, 3) + "  Parameter " + std::to_string(i + 1) + nl;
    }
    for (int j = 0; j < 15; ++j) t += "filler line" + nl;
    for (std::size_t i = 0; i < pars.size(); ++i) {
        if (!pars[i].free) continue;
        ++k;
        std::string line = tivelor::RSetPad(platform::Format(static_cast<double>(i + 1), "##0"), 3);
        line += std::string(21, ' ');
        for (double se : pars[i].se) line += tivelor::RSetPad(platform::Format(se, "0.0000000E+00"), 14) + "    ";
        t += line + nl;
    }
    return t;
}

namespace {

TEST(RankWindow, OpeningAddsTheOpenAlgorithmDataAsModelOne) {
    RankFixture f;
    frmRank& w = f.Open();
    EXPECT_FALSE(f.app.IsLoaded<tivelor::frmMenu>());
    EXPECT_FALSE(f.app.form<tivelor::frmMain>().mnuApplication.Enabled);
    EXPECT_EQ(f.app.sw.RankOn, "on");
    ASSERT_EQ(w.table.NumModels, 1);
    // F 100 with constant 0.5: -ln L 50; K 4 of N 50.
    EXPECT_NEAR(w.table.At(1, 1).ModelAICc, 108.8888889, 1E-6);
    EXPECT_EQ(f.Cell(0, 0) + "|" + f.Cell(1, 0) + "|" + f.Cell(1, 1) + "|" + f.Cell(1, 2) + "|" + f.Cell(1, 3) + "|" +
                  f.Cell(1, 4) + "|" + f.Cell(1, 6) + "|" + f.Cell(1, 7) + "|" + f.Cell(1, 8),
              "Random|   1)    1|5.0000E+01|4|1.0889E+02|undefined|model1.alg|No covariance file found|No Priors loaded");
    EXPECT_TRUE(w.grdRank.CellFontBold(0, 0));

    // C-hat 2 turns the table into QAICc: 50 / 1 + 8.8889 = 58.8889.
    f.s.backend.AnswerInput("Overdispersion correction", "0.5");
    f.s.backend.AnswerInput("Overdispersion correction", "2");
    f.s.backend.Click("frmRank.cmdQAICc");
    EXPECT_EQ(w.txtCHat.Text(), "C-hat: 2.000");
    EXPECT_EQ(f.Cell(0, 3) + " " + f.Cell(1, 3), "QAICc 5.8889E+01");
    // A second model is asked the C-hat again, not the constant.
    f.s.backend.AnswerInput("Overdispersion correction", "2");
    f.Add(120, enginetest::Temp("model2.alg"));
    EXPECT_EQ(f.Cell(2, 3) + " " + f.Cell(2, 0), "6.8889E+01    2)    2");
    EXPECT_TRUE(w.cmdRank.Enabled);
    // An empty C-hat answer counts as 1.
    f.s.backend.CancelInput("Overdispersion correction");
    f.s.backend.Click("frmRank.cmdQAICc");
    EXPECT_EQ(f.Cell(0, 3) + " " + f.Cell(2, 3), "AICc 1.2889E+02");

    // Closing an unranked table asks nothing and brings the main menu back.
    f.s.backend.Click("frmRank.cmdFinish");
    EXPECT_TRUE(f.app.IsLoaded<tivelor::frmMenu>());
    EXPECT_EQ(f.app.sw.RankOn, "off");
    EXPECT_TRUE(f.app.form<tivelor::frmMain>().mnuApplication.Enabled);
}

TEST(RankWindow, ModelsThatCannotBeRankedAreNeverHalfAdded) {
    RankFixture f;
    frmRank& w = f.Open();
    // No algorithm file at all: the user is asked to save first.
    f.app.eng.AlgFileName = "";
    f.s.backend.AnswerMsgBox("No algorithm file", vbOK);
    f.s.backend.Click("frmRank.cmdAICc");
    // N - K - 1 = 0.
    f.app.eng.SampleSize = 5;
    f.app.eng.AlgFileName = "12071130.alg";
    f.s.backend.AnswerMsgBox("Model not added", vbOK);
    f.s.backend.Click("frmRank.cmdAICc");
    EXPECT_EQ(w.table.NumModels, 1);
    EXPECT_EQ(w.grdRank.Rows(), 2);
    // A name without a folder (unsaved default data) is taken whole.
    f.app.eng.SampleSize = 50;
    f.Add(-200, "12071130.alg");
    EXPECT_EQ(f.Cell(2, 6), "12071130.alg");
    // A negative AICc refuses the ranking and names the model.
    f.s.backend.AnswerMsgBox("Cannot rank the models", vbOK);
    f.s.backend.Click("frmRank.cmdRank");
    EXPECT_NE(f.s.backend.msgBoxes.back().text.find("model(s) 2"), std::string::npos);
    EXPECT_EQ(f.Cell(0, 0), "Random");
}

// Whatever likelihood constant is taken, the table shows no -ln L of
// infinity or 0: a model that it would scale so is not added, and says why.
TEST(RankWindow, NoConstantTurnsMinusLnLIntoInfinityOrZero) {
    RankFixture f;
    auto refused = [&] { return f.s.backend.msgBoxes.empty() ? std::string() : f.s.backend.msgBoxes.back().text; };
    // 1E-20 times 1E-307.
    f.F = 1E-20;
    f.s.backend.AnswerInput("Enter constant", "1E-307");
    f.s.backend.AnswerMsgBox("Model not added", vbOK);
    f.s.backend.Click("frmMenu.cmdRank");
    frmRank& w = f.app.form<frmRank>();
    EXPECT_EQ(w.table.NumModels, 0);
    EXPECT_EQ(refused(), "This model cannot be ranked: its -ln L, the objective function's value scaled by the "
                         "likelihood constant, is too small to be told from 0. Nothing was added to the table.");
    // 271.9 times 1E+307.
    f.F = 271.9;
    f.s.backend.AnswerInput("Enter constant", "1E+307");
    f.s.backend.AnswerMsgBox("Model not added", vbOK);
    f.s.backend.Click("frmRank.cmdAICc");
    EXPECT_EQ(w.table.NumModels, 0);
    EXPECT_NE(refused().find("is too large to be a number. Nothing was added"), std::string::npos) << refused();
    // -ln L 1E+308 is a number, but its AICc is not.
    f.F = 10;
    f.s.backend.AnswerInput("Enter constant", "1E+307");
    f.s.backend.AnswerMsgBox("Model not added", vbOK);
    f.s.backend.Click("frmRank.cmdAICc");
    EXPECT_EQ(refused(), "This model cannot be ranked: its AICc is too large to be a number. Nothing was added to "
                         "the table.");
    EXPECT_EQ(w.table.NumModels, 0);
    // The constant 1E-307 keeps 271.9 and 1 in range, not 0.01 (a subnormal number).
    f.F = 271.9;
    f.s.backend.AnswerInput("Enter constant", "1E-307");
    f.s.backend.Click("frmRank.cmdAICc");
    f.s.backend.AnswerMsgBox("Model not added", vbOK);
    f.Add(0.01, enginetest::Temp("tiny.alg"));
    EXPECT_NE(refused().find("too small to be told from 0"), std::string::npos) << refused();
    f.Add(1, enginetest::Temp("small.alg"));
    ASSERT_EQ(w.table.NumModels, 2);
    EXPECT_EQ(f.Cell(1, 1) + " " + f.Cell(2, 1), "2.7190E-305 1.0000E-307");
}

TEST(RankWindow, RankingGivesDeltasAndWeightsAndEditsUndoIt) {
    RankFixture f;
    frmRank& w = f.Open();
    // AICc 210.4, 205.1 and 207.3.
    f.Add(100, enginetest::Temp("model2.alg"));
    f.Add(100, enginetest::Temp("model3.alg"));
    w.table.At(1, 1).ModelAICc = 210.4;
    w.table.At(1, 2).ModelAICc = 205.1;
    w.table.At(1, 3).ModelAICc = 207.3;
    f.s.backend.Click("frmRank.cmdRank");
    EXPECT_EQ(f.Cell(0, 0), "Ranked");
    EXPECT_EQ(w.grdRank.CellForeColor(0, 0), platform::QBColor(2));
    std::string shown;
    for (int r = 1; r <= 3; ++r)
        shown += f.Cell(r, 0) + "|" + f.Cell(r, 3) + "|" + f.Cell(r, 4) + "|" + f.Cell(r, 5) + "\n";
    EXPECT_EQ(shown,
              "   1)    2|2.0510E+02|0.00|0.712493\n"
              "   2)    3|2.0730E+02|2.20|0.237168\n"
              "   3)    1|2.1040E+02|5.30|0.050339\n");
    EXPECT_TRUE(w.cmdSaveRank.Enabled);
    EXPECT_FALSE(w.cmdAverage.Enabled);   // no covariance files
    EXPECT_FALSE(w.table.At(1, 1).ModelDAICc.has_value());

    // A note is written to both halves; the table stays ranked but cannot be saved.
    f.s.backend.AnswerInput("Model notes", "wet year");
    f.s.backend.ClickCell("frmRank.grdRank", 2, 9, true);
    EXPECT_EQ(w.table.At(1, 2).ModelNotes + "|" + w.table.At(2, 2).ModelNotes + "|" + f.Cell(0, 0), "wet year|wet year|Ranked");
    EXPECT_FALSE(w.cmdSaveRank.Enabled);
    // A cancelled covariance prompt stores the placeholder.
    f.s.backend.CancelInput("Choose an associated covariance file");
    f.s.backend.ClickCell("frmRank.grdRank", 1, 7, true);
    EXPECT_EQ(f.Cell(1, 7), "No such file exists");

    // Deleting the first row of the ranked table keeps the ranked order.
    f.s.backend.ClickCell("frmRank.grdRank", 1, 0, true);
    EXPECT_EQ(w.table.NumModels, 2);
    EXPECT_EQ(f.Cell(0, 0) + "|" + f.Cell(1, 0) + "|" + f.Cell(2, 0) + "|" + f.Cell(1, 4), "Random|   1)    3|   2)    1|undefined");
    EXPECT_EQ(w.grdRank.CellForeColor(0, 0), platform::QBColor(12));
    EXPECT_TRUE(w.cmdRank.Enabled);
    // The header cell deletes nothing; then the last, then the only model.
    f.s.backend.ClickCell("frmRank.grdRank", 0, 0, true);
    f.s.backend.ClickCell("frmRank.grdRank", 2, 0, true);
    EXPECT_FALSE(w.cmdRank.Enabled);
    f.s.backend.ClickCell("frmRank.grdRank", 1, 0, true);
    EXPECT_EQ(w.table.NumModels, 0);
    EXPECT_EQ(w.grdRank.Rows(), 2);
    EXPECT_EQ(f.Cell(1, 0), "");
    // The first model of an emptied table asks for the constant again.
    const std::size_t asked = f.s.backend.inputPrompts.size();
    f.s.backend.AnswerInput("Enter constant", "0.5");
    f.Add(100, enginetest::Temp("model1.alg"));
    EXPECT_EQ(f.s.backend.inputPrompts.size(), asked + 1);
    EXPECT_EQ(w.table.NumModels, 1);
}

// With priors on, the first model's constant is asked before its evaluation,
// so the prior term is on the -ln L scale of that constant; a fused pair
// counts once in K.
TEST(RankWindow, PriorTermAndFusedPairs) {
    RankFixture f;
    f.app.eng.RecipLnLConst = 0;
    f.app.priors.PriorType(1) = "N";
    f.app.priors.PriorMean(1) = 1;
    f.app.priors.PriorSD(1) = 0.5;   // -ln prior at 0: z = -2, a term of 2
    f.app.sw.PriorsOn = "on";
    f.app.eng.par.FuseCode(3) = f.app.eng.par.FuseCode(4) = "AB";
    frmRank& w = f.Open();
    EXPECT_EQ(w.table.At(1, 1).ModelK, 3);
    EXPECT_NEAR(w.table.At(1, 1).ModelNLnL, 52, 1E-12);
    EXPECT_NEAR(w.table.At(1, 1).ModelAICc, 104 + 2.0 * 3 * 50 / 46, 1E-9);
}

TEST(RankWindow, RowLabelsAndTheModelLimit) {
    EXPECT_EQ(frmRank::RowLabel(9, 10), "   9)  10");
    EXPECT_EQ(frmRank::RowLabel(10, 10), " 10)  10");
    EXPECT_EQ(frmRank::RowLabel(12, 7), " 12)    7");
    RankFixture f;
    frmRank& w = f.Open();
    for (int m = 2; m <= 99; ++m) f.Add(100 + m, enginetest::Temp("m.alg"));
    EXPECT_EQ(w.table.NumModels, 99);
    f.s.backend.AnswerMsgBox("Model limit reached", vbOK);
    f.s.backend.Click("frmRank.cmdAICc");
    EXPECT_EQ(w.table.NumModels, 99);
    EXPECT_EQ(w.grdRank.Rows(), 100);
}

}  // namespace
}  // namespace ranktest
