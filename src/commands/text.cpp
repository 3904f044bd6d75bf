#include "commands/text.h"

#include "platform/gbk.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace glyvora {

namespace {

// The full-width space of GBK.
constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

bool isSpaceAt(std::string_view text, std::size_t pos, std::size_t length) {
    if (length == 1) return text[pos] == ' ';
    return text.substr(pos, length) == kFullWidthSpace;
}

} // namespace

std::int32_t TextLength(const Text& text) {
    return static_cast<std::int32_t>(text.size());
}

Text RightText(const Text& text, std::int32_t count) {
    if (count <= 0) return Text();
    const std::size_t n = std::min(static_cast<std::size_t>(count), text.size());
    return text.substr(text.size() - n);
}

std::int32_t FindText(const Text& text, const Text& needle, std::int32_t start, bool ignoreCase) {
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (from >= text.size()) return -1;
    if (needle.empty()) return 1;

    // Character boundaries are only known from the start of the text.
    std::size_t pos = 0;
    while (pos < from)
        pos += gbk::charLength(text, pos);

    const std::string_view haystack(text);
    for (; pos < text.size() && text.size() - pos >= needle.size(); pos += gbk::charLength(text, pos)) {
        const std::string_view candidate = haystack.substr(pos, needle.size());
        const bool found = ignoreCase ? gbk::equalsIgnoreCase(candidate, needle) : candidate == needle;
        if (found) return static_cast<std::int32_t>(pos + 1);
    }
    return -1;
}

Text TrimSpaces(const Text& text) {
    std::size_t begin = Text::npos;
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = gbk::charLength(text, pos);
        if (!isSpaceAt(text, pos, length)) {
            if (begin == Text::npos) begin = pos;
            end = pos + length;
        }
        pos += length;
    }
    if (begin == Text::npos) return Text();
    return text.substr(begin, end - begin);
}

std::vector<Text> SplitText(const Text& text, const Text& separator,
                            std::optional<std::int32_t> maximumCount) {
    std::vector<Text> elements;
    const std::size_t limit = !maximumCount       ? SIZE_MAX
                              : *maximumCount < 0 ? 0
                                                  : static_cast<std::size_t>(*maximumCount);
    if (text.empty() || limit == 0) return elements;
    if (separator.empty()) {
        elements.push_back(text);
        return elements;
    }

    std::size_t elementStart = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text.compare(pos, separator.size(), separator) != 0) {
            pos += gbk::charLength(text, pos);
            continue;
        }
        elements.push_back(text.substr(elementStart, pos - elementStart));
        if (elements.size() == limit) return elements;
        pos += separator.size();
        elementStart = pos;
    }
    if (elementStart < text.size()) elements.push_back(text.substr(elementStart));
    return elements;
}

Text SpaceText(std::int32_t count) {
    if (count < 1) return Text();
    return Text(static_cast<std::size_t>(count), ' ');
}

} // namespace glyvora
