#pragma once
// A fresh directory for one test, removed with everything in it when the test ends.

#include "platform/types.h"

namespace glyvora::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory in the program's own form ("\" separators), without a trailing separator.
    const Text& path() const { return path_; }
    // path() + "\" + name.
    Text file(const Text& name) const { return path_ + "\\" + name; }

private:
    Text path_;
};

// Small file helpers for test set-up, bypassing the layers under test.
void writeTestFile(const Text& path, const std::string& bytes);
std::string readTestFile(const Text& path); // empty when missing
bool testFileExists(const Text& path);
void makeTestDirectory(const Text& path);

} // namespace glyvora::testing
