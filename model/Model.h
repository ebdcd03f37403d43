// Entry points of the quadrat-count model.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

class App;

// The single entry of the model. NF selects the service: 0 set-up,
// 1 or more evaluation of F = -2 ln L at P (clamping P in place),
// -1 the results report, -2 analytical gradient and Hessian.
// After a set-up, app.model.SetupOK tells whether it succeeded; a failed
// set-up leaves the model and the parameter set as they were.
void MODEL(App& app, double& F, platform::Vec<double>& P, platform::Vec<double>& StepSize,
           platform::Vec<std::string>& ParName, platform::Vec<std::string>& FuseCode,
           int& NumPars, long& NF, long& NObs, platform::Vec<double>& AnaGrad,
           platform::Matrix<double>& AnaHess, long& SampleSize);

// The model as the engine's objective: F from MODEL at P for selector NF,
// with the parameter set's own arrays.
double ModelObjective(App& app, platform::Vec<double>& P, long NF);

// Sets ModelTitle to the model's title.
void SetModelTitle(App& app);

// The initial-value offer of an evaluation with NF = 1 while AskGuessInitial
// and OneFunctionOpen are True: shows frmGuessPars modally and, when it leaves
// GuessPars True, runs SearchInitialValues, which writes its values into P.
// Defined with the initial-value search.
void OfferInitialValueSearch(App& app, platform::Vec<double>& P,
                             platform::Vec<std::string>& FuseCode);

// The results report (MODEL with NF = -1), written into frmSummary.
void WriteResultsReport(App& app, platform::Vec<double>& P);

}  // namespace tivelor
