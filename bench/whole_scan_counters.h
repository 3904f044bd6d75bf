#pragma once
// The program's work that a figure is read with: its opens of files below the scanned folder and
// its private font adds and removes, counted on the way to the services it would have used
// anyway. A second visit that opens no file for names, an exit that removes only what was loaded
// and adds balanced by removes show here. The counts are safe to take from a worker thread.

#include "platform/files.h"
#include "platform/font_resources.h"

#include <atomic>
#include <memory>

namespace glyvora::bench {

struct Activity {
    long opens = 0;
    long adds = 0;
    long removes = 0;
};
Activity operator-(const Activity& later, const Activity& earlier);

// In front of the file system and the font resources for as long as it lives.
class ActivityCounters {
public:
    // `folder` in the program's form (backslashes).
    explicit ActivityCounters(const Text& folder);
    ~ActivityCounters();
    ActivityCounters(const ActivityCounters&) = delete;
    ActivityCounters& operator=(const ActivityCounters&) = delete;

    Activity counted() const;
    // bench::now() of the last call counted; 0 before the first.
    double lastCall() const;

private:
    class CountingFiles;
    class CountingFonts;
    void note(std::atomic<long>& count);

    std::atomic<long> opens_{0}, adds_{0}, removes_{0};
    std::atomic<double> lastCall_{0};
    std::unique_ptr<CountingFiles> files_;
    std::unique_ptr<CountingFonts> fonts_;
    std::unique_ptr<ScopedFileSystem> filesScope_;
    std::unique_ptr<ScopedFontResources> fontsScope_;
};

// Whether `path` lies below `folder` (both in the program's form): at any depth, not the folder
// itself and not a sibling whose name merely begins with the folder's.
bool isBelowFolder(const Text& path, const Text& folder);

} // namespace glyvora::bench
