#pragma once
// The copies of wirewise that run at one time: one may run, a second one gives way to it.
namespace ww {

class Instances {
  public:
    virtual ~Instances() = default;
    // Takes the program's one-copy mark for the rest of the run; false when another copy holds
    // it (or holds it with rights this copy lacks).
    virtual bool ClaimOnlyCopy() = 0;
    // Brings the running copy's window, or the box it waits in, to the front.
    virtual void ShowRunningCopy() = 0;
};

} // namespace ww
