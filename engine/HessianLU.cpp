#include "engine/HessianLU.h"

#include "numerics/LU.h"
#include "platform/runtime.h"
#include "state/App.h"

namespace tivelor {

namespace {

numerics::LUArrays Arrays(MarquardtState& m) {
    return {m.LUIndex, m.LUScale, m.LUColumn, m.LUTrans};
}

numerics::LUProgress Yield(App& app) {
    return [&app] { app.ui.DoEvents(); };
}

bool StopsAtZeroRow(const App& app) {
    return app.eng.DerivMethod == "N" || app.eng.DerivMethod == "A";
}

void ReportZeroRow(App& app, long i) {
    const auto& fi = app.eng.free.FreeIndex;
    long par = i <= fi.UBound() ? fi(i) : i;
    const std::string title = "Matrix decompositon failure at parameter #" + platform::CStr(par) + "!";
    if (app.eng.DerivMethod == "N")
        app.ShowMsg("Look for statistically dead model parameters", platform::vbExclamation, title);
    else
        app.ShowMsg("Look for statistically dead parameters and/or suspect your analytical derivatives",
                    platform::vbExclamation, title);
}

// Takes a decomposition's outcome into MarquardtState, reporting a zero row.
void Record(App& app, const numerics::LUStatus& st) {
    MarquardtState& m = app.marq;
    if (st.Outcome == numerics::LUOutcome::TooLarge) {
        m.LUFailed = 1;
        return;
    }
    m.Determinant = st.Determinant;
    if (st.Outcome == numerics::LUOutcome::ZeroRow) {
        ReportZeroRow(app, st.ZeroRow);
        m.LUFailed = 1;
    }
}

}  // namespace

void LUDecompose(App& app, long N) {
    Record(app, numerics::LUDecompose(app.eng.HessMat, N, Arrays(app.marq), StopsAtZeroRow(app),
                                      Yield(app)));
}

void LUBackSubstitute(App& app, long N, int Col, platform::Matrix<double>& B) {
    numerics::LUBackSubstitute(app.eng.HessMat, N, app.marq.LUIndex, Col, B, Yield(app));
}

void InvertMatrixLU(App& app) {
    app.marq.LUFailed = 0;
    Record(app, numerics::InvertMatrixLU(app.eng.HessMat, app.marq.NEst, app.eng.InvWork,
                                         Arrays(app.marq), StopsAtZeroRow(app), Yield(app)));
}

}  // namespace tivelor
