#include "whole_scan_counters.h"

#include "fontfile/folder_walk.h"
#include "platform/forwarding_files.h"
#include "whole_scan_timing.h"

namespace glyvora::bench {

Activity operator-(const Activity& later, const Activity& earlier) {
    return {later.opens - earlier.opens, later.adds - earlier.adds, later.removes - earlier.removes};
}

bool isBelowFolder(const Text& path, const Text& folder) {
    const Text prefix = fontfile::withTrailingSeparator(folder);
    return path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0;
}

class ActivityCounters::CountingFiles final : public ForwardingFileSystem {
public:
    CountingFiles(ActivityCounters& owner, FileSystem& inner, Text folder)
        : ForwardingFileSystem(inner), owner_(owner), folder_(std::move(folder)) {}

    OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                    FileCreation creation) override {
        count(path);
        return inner().open(path, access, sharing, creation);
    }
    OpenedFile openForQuery(const Text& path) override {
        count(path);
        return inner().openForQuery(path);
    }

private:
    void count(const Text& path) {
        if (isBelowFolder(path, folder_)) owner_.note(owner_.opens_);
    }

    ActivityCounters& owner_;
    const Text folder_;
};

class ActivityCounters::CountingFonts final : public FontResources {
public:
    CountingFonts(ActivityCounters& owner, FontResources& inner) : owner_(owner), inner_(inner) {}

    int addPrivate(const Text& path) override {
        owner_.note(owner_.adds_);
        return inner_.addPrivate(path);
    }
    bool removePrivate(const Text& path) override {
        owner_.note(owner_.removes_);
        return inner_.removePrivate(path);
    }
    Text queryFaceName(const Text& path) override { return inner_.queryFaceName(path); }

private:
    ActivityCounters& owner_;
    FontResources& inner_;
};

ActivityCounters::ActivityCounters(const Text& folder)
    : files_(std::make_unique<CountingFiles>(*this, fileSystem(), folder)),
      fonts_(std::make_unique<CountingFonts>(*this, fontResources())),
      filesScope_(std::make_unique<ScopedFileSystem>(*files_)),
      fontsScope_(std::make_unique<ScopedFontResources>(*fonts_)) {}

ActivityCounters::~ActivityCounters() = default;

Activity ActivityCounters::counted() const {
    return {opens_.load(), adds_.load(), removes_.load()};
}

double ActivityCounters::lastCall() const {
    return lastCall_.load();
}

void ActivityCounters::note(std::atomic<long>& count) {
    ++count;
    lastCall_.store(now());
}

} // namespace glyvora::bench
