// Two processes on one table at the same time: both appending, or one appending while the other
// opens and closes the table in a loop. Natively the second process is a fork; on Windows it is
// this test executable started again, running only the worker below.
#include "support/temp_dir.h"
#include "table_fixtures.h"
#include "tablefile/table_engine.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace glyvora {
namespace {

using testing::readLe32;
using testing::readTestFile;
using testing::TempDir;
using testing::testFileExists;
using testing::writeTestFile;

struct Job {
    std::string mode; // "append" or "reopen"
    Text path;
    std::string tag; // appended records carry tag-N in their first field
    int count = 0;   // appends, or the least number of reopens
    Text stopPath;   // a reopen loop ends once this file exists
};

#ifdef _WIN32
std::string encode(const Job& j) {
    return j.mode + "|" + j.path + "|" + j.tag + "|" + std::to_string(j.count) + "|" + j.stopPath;
}

Job decode(const std::string& text) {
    Job j;
    std::istringstream in(text);
    std::string count;
    std::getline(in, j.mode, '|');
    std::getline(in, j.path, '|');
    std::getline(in, j.tag, '|');
    std::getline(in, count, '|');
    std::getline(in, j.stopPath, '|');
    j.count = std::atoi(count.c_str());
    return j;
}
#endif

// Runs the job and answers the number of commands that failed.
int runJob(const Job& job) {
    int failures = 0;
    CloseAllTables();
    if (job.mode == "append") {
        if (!OpenTable(job.path)) return 1;
        for (int i = 0; i < job.count; ++i) {
            if (!AppendBlankRecord()) {
                ++failures;
                continue;
            }
            if (!WriteField(1, testing::numbered((job.tag + "-").c_str(), i))) ++failures;
        }
    } else {
        for (int loops = 0; loops < job.count || !testFileExists(job.stopPath); ++loops) {
            CloseAllTables();
            if (!OpenTable(job.path)) ++failures;
            RecordCount();
        }
    }
    CloseAllTables();
    return failures;
}

#ifdef _WIN32
constexpr const char* kJobVariable = "GLYVORA_TABLE_JOB";

class Worker {
public:
    explicit Worker(const Job& job) {
        char exe[MAX_PATH];
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string command = std::string("\"") + exe +
                              "\" --gtest_filter=TableProcessWorker.runsTheJobItIsGiven --gtest_brief=1";
        SetEnvironmentVariableA(kJobVariable, encode(job).c_str());
        STARTUPINFOA si{};
        si.cb = sizeof si;
        started_ =
            CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
        SetEnvironmentVariableA(kJobVariable, nullptr);
    }
    // The worker's exit status: 0 when its job ran without a failure.
    int wait() {
        if (!started_) return -1;
        WaitForSingleObject(pi_.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(pi_.hProcess, &code);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
        return static_cast<int>(code);
    }

private:
    PROCESS_INFORMATION pi_{};
    BOOL started_ = FALSE;
};

TEST(TableProcessWorker, runsTheJobItIsGiven) {
    const char* job = std::getenv(kJobVariable);
    if (!job) GTEST_SKIP() << "runs only in a process started by the two-process tests";
    EXPECT_EQ(runJob(decode(job)), 0);
}
#else
class Worker {
public:
    explicit Worker(const Job& job) {
        pid_ = ::fork();
        if (pid_ == 0) ::_exit(runJob(job) == 0 ? 0 : 1);
    }
    int wait() {
        if (pid_ < 0) return -1;
        int status = 0;
        ::waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_;
};
#endif

// Every record of the file: ID and first field, in file order; fails on a count that disagrees
// with the file size.
std::vector<std::pair<std::int32_t, std::string>> recordsOf(const Text& path) {
    const std::string f = readTestFile(path);
    const std::int32_t count = readLe32(f, 16);
    EXPECT_EQ(f.size(), 260u + 304u * static_cast<std::size_t>(count));
    std::vector<std::pair<std::int32_t, std::string>> records;
    for (std::size_t at = 260; at + 304 <= f.size(); at += 304) {
        const std::string text = f.substr(at + 4, 100);
        records.emplace_back(readLe32(f, at), text.substr(0, text.find('\0')));
    }
    EXPECT_EQ(readLe32(f, 20), static_cast<std::int32_t>(records.size()) + 1);
    return records;
}

class TwoProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        CloseAllTables();
        path = dir.file("目录名称与地址数据库.qtb");
        const ByteSet image = table::emptyFolderTableImage();
        writeTestFile(path, std::string(image.begin(), image.end()));
    }
    TempDir dir;
    Text path;
};

TEST_F(TwoProcesses, bothAppendingKeepEveryRecordOnceWithIncreasingIds) {
    const int n = 2000;
    Worker other(Job{"append", path, "B", n, ""});
    EXPECT_EQ(runJob(Job{"append", path, "A", n, ""}), 0);
    ASSERT_EQ(other.wait(), 0);

    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), 2u * n);
    std::set<std::string> texts;
    int nextA = 0, nextB = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].first, static_cast<std::int32_t>(i) + 1); // unique and increasing
        const std::string& text = records[i].second;
        EXPECT_TRUE(texts.insert(text).second) << text;
        // Each process's records stand in the order it appended them.
        if (text.rfind("A-", 0) == 0)
            EXPECT_EQ(text, testing::numbered("A-", nextA++));
        else
            EXPECT_EQ(text, testing::numbered("B-", nextB++));
    }
    EXPECT_EQ(nextA, n);
    EXPECT_EQ(nextB, n);
}

TEST_F(TwoProcesses, reopeningWhileTheOtherAppendsCutsNoRecordOff) {
    const int n = 3000;
    const Text stop = dir.file("stop");
    Worker other(Job{"reopen", path, "", 20, stop});
    EXPECT_EQ(runJob(Job{"append", path, "A", n, ""}), 0);
    writeTestFile(stop, "");
    ASSERT_EQ(other.wait(), 0);

    const auto records = recordsOf(path);
    ASSERT_EQ(records.size(), static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(records[i].first, i + 1);
        EXPECT_EQ(records[i].second, testing::numbered("A-", i));
    }
}

} // namespace
} // namespace glyvora
