#include "forms/win32/dialogs_win32.h"

#include "forms/win32/wide_text.h"

#include <algorithm>
#include <commdlg.h>
#include <cstring>
#include <iterator>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <string>
#include <vector>

namespace glyvora::win32 {

namespace {

// ---- input box ----

// A dialog template in memory: WORD-aligned throughout, each item DWORD-aligned, every string
// UTF-16.
class DialogTemplate {
public:
    void dword(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void word(WORD value) { words_.push_back(value); }
    void text(const Text& gbk) {
        // The template's strings end at the first NUL.
        for (wchar_t c : widen(gbk))
            word(static_cast<WORD>(c));
        word(0);
    }
    void alignToDword() {
        if (words_.size() % 2) word(0);
    }
    void item(DWORD style, DWORD exStyle, const DialogRect& r, int id, WORD classAtom, const Text& caption) {
        alignToDword();
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(exStyle);
        word(static_cast<WORD>(r.x));
        word(static_cast<WORD>(r.y));
        word(static_cast<WORD>(r.width));
        word(static_cast<WORD>(r.height));
        word(static_cast<WORD>(id));
        word(0xFFFF);
        word(classAtom);
        text(caption);
        word(0); // no creation data
    }
    const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr int kNoId = -1;

// The face and point size the system uses for its own dialogs' GBK text: the default GUI font.
struct DialogFont {
    WORD points = 9;
    Text face = "MS Shell Dlg";
};

DialogFont dialogFont() {
    DialogFont font;
    LOGFONTW lf{};
    if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) return font;
    if (lf.lfFaceName[0])
        font.face = narrow(lf.lfFaceName, static_cast<int>(wcsnlen(lf.lfFaceName, LF_FACESIZE)));
    if (lf.lfHeight != 0) {
        HDC dc = GetDC(nullptr);
        const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc) ReleaseDC(nullptr, dc);
        const int pixels = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
        const int points = MulDiv(pixels, 72, dpi);
        if (points > 0) font.points = static_cast<WORD>(points);
    }
    return font;
}

DWORD editStyleOf(const InputBoxRequest& request) {
    DWORD style = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    // Mode 2 asks for a whole number: the line takes digits only. Mode 3 (a decimal) needs the
    // point and the sign as well, so it stays a plain line like mode 1.
    if (request.inputMode == 2) style |= ES_NUMBER;
    if (request.masked) style |= ES_PASSWORD;
    return style;
}

struct InputBoxState {
    const InputBoxRequest* request = nullptr;
    std::optional<Text> result;
};

INT_PTR CALLBACK inputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* state = reinterpret_cast<const InputBoxState*>(lParam);
        HWND edit = GetDlgItem(dialog, kInputBoxEditId);
        // The line takes any length; the initial text is set after the limit is lifted.
        SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
        setWindowTextOf(edit, state->request->initial);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        return FALSE; // the focus has been set here
    }
    case WM_COMMAND: {
        auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!state) return FALSE;
        if (LOWORD(wParam) == IDOK) {
            state->result = windowTextOf(GetDlgItem(dialog, kInputBoxEditId));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            state->result.reset();
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

// ---- folder picker ----

int CALLBACK folderPickerProc(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        const auto* initial = reinterpret_cast<const Text*>(data);
        if (!initial->empty()) {
            const std::wstring path = widen(*initial);
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        }
    }
    return 0;
}

// ---- popup menu ----

HMENU buildMenu(const std::vector<MenuEntry>& entries) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    for (const MenuEntry& e : entries) {
        if (e.separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (e.checked) flags |= MF_CHECKED;
        if (e.disabled) flags |= MF_GRAYED;
        if (e.submenu) {
            HMENU sub = buildMenu(e.children);
            if (!sub) continue;
            if (!AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                             widen(e.caption).c_str()))
                DestroyMenu(sub);
            continue;
        }
        AppendMenuW(menu, flags, e.command, widen(e.caption).c_str());
    }
    return menu;
}

// ---- tray icon ----

