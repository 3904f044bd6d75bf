// The portable rules of the form layer that need no backend: templates, menus, fonts, dialogs.
#include "forms/dialogs.h"
#include "forms/font.h"
#include "forms/menu.h"
#include "forms/templates.h"

#include <gtest/gtest.h>
#include <set>

namespace glyvora {
namespace {

int countOf(const WindowTemplate& t, UnitType type) {
    int n = 0;
    for (const UnitTemplate& u : t.units)
        if (u.type == type) ++n;
    return n;
}

TEST(Templates, theMainWindowHas79UnitsInTheirOrder) {
    const WindowTemplate& t = mainWindowTemplate();
    ASSERT_EQ(t.units.size(), 79u);
    EXPECT_EQ(t.window, 0x52010003u);
    EXPECT_EQ(t.units[0].id, 0x6010002u);
    EXPECT_EQ(t.units[0].type, UnitType::Window);
    EXPECT_EQ(countOf(t, UnitType::Menu), 39);
    EXPECT_EQ(countOf(t, UnitType::Label), 19);
    EXPECT_EQ(countOf(t, UnitType::Button), 7);
    EXPECT_EQ(countOf(t, UnitType::EditBox), 4);
    EXPECT_EQ(countOf(t, UnitType::CheckBox), 2);
    EXPECT_EQ(countOf(t, UnitType::ComboBox), 2);
    EXPECT_EQ(countOf(t, UnitType::ColorPicker), 4);
    EXPECT_EQ(countOf(t, UnitType::TreeBox), 1);
    // The controls come first, in creation order, then the menus.
    EXPECT_EQ(t.units[1].name, "标签_分隔条9");
    EXPECT_EQ(t.units[39].name, "编辑框_内容");
    EXPECT_EQ(t.units[40].name, "托盘菜单");
    EXPECT_EQ(t.units[78].name, "集10");
    std::set<UnitId> ids;
    for (const UnitTemplate& u : t.units) {
        EXPECT_TRUE(ids.insert(u.id).second) << u.name;
        if (u.type == UnitType::Menu) {
            EXPECT_EQ(u.id >> 24, 0x26u) << u.name;
        } else if (u.type != UnitType::Window) {
            EXPECT_EQ(u.id >> 24, 0x16u) << u.name;
        }
    }
}

TEST(Templates, controlsCarryTheirGeometryCaptionsItemsAndFonts) {
    const WindowTemplate& t = mainWindowTemplate();
    const UnitTemplate& window = t.windowUnitTemplate();
    EXPECT_EQ((std::vector<int>{window.left, window.top, window.width, window.height}),
              (std::vector<int>{50, 50, 700, 762}));
    EXPECT_TRUE(window.window.centred);
    EXPECT_TRUE(window.window.alwaysOnTop);
    EXPECT_FALSE(window.window.minMaxButtons);
    const UnitTemplate* tree = t.find(mainwin::树型框1);
    ASSERT_TRUE(tree);
    EXPECT_EQ((std::vector<int>{tree->left, tree->top, tree->width, tree->height}),
              (std::vector<int>{525, 0, 175, 667}));
    EXPECT_EQ(tree->font->height, -15);
    EXPECT_EQ(tree->font->faceName, "宋体");
    EXPECT_EQ(tree->tree.itemHeight, 25);
    EXPECT_TRUE(tree->tree.editLabels);
    EXPECT_EQ(tree->tree.borderStyle, 3);
    EXPECT_EQ(t.find(mainwin::组合框_字号)->items, (std::vector<Text>{"14", "18", "24", "36", "48"}));
    EXPECT_EQ(t.find(mainwin::组合框_字体样式)->items, (std::vector<Text>{"常规", "加粗", "倾斜"}));
    EXPECT_EQ(t.find(mainwin::选择框_自动翻页)->caption, "自动翻页 每页显示时间秒：");
    EXPECT_EQ(t.find(mainwin::编辑框_内容)->caption, "中国智造慧及全球");
    EXPECT_EQ(t.find(mainwin::按钮_界面收缩)->caption, ">>");
    for (int k = 1; k <= 8; ++k) {
        const UnitTemplate* label = t.find(mainwin::previewLabel(k));
        ASSERT_TRUE(label) << k;
        EXPECT_EQ(label->name, "标签_字体显示" + std::to_string(k));
        EXPECT_EQ(label->top, k == 1 ? 6 : 86 + 80 * (k - 2));
        EXPECT_EQ(label->font->height, -64);
        EXPECT_EQ(label->font->charset, 134);
        EXPECT_EQ(label->font->faceName, "");
        EXPECT_EQ(*label->backColour, 0xFFFFFFu);
    }
    EXPECT_EQ(mainwin::previewLabel(2), 0x16014bfbu);
    EXPECT_EQ(mainwin::previewLabel(8), 0x16014c01u);
}

TEST(Templates, theScanWindowHasItsBarAndLabel) {
    const WindowTemplate& t = scanWindowTemplate();
    ASSERT_EQ(t.units.size(), 3u);
    EXPECT_EQ(t.window, 0x520150ffu);
    EXPECT_EQ(t.windowUnit, 0x60150feu);
    EXPECT_FALSE(t.windowUnitTemplate().window.closeCommand);
    EXPECT_EQ(t.windowUnitTemplate().width, 380);
    EXPECT_EQ(t.units[1].type, UnitType::ProcessBar);
    EXPECT_EQ((std::vector<int>{t.units[1].left, t.units[1].top, t.units[1].width, t.units[1].height}),
              (std::vector<int>{16, 56, 352, 32}));
    EXPECT_EQ(t.units[2].caption, "正在扫描字体…");
}

TEST(Templates, menusHaveTheirLevelsAndHiddenRoots) {
    const WindowTemplate& t = mainWindowTemplate();
    std::vector<Text> roots;
    for (const UnitTemplate& u : t.units)
        if (u.type == UnitType::Menu && u.menuLevel == 0) {
            roots.push_back(u.name);
            EXPECT_TRUE(u.menuFlags & kMenuHidden);
        }
    EXPECT_EQ(roots, (std::vector<Text>{"托盘菜单", "一级分类被右击", "二级分类被右击", "三级分类被右击",
                                        "字体预览标签被右击"}));
    EXPECT_EQ(t.find(mainwin::集10)->menuLevel, 2);
    EXPECT_EQ(t.find(mainwin::添加到集)->menuLevel, 1);
    EXPECT_EQ(t.find(mainwin::退出不推荐)->caption, "退出(不推荐)");
}

TEST(Menus, commandNumbersAre20000PlusThePositionAmongMenuUnits) {
    const WindowTemplate& t = mainWindowTemplate();
    EXPECT_EQ(menuCommandOf(t, mainwin::托盘菜单), 20000u);
    EXPECT_EQ(menuCommandOf(t, mainwin::退出不推荐), 20003u);
    EXPECT_EQ(menuCommandOf(t, mainwin::集10), 20038u);
    EXPECT_EQ(menuCommandOf(t, mainwin::按钮_下一页), 0u);
    EXPECT_EQ(menuUnitOfCommand(t, 20003), std::optional<UnitId>(mainwin::退出不推荐));
    EXPECT_FALSE(menuUnitOfCommand(t, 20039));
    EXPECT_FALSE(menuUnitOfCommand(t, 19999));
    EXPECT_FALSE(menuUnitOfCommand(t, 57600));
}

TEST(Menus, aHiddenItemIsLeftOutWithItsSubmenu) {
    const WindowTemplate& t = mainWindowTemplate();
    auto stateOf = [&](UnitId id) {
        MenuItemState s{t.find(id)->caption, false, false, true};
        if (id == mainwin::添加到集) s.visible = false;
        return s;
    };
    const auto entries = buildPopupMenu(t, mainwin::字体预览标签被右击, stateOf);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_TRUE(entries.back().separator);
    EXPECT_TRUE(buildPopupMenu(t, mainwin::按钮_下一页, stateOf).empty());
    // The submenu's own items pop up by themselves too.
    auto visible = [&](UnitId id) { return MenuItemState{t.find(id)->caption, false, false, true}; };
    EXPECT_EQ(buildPopupMenu(t, mainwin::添加到集, visible).size(), 10u);
}

TEST(Fonts, pointsBecomeNegativePixelHeightsRounded) {
    EXPECT_EQ(fontHeightForPoints(48, 96), -64);
    EXPECT_EQ(fontHeightForPoints(14, 96), -19); // 18.67
    EXPECT_EQ(fontHeightForPoints(9, 96), -12);
    EXPECT_EQ(fontHeightForPoints(-5, 96), 0);
    EXPECT_EQ(fontHeightForPoints(36, 120), -60);
    EXPECT_EQ(fontHeightForPoints(INT64_MAX, 96), -INT32_MAX);
    UnitFont f;
    EXPECT_TRUE(writeFontField(f, fontField::escapement, Value(3700), 96));
    EXPECT_EQ(f.escapement, 100);
    EXPECT_FALSE(writeFontField(f, 7, Value(1), 96));
    EXPECT_EQ(readFontField(f, 7, 96), Value());
}

TEST(Fonts, theWholeFontRoundTripsThroughItsDescriptorBytes) {
    UnitFont f;
    f.height = -64;
    f.weight = 700;
    f.italic = true;
    f.charset = 134;
    f.faceName = "宋体";
    const ByteSet bytes = fontToBytes(f);
    ASSERT_EQ(bytes.size(), kFontBytesSize);
    EXPECT_EQ(fontFromBytes(bytes), std::optional<UnitFont>(f));
    EXPECT_FALSE(fontFromBytes(ByteSet(59)));
}

TEST(Dialogs, trayTipsAreCutAtWholeCharacters) {
    EXPECT_EQ(cutTrayTip("Glyvora"), "Glyvora");
    EXPECT_EQ(cutTrayTip(Text(62, 'a') + "b"), Text(62, 'a'));
    EXPECT_EQ(cutTrayTip(Text(60, 'a') + "\xD7\xD6\xD7\xD6"), Text(60, 'a') + "\xD7\xD6");
    EXPECT_EQ(cutTrayTip(Text(61, 'a') + "\xD7\xD6"), Text(61, 'a'));
}

TEST(Dialogs, anIconIsUsableOnlyWithAnImageInsideTheFile) {
    ByteSet icon = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 22, 0, 0, 0, 9, 9, 9, 9};
    EXPECT_TRUE(isUsableIcon(icon));
    ByteSet cut(icon.begin(), icon.end() - 1); // the image runs past the end
    EXPECT_FALSE(isUsableIcon(cut));
    ByteSet cursor = icon;
    cursor[2] = 2; // a cursor file
    EXPECT_FALSE(isUsableIcon(cursor));
    ByteSet many = icon;
    many[4] = 0xFF;                  // more images than the file holds
    EXPECT_TRUE(isUsableIcon(many)); // the first one is inside
    EXPECT_FALSE(isUsableIcon(ByteSet{0, 0, 1, 0, 5, 0}));
    EXPECT_FALSE(isUsableIcon(ByteSet()));
}

TEST(Dialogs, messageBoxFlagsAndResults) {
    EXPECT_EQ(messageBoxFlags(16), 0x2010u);
    EXPECT_EQ(messageBoxFlags(0x1000), 0x1000u);
    EXPECT_EQ(messageBoxResult(dialogButton::ok), 0);
    EXPECT_EQ(messageBoxResult(dialogButton::yes), 5);
    EXPECT_EQ(messageBoxResult(dialogButton::no), 6);
    EXPECT_EQ(messageBoxResult(0), -1); // the box could not be shown: not an OK
}

TEST(Dialogs, inputBoxLayoutsInDialogUnits) {
    const InputBoxLayout with = inputBoxLayout(true);
    EXPECT_EQ(with.prompt, (DialogRect{7, 7, 238, 35}));
    EXPECT_EQ(with.edit, (DialogRect{7, 45, 238, 12}));
    EXPECT_EQ(with.okButton, (DialogRect{63, 66, 55, 19}));
    EXPECT_EQ(with.cancelButton, (DialogRect{134, 66, 55, 19}));
    const InputBoxLayout without = inputBoxLayout(false);
    EXPECT_EQ((std::vector<int>{without.width, without.height}), (std::vector<int>{214, 56}));
    EXPECT_EQ(without.edit, (DialogRect{7, 7, 200, 12}));
    EXPECT_EQ(without.okButton, (DialogRect{82, 30, 55, 19}));
    EXPECT_EQ(without.cancelButton, (DialogRect{151, 30, 55, 19}));
    EXPECT_EQ(controlPanelCommandLine(7), "rundll32.exe shell32.dll,SHHelpShortcuts_RunDLL FontsFolder");
    EXPECT_EQ(controlPanelCommandLine(3), "");
}

} // namespace
} // namespace glyvora
