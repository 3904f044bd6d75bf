// The user driver of the Win32 backend: every action is the message or input a user's action
// produces on the real control, after checking that the user could reach the control at all.
#include "dialog_answerer.h"
#include "forms/win32/font_win32.h"
#include "forms/win32/make_backend.h"
#include "forms/win32/wide_text.h"
#include "forms/win32/win32_backend.h"
#include "tree_driver.h"
#include "win32_kit.h"

#include <commctrl.h>
#include <deque>
#include <map>
#include <optional>
#include <windows.h>

namespace glyvora::testing {

namespace {

using glyvora::win32::Win32Backend;
using win32::DialogAnswerer;

constexpr const char* kLaterClass = "GlyvoraTestLater";
constexpr UINT kLaterMessage = WM_APP + 0x31;

Rect rectOf(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// Read as Unicode and converted with code page 936, so the text checked is the one on the screen
// whatever the system's code page.
Text windowText(HWND h) {
    return glyvora::win32::windowTextOf(h);
}

UINT trayMessageOf(TrayMouse mouse) {
    switch (mouse) {
    case TrayMouse::Move:
        return WM_MOUSEMOVE;
    case TrayMouse::LeftDown:
        return WM_LBUTTONDOWN;
    case TrayMouse::LeftUp:
        return WM_LBUTTONUP;
    case TrayMouse::LeftDoubleClick:
        return WM_LBUTTONDBLCLK;
    case TrayMouse::RightDown:
        return WM_RBUTTONDOWN;
    case TrayMouse::RightUp:
        return WM_RBUTTONUP;
    case TrayMouse::ContextMenuKey:
        return WM_CONTEXTMENU;
    case TrayMouse::MiddleUp:
        return WM_MBUTTONUP;
    }
    return WM_NULL;
}

// Holds Alt down in the thread's key state while a mouse message is delivered, as a user holding
// it does; mouse messages carry only Ctrl and Shift themselves.
class AltHeld {
public:
    explicit AltHeld(bool held) : held_(held) {
        if (!held_) return;
        GetKeyboardState(saved_);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_MENU] = keys[VK_LMENU] = 0x80;
        SetKeyboardState(keys);
    }
    ~AltHeld() {
        if (held_) SetKeyboardState(saved_);
    }
    AltHeld(const AltHeld&) = delete;
    AltHeld& operator=(const AltHeld&) = delete;

private:
    bool held_;
    BYTE saved_[256]{};
};

class Win32Driver final : public UserDriver {
public:
    explicit Win32Driver(Win32Backend& backend) : b_(backend) {
        static const bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = laterProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = kLaterClass;
            return RegisterClassA(&wc) != 0;
        }();
        (void)registered;
        later_ = CreateWindowExA(0, kLaterClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(later_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        b_.setDialogWatcher(&answerer_);
    }

    ~Win32Driver() override {
        b_.setDialogWatcher(nullptr);
        if (later_) DestroyWindow(later_);
    }
    Win32Driver(const Win32Driver&) = delete;
    Win32Driver& operator=(const Win32Driver&) = delete;

    // ---- acting ----

    bool click(WindowId w, UnitId u) override {
        HWND c = reachable(w, u, UnitType::Button);
        if (!c) c = reachable(w, u, UnitType::CheckBox);
        if (!c) return false;
        SendMessageA(c, BM_CLICK, 0, 0);
        settle();
        return true;
    }

    bool doubleClick(WindowId w, UnitId u) override {
        HWND c = reachable(w, u, UnitType::CheckBox);
        if (!c) return false;
        // What the control receives from a double click: press, release, the double-click press
        // in place of the second press, release.
        const LPARAM at = MAKELPARAM(2, 2);
        SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(c, WM_LBUTTONUP, 0, at);
        SendMessageA(c, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(c, WM_LBUTTONUP, 0, at);
        settle();
        return true;
    }

    bool mouse(WindowId w, UnitId u, int event, int x, int y, int keys) override {
        HWND top = b_.windowHandle(w);
        HWND c = b_.controlHandle(w, u);
        if (!top || !c || !IsWindowVisible(top) || !IsWindowVisible(c)) return false;
        UINT msg = 0;
        WPARAM flags = 0;
        switch (event) {
        case event::leftDown:
            msg = WM_LBUTTONDOWN;
            flags = MK_LBUTTON;
            break;
        case event::leftUp:
            msg = WM_LBUTTONUP;
            break;
        case event::leftDoubleClick:
            msg = WM_LBUTTONDBLCLK;
            flags = MK_LBUTTON;
            break;
        case event::rightDown:
            msg = WM_RBUTTONDOWN;
            flags = MK_RBUTTON;
            break;
        case event::rightUp:
            msg = WM_RBUTTONUP;
            break;
        case event::mouseMove:
            msg = WM_MOUSEMOVE;
            break;
        default:
            return false;
        }
        if (keys & keyState::ctrl) flags |= MK_CONTROL;
        if (keys & keyState::shift) flags |= MK_SHIFT;
        const int swallowedBefore = b_.swallowedMouseMessages();
        {
            AltHeld alt((keys & keyState::alt) != 0);
            SendMessageA(c, msg, flags, MAKELPARAM(x, y));
        }
        const bool delivered = b_.swallowedMouseMessages() == swallowedBefore;
        settle();
        return delivered;
    }

    bool focus(WindowId w, UnitId u) override {
        HWND c = b_.controlHandle(w, u);
        if (!c || !(GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) || !IsWindowEnabled(c)) return false;
        if (GetFocus() != c) SetFocus(c);
        settle();
        return GetFocus() == c;
    }

    bool wheel(WindowId w, UnitId u, int notches) override {
        HWND top = b_.windowHandle(w);
        if (!top || !IsWindowVisible(top) || IsIconic(top)) return false;
        HWND over = top;
        if (b_.controlType(w, u)) {
            over = b_.controlHandle(w, u);
            if (!IsWindowVisible(over)) return false;
        }
        std::optional<POINT> at = over == top ? bareClientPoint(top) : centreOf(over);
        if (!at) return false;
        bringForward(top);
        SetCursorPos(at->x, at->y);
        INPUT turn{};
        turn.type = INPUT_MOUSE;
        turn.mi.dwFlags = MOUSEEVENTF_WHEEL;
        turn.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
        if (SendInput(1, &turn, sizeof turn) != 1) return false;
        return deliverInput(WM_MOUSEWHEEL);
    }

    bool pressKey(WindowId w, int key) override {
        HWND top = b_.windowHandle(w);
        if (!top || !IsWindowVisible(top) || IsIconic(top)) return false;
        WORD vk = 0;
        switch (key) {
        case navigationKey::pageUp:
            vk = VK_PRIOR;
            break;
        case navigationKey::pageDown:
            vk = VK_NEXT;
            break;
        case navigationKey::home:
            vk = VK_HOME;
            break;
        case navigationKey::end:
            vk = VK_END;
            break;
        default:
            return false;
        }
        bringForward(top);
        INPUT keys[2]{};
        for (INPUT& k : keys) {
            k.type = INPUT_KEYBOARD;
            k.ki.wVk = vk;
            k.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
        }
        keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        if (SendInput(2, keys, sizeof(INPUT)) != 2) return false;
        return deliverInput(WM_KEYUP);
    }

    bool type(WindowId w, UnitId u, const Text& text) override {
        HWND c = reachable(w, u, UnitType::EditBox);
        if (!c) return false;
        // A paste over the whole content: one change, reported by the edit as EN_CHANGE.
        const std::wstring wide = glyvora::win32::widen(text);
        SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        settle();
        return true;
    }

    bool chooseComboItem(WindowId w, UnitId u, int index) override {
        HWND c = reachable(w, u, UnitType::ComboBox);
        if (!c) return false;
        const LRESULT count = SendMessageA(c, CB_GETCOUNT, 0, 0);
        if (index < 0 || index >= count) return false;
        // What the list sends its parent when the user picks an item and the list closes.
        SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(c));
        SendMessageA(GetParent(c), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
        SendMessageA(GetParent(c), WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(c));
        settle();
        return true;
    }

    // A tree action on a reachable tree, its messages handled before it returns.
    template <typename Action>
    bool onTree(WindowId w, UnitId u, Action action) {
        HWND c = reachable(w, u, UnitType::TreeBox);
        if (!c) return false;
        const bool done = action(c);
        settle();
        return done;
    }

    bool openColourPicker(WindowId w, UnitId u) override {
        HWND c = reachable(w, u, UnitType::ColorPicker);
        if (!c) return false;
        const LPARAM at = MAKELPARAM(2, 2);
        SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(c, WM_LBUTTONUP, 0, at);
        settle();
        return true;
    }

    bool selectTreeItem(WindowId w, UnitId u, int index, bool byKeyboard) override {
        return onTree(w, u, [&](HWND c) { return win32::selectTreeItem(c, index, byKeyboard); });
    }

    bool rightClickTree(WindowId w, UnitId u, int index) override {
        return onTree(w, u, [&](HWND c) { return win32::rightClickTree(c, index); });
    }

    bool setTreeItemExpanded(WindowId w, UnitId u, int index, bool expanded) override {
        return onTree(w, u, [&](HWND c) { return win32::setTreeItemExpanded(c, index, expanded); });
    }

    bool beginTreeEdit(WindowId w, UnitId u, int index) override {
        return onTree(w, u, [&](HWND c) { return win32::beginTreeEdit(c, index); });
    }

    bool endTreeEdit(WindowId w, UnitId u, const std::optional<Text>& text) override {
        // An edit in progress ends even when the tree went out of reach meanwhile.
        HWND c = b_.controlHandle(w, u);
        if (!c || b_.controlType(w, u) != UnitType::TreeBox) return false;
        const bool done = win32::endTreeEdit(c, text);
        settle();
        return done;
    }

    bool tray(WindowId w, TrayMouse mouse) override {
        HWND top = b_.windowHandle(w);
        if (!top || !b_.trayIcon(w)) return false;
        SendMessageA(top, glyvora::win32::kTrayCallbackMessage, kTrayIconId,
                     static_cast<LPARAM>(trayMessageOf(mouse)));
        settle();
        return true;
    }

    bool closeThroughFrame(WindowId w) override {
        HWND top = b_.windowHandle(w);
        if (!top || !IsWindowVisible(top)) return false;
        // The close button and Alt+F4 work only while the system menu has an enabled close entry.
        const UINT state = GetMenuState(GetSystemMenu(top, FALSE), SC_CLOSE, MF_BYCOMMAND);
        if (state == static_cast<UINT>(-1) || (state & (MF_DISABLED | MF_GRAYED))) return false;
        SendMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
        settle();
        return true;
    }

    void minimise(WindowId w) override {
        if (HWND top = b_.windowHandle(w)) ShowWindow(top, SW_MINIMIZE);
    }

    void later(std::function<void()> action) override {
        const std::uint32_t id = ++lastLater_;
        actions_[id] = std::move(action);
        if (!PostMessageA(later_, kLaterMessage, id, 0)) actions_.erase(id);
    }

    // ---- dialogs ----

    void answerMessageBox(int button) override { answerer_.answerMessageBox(button); }
    void answerInputBox(std::optional<Text> text) override { answerer_.answerInputBox(std::move(text)); }
    void answerFolderPicker(Text path) override { answerer_.answerFolderPicker(std::move(path)); }
    void answerColourChoice(std::optional<Colour> colour) override { answerer_.answerColourChoice(colour); }
    void answerPopupMenu(UnitId item) override { answerer_.answerPopupMenu(item); }
    std::vector<ShownDialog> dialogs() override { return answerer_.dialogs(); }
    int unansweredDialogs() override { return answerer_.unansweredDialogs(); }

    // ---- reading back ----

    bool windowExists(WindowId w) override {
        HWND top = b_.windowHandle(w);
        return top && IsWindow(top);
    }
    bool windowShown(WindowId w) override {
        HWND top = b_.windowHandle(w);
        return top && IsWindowVisible(top);
    }
    bool windowOnTop(WindowId w) override {
        HWND top = b_.windowHandle(w);
        return top && (GetWindowLongA(top, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    }
    bool windowMinimised(WindowId w) override {
        HWND top = b_.windowHandle(w);
        return top && IsIconic(top);
    }
    Rect windowRect(WindowId w) override {
        HWND top = b_.windowHandle(w);
        RECT r{};
        if (!top || !GetWindowRect(top, &r)) return {};
        return rectOf(r);
    }
    Text shownText(WindowId w, UnitId u) override {
        HWND c = b_.controlHandle(w, u);
        return c ? windowText(c) : Text();
    }
    Rect shownRect(WindowId w, UnitId u) override {
        HWND c = b_.controlHandle(w, u);
        RECT r{};
        if (!c || !GetWindowRect(c, &r)) return {};
        MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
        return rectOf(r);
    }
    std::vector<Text> shownComboItems(WindowId w, UnitId u) override {
        std::vector<Text> items;
        HWND c = b_.controlHandle(w, u);
        if (!c || b_.controlType(w, u) != UnitType::ComboBox) return items;
        const LRESULT count = SendMessageA(c, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const LRESULT length = SendMessageW(c, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            if (length < 0) continue;
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            SendMessageW(c, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            items.push_back(glyvora::win32::narrow(text.c_str()));
        }
        return items;
    }
    int shownCheckState(WindowId w, UnitId u) override {
        HWND c = b_.controlHandle(w, u);
        return c ? static_cast<int>(SendMessageA(c, BM_GETCHECK, 0, 0)) : -1;
    }
    int shownComboSelection(WindowId w, UnitId u) override {
        HWND c = b_.controlHandle(w, u);
        if (!c) return -2;
        const LRESULT selection = SendMessageA(c, CB_GETCURSEL, 0, 0);
        return selection == CB_ERR ? -1 : static_cast<int>(selection);
    }
    Colour shownPickerColour(WindowId w, UnitId u) override { return b_.pickerColour(w, u); }
    ShownProgress shownProgress(WindowId w, UnitId u) override {
        HWND c = b_.controlHandle(w, u);
        if (!c) return {};
        PBRANGE range{};
        SendMessageA(c, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        return {range.iLow, range.iHigh, static_cast<int>(SendMessageA(c, PBM_GETPOS, 0, 0))};
    }
    std::optional<UnitFont> shownFont(WindowId w, UnitId u) override {
        HWND c = b_.controlHandle(w, u);
        if (!c) return std::nullopt;
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(c, WM_GETFONT, 0, 0));
        if (!font) font = GetStockObject(SYSTEM_FONT);
        LOGFONTW lf{};
        if (!GetObjectW(font, sizeof lf, &lf)) return std::nullopt;
        UnitFont shown = glyvora::win32::fromLogFont(lf);
        // A private copy is the label's own face under the copy's name.
        const glyvora::win32::FontBinding binding = b_.fontBindingOf(w, u);
        if (!binding.privateFace.empty()) shown.faceName = binding.faceName;
        return shown;
    }
    Text shownFontFile(WindowId w, UnitId u) override { return b_.fontFileOf(w, u); }
    Text shownHint(WindowId w, UnitId u) override {
        HWND tips = b_.hintHandle(w);
        HWND c = b_.controlHandle(w, u);
        if (!tips || !c) return {};
        // The text the tooltip control holds for the control, asked as any program asks it.
        std::wstring buffer(INFOTIPSIZE + 1, L'\0');
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = b_.windowHandle(w);
        tool.uId = reinterpret_cast<UINT_PTR>(c);
        tool.lpszText = buffer.data();
        SendMessageW(tips, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
        return glyvora::win32::narrow(buffer.c_str());
    }
    std::vector<ShownTreeItem> shownTree(WindowId w, UnitId u) override {
        HWND c = treeHandle(w, u);
        return c ? win32::shownTree(c) : std::vector<ShownTreeItem>();
    }
    int shownTreeSelection(WindowId w, UnitId u) override {
        HWND c = treeHandle(w, u);
        return c ? win32::shownTreeSelection(c) : -1;
    }
    bool treeEditing(WindowId w, UnitId u) override {
        HWND c = treeHandle(w, u);
        return c && win32::treeEditing(c);
    }
    std::vector<Text> commandLinesRun() override { return b_.commandLinesRun(); }
    std::optional<Text> clipboardText() override {
        // Another program may hold the clipboard open for a moment.
        bool opened = false;
        for (int attempt = 0; attempt < 20 && !opened; ++attempt) {
            opened = OpenClipboard(nullptr) != 0;
            if (!opened) Sleep(10);
        }
        if (!opened) return std::nullopt;
        // As other programs paste it: the Unicode text, converted back to GBK.
        std::optional<Text> text;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = glyvora::win32::narrow(units, static_cast<int>(wcsnlen(units, GlobalSize(data) / 2)));
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
    }
    std::optional<TrayIconRequest> trayIcon(WindowId w) override { return b_.trayIcon(w); }

private:
    // A control the user can reach: its window shown, the control of that type, visible and enabled.
    HWND reachable(WindowId w, UnitId u, UnitType type) {
        HWND top = b_.windowHandle(w);
        HWND c = b_.controlHandle(w, u);
        if (!top || !c || b_.controlType(w, u) != type) return nullptr;
        if (!IsWindowVisible(top) || !IsWindowVisible(c) || !IsWindowEnabled(c)) return nullptr;
        return c;
    }

    HWND treeHandle(WindowId w, UnitId u) {
        return b_.controlType(w, u) == UnitType::TreeBox ? b_.controlHandle(w, u) : nullptr;
    }

    // An action taken outside the message loop is handled with the messages it caused to be posted.
    void settle() {
        if (b_.dispatchDepth() == 0) b_.processPending();
    }
    static POINT centreOf(HWND h) {
        RECT r{};
        GetWindowRect(h, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // A point of the window's client area that no control covers, in screen coordinates.
    static std::optional<POINT> bareClientPoint(HWND top) {
        RECT client{};
        GetClientRect(top, &client);
        for (int y = 2; y < client.bottom; y += 8)
            for (int x = 2; x < client.right; x += 8)
                if (ChildWindowFromPointEx(top, POINT{x, y}, CWP_SKIPINVISIBLE) == top) {
                    POINT screen{x, y};
                    ClientToScreen(top, &screen);
                    return screen;
                }
        return std::nullopt;
    }
    // Input goes to the foreground window; the focus it had stays where the test put it.
    static void bringForward(HWND top) {
        if (GetForegroundWindow() == top) return;
        const HWND focused = GetFocus();
        SetForegroundWindow(top);
        if (focused && GetFocus() != focused && GetAncestor(focused, GA_ROOT) == top) SetFocus(focused);
    }
    // Injected input reaches the thread's queue a little later; waits (two seconds at most) until
    // the last message it makes is there, then handles it all. Inside a waiting handler the
    // program's own loop takes it instead.
    bool deliverInput(UINT last) {
        if (b_.dispatchDepth() > 0) return true;
        const DWORD start = GetTickCount();
        MSG msg;
        while (!PeekMessageW(&msg, nullptr, last, last, PM_NOREMOVE)) {
            if (GetTickCount() - start > 2000) return false;
            Sleep(5);
        }
        b_.processPending();
        return true;
    }

    static LRESULT CALLBACK laterProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg != kLaterMessage) return DefWindowProcA(hwnd, msg, wp, lp);
        auto* self = reinterpret_cast<Win32Driver*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (!self) return 0;
        const auto it = self->actions_.find(static_cast<std::uint32_t>(wp));
        if (it == self->actions_.end()) return 0;
        const std::function<void()> action = std::move(it->second);
        self->actions_.erase(it);
        action();
        return 0;
    }

    Win32Backend& b_;
    DialogAnswerer answerer_;
    HWND later_ = nullptr;
    std::map<std::uint32_t, std::function<void()>> actions_;
    std::uint32_t lastLater_ = 0;
};

} // namespace

const BackendKit& win32Kit() {
    static const BackendKit kit{
        "Win32",
        [] { return glyvora::win32::makeBackend(); },
        [](Backend& backend) {
            return std::unique_ptr<UserDriver>(
                std::make_unique<Win32Driver>(static_cast<Win32Backend&>(backend)));
        },
    };
    return kit;
}

} // namespace glyvora::testing
