#include "platform/posix/native_path.h"

#include "platform/codepage.h"
#include "platform/gbk.h"

#include <algorithm>

namespace glyvora::posix {

namespace {

Text replaceSeparators(const Text& path, char from, char to) {
    Text out = path;
    std::size_t i = 0;
    while (i < out.size()) {
        const std::size_t n = gbk::charLength(out, i);
        if (n == 1 && out[i] == from) out[i] = to;
        i += n;
    }
    return out;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The conversions substitute "?" for what they cannot convert; a name only converts when going back
// gives the bytes it started from.
Text gbkNameToUtf8(std::string_view name) {
    if (isAscii(name)) return Text(name);
    const std::u16string wide = ansiToUtf16(name);
    if (utf16ToAnsi(wide) != name) return Text(name);
    return utf16ToUtf8(wide);
}

Text utf8NameToGbk(std::string_view name) {
    if (isAscii(name)) return Text(name);
    const std::u16string wide = utf8ToUtf16(name);
    if (utf16ToUtf8(wide) != name) return Text(name); // not UTF-8
    Text ansi = utf16ToAnsi(wide);
    if (ansiToUtf16(ansi) != wide) return Text(name); // a character GBK lacks
    return ansi;
}

// Each component between "/" separators converted on its own, so that one name in another
// encoding leaves the rest of the path readable.
template <typename Convert>
Text convertComponents(const Text& path, Convert convert) {
    if (isAscii(path)) return path;
    Text out;
    out.reserve(path.size() + path.size() / 2);
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        out += convert(std::string_view(path).substr(start, slash - start));
        if (slash == path.size()) break;
        out += '/';
        start = slash + 1;
    }
    return out;
}

} // namespace

Text toSlashes(const Text& path) {
    return replaceSeparators(path, '\\', '/');
}

Text toBackslashes(const Text& path) {
    return replaceSeparators(path, '/', '\\');
}

// A "/" is never part of a GBK character (trail bytes start at 0x40), so the components can be cut
// at every "/" byte once the backslashes are replaced.
Text toNativePath(const Text& path) {
    return namesToNative(toSlashes(path));
}

Text namesToNative(const Text& slashedPath) {
    return convertComponents(slashedPath, gbkNameToUtf8);
}

// Nor is it part of a UTF-8 character, and a component that keeps its bytes has no "/" either.
Text fromNativePath(const Text& path) {
    return toBackslashes(convertComponents(path, utf8NameToGbk));
}

Text fromNativeName(std::string_view name) {
    return utf8NameToGbk(name);
}

} // namespace glyvora::posix
