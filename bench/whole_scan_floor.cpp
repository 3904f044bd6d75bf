#include "whole_scan_floor.h"

#include <deque>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace glyvora::bench {

namespace {

constexpr std::size_t kFirstBlock = 4096;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string joined(const std::string& folder, const char* name) {
    if (!folder.empty() && folder.back() == kSeparator) return folder + name;
    return folder + kSeparator + name;
}

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

#ifndef _WIN32
// readdir's type when the file system gives one, otherwise a stat of the entry.
bool isFolder(int folderFd, const dirent* entry) {
    if (entry->d_type != DT_UNKNOWN) return entry->d_type == DT_DIR;
    struct stat st {};
    return fstatat(folderFd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}
#endif

// One search of `folder`: its subfolders onto the queue, its files onto the list.
void searchFolder(const std::string& folder, std::deque<std::string>& queue,
                  std::vector<std::string>& files) {
#ifdef _WIN32
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(joined(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (isDotEntry(found.cFileName)) continue;
        const std::string path = joined(folder, found.cFileName);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            queue.push_back(path);
        else
            files.push_back(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
#else
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        if (isDotEntry(entry->d_name)) continue;
        const std::string path = joined(folder, entry->d_name);
        if (isFolder(dirfd(dir), entry))
            queue.push_back(path);
        else
            files.push_back(path);
    }
    closedir(dir);
#endif
}

} // namespace

std::vector<std::string> systemWalk(const std::string& folder) {
    std::vector<std::string> files;
    std::deque<std::string> queue{folder};
    while (!queue.empty()) {
        const std::string next = std::move(queue.front());
        queue.pop_front();
        searchFolder(next, queue, files);
    }
    return files;
}

std::size_t readFirstBlocks(const std::vector<std::string>& files) {
    std::size_t opened = 0;
    char block[kFirstBlock];
    for (const std::string& path : files) {
#ifdef _WIN32
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        DWORD read = 0;
        ReadFile(file, block, sizeof block, &read, nullptr);
        CloseHandle(file);
#else
        const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (file < 0) continue;
        // The bytes are not looked at: the read is what is being timed.
        [[maybe_unused]] const ssize_t got = read(file, block, sizeof block);
        close(file);
#endif
        ++opened;
    }
    return opened;
}

bool hasPrivateFonts() {
#ifdef _WIN32
    return true;
#else
    return false;
#endif
}

std::size_t addPrivately(const std::vector<std::string>& files) {
    std::size_t accepted = 0;
#ifdef _WIN32
    for (const std::string& path : files)
        if (AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr) > 0) ++accepted;
#else
    (void)files;
#endif
    return accepted;
}

std::size_t removePrivately(const std::vector<std::string>& files) {
    std::size_t accepted = 0;
#ifdef _WIN32
    for (const std::string& path : files)
        if (RemoveFontResourceExA(path.c_str(), FR_PRIVATE, nullptr)) ++accepted;
#else
    (void)files;
#endif
    return accepted;
}

} // namespace glyvora::bench
