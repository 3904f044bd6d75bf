// The ANSI code page of the target systems is 936; glibc's CP936 converter matches it, 0x80 (the
// euro sign) included.
#include "platform/codepage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace glyvora {

namespace {

// One converter per direction and thread, opened on first use and never closed: the folder walk
// converts every name that is not ASCII, opening a converter costs more than converting a name, and
// one closed at exit could still be wanted by a destructor that converts text.
iconv_t converter(const char* to, const char* from) {
    return ::iconv_open(to, from);
}

bool valid(iconv_t cd) {
    return cd != reinterpret_cast<iconv_t>(-1);
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
    thread_local const iconv_t cd = converter("UTF-16LE", "CP936");
    return convert<std::u16string>(cd, ansi.data(), ansi.size(), 1, u"?");
}

Text utf16ToAnsi(std::u16string_view wide) {
    thread_local const iconv_t cd = converter("CP936", "UTF-16LE");
    return convert<Text>(cd, reinterpret_cast<const char*>(wide.data()), wide.size() * 2, 2, "?");
}

} // namespace glyvora
