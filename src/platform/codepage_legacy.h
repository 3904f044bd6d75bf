#pragma once
// Multibyte text of a code page other than the ANSI one, to UTF-16: the double-byte code pages old
// CJK fonts store their names in (932 Shift-JIS, 936 GBK, 949 Wansung, 950 Big5, 1361 Johab), and
// the single-byte ones of bitmap fonts' character sets (437, 874, 1250 to 1258).

#include <string>
#include <string_view>

namespace glyvora {

// MultiByteToWideChar(codePage, ...); what does not convert becomes U+003F on POSIX and whatever
// the system substitutes on Windows. An unknown code page gives the empty text.
std::u16string codePageToUtf16(unsigned codePage, std::string_view bytes);

} // namespace glyvora
