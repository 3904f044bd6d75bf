#include "forms/win32/win32_backend.h"

#include "forms/win32/dpi_win32.h"
#include "forms/win32/font_win32.h"
#include "forms/win32/make_backend.h"
#include "forms/win32/wide_text.h"
#include "platform/clock.h"

#include <algorithm>
#include <commctrl.h>
#include <objbase.h>
#include <vector>
#include <windowsx.h>

namespace glyvora::win32 {

namespace {

constexpr const wchar_t* kWindowClass = L"GlyvoraWindow";
constexpr const wchar_t* kPickerClass = L"GlyvoraColourPicker";
constexpr const wchar_t* kUtilityClass = L"GlyvoraUtility";
// The property of a subclassed control that holds its Control record.
constexpr const wchar_t* kControlProperty = L"GlyvoraControl";
// A drop-down list opens this much below its closed box (in the layer's units).
constexpr int kComboListHeight = 200;
// A hint's lines are wrapped at this width (in the layer's units), which also makes the tooltip
// honour line breaks.
constexpr int kHintWidth = 600;

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

// The DPI awareness, COM for the shell's folder picker, the common controls, and our window
// classes: once per process.
void initialiseOnce() {
    static const bool done = [] {
        declareDpiAwareness();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                 ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);

        WNDCLASSW window{};
        window.style = CS_DBLCLKS;
        window.lpfnWndProc = Win32Backend::windowProc;
        window.hInstance = instance();
        window.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        window.hCursor = LoadCursor(nullptr, IDC_ARROW);
        window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        window.lpszClassName = kWindowClass;
        RegisterClassW(&window);

        WNDCLASSW picker{};
        picker.style = CS_DBLCLKS;
        picker.lpfnWndProc = Win32Backend::pickerProc;
        picker.hInstance = instance();
        picker.hCursor = LoadCursor(nullptr, IDC_HAND);
        picker.lpszClassName = kPickerClass;
        RegisterClassW(&picker);

        WNDCLASSW utility{};
        utility.lpfnWndProc = DefWindowProcW;
        utility.hInstance = instance();
        utility.lpszClassName = kUtilityClass;
        RegisterClassW(&utility);
        return true;
    }();
    (void)done;
}

// The mouse event number of a mouse message on a control; 0 for other messages. A right double
// click arrives in place of the second press, so it counts as one.
int mouseEventOf(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        return event::leftDown;
    case WM_LBUTTONUP:
        return event::leftUp;
    case WM_LBUTTONDBLCLK:
        return event::leftDoubleClick;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        return event::rightDown;
    case WM_RBUTTONUP:
        return event::rightUp;
    case WM_MOUSEMOVE:
        return event::mouseMove;
    default:
        return 0;
    }
}

int keyStateOf(WPARAM wp) {
    int keys = 0;
    if (wp & MK_CONTROL) keys |= keyState::ctrl;
    if (wp & MK_SHIFT) keys |= keyState::shift;
    // Mouse messages carry no Alt flag; the key's state at the time of the message does.
    if (GetKeyState(VK_MENU) < 0) keys |= keyState::alt;
    return keys;
}

// In pixels.
Rect rectInParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

} // namespace

std::unique_ptr<Backend> makeBackend() {
    initialiseOnce();
    return std::make_unique<Win32Backend>();
}

Win32Backend::Win32Backend() {
    initialiseOnce();
    utility_ =
        CreateWindowExW(0, kUtilityClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance(), nullptr);
}

Win32Backend::~Win32Backend() {
    sink_ = nullptr;
    watcher_ = nullptr;
    while (!windows_.empty())
        destroyWindow(windows_.begin()->first);
    if (utility_) DestroyWindow(utility_);
}

// ---- lookups ----

Win32Backend::Window* Win32Backend::findWindow(WindowId window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

Win32Backend::Window* Win32Backend::windowOf(HWND hwnd) const {
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Win32Backend::Control* Win32Backend::findControl(WindowId window, UnitId unit) const {
    Window* w = findWindow(window);
    if (!w) return nullptr;
    const auto it = w->controls.find(unit);
    return it == w->controls.end() || !it->second->hwnd ? nullptr : it->second.get();
}

HWND Win32Backend::windowHandle(WindowId window) const {
    Window* w = findWindow(window);
    return w ? w->hwnd : nullptr;
}

HWND Win32Backend::controlHandle(WindowId window, UnitId unit) const {
    Control* c = findControl(window, unit);
    return c ? c->hwnd : nullptr;
}

std::optional<UnitType> Win32Backend::controlType(WindowId window, UnitId unit) const {
    Control* c = findControl(window, unit);
    if (!c) return std::nullopt;
    return c->type;
}

HWND Win32Backend::hintHandle(WindowId window) const {
    Window* w = findWindow(window);
    return w ? w->hints : nullptr;
}

std::optional<TrayIconRequest> Win32Backend::trayIcon(WindowId window) const {
    const auto it = trayRequests_.find(window);
    if (it == trayRequests_.end()) return std::nullopt;
    return it->second;
}

bool Win32Backend::reporting(WindowId window) const {
    if (!sink_ || quiet_ > 0) return false;
    Window* w = findWindow(window);
    return w && !w->dying;
}

HWND Win32Backend::ownerOf(WindowId window) const {
    if (HWND h = windowHandle(window)) return h;
    return GetActiveWindow();
}

HWND Win32Backend::ownerOf(const DialogOwner& owner) const {
    if (owner.window) return ownerOf(*owner.window);
    if (owner.handle) return reinterpret_cast<HWND>(owner.handle);
    return GetActiveWindow();
}

// ---- window procedures ----

LRESULT CALLBACK Win32Backend::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* w = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        w->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    Window* w = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!w) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // Destroyed by the system too (with its owner): the record no longer names a window.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        w->hwnd = nullptr;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return w->backend->handleWindowMessage(*w, hwnd, msg, wp, lp);
}

