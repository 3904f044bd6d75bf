// The ANSI code page of the target systems is 936; glibc's CP936 converter matches it, 0x80 (the
// euro sign) included.
#include "platform/codepage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace glyvora {

namespace {

// One converter per direction and thread, opened once: the folder walk converts every name that
// is not ASCII, and opening a converter costs more than converting a name.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Converts with iconv, replacing what does not convert by `replacement` and going on.
template <typename Out>
Out convert(const Converter& converter, const char* data, std::size_t size, std::size_t unit,
            const Out& replacement) {
    Out out;
    if (!converter.valid()) return out;
    iconv_t cd = converter.get();
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
    thread_local const Converter converter("UTF-16LE", "CP936");
    return convert<std::u16string>(converter, ansi.data(), ansi.size(), 1, u"?");
}

Text utf16ToAnsi(std::u16string_view wide) {
    thread_local const Converter converter("CP936", "UTF-16LE");
    return convert<Text>(converter, reinterpret_cast<const char*>(wide.data()), wide.size() * 2, 2, "?");
}

} // namespace glyvora
