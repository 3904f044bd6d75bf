// The Win32 backend's cases the shared suite cannot see: the real frames and z-order band, the
// colours a label paints, the tree's item height, what the backend's own writes do not report,
// posted messages of destroyed windows, and how waiting behaves on each clock.
#include "control_pixels.h"
#include "forms/forms_suite.h"
#include "forms/win32/win32_backend.h"
#include "win32_kit.h"

#include <commctrl.h>
#include <string>
#include <vector>
#include <windows.h>

namespace glyvora::testing {
namespace {

using glyvora::win32::Win32Backend;

// A sink that counts what the backend reports, for cases that drive the backend without a layer.
struct CountingSink final : BackendSink {
    int mouse = 0, focus = 0, clicked = 0, edits = 0, combos = 0, closes = 0;
    std::vector<PostedMessage> posted;
    bool onMouse(WindowId, UnitId, int, int, int, int) override { return ++mouse, true; }
    void onFocus(WindowId, UnitId, bool) override { ++focus; }
    void onWheel(WindowId, UnitId, int) override {}
    bool onNavigationKey(WindowId, UnitId, int) override { return false; }
    void onClicked(WindowId, UnitId) override { ++clicked; }
    void onEditChanged(WindowId, UnitId) override { ++edits; }
    void onComboChosen(WindowId, UnitId) override { ++combos; }
    void onColourPickerOpened(WindowId, UnitId) override {}
    void onTray(WindowId, TrayMouse) override {}
    void onCloseRequest(WindowId) override { ++closes; }
    void onPosted(WindowId, const PostedMessage& message) override { posted.push_back(message); }
    void onMenuCommand(WindowId, unsigned) override {}
    void onTreeSelectionChanged(WindowId, UnitId, ItemKey, int) override {}
    bool onTreeBeginEdit(WindowId, UnitId, ItemKey) override { return true; }
    bool onTreeEndEdit(WindowId, UnitId, ItemKey, const std::optional<Text>&) override { return true; }
    void onTreeExpandedChanged(WindowId, UnitId, ItemKey, bool) override {}
    void onTreeRightClick(WindowId, UnitId, ItemKey) override {}
};

// The main window's template made live on a bare backend, every control in template order.
void createMain(Win32Backend& backend) {
    const WindowTemplate& t = mainWindowTemplate();
    ASSERT_TRUE(backend.createWindow(t, {10, 10, 700, 718}, std::nullopt));
    for (const UnitTemplate& u : t.units)
        if (u.type != UnitType::Window && u.type != UnitType::Menu) backend.createControl(t.window, u);
    backend.showWindow(t.window);
    backend.processPending();
}

LONG styleOf(HWND h) {
    return GetWindowLongA(h, GWL_STYLE);
}
bool topMost(HWND h) {
    return (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(Win32Backend, framesFollowTheTemplatesAndBothWindowsStartTopMost) {
    auto backend = win32Kit().makeBackend();
    auto& b = static_cast<Win32Backend&>(*backend);
    FormLayer layer(b);
    registerWindowTemplates(layer);
    ASSERT_TRUE(LoadWindow(mainwin::ref));
    ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    HWND main = b.windowHandle(mainwin::window), scan = b.windowHandle(scanwin::window);
    EXPECT_EQ(styleOf(main) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(styleOf(scan) & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(GetWindow(scan, GW_OWNER), main);
    EXPECT_TRUE(topMost(main));
    EXPECT_TRUE(topMost(scan));
    // The scan window's system menu has no close entry, so Alt+F4 and the greyed close button do
    // nothing; the main window keeps its close entry.
    EXPECT_EQ(GetMenuState(GetSystemMenu(scan, FALSE), SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(GetSystemMenu(main, FALSE), SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    SendMessageA(scan, WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageA(scan, WM_CLOSE, 0, 0);
    b.processPending();
    EXPECT_TRUE(layer.isOpen(scanwin::window));
    EXPECT_TRUE(IsWindow(scan));
}

TEST(Win32Backend, alwaysOnTopOffLeavesTheProgramsOtherTopMostWindowInTheBand) {
    auto backend = win32Kit().makeBackend();
    auto& b = static_cast<Win32Backend&>(*backend);
    FormLayer layer(b);
    registerWindowTemplates(layer);
    ASSERT_TRUE(LoadWindow(mainwin::ref));
    ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    writeProperty(mainwin::window, mainwin::windowUnit, prop::alwaysOnTop, Value(false));
    EXPECT_FALSE(topMost(b.windowHandle(mainwin::window)));
    EXPECT_TRUE(topMost(b.windowHandle(scanwin::window)));
}

TEST(Win32Backend, aPreviewLabelPaintsItsTextAndBackgroundColours) {
    auto backend = win32Kit().makeBackend();
    auto& b = static_cast<Win32Backend&>(*backend);
    FormLayer layer(b);
    registerWindowTemplates(layer);
    ASSERT_TRUE(LoadWindow(mainwin::ref));
    const UnitId label = mainwin::previewLabel(1);
    writeProperty(mainwin::window, label, prop::caption, Value("WWWW"));
    writeProperty(mainwin::window, label, prop::textColour, Value(0x0000FF));
    writeProperty(mainwin::window, label, prop::backColour, Value(0x00FF00));
    HWND h = b.controlHandle(mainwin::window, label);
    RedrawWindow(b.windowHandle(mainwin::window), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    b.processPending();
    RECT size{};
    const std::vector<COLORREF> pixels = pixelsOf(h, size);
    ASSERT_FALSE(pixels.empty());
    int text = 0, back = 0;
    for (COLORREF c : pixels) {
        if (c == RGB(255, 0, 0)) ++text;
        if (c == RGB(0, 255, 0)) ++back;
    }
    EXPECT_GT(back, static_cast<int>(pixels.size()) / 2); // mostly background around the letters
    EXPECT_GT(text, 50);                                  // 64-pixel letters in the text colour
}

// A scan advances its bar once per file; the bar repaints at every new position it is told.
TEST(Win32Backend, theProgressBarShowsEveryPixelOfProgressButIsToldOnlyThose) {
    auto backend = win32Kit().makeBackend();
    auto& b = static_cast<Win32Backend&>(*backend);
    FormLayer layer(b);
    registerWindowTemplates(layer);
    ASSERT_TRUE(LoadWindow(mainwin::ref));
    ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    constexpr int files = 10000;
    writeProperty(scanwin::window, scanwin::进度条1, prop::maximum, Value(files));
    HWND bar = b.controlHandle(scanwin::window, scanwin::进度条1);
    RECT r{};
    GetClientRect(bar, &r);
    const long width = r.right - r.left;
    ASSERT_GT(width, 0);
    const auto fill = [width](long position) { return position * width / files; };
    int told = 0;
    long shownBefore = 0;
    for (int position = 1; position <= files; ++position) {
        writeProperty(scanwin::window, scanwin::进度条1, prop::position, Value(position));
        const long shown = static_cast<long>(SendMessageW(bar, PBM_GETPOS, 0, 0));
        ASSERT_EQ(fill(shown), fill(position)) << position;
        if (shown != shownBefore) ++told;
        shownBefore = shown;
    }
    EXPECT_EQ(shownBefore, files);
    EXPECT_LE(told, width + 1);
    writeProperty(scanwin::window, scanwin::进度条1, prop::position, Value(0));
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
}

TEST(Win32Backend, aPreviewLabelsHintIsAMultiLineTipOnTheLabel) {
    auto backend = win32Kit().makeBackend();
    auto& b = static_cast<Win32Backend&>(*backend);
    FormLayer layer(b);
    registerWindowTemplates(layer);
    ASSERT_TRUE(LoadWindow(mainwin::ref));
    const UnitId label = mainwin::previewLabel(3);
    HWND h = b.controlHandle(mainwin::window, label);
    // A static control sends the mouse on to the tip only with SS_NOTIFY.
    EXPECT_NE(styleOf(h) & SS_NOTIFY, 0);
    SetUnitHint(mainwin::window, label, "方正兰亭黑\r\nD:\\字体\\方正兰亭黑.ttf");
    HWND tips = b.hintHandle(mainwin::window);
    ASSERT_NE(tips, nullptr);
    // The tip watches the label's own mouse messages, and has a width, without which it would
    // show the two lines as one.
    wchar_t text[INFOTIPSIZE + 1] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = b.windowHandle(mainwin::window);
    tool.uId = reinterpret_cast<UINT_PTR>(h);
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uFlags & (TTF_SUBCLASS | TTF_IDISHWND),
              static_cast<UINT>(TTF_IDISHWND)); // relayed, not subclassed
    EXPECT_EQ(std::wstring(text), L"方正兰亭黑\r\nD:\\字体\\方正兰亭黑.ttf");
    EXPECT_GT(SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0), 0);
    EXPECT_NE(GetWindowLongW(tips, GWL_STYLE) & TTS_NOPREFIX, 0);
    // The tip of a removed hint is gone.
    SetUnitHint(mainwin::window, label, "");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST(Win32Backend, theTreeKeepsItsOddItemHeight) {
    auto backend = win32Kit().makeBackend();
    auto& b = static_cast<Win32Backend&>(*backend);
    FormLayer layer(b);
    registerWindowTemplates(layer);
    ASSERT_TRUE(LoadWindow(mainwin::ref));
    HWND tree = b.controlHandle(mainwin::window, mainwin::树型框1);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0), 25);
}

TEST(Win32Backend, theBackendsOwnWritesReportNothingButTheUsersChangesDo) {
    Win32Backend b;
    CountingSink sink;
    b.attach(&sink);
    createMain(b);
    const WindowId w = mainwin::window;
    HWND edit = b.controlHandle(w, mainwin::编辑框_内容);
    SetFocus(edit);
    const int focusBefore = sink.focus;
    b.setText(w, mainwin::编辑框_内容, "abc");
    b.setCheckState(w, mainwin::选择框_自动翻页, 1);
    b.setComboSelection(w, mainwin::组合框_字号, 2);
    b.setDisabled(w, mainwin::编辑框_内容, true); // the focus leaves it: not the user's doing
    b.setVisible(w, mainwin::按钮_下一页, false);
    b.processPending();
    EXPECT_EQ(sink.edits, 0);
    EXPECT_EQ(sink.clicked, 0);
    EXPECT_EQ(sink.combos, 0);
    EXPECT_EQ(sink.focus, focusBefore);
    EXPECT_EQ(b.text(w, mainwin::编辑框_内容), "abc");
    EXPECT_EQ(b.checkState(w, mainwin::选择框_自动翻页), 1);
    EXPECT_EQ(b.comboSelection(w, mainwin::组合框_字号), 2);
    // The same edit changed as the user changes it is reported once.
    b.setDisabled(w, mainwin::编辑框_内容, false);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("xyz"));
    EXPECT_EQ(sink.edits, 1);
    b.attach(nullptr);
}

TEST(Win32Backend, postedMessagesArriveOnceAndAreDroppedWithTheirWindow) {
    Win32Backend b;
    CountingSink sink;
    b.attach(&sink);
    createMain(b);
    PostedMessage message;
    message.kind = PostedMessage::Kind::ComboChosen;
    message.instance = 7;
    message.unit = mainwin::组合框_字号;
    b.post(mainwin::window, message);
    b.processPending();
    ASSERT_EQ(sink.posted.size(), 1u);
    EXPECT_EQ(sink.posted[0].instance, 7u);
    EXPECT_EQ(sink.posted[0].unit, mainwin::组合框_字号);
    // Posted, then the window goes before the queue is reached; a new window of the same template
    // must not receive it either.
    b.post(mainwin::window, message);
    b.post(mainwin::window, message);
    EXPECT_EQ(b.pendingPostedMessages(), 2u);
    b.destroyWindow(mainwin::window);
    EXPECT_EQ(b.pendingPostedMessages(), 0u);
    createMain(b);
    b.processPending();
    EXPECT_EQ(sink.posted.size(), 1u);
    // Posting to a window that does not exist keeps nothing.
    b.post(scanwin::window, message);
    EXPECT_EQ(b.pendingPostedMessages(), 0u);
    b.attach(nullptr);
}

TEST(Win32Backend, waitingOnATestClockAdvancesItAndNeverBlocksWithoutALimit) {
    Win32Backend b;
    CountingSink sink;
    b.attach(&sink);
    createMain(b);
    TestClock testClock;
    ScopedClock scoped(testClock);
    b.processPending();
    const std::uint32_t start = testClock.ticks();
    // Nothing queued and no limit: nothing can come, the answer is immediate.
    EXPECT_FALSE(b.waitForMessages(std::nullopt));
    EXPECT_TRUE(b.waitForMessages(300));
    EXPECT_EQ(testClock.ticks() - start, 300u);
    // A waiting message answers at once, without time passing.
    PostedMessage message;
    b.post(mainwin::window, message);
    EXPECT_TRUE(b.waitForMessages(1000));
    EXPECT_TRUE(b.waitForMessages(std::nullopt));
    EXPECT_EQ(testClock.ticks() - start, 300u);
    b.processPending();
    EXPECT_EQ(sink.posted.size(), 1u);
    b.attach(nullptr);
}

TEST(Win32Backend, waitingOnTheSystemClockSleepsUntilTheTimeoutOrAMessage) {
    Win32Backend b;
    createMain(b);
    b.processPending();
    ULONGLONG t0 = GetTickCount64();
    EXPECT_TRUE(b.waitForMessages(100));
    EXPECT_GE(GetTickCount64() - t0, 90u);
    // A message posted meanwhile ends the wait long before its limit.
    PostMessageA(b.windowHandle(mainwin::window), WM_NULL, 0, 0);
    t0 = GetTickCount64();
    EXPECT_TRUE(b.waitForMessages(5000));
    EXPECT_LT(GetTickCount64() - t0, 1000u);
    b.processPending();
    b.destroyWindow(mainwin::window);
    // With no window left nothing can arrive: no wait at all.
    EXPECT_FALSE(b.waitForMessages(std::nullopt));
}

} // namespace
} // namespace glyvora::testing