LRESULT Win32Backend::handleWindowMessage(Window& w, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kPostedMessage: {
        const auto it = posted_.find(static_cast<std::uint32_t>(wp));
        if (it == posted_.end()) return 0;
        const Posted posted = it->second;
        posted_.erase(it);
        if (sink_ && !w.dying) sink_->onPosted(posted.window, posted.message);
        return 0;
    }
    case kTrayCallbackMessage:
        if (const auto mouse = trayMouseOf(lp); mouse && reporting(w.id)) sink_->onTray(w.id, *mouse);
        return 0;
    case WM_COMMAND:
        handleCommand(w, wp, lp);
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        if (!header || w.dying) break;
        for (auto& [id, c] : w.controls) {
            if (c->tree && c->tree->handle() == header->hwndFrom) {
                if (const auto result = c->tree->onNotify(*header)) return *result;
                break;
            }
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        if (const auto brush = handleColour(w, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
            return *brush;
        break;
    case WM_CLOSE:
        // The layer decides whether the window goes.
        if (reporting(w.id)) sink_->onCloseRequest(w.id);
        return 0;
    case WM_DPICHANGED:
        // Moved to a monitor of another DPI: the system suggests the window's new outer rect.
        if (w.dying) break;
        changeDpi(w, HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_SYSCOMMAND:
        // Alt+F4 and the system menu ask through SC_CLOSE; a window without the close entry refuses.
        if ((wp & 0xFFF0) == SC_CLOSE && !w.design->windowUnitTemplate().window.closeCommand) return 0;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32Backend::handleCommand(Window& w, WPARAM wp, LPARAM lp) {
    const HWND from = reinterpret_cast<HWND>(lp);
    const UINT code = HIWORD(wp);
    if (!from) {
        if (code == 0 && reporting(w.id)) sink_->onMenuCommand(w.id, LOWORD(wp));
        return;
    }
    auto* c = static_cast<Control*>(GetPropW(from, kControlProperty));
    if (!c || c->window != w.id || !reporting(w.id)) return;
    switch (c->type) {
    case UnitType::Button:
    case UnitType::CheckBox:
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED) sink_->onClicked(w.id, c->unit);
        break;
    case UnitType::EditBox:
        if (code == EN_CHANGE) sink_->onEditChanged(w.id, c->unit);
        break;
    case UnitType::ComboBox:
        if (code == CBN_SELENDOK) sink_->onComboChosen(w.id, c->unit);
        break;
    default:
        break;
    }
}

std::optional<LRESULT> Win32Backend::handleColour(Window& w, HDC dc, HWND control) {
    auto* c = static_cast<Control*>(GetPropW(control, kControlProperty));
    if (!c || c->window != w.id || c->type != UnitType::Label) return std::nullopt;
    if (!c->textColour && !c->backColour) return std::nullopt;
    SetTextColor(dc, c->textColour ? *c->textColour : GetSysColor(COLOR_WINDOWTEXT));
    if (!c->backColour) {
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    SetBkColor(dc, *c->backColour);
    if (!c->backBrush) c->backBrush = CreateSolidBrush(*c->backColour);
    return reinterpret_cast<LRESULT>(c->backBrush);
}

LRESULT CALLBACK Win32Backend::controlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* c = static_cast<Control*>(GetPropW(hwnd, kControlProperty));
    if (!c) return DefWindowProcW(hwnd, msg, wp, lp);
    return c->backend->handleControlMessage(*c, hwnd, msg, wp, lp);
}

LRESULT Win32Backend::handleControlMessage(Control& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // A handler may destroy the window, and this record with it: keep what the rest needs.
    const WNDPROC previous = c.previousProc;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(hwnd, kControlProperty);
        c.hwnd = nullptr;
        return CallWindowProcW(previous, hwnd, msg, wp, lp);
    }
    if (c.hinted && mouseEventOf(msg) != 0) relayToHints(c, hwnd, msg, wp, lp);
    if (const int event = mouseEventOf(msg); event != 0 && reporting(c.window)) {
        const Window* w = findWindow(c.window);
        const int dpi = w ? w->dpi : kLayerDpi;
        const bool delivered = sink_->onMouse(c.window, c.unit, event, toUnits(GET_X_LPARAM(lp), dpi),
                                              toUnits(GET_Y_LPARAM(lp), dpi), keyStateOf(wp));
        if (!IsWindow(hwnd)) return 0;
        if (!delivered) {
            ++swallowed_;
            return 0;
        }
    } else if ((msg == WM_SETFOCUS || msg == WM_KILLFOCUS) && reporting(c.window)) {
        sink_->onFocus(c.window, c.unit, msg == WM_SETFOCUS);
        if (!IsWindow(hwnd)) return 0;
    }
    return CallWindowProcW(previous, hwnd, msg, wp, lp);
}

// The colour picker: a swatch of its colour in a sunken frame; a click asks for a new colour.
LRESULT CALLBACK Win32Backend::pickerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* c = static_cast<Control*>(GetPropW(hwnd, kControlProperty));
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
        HBRUSH swatch = CreateSolidBrush(c ? c->pickerColour : 0);
        FillRect(dc, &r, swatch);
        DeleteObject(swatch);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONUP:
        if (c && c->backend->reporting(c->window))
            c->backend->sink_->onColourPickerOpened(c->window, c->unit);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// ---- windows and controls ----

// The screen in the layer's units: its point sizes are counted at the layer's DPI as well.
ScreenInfo Win32Backend::screen() {
    const int dpi = systemDpi();
    ScreenInfo info;
    info.width = toUnits(GetSystemMetrics(SM_CXSCREEN), dpi);
    info.height = toUnits(GetSystemMetrics(SM_CYSCREEN), dpi);
    info.dpiY = kLayerDpi;
    return info;
}

UnitFont Win32Backend::defaultGuiFont() {
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    // The stock font is made for the system's DPI.
    const int dpi = systemDpi();
    lf.lfHeight = toUnits(lf.lfHeight, dpi);
    lf.lfWidth = toUnits(lf.lfWidth, dpi);
    return fromLogFont(lf);
}

bool Win32Backend::createWindow(const WindowTemplate& design, const Rect& outer,
                                std::optional<WindowId> owner) {
    if (findWindow(design.window)) destroyWindow(design.window);
    const WindowDesign& frame = design.windowUnitTemplate().window;
    auto w = std::make_unique<Window>();
    w->backend = this;
    w->id = design.window;
    w->design = &design;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (frame.minMaxButtons) style |= WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    HWND ownerHandle = owner ? windowHandle(*owner) : nullptr;
    // Until the window exists its monitor is not known: it starts at the system's DPI, and moves to
    // its monitor's if that differs.
    w->dpi = systemDpi();
    Rect placed = toPixels(outer, w->dpi);
    ++quiet_;
    HWND hwnd = CreateWindowExW(0, kWindowClass, widen(design.windowUnitTemplate().caption).c_str(), style,
                                placed.left, placed.top, placed.width, placed.height, ownerHandle, nullptr,
                                instance(), w.get());
    if (hwnd && dpiOfWindow(hwnd) != w->dpi) {
        w->dpi = dpiOfWindow(hwnd);
        placed = toPixels(outer, w->dpi);
        SetWindowPos(hwnd, nullptr, placed.left, placed.top, placed.width, placed.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    --quiet_;
    if (!hwnd) return false;
    if (!frame.closeCommand) {
        // Without the close entry the caption's close button is greyed as well.
        DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND);
    }
    windows_[design.window] = std::move(w);
    return true;
}

bool Win32Backend::createControl(WindowId window, const UnitTemplate& unit) {
    Window* w = findWindow(window);
    if (!w || !w->hwnd) return false;
    auto c = std::make_unique<Control>();
    c->backend = this;
    c->window = window;
    c->unit = unit.id;
    c->type = unit.type;
    const int id = w->nextControlId++;
    // Siblings clip one another so that the template's order decides what lies on top (the
    // separator lines over the preview labels).
    DWORD style =
        WS_CHILD | WS_CLIPSIBLINGS | (unit.visible ? WS_VISIBLE : 0) | (unit.disabled ? WS_DISABLED : 0);
    DWORD exStyle = 0;
    const wchar_t* className = nullptr;
    const Rect placed = toPixels(Rect{unit.left, unit.top, unit.width, unit.height}, w->dpi);
    int height = placed.height;
    switch (unit.type) {
    case UnitType::Label:
        // A label shows data (face names, page numbers): an ampersand is a character, not a
        // mnemonic, and a line too long is cut rather than wrapped out of a one-line label.
        className = L"STATIC";
        style |= SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX;
        break;
    case UnitType::Button:
        className = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case UnitType::CheckBox:
        className = L"BUTTON";
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    case UnitType::EditBox:
        className = L"EDIT";
        style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
    case UnitType::ComboBox:
        className = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        height += toPixels(kComboListHeight, w->dpi);
        break;
    case UnitType::ProcessBar:
        className = PROGRESS_CLASSW;
        break;
    case UnitType::ColorPicker:
        className = kPickerClass;
        break;
    case UnitType::TreeBox:
        break;
    default:
        return false;
    }

    ++quiet_;
    if (unit.type == UnitType::TreeBox) {
        c->tree = std::make_unique<TreeView>(w->hwnd, id, unit, w->dpi, window, &sink_);
        c->hwnd = c->tree->created() ? c->tree->handle() : nullptr;
    } else {
        c->hwnd = CreateWindowExW(exStyle, className, widen(unit.caption).c_str(), style, placed.left,
                                  placed.top, placed.width, height, w->hwnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    }
    if (!c->hwnd) {
        --quiet_;
        return false;
    }
    SetPropW(c->hwnd, kControlProperty, c.get());
    c->previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(c->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Backend::controlProc)));

    applyFont(*c, unit.font, w->dpi);
    switch (unit.type) {
    case UnitType::Label:
        c->textColour = unit.textColour;
        c->backColour = unit.backColour;
        break;
    case UnitType::ComboBox:
        for (const Text& item : unit.items)
            SendMessageW(c->hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
        fitComboHeight(c->hwnd, placed.height);
        break;
    case UnitType::ProcessBar:
        SendMessageW(c->hwnd, PBM_SETRANGE32, unit.minimum, unit.maximum);
        SendMessageW(c->hwnd, PBM_SETPOS, unit.position, 0);
        c->progressMinimum = unit.minimum;
        c->progressMaximum = unit.maximum;
        c->progressShown = unit.position;
        break;
    case UnitType::ColorPicker:
        c->pickerColour = unit.colour;
        break;
    case UnitType::TreeBox:
        c->tree->setColours(unit.textColour, unit.backColour);
        break;
    default:
        break;
    }
    --quiet_;
    w->controls[unit.id] = std::move(c);
    return true;
}

namespace {

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Whether a face of that name exists for the character set (fonts this process added privately
// included).
bool faceHasCharset(const wchar_t* face, BYTE charset) {
    LOGFONTW query{};
    query.lfCharSet = charset;
    std::memcpy(query.lfFaceName, face,
                std::min<std::size_t>(wcslen(face), LF_FACESIZE - 1) * sizeof(wchar_t));
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &query, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

} // namespace

void Win32Backend::applyFont(Control& c, const std::optional<UnitFont>& font, int dpi) {
    c.layerFont = font;
    HFONT shown = nullptr;
    FontBinding binding;
    if (!font && dpi != systemDpi()) {
        // The stock font is the system DPI's; on a monitor of another DPI it is scaled.
        LOGFONTW lf{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        lf.lfHeight = MulDiv(lf.lfHeight, dpi, systemDpi());
        lf.lfWidth = MulDiv(lf.lfWidth, dpi, systemDpi());
        shown = CreateFontIndirectW(&lf);
    } else if (font) {
        LOGFONTW lf = toLogFont(*font);
        // A height or width of 0 is the mapper's choice and stays 0; a negative height, the
        // character height, keeps its sign.
        lf.lfHeight = toPixels(lf.lfHeight, dpi);
        lf.lfWidth = toPixels(lf.lfWidth, dpi);
        // The font mapper ranks the character set above the face name: a Latin font asked for with
        // the Chinese character set would be replaced by some Chinese font. A named face that lacks
        // the set is asked for by its name alone, so the face the user previews is the one shown. A
        // face the system does not have at all is left to the mapper as it was asked for.
        if (lf.lfFaceName[0] != 0 && lf.lfCharSet != DEFAULT_CHARSET &&
            !faceHasCharset(lf.lfFaceName, lf.lfCharSet) && faceHasCharset(lf.lfFaceName, DEFAULT_CHARSET))
            lf.lfCharSet = DEFAULT_CHARSET;
        if (c.type == UnitType::Label) {
            binding = fonts_.bind(c.fontBinding, lf, font->faceName, c.fontFile);
            // A private copy has the one face: every character set asks for that face.
            if (!binding.privateFace.empty()) {
                std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), L'\0');
                binding.privateFace.copy(lf.lfFaceName, LF_FACESIZE - 1);
                lf.lfCharSet = DEFAULT_CHARSET;
            }
        }
        shown = CreateFontIndirectW(&lf);
    }
    HFONT previous = c.font;
    c.font = shown;
    if (!shown) shown = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    if (previous) DeleteObject(previous);
    // The copy the old font came from goes only now that no font of it is shown.
    fonts_.release(c.fontBinding);
    c.fontBinding = std::move(binding);
    // Labels drawn by a bitmap face name that this label's file now shares must draw their own
    // copies: GDI may answer the name with either file.
    for (const Text& face : fonts_.takeContested())
        for (auto& [id, w] : windows_)
            for (auto& [unit, other] : w->controls)
                if (other.get() != &c && other->type == UnitType::Label && other->layerFont &&
                    other->fontBinding.faceName == face && other->fontBinding.privateFace.empty()) {
                    other->fontBinding.decided = false;
                    applyFont(*other, other->layerFont, w->dpi);
                }
}

void Win32Backend::fitComboHeight(HWND combo, int height) {
    // The closed box is its selection field plus the frame. What a set field height becomes
    // differs between systems (Wine adds two pixels), so the field is corrected from what the box
    // then measures.
    LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int round = 0; round < 4 && field != CB_ERR; ++round) {
        RECT r{};
        GetWindowRect(combo, &r);
        const int difference = height - (r.bottom - r.top);
        if (difference == 0 || field + difference <= 0) return;
        field += difference;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

void Win32Backend::showWindow(WindowId window) {
    HWND h = windowHandle(window);
    if (!h) return;
    ++quiet_;
    ShowWindow(h, SW_SHOW);
    UpdateWindow(h);
    --quiet_;
}

void Win32Backend::destroyWindow(WindowId window) {
    const auto it = windows_.find(window);
    if (it == windows_.end()) return;
    Window& w = *it->second;
    w.dying = true;
    for (auto p = posted_.begin(); p != posted_.end();)
        p = p->second.window == window ? posted_.erase(p) : std::next(p);
    trayRequests_.erase(window);
    ++quiet_;
    if (w.hwnd) {
        tray_.remove(w.hwnd);
        DestroyWindow(w.hwnd);
    }
    --quiet_;
    for (auto& [id, c] : w.controls) {
        c->tree.reset();
        if (c->font) DeleteObject(c->font);
        fonts_.release(c->fontBinding);
        if (c->backBrush) DeleteObject(c->backBrush);
    }
    windows_.erase(it);
}

void Win32Backend::activateWindow(WindowId window) {
    HWND h = windowHandle(window);
    if (!h) return;
    ++quiet_;
    if (IsIconic(h)) {
        ShowWindow(h, SW_RESTORE);
    } else {
        SetForegroundWindow(h);
        SetActiveWindow(h);
    }
    --quiet_;
}

void Win32Backend::setAlwaysOnTop(WindowId window, bool onTop) {
    HWND h = windowHandle(window);
    if (!h) return;
    constexpr UINT keepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ++quiet_;
    SetWindowPos(h, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, keepPlace);
    if (onTop && !(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        // Wine keeps a window out of the band while a window it owns is in it; the owned windows
        // are let go for the move and taken back, then put above their owner again.
        std::vector<HWND> owned;
        for (const auto& entry : windows_) {
            const HWND other = entry.second ? entry.second->hwnd : nullptr;
            if (other && GetWindow(other, GW_OWNER) == h) owned.push_back(other);
        }
        for (HWND o : owned)
            SetWindowLongPtrW(o, GWLP_HWNDPARENT, 0);
        SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, keepPlace);
        for (HWND o : owned) {
            const bool wasOnTop = GetWindowLongPtrW(o, GWL_EXSTYLE) & WS_EX_TOPMOST;
            SetWindowLongPtrW(o, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(h));
            SetWindowPos(o, wasOnTop ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, keepPlace);
        }
    }
    --quiet_;
}

Rect Win32Backend::rect(WindowId window, UnitId unit) {
    Window* w = findWindow(window);
    if (!w || !w->hwnd) return {};
    if (w->design->windowUnit == unit) {
        RECT r{};
        GetWindowRect(w->hwnd, &r);
        return toUnits(Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}, w->dpi);
    }
    Control* c = findControl(window, unit);
    return c ? toUnits(rectInParent(c->hwnd), w->dpi) : Rect{};
}

void Win32Backend::setRect(WindowId window, UnitId unit, const Rect& rect) {
    Window* w = findWindow(window);
    if (!w || !w->hwnd) return;
    ++quiet_;
    if (w->design->windowUnit == unit) {
        const Rect placed = toPixels(rect, w->dpi);
        SetWindowPos(w->hwnd, nullptr, placed.left, placed.top, placed.width, placed.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (Control* c = findControl(window, unit)) {
        placeControl(*c, rect, w->dpi);
    }
    --quiet_;
}

void Win32Backend::placeControl(Control& c, const Rect& rect, int dpi) {
    const Rect placed = toPixels(rect, dpi);
    int height = placed.height;
    // A combo box takes the height as that of its open list; the closed box follows its field.
    if (c.type == UnitType::ComboBox) height += toPixels(kComboListHeight, dpi);
    SetWindowPos(c.hwnd, nullptr, placed.left, placed.top, placed.width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Every place and size is taken back to the layer's units at the old DPI and out again at the new
// one, so nothing drifts however often the window moves between monitors.
void Win32Backend::changeDpi(Window& w, int dpi, const RECT& outer) {
    if (dpi <= 0 || !w.hwnd) return;
    const int old = w.dpi;
    ++quiet_;
    std::vector<std::pair<Control*, Rect>> places;
    for (auto& [id, c] : w.controls)
        if (c->hwnd) places.emplace_back(c.get(), toUnits(rectInParent(c->hwnd), old));
    w.dpi = dpi;
    SetWindowPos(w.hwnd, nullptr, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (auto& [c, units] : places) {
        applyFont(*c, c->layerFont, dpi);
        if (c->tree) c->tree->setDpi(dpi);
        placeControl(*c, units, dpi);
        if (c->type == UnitType::ComboBox) fitComboHeight(c->hwnd, toPixels(units.height, dpi));
    }
    if (w.hints) SendMessageW(w.hints, TTM_SETMAXTIPWIDTH, 0, toPixels(kHintWidth, dpi));
    --quiet_;
    InvalidateRect(w.hwnd, nullptr, TRUE);
}

void Win32Backend::setVisible(WindowId window, UnitId unit, bool visible) {
    Window* w = findWindow(window);
    if (!w || !w->hwnd) return;
    HWND h = w->design->windowUnit == unit ? w->hwnd : controlHandle(window, unit);
    if (!h) return;
    ++quiet_;
    ShowWindow(h, visible ? (h == w->hwnd ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
    --quiet_;
}

void Win32Backend::setDisabled(WindowId window, UnitId unit, bool disabled) {
    HWND h = controlHandle(window, unit);
    if (!h) return;
    ++quiet_;
    EnableWindow(h, disabled ? FALSE : TRUE);
    --quiet_;
}

Text Win32Backend::text(WindowId window, UnitId unit) {
    Window* w = findWindow(window);
    if (!w || !w->hwnd) return {};
    HWND h = w->design->windowUnit == unit ? w->hwnd : controlHandle(window, unit);
    if (!h) return {};
    return windowTextOf(h);
}

void Win32Backend::setText(WindowId window, UnitId unit, const Text& text) {
    Window* w = findWindow(window);
    if (!w || !w->hwnd) return;
    HWND h = w->design->windowUnit == unit ? w->hwnd : controlHandle(window, unit);
    if (!h) return;
    ++quiet_;
    setWindowTextOf(h, text);
    --quiet_;
}

void Win32Backend::setFont(WindowId window, UnitId unit, const UnitFont& font) {
    Control* c = findControl(window, unit);
    if (!c) return;
    const Window* w = findWindow(window);
    ++quiet_;
    applyFont(*c, font, w ? w->dpi : kLayerDpi);
    if (c->type == UnitType::ComboBox) fitComboHeight(c->hwnd, rectInParent(c->hwnd).height);
    --quiet_;
}

void Win32Backend::setFontFile(WindowId window, UnitId unit, const Text& path) {
    Control* c = findControl(window, unit);
    if (!c || c->type != UnitType::Label || c->fontFile == path) return;
    c->fontFile = path;
    if (!c->layerFont) return;
    const Window* w = findWindow(window);
    ++quiet_;
    applyFont(*c, c->layerFont, w ? w->dpi : kLayerDpi);
    --quiet_;
}

Text Win32Backend::fontFileOf(WindowId window, UnitId unit) const {
    const Control* c = findControl(window, unit);
    return c ? c->fontFile : Text();
}

FontBinding Win32Backend::fontBindingOf(WindowId window, UnitId unit) const {
    const Control* c = findControl(window, unit);
    return c ? c->fontBinding : FontBinding();
}

void Win32Backend::setColours(WindowId window, UnitId unit, std::optional<Colour> text,
                              std::optional<Colour> back) {
    Control* c = findControl(window, unit);
    if (!c) return;
    ++quiet_;
    if (c->tree) {
        c->tree->setColours(text, back);
    } else {
        c->textColour = text;
        c->backColour = back;
        if (c->backBrush) DeleteObject(c->backBrush);
        c->backBrush = nullptr;
        InvalidateRect(c->hwnd, nullptr, TRUE);
    }
    --quiet_;
}

int Win32Backend::checkState(WindowId window, UnitId unit) {
    HWND h = controlHandle(window, unit);
    return h ? static_cast<int>(SendMessageW(h, BM_GETCHECK, 0, 0)) : 0;
}

void Win32Backend::setCheckState(WindowId window, UnitId unit, int state) {
    HWND h = controlHandle(window, unit);
    if (!h) return;
    ++quiet_;
    SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    --quiet_;
}

int Win32Backend::comboSelection(WindowId window, UnitId unit) {
    HWND h = controlHandle(window, unit);
    if (!h) return -1;
    const LRESULT selection = SendMessageW(h, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? -1 : static_cast<int>(selection);
}

void Win32Backend::setComboSelection(WindowId window, UnitId unit, int index) {
    HWND h = controlHandle(window, unit);
    if (!h) return;
    ++quiet_;
    SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    --quiet_;
}

namespace {

// The pixels of a bar `width` pixels wide that `position` fills.
long progressFill(long width, int minimum, int maximum, int position) {
    if (maximum <= minimum) return 0;
    return static_cast<long>(static_cast<long long>(position - minimum) * width / (maximum - minimum));
}

} // namespace

// The bar repaints itself at once for every new position, which costs far more than a step of a
// scan; a position is passed on when it fills another pixel, and the two ends always are.
void Win32Backend::setProgress(WindowId window, UnitId unit, int minimum, int maximum, int position) {
    Control* c = findControl(window, unit);
    if (!c) return;
    ++quiet_;
    const bool newRange = minimum != c->progressMinimum || maximum != c->progressMaximum;
    if (newRange) SendMessageW(c->hwnd, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    RECT bar{};
    GetClientRect(c->hwnd, &bar);
    const long width = bar.right - bar.left;
    if (newRange || position == minimum || position == maximum ||
        progressFill(width, minimum, maximum, position) !=
            progressFill(width, minimum, maximum, c->progressShown)) {
        SendMessageW(c->hwnd, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        c->progressShown = position;
    }
    c->progressMinimum = minimum;
    c->progressMaximum = maximum;
    --quiet_;
}

Colour Win32Backend::pickerColour(WindowId window, UnitId unit) {
    Control* c = findControl(window, unit);
    return c ? c->pickerColour : 0;
}

void Win32Backend::setPickerColour(WindowId window, UnitId unit, Colour colour) {
    Control* c = findControl(window, unit);
    if (!c) return;
    c->pickerColour = colour;
    InvalidateRect(c->hwnd, nullptr, FALSE);
}

// The tooltip sees the mouse through the control's own subclass: a second subclass of the tooltip's
// (TTF_SUBCLASS) would be cut out of the chain when the control's subclass is taken off at its
// destruction, and the tooltip would later call into what it had kept of it.
void Win32Backend::relayToHints(const Control& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const Window* w = findWindow(c.window);
    if (!w || !w->hints) return;
    MSG relayed{};
    relayed.hwnd = hwnd;
    relayed.message = msg;
    relayed.wParam = wp;
    relayed.lParam = lp;
    relayed.time = static_cast<DWORD>(GetMessageTime());
    SendMessageW(w->hints, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

// The hint of a control is a tool of its window's tooltip control, keyed by the control's handle
// (labels have SS_NOTIFY, so that they see the mouse).
void Win32Backend::setHint(WindowId window, UnitId unit, const Text& hint) {
    Window* w = findWindow(window);
    Control* c = findControl(window, unit);
    if (!w || !c) return;
    std::wstring text = widen(hint);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = w->hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(c->hwnd);
    tool.hinst = instance();
    if (text.empty()) {
        if (c->hinted && w->hints) SendMessageW(w->hints, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        c->hinted = false;
        return;
    }
    if (!w->hints) {
        w->hints = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, w->hwnd, nullptr, instance(), nullptr);
        if (!w->hints) return;
        SendMessageW(w->hints, TTM_SETMAXTIPWIDTH, 0, toPixels(kHintWidth, w->dpi));
    }
    tool.lpszText = text.data();
    if (c->hinted) {
        SendMessageW(w->hints, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    c->hinted = SendMessageW(w->hints, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

// ---- the tree mirror: the tree view keeps its own bookkeeping ----

void Win32Backend::treeClear(WindowId window, UnitId unit) {
    if (Control* c = findControl(window, unit); c && c->tree) c->tree->clear();
}

void Win32Backend::treeAppend(WindowId window, UnitId unit, const TreeItem& item, ItemKey parent) {
    if (Control* c = findControl(window, unit); c && c->tree) c->tree->append(item, parent);
}

void Win32Backend::treeUpdate(WindowId window, UnitId unit, const TreeItem& item) {
    if (Control* c = findControl(window, unit); c && c->tree) c->tree->update(item);
}

void Win32Backend::treeDelete(WindowId window, UnitId unit, ItemKey key) {
    if (Control* c = findControl(window, unit); c && c->tree) c->tree->remove(key);
}

void Win32Backend::treeSetExpanded(WindowId window, UnitId unit, ItemKey key, bool expanded) {
    if (Control* c = findControl(window, unit); c && c->tree) c->tree->setExpanded(key, expanded);
}

void Win32Backend::treeSelect(WindowId window, UnitId unit, ItemKey key) {
    if (Control* c = findControl(window, unit); c && c->tree) c->tree->select(key);
}

void Win32Backend::treeEditLabel(WindowId window, UnitId unit, ItemKey key) {
    // The edit's begin and end are reported however it started, so this call is not quiet.
    if (Control* c = findControl(window, unit); c && c->tree) c->tree->editLabel(key);
}

// ---- dialogs ----

int Win32Backend::messageBox(const MessageBoxRequest& request) {
    HWND owner = ownerOf(request.owner);
    if (watcher_) watcher_->messageBoxOpening(request);
    return showMessageBox(request, owner);
}

std::optional<Text> Win32Backend::inputBox(const InputBoxRequest& request) {
    HWND owner = ownerOf(request.owner);
    if (watcher_) watcher_->inputBoxOpening(request);
    return showInputBox(request, owner);
}

Text Win32Backend::browseForFolder(const FolderPickerRequest& request) {
    HWND owner = GetActiveWindow();
    if (watcher_) watcher_->folderPickerOpening(request);
    return win32::browseForFolder(request, owner);
}

std::optional<Colour> Win32Backend::chooseColour(const ColourChoiceRequest& request) {
    HWND owner = ownerOf(request.window);
    if (watcher_) watcher_->colourChoiceOpening(request);
    return win32::chooseColour(request, owner);
}

unsigned Win32Backend::trackPopupMenu(const PopupMenuRequest& request) {
    HWND owner = ownerOf(request.owner);
    if (watcher_) watcher_->popupMenuOpening(request);
    return win32::trackPopupMenu(request, owner);
}

// ---- services ----

void Win32Backend::setTrayIcon(WindowId window, const std::optional<TrayIconRequest>& icon) {
    HWND h = windowHandle(window);
    if (!h) return;
    if (icon)
        trayRequests_[window] = *icon;
    else
        trayRequests_.erase(window);
    tray_.set(h, icon);
}

bool Win32Backend::setClipboardText(const Text& text) {
    // The backend's own window owns the clipboard, so the text outlives the window that copied it.
    return win32::setClipboardText(utility_ ? utility_ : GetActiveWindow(), text);
}

bool Win32Backend::runCommandLine(const Text& commandLine, int showCommand) {
    commandLinesRun_.push_back(commandLine);
    return win32::runCommandLine(commandLine, showCommand);
}

// ---- the wheel and the navigation keys ----

namespace {

int navigationKeyOf(WPARAM vk) {
    switch (vk) {
    case VK_PRIOR:
        return navigationKey::pageUp;
    case VK_NEXT:
        return navigationKey::pageDown;
    case VK_HOME:
        return navigationKey::home;
    case VK_END:
        return navigationKey::end;
    default:
        return 0;
    }
}

} // namespace

Win32Backend::Window* Win32Backend::topWindow(HWND hwnd) const {
    if (!hwnd) return nullptr;
    for (const auto& [id, w] : windows_)
        if (w->hwnd == hwnd) return w.get();
    return nullptr;
}

Win32Backend::Control* Win32Backend::controlOf(HWND hwnd) const {
    for (HWND h = hwnd; h && !topWindow(h); h = GetAncestor(h, GA_PARENT)) {
        auto* c = static_cast<Control*>(GetPropW(h, kControlProperty));
        if (c && c->hwnd == h && findControl(c->window, c->unit) == c) return c;
    }
    return nullptr;
}

bool Win32Backend::routeWheel(MSG& msg) {
    const POINT screen{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    const HWND root = GetAncestor(WindowFromPoint(screen), GA_ROOT);
    Window* w = topWindow(root);
    // A hint's tip that has come up under the cursor stands for the window it belongs to.
    for (auto it = windows_.begin(); !w && root && it != windows_.end(); ++it)
        if (it->second->hints == root) w = it->second.get();
    if (!w || !w->hwnd || !reporting(w->id)) return false;
    // Labels let the mouse through to their parent, so the window is asked which child is there.
    POINT client = screen;
    ScreenToClient(w->hwnd, &client);
    const HWND child = ChildWindowFromPointEx(w->hwnd, client, CWP_SKIPINVISIBLE);
    Control* c = child && child != w->hwnd ? controlOf(child) : nullptr;
    if (c && (c->type == UnitType::TreeBox || c->type == UnitType::ComboBox)) {
        msg.hwnd = c->hwnd;
        return false;
    }
    sink_->onWheel(w->id, c ? c->unit : w->design->windowUnit, GET_WHEEL_DELTA_WPARAM(msg.wParam));
    return true;
}

bool Win32Backend::routeNavigationKey(const MSG& msg) {
    const int key = navigationKeyOf(msg.wParam);
    if (key == 0) return false;
    WindowId window = 0;
    UnitId unit = 0;
    if (Window* w = topWindow(msg.hwnd)) {
        window = w->id;
        unit = w->design->windowUnit;
    } else if (Control* c = controlOf(msg.hwnd)) {
        window = c->window;
        unit = c->unit;
    } else {
        return false;
    }
    if (!reporting(window)) return false;
    return sink_->onNavigationKey(window, unit, key);
}

// ---- the message queue ----

void Win32Backend::post(WindowId window, const PostedMessage& message) {
    HWND h = windowHandle(window);
    if (!h) return;
    const std::uint32_t id = ++lastPosted_;
    posted_[id] = Posted{window, message};
    if (!PostMessageW(h, kPostedMessage, id, 0)) posted_.erase(id);
}

void Win32Backend::processPending() {
    ++dispatching_;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Not ours to act on: left for whichever loop asked for it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEWHEEL && routeWheel(msg)) continue;
        if (msg.message == WM_KEYDOWN && routeNavigationKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    --dispatching_;
}

bool Win32Backend::waitForMessages(std::optional<std::uint32_t> timeoutMs) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return true;
    if (&clock() == &systemClock()) {
        if (windows_.empty()) return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs ? *timeoutMs : INFINITE, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        return true;
    }
    // A test's clock: time passes only when someone waits on it, and a wait without a limit would
    // never end, since nothing queued means nothing can arrive.
    if (!timeoutMs) return false;
    clock().sleep(*timeoutMs);
    return true;
}

} // namespace glyvora::win32
