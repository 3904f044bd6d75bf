#include "app/settings.h"

#include "app/main_window.h"
#include "app/program_files.h"
#include "commands/conversion.h"
#include "commands/settings.h"
#include "fonts/preview_pages.h"

namespace glyvora::app {

namespace {

const Text kSection = "Glyvora";
const Text kLabelBackColourKey = "字体背景颜色";
const Text kLabelTextColourKey = "字体颜色";
const Text kTreeTextColourKey = "分类文本颜色";
const Text kTreeBackColourKey = "分类背景颜色";
const Text kSampleTextKey = "字体预览的内容";
const Text kSizeSelectionKey = "字号大小现行选中项";
const Text kStyleSelectionKey = "字体样式现行选中项";

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = 0x0000FF;
const Text kDefaultSampleText = "中国智造慧及全球";
constexpr int kDefaultSizeSelection = 4;  // "48"
constexpr int kDefaultStyleSelection = 0; // "常规"

Text readSetting(const MainState& state, const Text& key) {
    return ReadIniValue(programFile(state, kSettingsFile), kSection, key);
}

// A stored number, truncated toward zero; text that is no number gives 0.
std::int32_t storedNumber(const Text& text) {
    const double n = ToNumber(Value(text));
    if (!(n > -2147483648.0 && n < 2147483648.0)) return 0;
    return static_cast<std::int32_t>(n);
}

void writeSetting(const MainState& state, const Text& key, const Value& value) {
    WriteIniValue(programFile(state, kSettingsFile), kSection, key, ToText(value));
}

} // namespace

void loadSettings(MainState& state) {
    Text stored = readSetting(state, kLabelBackColourKey);
    writeMain(mainwin::颜色选择器_字体背景颜色, prop::colour,
              stored.empty() ? colourValue(kWhite) : Value(storedNumber(stored)));
    applyLabelBackColour();

    stored = readSetting(state, kLabelTextColourKey);
    writeMain(mainwin::颜色选择器_字体颜色, prop::colour,
              stored.empty() ? colourValue(kRed) : Value(storedNumber(stored)));
    applyLabelTextColour();

    stored = readSetting(state, kTreeTextColourKey);
    if (!stored.empty()) {
        writeMain(mainwin::颜色选择器_树形框文本颜色, prop::colour, Value(storedNumber(stored)));
        writeMain(mainwin::树型框1, prop::treeTextColour,
                  readMain(mainwin::颜色选择器_树形框文本颜色, prop::colour));
    }

    stored = readSetting(state, kTreeBackColourKey);
    writeMain(mainwin::颜色选择器_树形框背景颜色, prop::colour,
              stored.empty() ? colourValue(kWhite) : Value(storedNumber(stored)));
    writeMain(mainwin::树型框1, prop::treeBackColour,
              readMain(mainwin::颜色选择器_树形框背景颜色, prop::colour));

    stored = readSetting(state, kSampleTextKey);
    writeMain(mainwin::编辑框_内容, prop::content, Value(stored.empty() ? kDefaultSampleText : stored));

    stored = readSetting(state, kSizeSelectionKey);
    writeMain(mainwin::组合框_字号, prop::selection,
              Value(stored.empty() ? kDefaultSizeSelection : storedNumber(stored)));

    stored = readSetting(state, kStyleSelectionKey);
    writeMain(mainwin::组合框_字体样式, prop::selection,
              Value(stored.empty() ? kDefaultStyleSelection : storedNumber(stored)));
}

void saveSettings(MainState& state) {
    writeSetting(state, kLabelBackColourKey, readMain(mainwin::颜色选择器_字体背景颜色, prop::colour));
    writeSetting(state, kLabelTextColourKey, readMain(mainwin::颜色选择器_字体颜色, prop::colour));
    writeSetting(state, kTreeTextColourKey, readMain(mainwin::颜色选择器_树形框文本颜色, prop::colour));
    writeSetting(state, kTreeBackColourKey, readMain(mainwin::颜色选择器_树形框背景颜色, prop::colour));
    writeSetting(state, kSampleTextKey, readMain(mainwin::编辑框_内容, prop::content));
    writeSetting(state, kSizeSelectionKey, readMain(mainwin::组合框_字号, prop::selection));
    writeSetting(state, kStyleSelectionKey, readMain(mainwin::组合框_字体样式, prop::selection));
}

} // namespace glyvora::app
