// The portable rules of the form layer that need no backend: templates, menus, fonts, dialogs.
#include "app/windows/window_templates.h"
#include "forms/dialogs.h"
#include "forms/font.h"
#include "forms/menu.h"

#include <gtest/gtest.h>
#include <iterator>
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

// One control as the main window's template table lists it.
struct ControlRow {
    const char* name;
    UnitId id;
    UnitType type;
    int left, top, width, height;
    const char* caption;
};

TEST(Templates, everyControlOfTheMainWindowHasItsIdNameTypeGeometryAndCaption) {
    using T = UnitType;
    const ControlRow rows[] = {
        {"标签_分隔条9", 0x16014d76, T::Label, 4, 565, 521, 2, ""},
        {"标签_分隔条8", 0x16014d75, T::Label, 4, 485, 521, 2, ""},
        {"标签_分隔条7", 0x16014d74, T::Label, 4, 405, 521, 2, ""},
        {"标签_分隔条6", 0x16014d73, T::Label, 4, 325, 521, 2, ""},
        {"标签_分隔条5", 0x16014d72, T::Label, 4, 245, 521, 2, ""},
        {"标签_分隔条4", 0x16014d70, T::Label, 4, 165, 521, 2, ""},
        {"标签_分隔条3", 0x16014d6e, T::Label, 4, 85, 521, 2, ""},
        {"标签_分隔条2", 0x16014c09, T::Label, 0, 698, 700, 20, ""},
        {"选择框_窗口置顶", 0x16014c07, T::CheckBox, 446, 652, 77, 20, "窗口置顶"},
        {"按钮_添加集", 0x16014c06, T::Button, 584, 676, 35, 20, "加集"},
        {"组合框_字体样式", 0x16014c05, T::ComboBox, 155, 676, 51, 20, ""},
        {"编辑框_自动翻页每页显示时间", 0x16014c04, T::EditBox, 417, 652, 26, 20, ""},
        {"选择框_自动翻页", 0x16014c03, T::CheckBox, 250, 652, 170, 20, "自动翻页 每页显示时间秒："},
        {"标签_字体显示8", 0x16014c01, T::Label, 4, 566, 521, 80, ""},
        {"标签_字体显示7", 0x16014c00, T::Label, 4, 486, 521, 80, ""},
        {"标签_字体显示6", 0x16014bff, T::Label, 4, 406, 521, 80, ""},
        {"标签_字体显示5", 0x16014bfe, T::Label, 4, 326, 521, 80, ""},
        {"标签_字体显示4", 0x16014bfd, T::Label, 4, 246, 521, 80, ""},
        {"标签_字体显示3", 0x16014bfc, T::Label, 4, 166, 521, 80, ""},
        {"标签_字体显示2", 0x16014bfb, T::Label, 4, 86, 521, 80, ""},
        {"标签_分隔条1", 0x16014bfa, T::Label, 4, 673, 521, 1, ""},
        {"标签_字体显示1", 0x16014bf5, T::Label, 4, 6, 521, 80, ""},
        {"按钮_界面收缩", 0x16014950, T::Button, 505, 676, 20, 20, ">>"},
        {"按钮_搜索字体", 0x16014949, T::Button, 445, 676, 56, 20, "搜索字体"},
        {"编辑框_搜索字体内容", 0x16014948, T::EditBox, 298, 676, 147, 20, ""},
        {"按钮_跳到页次", 0x16014946, T::Button, 219, 652, 24, 20, "GO"},
        {"编辑框_输入页次", 0x16014945, T::EditBox, 190, 652, 28, 20, ""},
        {"标签_页次", 0x16014944, T::Label, 101, 652, 84, 20, "页次：999/1000"},
        {"按钮_上一页", 0x16014942, T::Button, 4, 652, 44, 20, "上一页"},
        {"按钮_添加分类", 0x1601487c, T::Button, 525, 676, 56, 20, "添加分类"},
        {"颜色选择器_树形框文本颜色", 0x16014869, T::ColorPicker, 621, 676, 40, 20, ""},
        {"颜色选择器_树形框背景颜色", 0x16014868, T::ColorPicker, 661, 676, 40, 20, ""},
        {"树型框1", 0x16014866, T::TreeBox, 525, 0, 175, 667, ""},
        {"标签_分隔条", 0x1601484c, T::Label, 4, 646, 521, 5, ""},
        {"颜色选择器_字体背景颜色", 0x16014839, T::ColorPicker, 254, 676, 43, 20, ""},
        {"按钮_下一页", 0x16014830, T::Button, 51, 652, 44, 20, "下一页"},
        {"颜色选择器_字体颜色", 0x16014826, T::ColorPicker, 207, 676, 43, 20, ""},
        {"组合框_字号", 0x16014823, T::ComboBox, 114, 676, 41, 20, ""},
        {"编辑框_内容", 0x16014821, T::EditBox, 4, 676, 108, 20, "中国智造慧及全球"},
    };
    const WindowTemplate& t = mainWindowTemplate();
    ASSERT_EQ(std::size(rows), 39u);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const ControlRow& row = rows[i];
        const UnitTemplate& u = t.units[i + 1]; // creation order, after the window unit
        EXPECT_EQ(u.name, row.name) << i;
        EXPECT_EQ(u.id, row.id) << row.name;
        EXPECT_EQ(u.type, row.type) << row.name;
        EXPECT_EQ((std::vector<int>{u.left, u.top, u.width, u.height}),
                  (std::vector<int>{row.left, row.top, row.width, row.height}))
            << row.name;
        EXPECT_EQ(u.caption, row.caption) << row.name;
        EXPECT_TRUE(u.visible && !u.disabled) << row.name;
        EXPECT_EQ(u.items.empty(), u.type != T::ComboBox) << row.name;
    }
}

