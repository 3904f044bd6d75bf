#pragma once
// The face names of a scan's files, derived after page 1 has been shown so the window keeps
// answering on a huge folder. The names a page shows are derived on the spot on the user-interface
// thread (provide); the rest are derived by one worker thread that reads file bytes only: it touches
// no window and none of the lists the handlers use, keeping its names in a list of its own until
// the user-interface thread takes them (provide, complete).
//
//   idle --begin--> begun --runFrom--> running --(worker ends)--> ran
//   any --complete--> finished (every name derived; joins the worker)
//   any --abandon--> idle (stops and joins the worker; its names are dropped)
//
// The worker's progress is published through one atomic count: the names of entries below it are
// written and never written again, so the user-interface thread may read them without a lock.

#include "fonts/face_name_memory.h"
#include "platform/files.h"
#include "platform/types.h"

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

namespace glyvora::app {

class FaceNamePass {
public:
    explicit FaceNamePass(FaceNameMemory& memory) : memory_(memory) {}
    ~FaceNamePass() { abandon(); }
    FaceNamePass(const FaceNamePass&) = delete;
    FaceNamePass& operator=(const FaceNamePass&) = delete;

    // A new pass over `paths`; `stamps` is parallel to it or empty. A pass in progress is abandoned.
    void begin(std::vector<Text> paths, std::vector<std::optional<FileStamp>> stamps);
    // Entries first..last (1-based, clamped to the list) of `faceNames`, which is as long as the
    // paths, get their names: taken from the worker where it has derived them, derived here
    // otherwise. Entries given before are not touched again.
    void provide(std::vector<Text>& faceNames, int first, int last);
    // Starts the worker on entries k (1-based) to the end. Without a worker (the system refused a
    // thread) the names are derived when provided or completed.
    void runFrom(int k);
    // Waits for the worker and gives every entry of `faceNames` its name.
    void complete(std::vector<Text>& faceNames);
    // Stops the worker at its next entry and waits for it; the pass is then over.
    void abandon();
    // Every name has been given out.
    bool finished() const { return finished_; }
    // The worker still has names to derive.
    bool deriving() const {
        return worker_.joinable() && !stop_.load() &&
               workerStart_ + workerDone_.load(std::memory_order_acquire) < paths_.size();
    }

private:
    void work();
    void join();

    FaceNameMemory& memory_;
    std::vector<Text> paths_;
    std::vector<std::optional<FileStamp>> stamps_;
    // Written by the worker only, entries workerStart_ .. workerStart_ + workerDone_ - 1.
    std::vector<Text> workerNames_;
    std::size_t workerStart_ = 0;
    std::atomic<std::size_t> workerDone_{0};
    std::atomic<bool> stop_{false};
    // Which entries the user-interface thread has given out; read and written by it only.
    std::vector<bool> given_;
    std::size_t givenCount_ = 0;
    bool finished_ = true;
    std::thread worker_;
};

} // namespace glyvora::app
