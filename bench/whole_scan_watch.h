#pragma once
// How long the program's window went without answering. Under Win32 a probe thread sends the
// main window WM_NULL every few milliseconds and times each round trip, as a user's input would
// wait. The headless backend has no second thread that could ask, so there it is the longest
// stretch between two looks at the message queue: a backend in front of the real one notes each
// look (entering or leaving processPending, and the whole of a wait for messages, during which a
// message would be taken at once).

#include "forms/backend.h"

#include <functional>
#include <memory>

namespace glyvora::bench {

class UnansweredWatch {
public:
    virtual ~UnansweredWatch() = default;
    // The backend the program is to run on; the watch may stand in front of the real one.
    virtual Backend& backend() = 0;
    // Starts watching `window`, once it exists.
    virtual void start(WindowId window) = 0;
    // The longest stretch in seconds without an answer since start() or the previous call, one
    // still going on counted up to now; the next stretch is counted from now.
    virtual double takeLongest() = 0;
    // Stops watching; before the window goes.
    virtual void stop() = 0;
    // How the stretches are measured, for the report.
    virtual const char* method() const = 0;
};

// The watch for the platform's backend: the probe under Win32, the gaps between looks elsewhere.
std::unique_ptr<UnansweredWatch> makeUnansweredWatch(std::unique_ptr<Backend> backend);

// The gaps between looks at the message queue, timed by `clock` (seconds).
std::unique_ptr<UnansweredWatch> makeTurnGapWatch(std::unique_ptr<Backend> backend,
                                                  std::function<double()> clock);

} // namespace glyvora::bench
