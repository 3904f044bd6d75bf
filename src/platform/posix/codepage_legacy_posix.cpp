// glibc's iconv has converters for every double-byte code page a font name may use, and for the
// single-byte ones of bitmap fonts' character sets.
#include "platform/codepage_legacy.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace glyvora {

namespace {

const char* iconvName(unsigned codePage) {
    switch (codePage) {
    case 437:
        return "CP437";
    case 874:
        return "CP874";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1252:
        return "CP1252";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    case 932:
        return "CP932";
    case 936:
        return "CP936";
    case 949:
        return "CP949";
    case 950:
        return "CP950";
    case 1361:
        return "JOHAB";
    default:
        return nullptr;
    }
}

} // namespace

std::u16string codePageToUtf16(unsigned codePage, std::string_view bytes) {
    std::u16string out;
    const char* from = iconvName(codePage);
    if (!from || bytes.empty()) return out;
    iconv_t cd = ::iconv_open("UTF-16LE", from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    alignas(8) char buffer[512];
    while (inLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t rc = ::iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(reinterpret_cast<const char16_t*>(buffer), (sizeof buffer - dstLeft) / 2);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An invalid or incomplete sequence: substitute and skip one byte.
            out += u'?';
            ++in;
            --inLeft;
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    ::iconv_close(cd);
    return out;
}

} // namespace glyvora
