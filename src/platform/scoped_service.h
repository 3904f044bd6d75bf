#pragma once
// A platform service the program reaches through one accessor (clock(), fileSystem(), shell(),
// fontResources()): the system's own unless a test has put another in front of it for as long as
// a ScopedService lives. Replacements nest; each restores the one before it.

namespace glyvora {

template <typename Service>
class ScopedService {
public:
    explicit ScopedService(Service& replacement) : previous_(slot()) { slot() = &replacement; }
    ~ScopedService() { slot() = previous_; }
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

    // The innermost replacement in force, null when none is.
    static Service* replacement() { return slot(); }

private:
    static Service*& slot() {
        static Service* current = nullptr;
        return current;
    }

    Service* previous_;
};

} // namespace glyvora