// Little-endian reads over the untrusted icon file; every read is checked against the length as
// `offset > size - n` so that no sum can overflow.
class IconBytes {
public:
    explicit IconBytes(const ByteSet& bytes) : bytes_(bytes) {}
    bool has(std::size_t offset, std::size_t n) const {
        return n <= bytes_.size() && offset <= bytes_.size() - n;
    }
    std::uint32_t u8(std::size_t offset) const { return bytes_[offset]; }
    std::uint32_t u16(std::size_t offset) const { return u8(offset) | u8(offset + 1) << 8; }
    std::uint32_t u32(std::size_t offset) const { return u16(offset) | u16(offset + 2) << 16; }
    const std::uint8_t* at(std::size_t offset) const { return bytes_.data() + offset; }

private:
    const ByteSet& bytes_;
};

// Whether an image's bytes are a PNG or a bitmap whose header, palette and masks fit in them.
bool imageFits(const IconBytes& in, std::size_t offset, std::size_t size) {
    static const std::uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 8 && std::memcmp(in.at(offset), png, 8) == 0) return true;
    if (size < 40 || in.u32(offset) != 40) return false;
    const std::int32_t width = static_cast<std::int32_t>(in.u32(offset + 4));
    const std::int32_t doubled = static_cast<std::int32_t>(in.u32(offset + 8)); // colour and mask rows
    const std::uint32_t planes = in.u16(offset + 12), bits = in.u16(offset + 14);
    const std::uint32_t compression = in.u32(offset + 16), used = in.u32(offset + 32);
    if (width < 1 || width > 256 || doubled < 2 || doubled > 512 || doubled % 2) return false;
    if (planes != 1 || compression != BI_RGB) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
    const std::uint64_t palette = used ? used : (bits <= 8 ? 1u << bits : 0u);
    if (palette > 256) return false;
    const std::uint64_t rows = static_cast<std::uint64_t>(doubled / 2);
    const std::uint64_t colourStride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t maskStride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    return 40 + palette * 4 + (colourStride + maskStride) * rows <= size;
}

// The icon of an icon file for the notification area: the image the system would pick for the
// small icon size, among those that lie wholly inside the bytes. Null when there is none.
HICON makeIcon(const ByteSet& file) {
    const IconBytes in(file);
    if (!in.has(0, 6) || in.u16(0) != 0 || in.u16(2) != 1) return nullptr;
    const std::size_t count = in.u16(4);
    // The resource form of the directory: the same fields with a 16-bit id in place of the offset.
    std::vector<BYTE> group = {0, 0, 1, 0, 0, 0};
    struct Image {
        std::size_t offset, size;
    };
    std::vector<Image> images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        if (!in.has(entry, 16)) break;
        const std::size_t size = in.u32(entry + 8), offset = in.u32(entry + 12);
        if (size == 0 || !in.has(offset, size) || !imageFits(in, offset, size)) continue;
        group.insert(group.end(), in.at(entry), in.at(entry) + 12);
        const WORD id = static_cast<WORD>(images.size() + 1);
        group.push_back(LOBYTE(id));
        group.push_back(HIBYTE(id));
        images.push_back({offset, size});
    }
    if (images.empty()) return nullptr;
    group[4] = LOBYTE(images.size());
    group[5] = HIBYTE(images.size());
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    int id = LookupIconIdFromDirectoryEx(group.data(), TRUE, cx, cy, LR_DEFAULTCOLOR);
    if (id < 1 || id > static_cast<int>(images.size())) id = 1;
    const Image& chosen = images[static_cast<std::size_t>(id - 1)];
    // The call may not write through its pointer; a copy keeps the caller's bytes const.
    std::vector<BYTE> bits(in.at(chosen.offset), in.at(chosen.offset) + chosen.size);
    return CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), TRUE, 0x00030000, cx, cy,
                                    LR_DEFAULTCOLOR);
}

NOTIFYICONDATAW notifyData(HWND window, unsigned id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = id;
    return data;
}

} // namespace

