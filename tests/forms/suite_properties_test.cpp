// Properties on live units: clamps, events raised by writes, the font sub-fields, menu items.
#include "forms_suite.h"

namespace glyvora::testing {
namespace {

using namespace mainwin;

Text readText(UnitId unit, int property) {
    return readProperty(window, unit, property).as<Text>();
}
int readInt(WindowId w, UnitId unit, int property, int sub = -1) {
    return readProperty(w, unit, property, sub).as<std::int32_t>();
}
bool readBool(WindowId w, UnitId unit, int property, int sub = -1) {
    return readProperty(w, unit, property, sub).as<bool>();
}

TEST_P(FormsSuite, writingTheSampleTextRaisesItsChangeEventAsTypingDoes) {
    openMain({record(编辑框_内容, event::changed)});
    EXPECT_EQ(readText(编辑框_内容, prop::content), "中国智造慧及全球");
    writeProperty(window, 编辑框_内容, prop::content, Value("abc"));
    EXPECT_EQ(eventsOf(编辑框_内容, event::changed), 1);
    EXPECT_EQ(user->shownText(window, 编辑框_内容), "abc");
    ASSERT_TRUE(user->type(window, 编辑框_内容, "样例"));
    EXPECT_EQ(eventsOf(编辑框_内容, event::changed), 2);
    EXPECT_EQ(readText(编辑框_内容, prop::content), "样例");
}

TEST_P(FormsSuite, comboSelectionWrittenIsClampedAndRaisesNothing) {
    openMain({record(组合框_字号, event::chosen)});
    EXPECT_EQ(readInt(window, 组合框_字号, prop::selection), -1);
    writeProperty(window, 组合框_字号, prop::selection, Value(7));
    EXPECT_EQ(readInt(window, 组合框_字号, prop::selection), 4);
    EXPECT_EQ(user->shownComboSelection(window, 组合框_字号), 4);
    writeProperty(window, 组合框_字号, prop::selection, Value(-5));
    EXPECT_EQ(readInt(window, 组合框_字号, prop::selection), -1);
    writeProperty(window, 组合框_字号, prop::selection, Value(2));
    writeProperty(window, 组合框_字号, prop::selection, Value(-1));
    EXPECT_EQ(readInt(window, 组合框_字号, prop::selection), -1);
    EXPECT_TRUE(seen.empty());
}

TEST_P(FormsSuite, comboChoiceOfTheUserArrivesThroughThePostedEvent) {
    // The chosen event of the style box reads the new selection; it runs after the choice, once
    // the message loop reaches it.
    int selectionSeen = -2;
    openMain({on(组合框_字体样式, event::chosen,
                 [&] { selectionSeen = readInt(window, 组合框_字体样式, prop::selection); })});
    ASSERT_TRUE(user->chooseComboItem(window, 组合框_字体样式, 1));
    EXPECT_EQ(selectionSeen, 1);
    EXPECT_FALSE(user->chooseComboItem(window, 组合框_字体样式, 3));
}

TEST_P(FormsSuite, checkBoxClicksRaiseEventsAndReadTrueOnlyWhenChecked) {
    openMain({record(选择框_自动翻页, event::clicked)});
    EXPECT_FALSE(readBool(window, 选择框_自动翻页, prop::checked));
    ASSERT_TRUE(user->click(window, 选择框_自动翻页));
    EXPECT_TRUE(readBool(window, 选择框_自动翻页, prop::checked));
    writeProperty(window, 选择框_自动翻页, prop::checked, Value(false));
    EXPECT_EQ(user->shownCheckState(window, 选择框_自动翻页), 0);
    EXPECT_EQ(eventsOf(选择框_自动翻页, event::clicked), 1);
    ASSERT_TRUE(user->doubleClick(window, 选择框_自动翻页));
    EXPECT_EQ(eventsOf(选择框_自动翻页, event::clicked), 3);
}

TEST_P(FormsSuite, progressBarRangeAndPositionAreHeldWithin0To32767) {
    openMain();
    ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    using namespace scanwin;
    EXPECT_EQ(user->shownProgress(scanwin::window, 进度条1), (ShownProgress{0, 0, 0}));
    writeProperty(scanwin::window, 进度条1, prop::maximum, Value(40000));
    EXPECT_EQ(readInt(scanwin::window, 进度条1, prop::maximum), 32767);
    writeProperty(scanwin::window, 进度条1, prop::position, Value(-3));
    EXPECT_EQ(readInt(scanwin::window, 进度条1, prop::position), 0);
    writeProperty(scanwin::window, 进度条1, prop::position, Value(50000));
    EXPECT_EQ(readInt(scanwin::window, 进度条1, prop::position), 32767);
    EXPECT_EQ(user->shownProgress(scanwin::window, 进度条1), (ShownProgress{0, 32767, 32767}));
    EXPECT_EQ(user->shownText(scanwin::window, 标签1), "正在扫描字体…");
}

TEST_P(FormsSuite, commonPropertiesClampSizesAndKeepTags) {
    openMain();
    writeProperty(window, 标签_页次, prop::width, Value(40000));
    writeProperty(window, 标签_页次, prop::height, Value(-5));
    EXPECT_EQ(readInt(window, 标签_页次, prop::width), 32627);
    EXPECT_EQ(readInt(window, 标签_页次, prop::height), 0);
    EXPECT_EQ(readInt(window, 标签_页次, prop::left), 101);
    writeProperty(window, 标签_页次, prop::tag, Value("记号"));
    EXPECT_EQ(readText(标签_页次, prop::tag), "记号");
    // A hidden or disabled button cannot be clicked.
    writeProperty(window, 按钮_下一页, prop::visible, Value(false));
    EXPECT_FALSE(readBool(window, 按钮_下一页, prop::visible));
    EXPECT_FALSE(user->click(window, 按钮_下一页));
    writeProperty(window, 按钮_下一页, prop::visible, Value(true));
    writeProperty(window, 按钮_下一页, prop::disabled, Value(true));
    EXPECT_FALSE(user->click(window, 按钮_下一页));
}

TEST_P(FormsSuite, theWindowUnitIsCentredAndSizedThroughItsCommonProperties) {
    openMain();
    const ScreenInfo screen = backend->screen();
    EXPECT_EQ(readInt(window, windowUnit, prop::left), (screen.width - 700) / 2);
    EXPECT_EQ(readInt(window, windowUnit, prop::top), (screen.height - 762) / 2);
    EXPECT_EQ(readInt(window, windowUnit, prop::width), 700);
    writeProperty(window, windowUnit, prop::height, Value(718));
    EXPECT_EQ(user->windowRect(window).height, 718);
    EXPECT_EQ(readInt(window, windowUnit, prop::height), 718);
    writeProperty(window, windowUnit, prop::visible, Value(false));
    EXPECT_FALSE(user->windowShown(window));
    writeProperty(window, windowUnit, prop::visible, Value(true));
    EXPECT_TRUE(user->windowShown(window));
}

TEST_P(FormsSuite, alwaysOnTopOffPutsTheOtherTopMostWindowsBack) {
    openMain();
    ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    EXPECT_TRUE(readBool(window, windowUnit, prop::alwaysOnTop));
    EXPECT_TRUE(user->windowOnTop(window));
    writeProperty(window, windowUnit, prop::alwaysOnTop, Value(false));
    EXPECT_FALSE(readBool(window, windowUnit, prop::alwaysOnTop));
    EXPECT_FALSE(user->windowOnTop(window));
    EXPECT_TRUE(user->windowOnTop(scanwin::window));
    writeProperty(window, windowUnit, prop::alwaysOnTop, Value(true));
    EXPECT_TRUE(user->windowOnTop(window));
}

TEST_P(FormsSuite, fontSubFieldsChangeOneAttributeOfThePreviewFont) {
    openMain();
    const UnitId label = previewLabel(3);
    EXPECT_EQ(readInt(window, label, prop::font, fontField::points), 48); // 64 pixels at 96 dpi
    writeProperty(window, label, prop::font, Value(true), fontField::bold);
    EXPECT_TRUE(readBool(window, label, prop::font, fontField::bold));
    EXPECT_EQ(user->shownFont(window, label)->weight, 700);
    writeProperty(window, label, prop::font, Value(false), fontField::bold);
    EXPECT_EQ(user->shownFont(window, label)->weight, 0);
    const int dpi = backend->screen().dpiY;
    writeProperty(window, label, prop::font, Value(14), fontField::points);
    EXPECT_EQ(user->shownFont(window, label)->height, fontHeightForPoints(14, dpi));
    writeProperty(window, label, prop::font, Value(-3), fontField::points);
    EXPECT_EQ(user->shownFont(window, label)->height, 0);
    writeProperty(window, label, prop::font, Value("Sample Sans"), fontField::faceName);
    EXPECT_EQ(user->shownFont(window, label)->faceName, "Sample Sans");
    writeProperty(window, label, prop::font, Value(Text(32, 'x')), fontField::faceName);
    EXPECT_EQ(user->shownFont(window, label)->faceName, "宋体");
    writeProperty(window, label, prop::font, Value(Text(31, 'x')), fontField::faceName);
    EXPECT_EQ(user->shownFont(window, label)->faceName, Text(31, 'x'));
    writeProperty(window, label, prop::font, Value(""), fontField::faceName);
    EXPECT_EQ(user->shownFont(window, label)->faceName, "宋体");
    writeProperty(window, label, prop::font, Value(true), fontField::italic);
    const UnitFont font = *user->shownFont(window, label);
    EXPECT_TRUE(font.italic);
    EXPECT_EQ(font.charset, 134); // the attributes not written stay
    EXPECT_FALSE(font.underline);
    // Another label's font is untouched.
    EXPECT_EQ(user->shownFont(window, previewLabel(4))->height, -64);
}

TEST_P(FormsSuite, aFontSubFieldOfALabelWithoutAFontStartsFromTheDefaultFont) {
    openMain();
    writeProperty(window, 标签_页次, prop::font, Value(true), fontField::underline);
    UnitFont expected = backend->defaultGuiFont();
    expected.underline = true;
    EXPECT_EQ(*user->shownFont(window, 标签_页次), expected);
}

TEST_P(FormsSuite, aLabelsFontFileIsKeptAndGivenToItsControlWithoutTouchingTheFont) {
    openMain();
    const UnitId label = previewLabel(2);
    EXPECT_EQ(readText(label, prop::fontFile), "");
    writeProperty(window, label, prop::font, Value("Sample Sans"), fontField::faceName);
    const UnitFont before = *user->shownFont(window, label);
    // Without a source of font-file facts the file changes nothing the label shows.
    writeProperty(window, label, prop::fontFile, Value("C:\\字体\\sample.ttf"));
    EXPECT_EQ(readText(label, prop::fontFile), "C:\\字体\\sample.ttf");
    EXPECT_EQ(user->shownFontFile(window, label), "C:\\字体\\sample.ttf");
    EXPECT_EQ(*user->shownFont(window, label), before);
    EXPECT_EQ(readProperty(window, label, prop::font, fontField::faceName), Value("Sample Sans"));
    EXPECT_EQ(user->shownFontFile(window, previewLabel(3)), "");
    writeProperty(window, label, prop::fontFile, Value(""));
    EXPECT_EQ(user->shownFontFile(window, label), "");
    // A unit of another type has no such property.
    writeProperty(window, 按钮_上一页, prop::fontFile, Value("x.ttf"));
    EXPECT_EQ(readProperty(window, 按钮_上一页, prop::fontFile), Value());
}

TEST_P(FormsSuite, labelCaptionsAndColoursAreShown) {
    openMain();
    EXPECT_EQ(readText(标签_页次, prop::caption), "页次：999/1000");
    writeProperty(window, 标签_页次, prop::caption, Value("页次：1/1"));
    EXPECT_EQ(user->shownText(window, 标签_页次), "页次：1/1");
    EXPECT_EQ(readInt(window, previewLabel(1), prop::backColour), 0xFFFFFF);
    writeProperty(window, previewLabel(1), prop::textColour, Value(255));
    EXPECT_EQ(readInt(window, previewLabel(1), prop::textColour), 255);
}

TEST_P(FormsSuite, colourPickerRaisesItsEventOnlyWhenAColourIsChosen) {
    openMain({record(颜色选择器_字体颜色, event::chosen)});
    user->answerColourChoice(0x0000FF);
    ASSERT_TRUE(user->openColourPicker(window, 颜色选择器_字体颜色));
    EXPECT_EQ(eventsOf(颜色选择器_字体颜色, event::chosen), 1);
    EXPECT_EQ(readInt(window, 颜色选择器_字体颜色, prop::colour), 0xFF);
    user->answerColourChoice(std::nullopt);
    ASSERT_TRUE(user->openColourPicker(window, 颜色选择器_字体颜色));
    EXPECT_EQ(eventsOf(颜色选择器_字体颜色, event::chosen), 1);
    EXPECT_EQ(user->shownPickerColour(window, 颜色选择器_字体颜色), 0xFFu);
    const auto shown = user->dialogs();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].colourChoice.initial, 0u);
    EXPECT_EQ(shown[1].colourChoice.initial, 0xFFu);
    writeProperty(window, 颜色选择器_字体颜色, prop::colour, Value(0xFFFFFF));
    EXPECT_EQ(user->shownPickerColour(window, 颜色选择器_字体颜色), 0xFFFFFFu);
    EXPECT_EQ(eventsOf(颜色选择器_字体颜色, event::chosen), 1);
}

