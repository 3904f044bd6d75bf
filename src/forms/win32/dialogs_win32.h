#pragma once
// The modal dialogs, the popup menu, the tray icon, the clipboard and command lines on the real
// system. The backend resolves owners to window handles; these functions only translate a request
// into the system's calls and the system's answer back.

#include "forms/backend.h"
#include "forms/dialogs.h"

#include <map>
#include <optional>
#include <windows.h>

namespace glyvora::win32 {

// Told of every dialog just before it is shown (the tests' dialog answerer listens here).
class DialogWatcher {
public:
    virtual ~DialogWatcher() = default;
    virtual void messageBoxOpening(const MessageBoxRequest& request) = 0;
    virtual void inputBoxOpening(const InputBoxRequest& request) = 0;
    virtual void folderPickerOpening(const FolderPickerRequest& request) = 0;
    virtual void colourChoiceOpening(const ColourChoiceRequest& request) = 0;
    virtual void popupMenuOpening(const PopupMenuRequest& request) = 0;
};

// MessageBoxA with the request's flags; the button that closed it (dialogButton), 0 when the box
// could not be shown.
int showMessageBox(const MessageBoxRequest& request, HWND owner);
// The input box, a dialog template built in memory from the request's layout.
std::optional<Text> showInputBox(const InputBoxRequest& request, HWND owner);
// The controls of the input box, as a user (or a test acting as one) finds them.
inline constexpr int kInputBoxEditId = 1000;
inline constexpr int kInputBoxPromptId = 1001;
// SHBrowseForFolderA with the initial path pre-selected; empty when cancelled.
Text browseForFolder(const FolderPickerRequest& request, HWND owner);
// The colour choice a ColorPicker opens; none when cancelled.
std::optional<Colour> chooseColour(const ColourChoiceRequest& request, HWND owner);
// Builds the menu from the entries, brings `owner` to the foreground, tracks it right-aligned at
// the cursor moved by the offsets, posts WM_NULL to `owner` afterwards, destroys the menu; the
// chosen command number, 0 when dismissed.
unsigned trackPopupMenu(const PopupMenuRequest& request, HWND owner);

// The message a tray icon sends its window.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 0x40;
// The tray mouse action of a callback message's lParam; none for the others.
std::optional<TrayMouse> trayMouseOf(LPARAM lParam);

// The notification-area icons of the program's windows.
class TrayIcons {
public:
    TrayIcons() = default;
    TrayIcons(const TrayIcons&) = delete;
    TrayIcons& operator=(const TrayIcons&) = delete;
    ~TrayIcons();
    // Adds or replaces the window's icon and tip; none (or an icon that cannot be made) removes it.
    void set(HWND window, const std::optional<TrayIconRequest>& icon);
    void remove(HWND window);
    // Whether the window has an icon in the notification area.
    bool shows(HWND window) const { return icons_.count(window) != 0; }

private:
    struct Shown {
        unsigned id = 0;
        HICON icon = nullptr;
    };
    std::map<HWND, Shown> icons_;
};

// Empties the clipboard and puts the text on it as CF_UNICODETEXT (converted from GBK) and as
// CF_TEXT (the GBK bytes), both up to the text's first NUL.
bool setClipboardText(HWND owner, const Text& text);
// Runs the command line (CreateProcessW, the line converted from GBK), its window shown as `showCommand`
// asks.
bool runCommandLine(const Text& commandLine, int showCommand);

} // namespace glyvora::win32
