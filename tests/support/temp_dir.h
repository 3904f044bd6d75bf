#pragma once
// A fresh directory for one test, removed with everything in it when the test ends.

#include "platform/types.h"

#include <string>
#include <vector>

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
// A symbolic link to a folder; false when the system made none.
bool makeFolderLink(const Text& link, const Text& target);

// Names as the file system stores them (UTF-8, or whatever bytes a POSIX name holds), sorted,
// and files and folders made under such a name; the directory is in the program's form.
std::vector<std::string> namesOnDisk(const Text& directory);
void writeTestFileOnDisk(const Text& directory, const std::string& name, const std::string& bytes);
void makeTestDirectoryOnDisk(const Text& directory, const std::string& name);
// The path in the system's form ("/" and UTF-8 names on POSIX).
std::string nativeTestPath(const Text& path);
#ifdef _WIN32
// The path for the system's W calls: GBK converted with code page 936, whatever the system's.
std::wstring wideTestPath(const Text& path);
#endif

} // namespace glyvora::testing
