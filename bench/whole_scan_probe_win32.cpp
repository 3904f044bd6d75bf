// The Win32 watch: a probe thread that asks the main window for an answer (WM_NULL, which every
// window procedure answers at once) every few milliseconds and times how long each answer takes.
// A sent message is answered only when the window's thread next looks at its messages, so the
// round trip is the time a user's click would have waited.
#include "forms/win32/win32_backend.h"
#include "whole_scan_timing.h"
#include "whole_scan_watch.h"

#include <algorithm>
#include <atomic>
#include <windows.h>

namespace glyvora::bench {

namespace {

constexpr DWORD kProbeIntervalMs = 5;
// Longer than any stretch worth reporting; a window that takes this long counts as this long.
constexpr UINT kLongestWaitMs = 120000;

// The probe's figures, shared with the thread that asks for them.
//   idle --send--> waiting (sendStart set) --answer--> idle (longest updated)
// A stretch that began before the last takeLongest() counts only from then.
class WindowProbe final : public UnansweredWatch {
public:
    explicit WindowProbe(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {
        InitializeSRWLock(&lock_);
    }
    ~WindowProbe() override { stop(); }

    Backend& backend() override { return *backend_; }

    void start(WindowId window) override {
        auto* win32 = dynamic_cast<win32::Win32Backend*>(backend_.get());
        window_ = win32 ? win32->windowHandle(window) : nullptr;
        if (!window_ || thread_) return;
        phaseStart_ = now();
        running_ = true;
        thread_ = CreateThread(nullptr, 0, &WindowProbe::run, this, 0, nullptr);
    }

    double takeLongest() override {
        AcquireSRWLockExclusive(&lock_);
        const double t = now();
        double longest = longest_;
        if (sendStart_ > 0) longest = std::max(longest, t - std::max(sendStart_, phaseStart_));
        longest_ = 0;
        phaseStart_ = t;
        ReleaseSRWLockExclusive(&lock_);
        return longest;
    }

    // Answers the probe's last question itself (only sent messages, so no handler of the program
    // runs here) until the thread has ended.
    void stop() override {
        if (!thread_) return;
        running_ = false;
        while (MsgWaitForMultipleObjects(1, &thread_, FALSE, 1000, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(thread_);
        thread_ = nullptr;
    }

    const char* method() const override {
        return "longest SendMessageTimeout(WM_NULL) round trip, probed every 5 ms";
    }

private:
    static DWORD WINAPI run(void* self) {
        static_cast<WindowProbe*>(self)->probe();
        return 0;
    }

    void probe() {
        while (running_) {
            AcquireSRWLockExclusive(&lock_);
            sendStart_ = now();
            ReleaseSRWLockExclusive(&lock_);
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kLongestWaitMs, &result);
            AcquireSRWLockExclusive(&lock_);
            longest_ = std::max(longest_, now() - std::max(sendStart_, phaseStart_));
            sendStart_ = 0;
            ReleaseSRWLockExclusive(&lock_);
            Sleep(kProbeIntervalMs);
        }
    }

    std::unique_ptr<Backend> backend_;
    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> running_{false};
    SRWLOCK lock_;
    double phaseStart_ = 0;
    double sendStart_ = 0;
    double longest_ = 0;
};

} // namespace

std::unique_ptr<UnansweredWatch> makeUnansweredWatch(std::unique_ptr<Backend> backend) {
    return std::make_unique<WindowProbe>(std::move(backend));
}

} // namespace glyvora::bench
