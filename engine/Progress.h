// How a long run shows its progress and learns whether to stop: the
// minimizers, the covariance grids, the profile and posterior runs, the
// randomizations and the goodness-of-fit test. The window that watches a run
// implements it; a test or a benchmark gives its own.
#pragma once

#include <string>
#include <utility>

namespace tivelor {

// Where a run stands when it asks whether to go on.
struct Iteration {
    long iteration = 0;   // iterations, points or draws done
    long calls = 0;       // function calls so far
    double best = 0;      // the best value so far
};

class ProgressObserver {
public:
    virtual ~ProgressObserver() = default;

    // An iteration's figures in; false to stop: the user asked for an
    // interrupt since the last answer. What a stop means is the run's own.
    virtual bool GoOn(const Iteration& at) = 0;

    // The run starts: its window shown and cleared; a stop asked for before
    // now is not for this run. fresh: a new run rather than one continued.
    virtual void Begin(bool /*fresh*/) {}
    // Whether the user can ask the run to stop from now on.
    virtual void Interruptible(bool /*on*/) {}
    // Panel i (1 to 4) of the progress line; "" clears it.
    virtual void Panel(int /*i*/, const std::string& /*text*/) {}
    // The run's report: pane 0 its head, pane 1 its body.
    virtual void Report(int /*pane*/, const std::string& /*text*/) {}
    // The run's window shown again if the user closed it.
    virtual void Reopen() {}
    // The run's window closed (the run gave up).
    virtual void Close() {}
    // The buttons by which the user steps on from a paused run, shown or
    // hidden.
    virtual void StepButtons(bool /*shown*/) {}
    // A confirmed minimum with priors on: its prior terms are in PriorTerm.
    virtual void AtPriorMinimum() {}
};

// An observer that a window's Interrupt asks to stop: the next GoOn answers
// stop, and the request is spent.
class InterruptWatch : public ProgressObserver {
public:
    bool GoOn(const Iteration&) override { return !std::exchange(stopAsked_, false); }
    void AskToStop() { stopAsked_ = true; }

protected:
    // A press made before the run began is not for it.
    void DropStop() { stopAsked_ = false; }

private:
    bool stopAsked_ = false;
};

}  // namespace tivelor