// One menu unit: its name, level and caption.
struct MenuRow {
    const char* name;
    int level;
    const char* caption;
};

TEST(Templates, theMenuUnitsFollowTheControlsWithTheirLevelsAndCaptions) {
    const MenuRow rows[] = {
        {"托盘菜单", 0, "托盘菜单"},
        {"显示或隐藏", 1, "显示或隐藏"},
        {"总在最前", 1, "总在最前"},
        {"退出(不推荐)", 1, "退出(不推荐)"},
        {"一级分类被右击", 0, "一级分类被右击"},
        {"一级_添加子分类", 1, "添加子分类"},
        {"一级_添加文件夹", 1, "添加文件夹"},
        {"一级_重命名", 1, "重命名"},
        {"一级_移除该分类", 1, "移除该分类"},
        {"一级_上移", 1, "上移"},
        {"一级_下移", 1, "下移"},
        {"二级分类被右击", 0, "二级分类被右击"},
        {"二级_添加文件夹", 1, "添加文件夹"},
        {"二级_重命名", 1, "重命名"},
        {"二级_移除该子分类", 1, "移除该子分类"},
        {"二级_上移", 1, "上移"},
        {"二级_下移", 1, "下移"},
        {"三级分类被右击", 0, "三级分类被右击"},
        {"三级_移除该文件夹", 1, "移除该文件夹"},
        {"三级_上移", 1, "上移"},
        {"三级_下移", 1, "下移"},
        {"字体预览标签被右击", 0, "字体预览标签被右击"},
        {"复制字体名称", 1, "复制字体名称"},
        {"复制字体文件名", 1, "复制字体文件名"},
        {"分隔线1", 1, "-"},
        {"打开所在目录", 1, "打开所在目录"},
        {"卸载系统字体", 1, "卸载系统字体"},
        {"分隔线2", 1, "-"},
        {"添加到集", 1, "添加到集"},
        {"集1", 2, "集1"},
        {"集2", 2, "集2"},
        {"集3", 2, "集3"},
        {"集4", 2, "集4"},
        {"集5", 2, "集5"},
        {"集6", 2, "集6"},
        {"集7", 2, "集7"},
        {"集8", 2, "集8"},
        {"集9", 2, "集9"},
        {"集10", 2, "集10"},
    };
    const WindowTemplate& t = mainWindowTemplate();
    ASSERT_EQ(40 + std::size(rows), t.units.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const MenuRow& row = rows[i];
        const UnitTemplate& u = t.units[40 + i];
        EXPECT_EQ(u.name, row.name) << i;
        EXPECT_EQ(u.type, UnitType::Menu) << row.name;
        EXPECT_EQ(u.menuLevel, row.level) << row.name;
        EXPECT_EQ(u.caption, row.caption) << row.name;
        // Roots are hidden; every item starts enabled, unchecked and visible.
        EXPECT_EQ(u.menuFlags, row.level == 0 ? kMenuHidden : 0u) << row.name;
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
    const UnitTemplate& window = t.windowUnitTemplate();
    EXPECT_EQ(window.id, 0x60150feu);
    EXPECT_EQ(window.type, UnitType::Window);
    EXPECT_EQ((std::vector<int>{window.left, window.top, window.width, window.height}),
              (std::vector<int>{50, 50, 380, 111}));
    EXPECT_EQ(window.caption, "");
    EXPECT_TRUE(window.window.centred);
    EXPECT_TRUE(window.window.alwaysOnTop);
    EXPECT_FALSE(window.window.closeCommand);
    const UnitTemplate& bar = t.units[1];
    EXPECT_EQ(bar.name, "进度条1");
    EXPECT_EQ(bar.type, UnitType::ProcessBar);
    EXPECT_EQ((std::vector<int>{bar.left, bar.top, bar.width, bar.height}),
              (std::vector<int>{16, 56, 352, 32}));
    EXPECT_EQ((std::vector<int>{bar.minimum, bar.maximum, bar.position}), (std::vector<int>{0, 0, 0}));
    const UnitTemplate& label = t.units[2];
    EXPECT_EQ(label.name, "标签1");
    EXPECT_EQ(label.type, UnitType::Label);
    EXPECT_EQ((std::vector<int>{label.left, label.top, label.width, label.height}),
              (std::vector<int>{16, 24, 104, 24}));
    EXPECT_EQ(label.caption, "正在扫描字体…");
    EXPECT_EQ(findWindowTemplate(scanwin::window), &t);
    EXPECT_EQ(findWindowTemplate(0x12345678), nullptr);
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
