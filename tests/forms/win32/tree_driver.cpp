#include "tree_driver.h"

namespace glyvora::testing::win32 {

bool selectTreeItem(HWND, int, bool) {
    return false;
}
bool rightClickTree(HWND, int) {
    return false;
}
bool setTreeItemExpanded(HWND, int, bool) {
    return false;
}
bool beginTreeEdit(HWND, int) {
    return false;
}
bool endTreeEdit(HWND, const std::optional<Text>&) {
    return false;
}
std::vector<ShownTreeItem> shownTree(HWND) {
    return {};
}
int shownTreeSelection(HWND) {
    return -1;
}
bool treeEditing(HWND) {
    return false;
}

} // namespace glyvora::testing::win32
