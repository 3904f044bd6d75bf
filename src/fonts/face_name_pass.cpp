#include "fonts/face_name_pass.h"

#include <algorithm>
#include <system_error>

namespace glyvora::app {

void FaceNamePass::begin(std::vector<Text> paths, std::vector<std::optional<FileStamp>> stamps) {
    abandon();
    paths_ = std::move(paths);
    stamps_ = std::move(stamps);
    stamps_.resize(paths_.size());
    workerNames_.assign(paths_.size(), Text());
    workerStart_ = paths_.size();
    workerDone_.store(0);
    stop_.store(false);
    given_.assign(paths_.size(), false);
    givenCount_ = 0;
    finished_ = paths_.empty();
}

void FaceNamePass::provide(std::vector<Text>& faceNames, int first, int last) {
    if (finished_) return;
    const std::size_t n = std::min(paths_.size(), faceNames.size());
    const std::size_t from = static_cast<std::size_t>(std::max(first, 1)) - 1;
    const std::size_t to = last < 1 ? 0 : std::min(static_cast<std::size_t>(last), n);
    const std::size_t workerEnd = workerStart_ + workerDone_.load(std::memory_order_acquire);
    for (std::size_t i = from; i < to; ++i) {
        if (given_[i]) continue;
        faceNames[i] =
            i >= workerStart_ && i < workerEnd ? workerNames_[i] : memory_.faceNameOf(paths_[i], stamps_[i]);
        given_[i] = true;
        ++givenCount_;
    }
    if (givenCount_ == paths_.size()) finished_ = true;
}

void FaceNamePass::runFrom(int k) {
    if (finished_ || worker_.joinable()) return;
    const std::size_t start = static_cast<std::size_t>(std::max(k, 1)) - 1;
    if (start >= paths_.size()) return;
    workerStart_ = start;
    try {
        worker_ = std::thread([this] { work(); });
    } catch (const std::system_error&) {
        // No thread to be had: provide and complete derive every name themselves.
        workerStart_ = paths_.size();
    }
}

void FaceNamePass::work() {
    // Nothing may leave the thread: whatever is not derived here is derived by the user-interface
    // thread when it needs it.
    try {
        for (std::size_t i = workerStart_; i < paths_.size(); ++i) {
            if (stop_.load(std::memory_order_relaxed)) return;
            workerNames_[i] = memory_.faceNameOf(paths_[i], stamps_[i]);
            workerDone_.store(i - workerStart_ + 1, std::memory_order_release);
        }
    } catch (...) {
    }
}

void FaceNamePass::join() {
    if (worker_.joinable()) worker_.join();
}

void FaceNamePass::complete(std::vector<Text>& faceNames) {
    join();
    provide(faceNames, 1, static_cast<int>(paths_.size()));
}

void FaceNamePass::abandon() {
    stop_.store(true);
    join();
    paths_.clear();
    stamps_.clear();
    workerNames_.clear();
    given_.clear();
    givenCount_ = 0;
    workerStart_ = 0;
    workerDone_.store(0);
    finished_ = true;
}

} // namespace glyvora::app
