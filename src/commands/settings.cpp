#include "commands/settings.h"

#include "platform/profile.h"

namespace glyvora {

namespace {

// The argument without its leading bytes 0x01..0x20 (a zero byte ends a text, so it never leads).
Text skipLeadingControls(const Text& text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x01 &&
           static_cast<unsigned char>(text[i]) <= 0x20)
        ++i;
    return text.substr(i);
}

} // namespace

Text ReadIniValue(const Text& file, const Text& section, const Text& key, const Text& defaultValue) {
    const Text path = skipLeadingControls(file);
    const Text sectionName = skipLeadingControls(section);
    const Text keyName = skipLeadingControls(key);
    if (path.empty() || sectionName.empty() || keyName.empty()) return Text();
    return readProfileString(path, sectionName, keyName, defaultValue, kIniValueBufferSize);
}

bool WriteIniValue(const Text& file, const Text& section, const std::optional<Text>& key,
                   const std::optional<Text>& value) {
    const Text path = skipLeadingControls(file);
    const Text sectionName = skipLeadingControls(section);
    if (path.empty() || sectionName.empty()) return false;
    if (!key) return writeProfileString(path, sectionName, std::nullopt, std::nullopt);
    const Text keyName = skipLeadingControls(*key);
    if (keyName.empty()) return false;
    return writeProfileString(path, sectionName, keyName, value);
}

} // namespace glyvora
