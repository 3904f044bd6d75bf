#include "app/windows/main_window_template.h"

#include "app/windows/unit_builders.h"

namespace glyvora {

namespace {

// The eight preview labels share one font: 64 pixels high, normal weight, GB2312, the system's
// default face for that charset; black on white.
UnitTemplate previewLabel(UnitId id, const char* name, int top) {
    UnitTemplate u = build::label(id, name, 4, top, 521, 80);
    UnitFont font;
    font.height = -64;
    font.weight = 400;
    font.charset = 134;
    u.font = font;
    u.textColour = 0x000000;
    u.backColour = 0xFFFFFF;
    return u;
}

WindowTemplate buildMainWindow() {
    using namespace build;
    using namespace mainwin;
    using T = UnitType;
    WindowTemplate t;
    t.window = mainwin::window;
    t.windowUnit = mainwin::windowUnit;
    auto& u = t.units;
    u.push_back(build::windowUnit(mainwin::windowUnit, 700, 762, true, false));

    u.push_back(label(标签_分隔条9, "标签_分隔条9", 4, 565, 521, 2));
    u.push_back(label(标签_分隔条8, "标签_分隔条8", 4, 485, 521, 2));
    u.push_back(label(标签_分隔条7, "标签_分隔条7", 4, 405, 521, 2));
    u.push_back(label(标签_分隔条6, "标签_分隔条6", 4, 325, 521, 2));
    u.push_back(label(标签_分隔条5, "标签_分隔条5", 4, 245, 521, 2));
    u.push_back(label(标签_分隔条4, "标签_分隔条4", 4, 165, 521, 2));
    u.push_back(label(标签_分隔条3, "标签_分隔条3", 4, 85, 521, 2));
    u.push_back(label(标签_分隔条2, "标签_分隔条2", 0, 698, 700, 20));
    u.push_back(control(选择框_窗口置顶, T::CheckBox, "选择框_窗口置顶", 446, 652, 77, 20, "窗口置顶"));
    u.push_back(control(按钮_添加集, T::Button, "按钮_添加集", 584, 676, 35, 20, "加集"));
    u.push_back(combo(组合框_字体样式, "组合框_字体样式", 155, 676, 51, 20, {"常规", "加粗", "倾斜"}));
    u.push_back(
        control(编辑框_自动翻页每页显示时间, T::EditBox, "编辑框_自动翻页每页显示时间", 417, 652, 26, 20));
    u.push_back(control(选择框_自动翻页, T::CheckBox, "选择框_自动翻页", 250, 652, 170, 20,
                        "自动翻页 每页显示时间秒："));
    u.push_back(previewLabel(标签_字体显示8, "标签_字体显示8", 566));
    u.push_back(previewLabel(标签_字体显示7, "标签_字体显示7", 486));
    u.push_back(previewLabel(标签_字体显示6, "标签_字体显示6", 406));
    u.push_back(previewLabel(标签_字体显示5, "标签_字体显示5", 326));
    u.push_back(previewLabel(标签_字体显示4, "标签_字体显示4", 246));
    u.push_back(previewLabel(标签_字体显示3, "标签_字体显示3", 166));
    u.push_back(previewLabel(标签_字体显示2, "标签_字体显示2", 86));
    u.push_back(label(标签_分隔条1, "标签_分隔条1", 4, 673, 521, 1));
    u.push_back(previewLabel(标签_字体显示1, "标签_字体显示1", 6));
    u.push_back(control(按钮_界面收缩, T::Button, "按钮_界面收缩", 505, 676, 20, 20, ">>"));
    u.push_back(control(按钮_搜索字体, T::Button, "按钮_搜索字体", 445, 676, 56, 20, "搜索字体"));
    u.push_back(control(编辑框_搜索字体内容, T::EditBox, "编辑框_搜索字体内容", 298, 676, 147, 20));
    u.push_back(control(按钮_跳到页次, T::Button, "按钮_跳到页次", 219, 652, 24, 20, "GO"));
    u.push_back(control(编辑框_输入页次, T::EditBox, "编辑框_输入页次", 190, 652, 28, 20));
    u.push_back(label(标签_页次, "标签_页次", 101, 652, 84, 20, "页次：999/1000"));
    u.push_back(control(按钮_上一页, T::Button, "按钮_上一页", 4, 652, 44, 20, "上一页"));
    u.push_back(control(按钮_添加分类, T::Button, "按钮_添加分类", 525, 676, 56, 20, "添加分类"));
    u.push_back(
        control(颜色选择器_树形框文本颜色, T::ColorPicker, "颜色选择器_树形框文本颜色", 621, 676, 40, 20));
    u.push_back(
        control(颜色选择器_树形框背景颜色, T::ColorPicker, "颜色选择器_树形框背景颜色", 661, 676, 40, 20));
    {
        UnitTemplate tree = control(树型框1, T::TreeBox, "树型框1", 525, 0, 175, 667);
        UnitFont font;
        font.height = -15;
        font.weight = 400;
        font.charset = 134;
        font.faceName = "宋体";
        tree.font = font;
        tree.textColour = 0x000000;
        tree.backColour = 0xFFFFFF;
        tree.tree.borderStyle = 3;
        tree.tree.hasButtons = true;
        tree.tree.hasLines = true;
        tree.tree.linesAtRoot = true;
        tree.tree.editLabels = true;
        tree.tree.showSelectionAlways = true;
        tree.tree.checkBoxes = false;
        tree.tree.itemHeight = 25;
        u.push_back(tree);
    }
    u.push_back(label(标签_分隔条, "标签_分隔条", 4, 646, 521, 5));
    u.push_back(
        control(颜色选择器_字体背景颜色, T::ColorPicker, "颜色选择器_字体背景颜色", 254, 676, 43, 20));
    u.push_back(control(按钮_下一页, T::Button, "按钮_下一页", 51, 652, 44, 20, "下一页"));
    u.push_back(control(颜色选择器_字体颜色, T::ColorPicker, "颜色选择器_字体颜色", 207, 676, 43, 20));
    u.push_back(combo(组合框_字号, "组合框_字号", 114, 676, 41, 20, {"14", "18", "24", "36", "48"}));
    u.push_back(control(编辑框_内容, T::EditBox, "编辑框_内容", 4, 676, 108, 20, "中国智造慧及全球"));

    u.push_back(root(托盘菜单, "托盘菜单"));
    u.push_back(item(显示或隐藏, "显示或隐藏", "显示或隐藏"));
    u.push_back(item(总在最前, "总在最前", "总在最前"));
    u.push_back(item(退出不推荐, "退出(不推荐)", "退出(不推荐)"));

    u.push_back(root(一级分类被右击, "一级分类被右击"));
    u.push_back(item(一级_添加子分类, "一级_添加子分类", "添加子分类"));
    u.push_back(item(一级_添加文件夹, "一级_添加文件夹", "添加文件夹"));
    u.push_back(item(一级_重命名, "一级_重命名", "重命名"));
    u.push_back(item(一级_移除该分类, "一级_移除该分类", "移除该分类"));
    u.push_back(item(一级_上移, "一级_上移", "上移"));
    u.push_back(item(一级_下移, "一级_下移", "下移"));

    u.push_back(root(二级分类被右击, "二级分类被右击"));
    u.push_back(item(二级_添加文件夹, "二级_添加文件夹", "添加文件夹"));
    u.push_back(item(二级_重命名, "二级_重命名", "重命名"));
    u.push_back(item(二级_移除该子分类, "二级_移除该子分类", "移除该子分类"));
    u.push_back(item(二级_上移, "二级_上移", "上移"));
    u.push_back(item(二级_下移, "二级_下移", "下移"));

    u.push_back(root(三级分类被右击, "三级分类被右击"));
    u.push_back(item(三级_移除该文件夹, "三级_移除该文件夹", "移除该文件夹"));
    u.push_back(item(三级_上移, "三级_上移", "上移"));
    u.push_back(item(三级_下移, "三级_下移", "下移"));

    u.push_back(root(字体预览标签被右击, "字体预览标签被右击"));
    u.push_back(item(复制字体名称, "复制字体名称", "复制字体名称"));
    u.push_back(item(复制字体文件名, "复制字体文件名", "复制字体文件名"));
    u.push_back(item(分隔线1, "分隔线1", "-"));
    u.push_back(item(打开所在目录, "打开所在目录", "打开所在目录"));
    u.push_back(item(卸载系统字体, "卸载系统字体", "卸载系统字体"));
    u.push_back(item(分隔线2, "分隔线2", "-"));
    u.push_back(item(添加到集, "添加到集", "添加到集"));
    static const char* const setNames[] = {"集1", "集2", "集3", "集4", "集5",
                                           "集6", "集7", "集8", "集9", "集10"};
    for (int k = 1; k <= 10; ++k)
        u.push_back(menu(setMenuItem(k), setNames[k - 1], 2, setNames[k - 1]));
    return t;
}

} // namespace

const WindowTemplate& mainWindowTemplate() {
    static const WindowTemplate t = buildMainWindow();
    return t;
}

} // namespace glyvora