TEST_P(FormsSuite, menuItemPropertiesAreKeptForTheNextPopup) {
    openMain();
    EXPECT_EQ(readText(集1, prop::menuCaption), "集1");
    EXPECT_TRUE(readBool(window, 集1, prop::menuVisible));
    writeProperty(window, 集1, prop::menuCaption, Value("常用"));
    writeProperty(window, 总在最前, prop::menuChecked, Value(true));
    writeProperty(window, 集2, prop::menuVisible, Value(false));
    EXPECT_EQ(readText(集1, prop::menuCaption), "常用");
    EXPECT_TRUE(readBool(window, 总在最前, prop::menuChecked));
    EXPECT_FALSE(readBool(window, 集2, prop::menuVisible));
    EXPECT_FALSE(readBool(window, 集2, prop::menuDisabled));
}

TEST_P(FormsSuite, aUnitHintIsShownReplacedAndRemoved) {
    openMain();
    const UnitId first = previewLabel(1), second = previewLabel(2);
    EXPECT_EQ(user->shownHint(window, first), "");
    SetUnitHint(window, first, "Arial\r\nC:\\Fonts\\arial.ttf");
    SetUnitHint(window, second, "Verdana\r\nC:\\Fonts\\verdana.ttf");
    EXPECT_EQ(user->shownHint(window, first), "Arial\r\nC:\\Fonts\\arial.ttf");
    SetUnitHint(window, first, "Tahoma\r\nD:\\tahoma.ttf");
    EXPECT_EQ(user->shownHint(window, first), "Tahoma\r\nD:\\tahoma.ttf");
    // A label turned blank loses its tip; the others keep theirs, and a later hint comes back.
    SetUnitHint(window, first, "");
    EXPECT_EQ(user->shownHint(window, first), "");
    EXPECT_EQ(user->shownHint(window, second), "Verdana\r\nC:\\Fonts\\verdana.ttf");
    SetUnitHint(window, first, "Courier New\r\nC:\\Fonts\\cour.ttf");
    EXPECT_EQ(user->shownHint(window, first), "Courier New\r\nC:\\Fonts\\cour.ttf");
}

