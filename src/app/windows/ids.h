#pragma once
// The unit ids of the application's two windows, the main window and the scan window.

#include "forms/ids.h"

namespace glyvora {

// The main window: unit ids named by the template names.
namespace mainwin {
inline constexpr WindowId window = 0x52010003;
inline constexpr UnitId windowUnit = 0x6010002;
inline constexpr WindowRef ref{window};

inline constexpr UnitId 标签_分隔条9 = 0x16014d76;
inline constexpr UnitId 标签_分隔条8 = 0x16014d75;
inline constexpr UnitId 标签_分隔条7 = 0x16014d74;
inline constexpr UnitId 标签_分隔条6 = 0x16014d73;
inline constexpr UnitId 标签_分隔条5 = 0x16014d72;
inline constexpr UnitId 标签_分隔条4 = 0x16014d70;
inline constexpr UnitId 标签_分隔条3 = 0x16014d6e;
inline constexpr UnitId 标签_分隔条2 = 0x16014c09;
inline constexpr UnitId 选择框_窗口置顶 = 0x16014c07;
inline constexpr UnitId 按钮_添加集 = 0x16014c06;
inline constexpr UnitId 组合框_字体样式 = 0x16014c05;
inline constexpr UnitId 编辑框_自动翻页每页显示时间 = 0x16014c04;
inline constexpr UnitId 选择框_自动翻页 = 0x16014c03;
inline constexpr UnitId 标签_字体显示8 = 0x16014c01;
inline constexpr UnitId 标签_字体显示7 = 0x16014c00;
inline constexpr UnitId 标签_字体显示6 = 0x16014bff;
inline constexpr UnitId 标签_字体显示5 = 0x16014bfe;
inline constexpr UnitId 标签_字体显示4 = 0x16014bfd;
inline constexpr UnitId 标签_字体显示3 = 0x16014bfc;
inline constexpr UnitId 标签_字体显示2 = 0x16014bfb;
inline constexpr UnitId 标签_分隔条1 = 0x16014bfa;
inline constexpr UnitId 标签_字体显示1 = 0x16014bf5;
inline constexpr UnitId 按钮_界面收缩 = 0x16014950;
inline constexpr UnitId 按钮_搜索字体 = 0x16014949;
inline constexpr UnitId 编辑框_搜索字体内容 = 0x16014948;
inline constexpr UnitId 按钮_跳到页次 = 0x16014946;
inline constexpr UnitId 编辑框_输入页次 = 0x16014945;
inline constexpr UnitId 标签_页次 = 0x16014944;
inline constexpr UnitId 按钮_上一页 = 0x16014942;
inline constexpr UnitId 按钮_添加分类 = 0x1601487c;
inline constexpr UnitId 颜色选择器_树形框文本颜色 = 0x16014869;
inline constexpr UnitId 颜色选择器_树形框背景颜色 = 0x16014868;
inline constexpr UnitId 树型框1 = 0x16014866;
inline constexpr UnitId 标签_分隔条 = 0x1601484c;
inline constexpr UnitId 颜色选择器_字体背景颜色 = 0x16014839;
inline constexpr UnitId 按钮_下一页 = 0x16014830;
inline constexpr UnitId 颜色选择器_字体颜色 = 0x16014826;
inline constexpr UnitId 组合框_字号 = 0x16014823;
inline constexpr UnitId 编辑框_内容 = 0x16014821;

// Preview label k (1..8): label 1 stands apart, labels 2..8 are consecutive.
constexpr UnitId previewLabel(int k) {
    return k == 1 ? 标签_字体显示1 : 标签_字体显示2 + static_cast<UnitId>(k - 2);
}

// Menus: the popup roots and their items, in template order. Items of the tree menus carry the
// menu's level as a prefix, since several menus have items of the same caption.
inline constexpr UnitId 托盘菜单 = 0x26014e00;
inline constexpr UnitId 显示或隐藏 = 0x26014e01;
inline constexpr UnitId 总在最前 = 0x26014e02;
inline constexpr UnitId 退出不推荐 = 0x26014e03; // template name "退出(不推荐)"
inline constexpr UnitId 一级分类被右击 = 0x26014e04;
inline constexpr UnitId 一级_添加子分类 = 0x26014e05;
inline constexpr UnitId 一级_添加文件夹 = 0x26014e06;
inline constexpr UnitId 一级_重命名 = 0x26014e07;
inline constexpr UnitId 一级_移除该分类 = 0x26014e08;
inline constexpr UnitId 一级_上移 = 0x26014e09;
inline constexpr UnitId 一级_下移 = 0x26014e0a;
inline constexpr UnitId 二级分类被右击 = 0x26014e0b;
inline constexpr UnitId 二级_添加文件夹 = 0x26014e0c;
inline constexpr UnitId 二级_重命名 = 0x26014e0d;
inline constexpr UnitId 二级_移除该子分类 = 0x26014e0e;
inline constexpr UnitId 二级_上移 = 0x26014e0f;
inline constexpr UnitId 二级_下移 = 0x26014e10;
inline constexpr UnitId 三级分类被右击 = 0x26014e11;
inline constexpr UnitId 三级_移除该文件夹 = 0x26014e12;
inline constexpr UnitId 三级_上移 = 0x26014e13;
inline constexpr UnitId 三级_下移 = 0x26014e14;
inline constexpr UnitId 字体预览标签被右击 = 0x26014e15;
inline constexpr UnitId 复制字体名称 = 0x26014e16;
inline constexpr UnitId 复制字体文件名 = 0x26014e17;
inline constexpr UnitId 分隔线1 = 0x26014e18;
inline constexpr UnitId 打开所在目录 = 0x26014e19;
inline constexpr UnitId 卸载系统字体 = 0x26014e1a;
inline constexpr UnitId 分隔线2 = 0x26014e1b;
inline constexpr UnitId 添加到集 = 0x26014e1c;
inline constexpr UnitId 集1 = 0x26014e1d;
inline constexpr UnitId 集2 = 0x26014e1e;
inline constexpr UnitId 集3 = 0x26014e1f;
inline constexpr UnitId 集4 = 0x26014e20;
inline constexpr UnitId 集5 = 0x26014e21;
inline constexpr UnitId 集6 = 0x26014e22;
inline constexpr UnitId 集7 = 0x26014e23;
inline constexpr UnitId 集8 = 0x26014e24;
inline constexpr UnitId 集9 = 0x26014e25;
inline constexpr UnitId 集10 = 0x26014e26;

// Set item k (1..10) of the submenu "添加到集".
constexpr UnitId setMenuItem(int k) {
    return 集1 + static_cast<UnitId>(k - 1);
}

inline constexpr UnitRef tree{window, 树型框1};
} // namespace mainwin

// The scan window.
namespace scanwin {
inline constexpr WindowId window = 0x520150ff;
inline constexpr UnitId windowUnit = 0x60150fe;
inline constexpr WindowRef ref{window};

inline constexpr UnitId 进度条1 = 0x16015100;
inline constexpr UnitId 标签1 = 0x16015101;
} // namespace scanwin

} // namespace glyvora