int showMessageBox(const MessageBoxRequest& request, HWND owner) {
    // The system numbers the buttons as the layer does (1 OK .. 7 No); 0 means it was not shown.
    return MessageBoxW(owner, widen(request.text).c_str(), widen(request.title).c_str(), request.flags);
}

std::optional<Text> showInputBox(const InputBoxRequest& request, HWND owner) {
    const InputBoxLayout& l = request.layout;
    const DialogFont font = dialogFont();
    DialogTemplate t;
    t.dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_3DLOOK);
    t.dword(0);
    t.word(l.hasPrompt ? 5 : 3);
    t.word(0);
    t.word(0);
    t.word(static_cast<WORD>(l.width));
    t.word(static_cast<WORD>(l.height));
    t.word(0); // no menu
    t.word(0); // the standard dialog class
    t.text(request.caption);
    t.word(font.points);
    t.text(font.face);
    if (l.hasPrompt) {
        t.item(SS_ETCHEDFRAME, 0, l.prompt, kNoId, kStaticAtom, Text());
        // The prompt sits inside its frame with a margin, wrapping onto as many lines as fit.
        const DialogRect inner{l.prompt.x + 4, l.prompt.y + 4, l.prompt.width - 8, l.prompt.height - 8};
        t.item(SS_LEFT | SS_NOPREFIX, 0, inner, kInputBoxPromptId, kStaticAtom, request.prompt);
    }
    t.item(editStyleOf(request), WS_EX_CLIENTEDGE, l.edit, kInputBoxEditId, kEditAtom, Text());
    t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 0, l.okButton, IDOK, kButtonAtom, request.okText);
    t.item(BS_PUSHBUTTON | WS_TABSTOP, 0, l.cancelButton, IDCANCEL, kButtonAtom, request.cancelText);

    InputBoxState state;
    state.request = &request;
    const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.data(), owner, inputBoxProc,
                                                   reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK) return std::nullopt;
    return state.result;
}

Text browseForFolder(const FolderPickerRequest& request, HWND owner) {
    // The backend initialises COM on its thread; a caller on another thread gets it here, and an
    // apartment of another kind is used as it is.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    wchar_t display[MAX_PATH] = {};
    const std::wstring title = widen(request.title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = request.flags;
    info.lpfn = folderPickerProc;
    info.lParam = reinterpret_cast<LPARAM>(&request.initialPath);
    Text path;
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info)) {
        wchar_t buffer[MAX_PATH] = {};
        // A virtual folder (no file system path) answers as a cancel would.
        if (SHGetPathFromIDListW(chosen, buffer)) path = narrow(buffer);
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return path;
}

std::optional<Colour> chooseColour(const ColourChoiceRequest& request, HWND owner) {
    // The custom colours the user mixes are kept for the rest of the session.
    static COLORREF custom[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    // A COLORREF is the program's colour: red in the low byte.
    choice.rgbResult = request.initial & 0x00FFFFFF;
    choice.lpCustColors = custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&choice)) return std::nullopt;
    return static_cast<Colour>(choice.rgbResult & 0x00FFFFFF);
}

