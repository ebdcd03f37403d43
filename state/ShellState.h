// Switches, flags and message-box globals shared across windows.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

struct Switches {
    std::string PriorsOn = "off", CovDone = "off", MLOn = "off", PosteriorOn = "off",
                PriorProfileOn = "off", RankOn = "off", AlgoFromMenu = "off",
                AlgoFromCov = "off", PriorsFromMenu = "off", PriorsFromRank = "off";
    std::string CovMethod = "A";
    std::string CovCompleted = "0";
    int OptimisticSEs = 0;
    int FormClosed = 0;
    int KeepPlotting = 0;
    int SimplexBusy = 0, MarquardtBusy = 0;
    int OneFunctionOpen = 0;
};

struct Messages {
    std::string MsgTitle, MsgText;
    double MsgStyle = 0;
    double MsgAnswer = 0;
    std::string InputText;
    std::string ReportText;
    std::string NumFormat;
    std::string DlgFilter;
};

struct ShellState {
    double StepProp = 0.1;
    platform::Vec<int> AlgoColOn;
    int LogFileOpen = 0;   // True while the minimization log #203 is open
    std::string PriFileName, PriFileTitle;
};

}  // namespace tivelor
