// The ANSI code page of the target systems is 936; glibc's CP936 converter matches it, 0x80 (the
// euro sign) included.
#include "platform/codepage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <vector>

namespace glyvora {

namespace {

bool valid(iconv_t cd) {
    return cd != reinterpret_cast<iconv_t>(-1);
}

// The converters of one direction, opened as threads first need them and kept for the process: the
// folder walk converts every name that is not ASCII, and opening a converter costs more than
// converting a name. A thread that ends gives its converter back for the next one (the face-name
// pass starts a thread a scan), so none is lost. The pool itself is never destroyed: a destructor
// that converts text at exit still finds it.
class ConverterPool {
public:
    ConverterPool(const char* to, const char* from) : to_(to), from_(from) {}
    iconv_t take() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (!idle_.empty()) {
                const iconv_t cd = idle_.back();
                idle_.pop_back();
                return cd;
            }
        }
        return ::iconv_open(to_, from_);
    }
    void giveBack(iconv_t cd) {
        if (!valid(cd)) return;
        const std::lock_guard<std::mutex> lock(mutex_);
        idle_.push_back(cd);
    }

private:
    const char* to_;
    const char* from_;
    std::mutex mutex_;
    std::vector<iconv_t> idle_;
};

// A thread's converter of one direction, taken from its pool on first use.
class ThreadConverter {
public:
    explicit ThreadConverter(ConverterPool& pool) : pool_(pool), cd_(pool.take()) {}
    ~ThreadConverter() { pool_.giveBack(cd_); }
    ThreadConverter(const ThreadConverter&) = delete;
    ThreadConverter& operator=(const ThreadConverter&) = delete;
    iconv_t get() const { return cd_; }

private:
    ConverterPool& pool_;
    iconv_t cd_;
};

ConverterPool& toUtf16Pool() {
    static ConverterPool* const pool = new ConverterPool("UTF-16LE", "CP936");
    return *pool;
}

ConverterPool& toAnsiPool() {
    static ConverterPool* const pool = new ConverterPool("CP936", "UTF-16LE");
    return *pool;
}

// Converts with iconv, replacing what does not convert by `replacement` and going on.
template <typename Out>
Out convert(iconv_t cd, const char* data, std::size_t size, std::size_t unit, const Out& replacement) {
    Out out;
    if (!valid(cd)) return out;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr); // a fresh shift state
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    alignas(8) char buffer[1024];
    while (inLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t rc = ::iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(reinterpret_cast<const typename Out::value_type*>(buffer),
                   (sizeof buffer - dstLeft) / sizeof(typename Out::value_type));
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or incomplete sequence: substitute and skip one input unit.
            out += replacement;
            const std::size_t skip = std::min(unit, inLeft);
            in += skip;
            inLeft -= skip;
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

} // namespace

std::u16string ansiToUtf16(std::string_view ansi) {
    thread_local const ThreadConverter cd(toUtf16Pool());
    return convert<std::u16string>(cd.get(), ansi.data(), ansi.size(), 1, u"?");
}

Text utf16ToAnsi(std::u16string_view wide) {
    thread_local const ThreadConverter cd(toAnsiPool());
    return convert<Text>(cd.get(), reinterpret_cast<const char*>(wide.data()), wide.size() * 2, 2, "?");
}

} // namespace glyvora