unsigned trackPopupMenu(const PopupMenuRequest& request, HWND owner) {
    HMENU menu = buildMenu(request.entries);
    if (!menu) return 0;
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    POINT at{};
    GetCursorPos(&at);
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (request.rightAligned ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    const BOOL command =
        TrackPopupMenu(menu, flags, at.x + request.offsetX, at.y + request.offsetY, 0, owner, nullptr);
    // The null message lets the owner's queue wake up so that a second popup works the first time.
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return command > 0 ? static_cast<unsigned>(command) : 0;
}

std::optional<TrayMouse> trayMouseOf(LPARAM lParam) {
    switch (LOWORD(lParam)) {
    case WM_MOUSEMOVE:
        return TrayMouse::Move;
    case WM_LBUTTONDOWN:
        return TrayMouse::LeftDown;
    case WM_LBUTTONUP:
        return TrayMouse::LeftUp;
    case WM_LBUTTONDBLCLK:
        return TrayMouse::LeftDoubleClick;
    case WM_RBUTTONDOWN:
        return TrayMouse::RightDown;
    case WM_RBUTTONUP:
        return TrayMouse::RightUp;
    case WM_CONTEXTMENU:
        return TrayMouse::ContextMenuKey;
    case WM_MBUTTONUP:
        return TrayMouse::MiddleUp;
    default:
        return std::nullopt;
    }
}

TrayIcons::~TrayIcons() {
    while (!icons_.empty())
        remove(icons_.begin()->first);
}

void TrayIcons::set(HWND window, const std::optional<TrayIconRequest>& request) {
    HICON icon = request ? makeIcon(request->icon) : nullptr;
    if (!icon) {
        remove(window);
        return;
    }
    NOTIFYICONDATAW data = notifyData(window, request->iconId);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon;
    // The tip is cut to whole GBK characters in the bytes an A tip holds; as UTF-16 it takes no
    // more units than it has bytes.
    const std::wstring tip = widen(cutTrayTip(request->tip));
    const std::size_t units = std::min<std::size_t>(tip.size(), std::size(data.szTip) - 1);
    std::memcpy(data.szTip, tip.c_str(), units * sizeof(wchar_t));
    data.szTip[units] = L'\0';

    auto shown = icons_.find(window);
    if (shown != icons_.end() && shown->second.id != request->iconId) {
        remove(window);
        shown = icons_.end();
    }
    // A modify can fail when the notification area has been restarted: the icon is added anew.
    const bool ok =
        (shown != icons_.end() && Shell_NotifyIconW(NIM_MODIFY, &data)) || Shell_NotifyIconW(NIM_ADD, &data);
    if (!ok) {
        DestroyIcon(icon);
        remove(window);
        return;
    }
    if (shown != icons_.end()) DestroyIcon(shown->second.icon);
    icons_[window] = Shown{request->iconId, icon};
}

void TrayIcons::remove(HWND window) {
    const auto shown = icons_.find(window);
    if (shown == icons_.end()) return;
    NOTIFYICONDATAW data = notifyData(window, shown->second.id);
    Shell_NotifyIconW(NIM_DELETE, &data);
    DestroyIcon(shown->second.icon);
    icons_.erase(shown);
}

namespace {

// Moveable memory holding `size` bytes copied from `data`; null when the system has none.
HGLOBAL globalCopy(const void* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    void* bytes = GlobalLock(memory);
    if (!bytes) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(bytes, data, size);
    GlobalUnlock(memory);
    return memory;
}

// Hands the memory to the clipboard; the clipboard owns it only once it has taken it.
bool putOnClipboard(UINT format, HGLOBAL memory) {
    if (!memory) return false;
    if (SetClipboardData(format, memory)) return true;
    GlobalFree(memory);
    return false;
}

} // namespace

bool setClipboardText(HWND owner, const Text& text) {
    // Another program may hold the clipboard for a moment: a few short retries.
    bool open = false;
    for (int attempt = 0; attempt < 10 && !open; ++attempt) {
        open = OpenClipboard(owner);
        if (!open) Sleep(10);
    }
    if (!open) return false;
    bool ok = false;
    if (EmptyClipboard()) {
        // The Unicode text is what other programs paste, right on every system; the GBK bytes
        // beside it keep an ANSI reader's paste the program's own, since the system would
        // otherwise derive them in its own code page. The system ends the text at its first NUL.
        const std::wstring wide = widen(text);
        ok = putOnClipboard(CF_UNICODETEXT, globalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
        if (ok) ok = putOnClipboard(CF_TEXT, globalCopy(text.c_str(), text.size() + 1));
    }
    CloseClipboard();
    return ok;
}

bool runCommandLine(const Text& commandLine, int showCommand) {
    if (commandLine.empty()) return false;
    // CreateProcessW may write into the line it is given.
    std::wstring line = widen(commandLine);
    if (line.empty()) return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace glyvora::win32