TEST_P(FormsSuite, aUnitHintKeepsChineseByteForByteAndGoesWithItsWindow) {
    const Text hint = "方正兰亭黑_GBK\r\nD:\\字体库\\中文\\方正兰亭黑.ttf";
    // Set while the window is being created, before it shows.
    openMain({on(windowUnit, event::created, [&] { SetUnitHint(window, 编辑框_内容, hint); })});
    EXPECT_EQ(user->shownHint(window, 编辑框_内容), hint);
    SetUnitHint(window, previewLabel(8), "宋体\r\nC:\\Windows\\Fonts\\simsun.ttc");
    EXPECT_EQ(user->shownHint(window, previewLabel(8)), "宋体\r\nC:\\Windows\\Fonts\\simsun.ttc");

    CloseWindowUnit(ref);
    ProcessEvents();
    ASSERT_FALSE(layer->isOpen(window));
    layer->bindEvents(window, {});
    ASSERT_TRUE(LoadWindow(ref));
    EXPECT_EQ(user->shownHint(window, 编辑框_内容), "");
    EXPECT_EQ(user->shownHint(window, previewLabel(8)), "");
}

TEST_P(FormsSuite, treeColoursAreProperties9And10) {
    openMain();
    EXPECT_EQ(readInt(window, 树型框1, prop::treeTextColour), 0);
    EXPECT_EQ(readInt(window, 树型框1, prop::treeBackColour), 0xFFFFFF);
    writeProperty(window, 树型框1, prop::treeBackColour, Value(0x00FF00));
    EXPECT_EQ(readInt(window, 树型框1, prop::treeBackColour), 0x00FF00);
}

} // namespace
} // namespace glyvora::testing
