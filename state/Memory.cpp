#include "state/Memory.h"

#include "state/App.h"

namespace tivelor {

void TellNotEnoughMemory(App& app, const std::string& what, const std::string& title) {
    app.ShowMsg("There is not enough memory for the arrays of " + what, platform::vbInformation, title);
}

void ArraySizes::Then(std::function<void()> f) {
    if (failed_) return;
    try {
        steps_.push_back(std::move(f));
    } catch (const std::bad_alloc&) {
        failed_ = true;
    }
}

bool ArraySizes::Commit() {
    if (failed_) {
        steps_.clear();
        return false;
    }
    for (auto& step : steps_) step();
    steps_.clear();
    return true;
}

}  // namespace tivelor
