#pragma once
// The user's actions on a real tree view, and what it shows, for the Win32 user driver. Each
// action is delivered as Windows delivers it (messages or input to the control and its edit
// window); the caller has checked that the control is reachable and pumps the messages after.

#include "forms/user_driver.h"

#include <optional>
#include <vector>
#include <windows.h>

namespace glyvora::testing::win32 {

bool selectTreeItem(HWND tree, int index, bool byKeyboard);
bool rightClickTree(HWND tree, int index); // -1: empty space
bool setTreeItemExpanded(HWND tree, int index, bool expanded);
bool beginTreeEdit(HWND tree, int index);
bool endTreeEdit(HWND tree, const std::optional<Text>& text); // none: Esc
std::vector<ShownTreeItem> shownTree(HWND tree);
int shownTreeSelection(HWND tree); // -1: none
bool treeEditing(HWND tree);

} // namespace glyvora::testing::win32
