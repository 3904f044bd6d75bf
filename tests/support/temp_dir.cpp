#include "support/temp_dir.h"

#include "platform/codepage.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace glyvora::testing {

namespace {

#ifdef _WIN32
// The program's GBK path as the system's UTF-16, whatever the system's code page.
std::wstring wide(const Text& path) {
    const std::u16string units = ansiToUtf16(path);
    return std::wstring(units.begin(), units.end());
}

std::filesystem::path native(const Text& path) {
    return std::filesystem::path(wide(path));
}

// Wine makes no link through CreateSymbolicLinkW and removes none through RemoveDirectoryW, but it
// starts the system's own programs: links are then made and removed by ln and rm on the Unix paths.
using UnixFileName = char*(CDECL*)(LPCWSTR);

// The Unix path of a file whose folder exists (the file itself need not).
std::string unixPath(const std::wstring& path) {
    const auto toUnix = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    const std::size_t slash = path.rfind(L'\\');
    if (!toUnix || slash == std::wstring::npos) return std::string();
    char* folder = toUnix(path.substr(0, slash).c_str());
    if (!folder) return std::string();
    std::string out =
        std::string(folder) + "/" + utf16ToUtf8(std::u16string(path.begin() + slash + 1, path.end()));
    HeapFree(GetProcessHeap(), 0, folder);
    return out;
}

// Starts one of the system's programs. Wine gives no handle to wait on for it: the caller waits
// for what it makes.
void startUnixProgram(const std::wstring& program, const std::vector<std::string>& arguments) {
    std::wstring line = program;
    for (const std::string& argument : arguments)
        line += L" \"" + std::wstring(argument.begin(), argument.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether `path` exists (or is gone) within ten seconds.
bool becomes(const std::wstring& path, bool existing) {
    for (int wait = 0; wait < 1000; ++wait) {
        if (exists(path) == existing) return true;
        Sleep(10);
    }
    return false;
}

void removeLink(const std::wstring& link) {
    if (RemoveDirectoryW(link.c_str()) || !exists(link)) return;
    startUnixProgram(L"Z:\\bin\\rm", {unixPath(link)});
    becomes(link, false);
}

void removeTree(const std::wstring& dir) {
    WIN32_FIND_DATAW data{};
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = dir + L"\\" + name;
            // A link is removed itself; what it leads to is not the test's to delete.
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                removeLink(full);
                continue;
            }
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &data));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}
#else
// The path as a user's file manager stores it: "/" separators and UTF-8 names (GBK text that does
// not convert exactly keeps its bytes).
std::string native(const Text& path) {
    std::string out = path;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (static_cast<unsigned char>(out[i]) >= 0x80) {
            ++i;
            continue;
        }
        if (out[i] == '\\') out[i] = '/';
    }
    const std::u16string wide = ansiToUtf16(out);
    return utf16ToAnsi(wide) == out ? utf16ToUtf8(wide) : out;
}

Text programForm(const std::string& path) {
    Text out = path;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

int removeEntry(const char* path, const struct stat*, int, struct FTW*) {
    return ::remove(path);
}
#endif

} // namespace

TempDir::TempDir() {
    static std::atomic<int> counter{0};
#ifdef _WIN32
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::wostringstream name;
        name << base << L"glyvora-test-" << GetCurrentProcessId() << L"-" << counter++;
        if (CreateDirectoryW(name.str().c_str(), nullptr)) {
            const std::wstring made = name.str();
            path_ = utf16ToAnsi(std::u16string(made.begin(), made.end()));
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
#else
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/glyvora-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    path_ = programForm(pattern);
    (void)counter;
#endif
}

TempDir::~TempDir() {
#ifdef _WIN32
    removeTree(wide(path_));
#else
    ::nftw(native(path_).c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
#endif
}

void writeTestFile(const Text& path, const std::string& bytes) {
    std::ofstream out(native(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write test file " + path);
}

std::string readTestFile(const Text& path) {
    std::ifstream in(native(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool testFileExists(const Text& path) {
#ifdef _WIN32
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat st {};
    return ::stat(native(path).c_str(), &st) == 0;
#endif
}

void makeTestDirectory(const Text& path) {
#ifdef _WIN32
    CreateDirectoryW(wide(path).c_str(), nullptr);
#else
    ::mkdir(native(path).c_str(), 0777);
#endif
}

bool makeFolderLink(const Text& link, const Text& target) {
#ifdef _WIN32
    const std::wstring from = wide(link), to = wide(target);
    if (CreateSymbolicLinkW(from.c_str(), to.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        exists(from))
        return true;
    startUnixProgram(L"Z:\\bin\\ln", {"-s", unixPath(to), unixPath(from)});
    return becomes(from, true);
#else
    return ::symlink(native(target).c_str(), native(link).c_str()) == 0;
#endif
}

#ifdef _WIN32
std::wstring wideTestPath(const Text& path) {
    return wide(path);
}
#endif

std::string nativeTestPath(const Text& path) {
#ifdef _WIN32
    return path;
#else
    return native(path);
#endif
}

std::vector<std::string> namesOnDisk(const Text& directory) {
    std::vector<std::string> names;
#ifdef _WIN32
    WIN32_FIND_DATAW data{};
    const std::u16string pattern = ansiToUtf16(directory + "\\*");
    HANDLE h = FindFirstFileW(reinterpret_cast<const wchar_t*>(pattern.c_str()), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = utf16ToUtf8(reinterpret_cast<const char16_t*>(data.cFileName));
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileW(h, &data));
        FindClose(h);
    }
#else
    if (DIR* dir = ::opendir(native(directory).c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
#endif
    std::sort(names.begin(), names.end());
    return names;
}

void writeTestFileOnDisk(const Text& directory, const std::string& name, const std::string& bytes) {
#ifdef _WIN32
    const std::u16string path = ansiToUtf16(directory + "\\") + utf8ToUtf16(name);
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = h != INVALID_HANDLE_VALUE &&
                    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
#else
    const int fd = ::open((native(directory) + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const bool ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    if (fd >= 0) ::close(fd);
#endif
    if (!ok) throw std::runtime_error("cannot write test file " + name);
}

void makeTestDirectoryOnDisk(const Text& directory, const std::string& name) {
#ifdef _WIN32
    const std::u16string path = ansiToUtf16(directory + "\\") + utf8ToUtf16(name);
    CreateDirectoryW(reinterpret_cast<const wchar_t*>(path.c_str()), nullptr);
#else
    ::mkdir((native(directory) + "/" + name).c_str(), 0777);
#endif
}

} // namespace glyvora::testing
