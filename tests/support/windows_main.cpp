// Entry point of the Windows test executable: every test group is linked into it and run under Wine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <stdio.h>

int main(int argc, char** argv) {
    // Binary standard output, so that Wine hands the bytes to the terminal unchanged.
    _setmode(_fileno(stdout), _O_BINARY);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
