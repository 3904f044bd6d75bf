#include "forms/win32/dialogs_win32.h"

namespace glyvora::win32 {

int showMessageBox(const MessageBoxRequest&, HWND) {
    return 0;
}
std::optional<Text> showInputBox(const InputBoxRequest&, HWND) {
    return std::nullopt;
}
Text browseForFolder(const FolderPickerRequest&, HWND) {
    return {};
}
std::optional<Colour> chooseColour(const ColourChoiceRequest&, HWND) {
    return std::nullopt;
}
unsigned trackPopupMenu(const PopupMenuRequest&, HWND) {
    return 0;
}
std::optional<TrayMouse> trayMouseOf(LPARAM) {
    return std::nullopt;
}
TrayIcons::~TrayIcons() = default;
void TrayIcons::set(HWND, const std::optional<TrayIconRequest>&) {}
void TrayIcons::remove(HWND) {}
bool setClipboardText(HWND, const Text&) {
    return false;
}
bool runCommandLine(const Text&, int) {
    return false;
}

} // namespace glyvora::win32
