// The real dialogs, the popup menu and the window services, answered by the dialog answerer as
// the Win32 backend's tests will answer them.
#include "dialog_answerer.h"
#include "forms/win32/wide_text.h"

#include <colordlg.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

namespace glyvora::testing::win32 {
namespace {

using namespace glyvora::win32;

class Win32Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override { DestroyWindow(owner); }

    int messageBox(unsigned flags, HWND boxOwner) {
        MessageBoxRequest r;
        r.text = "是否移除分类：A";
        r.title = "删除分类当中";
        r.flags = flags;
        answerer.messageBoxOpening(r);
        return showMessageBox(r, boxOwner);
    }
    std::optional<Text> inputBox(const InputBoxRequest& r) {
        answerer.inputBoxOpening(r);
        return showInputBox(r, owner);
    }
    Text folder(const FolderPickerRequest& r) {
        answerer.folderPickerOpening(r);
        return browseForFolder(r, owner);
    }
    std::optional<Colour> colour(Colour initial) {
        ColourChoiceRequest r;
        r.initial = initial;
        answerer.colourChoiceOpening(r);
        return chooseColour(r, owner);
    }
    unsigned popup(const PopupMenuRequest& r) {
        answerer.popupMenuOpening(r);
        return trackPopupMenu(r, owner);
    }

    HWND owner = nullptr;
    DialogAnswerer answerer;
};

InputBoxRequest request(const Text& prompt, const Text& initial, int mode) {
    return makeInputBoxRequest(prompt, "添加分类", initial, mode, DialogOwner{});
}

// ---- message box ----

TEST_F(Win32Dialogs, messageBoxAnswersTheButtonPressed) {
    std::vector<int> buttons;
    answerer.inspect = [&](HWND box) {
        buttons.clear();
        for (int id = IDOK; id <= IDNO; ++id)
            if (GetDlgItem(box, id)) buttons.push_back(id);
    };
    answerer.answerMessageBox(dialogButton::yes);
    EXPECT_EQ(messageBox(MB_YESNO | MB_TASKMODAL, owner), dialogButton::yes);
    EXPECT_EQ(buttons, (std::vector<int>{IDYES, IDNO})); // the flags reached the box
    answerer.answerMessageBox(dialogButton::no);
    EXPECT_EQ(messageBox(MB_YESNO | MB_TASKMODAL, owner), dialogButton::no);
    answerer.answerMessageBox(dialogButton::ok);
    EXPECT_EQ(messageBox(MB_OK | MB_ICONERROR | MB_TASKMODAL, nullptr), dialogButton::ok);
    EXPECT_EQ(buttons, (std::vector<int>{IDOK}));
    answerer.answerMessageBox(dialogButton::cancel);
    EXPECT_EQ(messageBox(MB_OKCANCEL | MB_TASKMODAL, owner), dialogButton::cancel);
    EXPECT_EQ(answerer.dialogs().size(), 4u);
    EXPECT_EQ(answerer.unansweredDialogs(), 0);
    EXPECT_EQ(answerer.dialogs()[0].messageBox.title, "删除分类当中");
}

TEST_F(Win32Dialogs, aTaskModalBoxWithoutOwnerDisablesTheThreadsWindows) {
    ShowWindow(owner, SW_SHOWNA);
    bool enabledDuringBox = true;
    answerer.inspect = [&](HWND) { enabledDuringBox = IsWindowEnabled(owner); };
    answerer.answerMessageBox(dialogButton::ok);
    EXPECT_EQ(messageBox(MB_OK | MB_TASKMODAL, nullptr), dialogButton::ok);
    EXPECT_FALSE(enabledDuringBox);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(Win32Dialogs, anUnansweredMessageBoxIsClosedAsClosingItGivesAndCounted) {
    EXPECT_EQ(messageBox(MB_YESNO | MB_TASKMODAL, owner), dialogButton::no); // no Cancel to close with
    EXPECT_EQ(messageBox(MB_OK | MB_TASKMODAL, owner), dialogButton::ok);
    EXPECT_EQ(messageBox(MB_OKCANCEL | MB_TASKMODAL, owner), dialogButton::cancel);
    EXPECT_EQ(answerer.unansweredDialogs(), 3);
    // A scripted answer after them is taken by the next box only.
    answerer.answerMessageBox(dialogButton::yes);
    EXPECT_EQ(messageBox(MB_YESNO | MB_TASKMODAL, owner), dialogButton::yes);
    EXPECT_EQ(answerer.unansweredDialogs(), 3);
}

TEST_F(Win32Dialogs, aBoxOpenedInsideAnotherBoxesLoopIsAnsweredFirst) {
    // A handler run from the first box's modal loop shows a second box.
    int inner = 0;
    bool nested = false;
    answerer.inspect = [&](HWND) {
        if (nested) return;
        nested = true;
        inner = messageBox(MB_YESNO | MB_TASKMODAL, owner);
    };
    answerer.answerMessageBox(dialogButton::ok);
    answerer.answerMessageBox(dialogButton::yes);
    EXPECT_EQ(messageBox(MB_OKCANCEL | MB_TASKMODAL, owner), dialogButton::ok);
    EXPECT_EQ(inner, dialogButton::yes);
    EXPECT_EQ(answerer.unansweredDialogs(), 0);
}

// ---- input box ----

TEST_F(Win32Dialogs, inputBoxGivesTheTypedTextAndStartsWithTheInitialTextSelected) {
    DWORD start = 1, end = 0;
    int length = 0;
    bool editFocused = false;
    Text prompt, caption;
    answerer.inspect = [&](HWND box) {
        HWND edit = GetDlgItem(box, kInputBoxEditId);
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        length = GetWindowTextLengthW(edit);
        editFocused = GetFocus() == edit;
        prompt = windowTextOf(GetDlgItem(box, kInputBoxPromptId));
        caption = windowTextOf(box);
    };
    answerer.answerInputBox(Text("新分类"));
    EXPECT_EQ(inputBox(request("分类或者子分类 ，不能同名", "分类名称", 1)), std::optional<Text>("新分类"));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(end, 4u); // the whole initial text
    EXPECT_TRUE(editFocused);
    EXPECT_EQ(prompt, "分类或者子分类 ，不能同名");
    EXPECT_EQ(caption, "添加分类");

    answerer.answerInputBox(Text(""));
    EXPECT_EQ(inputBox(request("", "x", 1)), std::optional<Text>(""));
    answerer.answerInputBox(std::nullopt);
    EXPECT_EQ(inputBox(request("p", "x", 1)), std::nullopt);
    EXPECT_EQ(inputBox(request("p", "x", 1)), std::nullopt); // unanswered: closed as Esc closes it
    EXPECT_EQ(answerer.unansweredDialogs(), 1);
}

TEST_F(Win32Dialogs, inputBoxModesReachTheEditLine) {
    std::vector<LONG_PTR> styles;
    answerer.inspect = [&](HWND box) {
        styles.push_back(GetWindowLongPtrA(GetDlgItem(box, kInputBoxEditId), GWL_STYLE));
    };
    for (int mode = 1; mode <= 4; ++mode) {
        answerer.answerInputBox(Text("123"));
        EXPECT_EQ(inputBox(request("p", "", mode)), std::optional<Text>("123")) << mode;
    }
    ASSERT_EQ(styles.size(), 4u);
    EXPECT_FALSE(styles[0] & (ES_PASSWORD | ES_NUMBER));
    EXPECT_EQ(styles[1] & (ES_PASSWORD | ES_NUMBER), ES_NUMBER);
    EXPECT_FALSE(styles[2] & (ES_PASSWORD | ES_NUMBER));
    EXPECT_EQ(styles[3] & (ES_PASSWORD | ES_NUMBER), ES_PASSWORD); // masked
}

TEST_F(Win32Dialogs, inputBoxKeepsTextsLongerThanAnEditLinesDefaultLimit) {
    Text initial, typed;
    for (int i = 0; i < 20000; ++i)
        initial += "字";
    for (int i = 0; i < 35000; ++i)
        typed += (i % 2) ? "中" : "a";
    int shownLength = 0;
    answerer.inspect = [&](HWND box) {
        shownLength = static_cast<int>(windowTextOf(GetDlgItem(box, kInputBoxEditId)).size());
    };
    answerer.answerInputBox(typed);
    const std::optional<Text> got = inputBox(request("p", initial, 1));
    EXPECT_EQ(shownLength, static_cast<int>(initial.size()));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->size(), typed.size());
    EXPECT_TRUE(*got == typed);
}

TEST_F(Win32Dialogs, inputBoxControlsSitWhereTheLayoutPutsThem) {
    for (bool withPrompt : {true, false}) {
        const InputBoxRequest r = request(withPrompt ? "提示" : "", "", 1);
        std::vector<RECT> shown, expected;
        RECT client{};
        RECT size{0, 0, r.layout.width, r.layout.height};
        answerer.inspect = [&](HWND box) {
            GetClientRect(box, &client);
            MapDialogRect(box, &size);
            // The system maps a control's position and its size each on their own.
            const std::pair<int, DialogRect> controls[] = {{kInputBoxEditId, r.layout.edit},
                                                           {IDOK, r.layout.okButton},
                                                           {IDCANCEL, r.layout.cancelButton}};
            for (const auto& [id, rect] : controls) {
                RECT at{};
                GetWindowRect(GetDlgItem(box, id), &at);
                MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&at), 2);
                shown.push_back(at);
                RECT units{rect.x, rect.y, rect.width, rect.height};
                MapDialogRect(box, &units);
                expected.push_back(
                    {units.left, units.top, units.left + units.right, units.top + units.bottom});
            }
        };
        answerer.answerInputBox(std::nullopt);
        inputBox(r);
        ASSERT_EQ(shown.size(), 3u) << withPrompt;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(shown[i].left, expected[i].left) << withPrompt << i;
            EXPECT_EQ(shown[i].top, expected[i].top) << withPrompt << i;
            EXPECT_EQ(shown[i].right, expected[i].right) << withPrompt << i;
            EXPECT_EQ(shown[i].bottom, expected[i].bottom) << withPrompt << i;
        }
        EXPECT_EQ(client.right, size.right) << withPrompt;
        EXPECT_EQ(client.bottom, size.bottom) << withPrompt;
    }
}

// Holds both layouts open for a screenshot taken from outside (import -window root).
TEST_F(Win32Dialogs, DISABLED_inputBoxStaysOpenForAScreenshot) {
    answerer.holdMs = 4000;
    answerer.answerInputBox(std::nullopt);
    inputBox(request("分类或者子分类 ，不能同名", "分类名称", 1));
    answerer.answerInputBox(std::nullopt);
    inputBox(request("", "请输入集名称", 4));
}

// ---- folder picker ----

TEST_F(Win32Dialogs, folderPickerAnswersAnExistingFolderOrNothing) {
    char temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    char longTemp[MAX_PATH] = {};
    ASSERT_GT(GetLongPathNameA(temp, longTemp, MAX_PATH), 0u);
    const Text dir = Text(longTemp) + "glyvora-folder-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    ASSERT_NE(GetFileAttributesA(dir.c_str()), INVALID_FILE_ATTRIBUTES);

    FolderPickerRequest r;
    r.title = "请选择一个文件夹";
    answerer.answerFolderPicker(dir);
    EXPECT_EQ(lstrcmpiA(folder(r).c_str(), dir.c_str()), 0);

    // The initial path is selected when the picker opens; cancelling answers nothing.
    r.initialPath = dir;
    Text selected;
    answerer.inspect = [&](HWND picker) {
        HWND tree = nullptr;
        EnumChildWindows(
            picker,
            [](HWND w, LPARAM out) -> BOOL {
                if (GetDlgCtrlID(w) != 14145) return TRUE;
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&tree));
        wchar_t buffer[MAX_PATH] = {};
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        item.pszText = buffer;
        item.cchTextMax = MAX_PATH;
        if (item.hItem) SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        selected = narrow(buffer);
    };
    answerer.answerFolderPicker("");
    EXPECT_EQ(folder(r), "");
    EXPECT_EQ(selected, "glyvora-folder-" + std::to_string(GetCurrentProcessId()));
    EXPECT_EQ(answerer.unansweredDialogs(), 0);
    answerer.inspect = nullptr;
    RemoveDirectoryA(dir.c_str());

    // A folder that does not exist cannot be chosen: the picker is cancelled, not answered with
    // whatever it had selected.
    answerer.answerFolderPicker(dir);
    EXPECT_EQ(folder(r), "");
    EXPECT_EQ(answerer.unansweredDialogs(), 1);
}

// ---- colour choice ----

TEST_F(Win32Dialogs, colourChoiceAnswersTheColourWithRedInTheLowByteOrNothing) {
    int red = -1, green = -1, blue = -1;
    answerer.inspect = [&](HWND dialog) {
        red = static_cast<int>(GetDlgItemInt(dialog, COLOR_RED, nullptr, FALSE));
        green = static_cast<int>(GetDlgItemInt(dialog, COLOR_GREEN, nullptr, FALSE));
        blue = static_cast<int>(GetDlgItemInt(dialog, COLOR_BLUE, nullptr, FALSE));
    };
    answerer.answerColourChoice(0x0000FFu);
    EXPECT_EQ(colour(0x00FF8040u), std::optional<Colour>(0x0000FFu));
    EXPECT_EQ(red, 0x40); // the initial colour reached the dialog
    EXPECT_EQ(green, 0x80);
    EXPECT_EQ(blue, 0xFF);
    answerer.answerColourChoice(0x123456u);
    EXPECT_EQ(colour(0), std::optional<Colour>(0x123456u));
    answerer.answerColourChoice(std::nullopt);
    EXPECT_EQ(colour(0xFFFFFFu), std::nullopt);
    EXPECT_EQ(colour(0xFFFFFFu), std::nullopt); // unanswered: cancelled
    EXPECT_EQ(answerer.unansweredDialogs(), 1);
}

// ---- popup menu ----

MenuEntry item(UnitId unit, const Text& caption, unsigned command) {
    MenuEntry e;
    e.unit = unit;
    e.caption = caption;
    e.command = command;
    return e;
}

MenuEntry separator(UnitId unit) {
    MenuEntry e = item(unit, "-", 0);
    e.separator = true;
    return e;
}

PopupMenuRequest previewMenu() {
    PopupMenuRequest r;
    r.entries.push_back(item(1, "复制字体名称", 20001));
    r.entries.push_back(separator(2));
    r.entries.push_back(item(3, "复制字体文件名", 20003));
    r.entries.back().checked = true;
    r.entries.push_back(item(4, "卸载系统字体", 20004));
    r.entries.back().disabled = true;
    r.entries.push_back(separator(5));
    r.entries.push_back(item(6, "打开所在目录", 20006));
    MenuEntry sets = item(7, "添加到集", 0);
    sets.submenu = true;
    sets.children = {item(8, "集1", 20008), separator(9), item(10, "集2", 20010)};
    r.entries.push_back(sets);
    return r;
}

TEST_F(Win32Dialogs, popupMenuAnswersTheCommandOfTheChosenItem) {
    const PopupMenuRequest r = previewMenu();
    answerer.answerPopupMenu(1);
    EXPECT_EQ(popup(r), 20001u);
    answerer.answerPopupMenu(6); // past a separator and a disabled item
    EXPECT_EQ(popup(r), 20006u);
    answerer.answerPopupMenu(10); // in the submenu, past its separator
    EXPECT_EQ(popup(r), 20010u);
    answerer.answerPopupMenu(0);
    EXPECT_EQ(popup(r), 0u);
    EXPECT_EQ(answerer.unansweredDialogs(), 0);
}

TEST_F(Win32Dialogs, popupMenuItemsThatCannotBeChosenDismissTheMenu) {
    const PopupMenuRequest r = previewMenu();
    answerer.answerPopupMenu(4); // disabled
    EXPECT_EQ(popup(r), 0u);
    answerer.answerPopupMenu(7); // opens a submenu, no command of its own
    EXPECT_EQ(popup(r), 0u);
    answerer.answerPopupMenu(99); // not in the menu
    EXPECT_EQ(popup(r), 0u);
    EXPECT_EQ(popup(r), 0u); // unanswered
    EXPECT_EQ(answerer.unansweredDialogs(), 4);
}

TEST_F(Win32Dialogs, popupMenuShowsTheEntriesStates) {
    std::vector<UINT> states;
    Text caption;
    answerer.inspect = [&](HWND menuWindow) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
            states.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
        wchar_t buffer[64] = {};
        GetMenuStringW(menu, 20003, buffer, 64, MF_BYCOMMAND);
        caption = narrow(buffer);
    };
    answerer.answerPopupMenu(0);
    popup(previewMenu());
    ASSERT_EQ(states.size(), 7u);
    EXPECT_TRUE(states[1] & MF_SEPARATOR);
    EXPECT_TRUE(states[2] & MF_CHECKED);
    EXPECT_FALSE(states[0] & (MF_CHECKED | MF_GRAYED));
    EXPECT_TRUE(states[3] & MF_GRAYED);
    EXPECT_TRUE(states[6] & MF_POPUP);
    EXPECT_EQ(caption, "复制字体文件名");
}

// ---- tray ----

TEST(Win32Tray, callbackMessagesMapToTrayMouseActions) {
    EXPECT_EQ(trayMouseOf(WM_MOUSEMOVE), TrayMouse::Move);
    EXPECT_EQ(trayMouseOf(WM_LBUTTONDOWN), TrayMouse::LeftDown);
    EXPECT_EQ(trayMouseOf(WM_LBUTTONUP), TrayMouse::LeftUp);
    EXPECT_EQ(trayMouseOf(WM_LBUTTONDBLCLK), TrayMouse::LeftDoubleClick);
    EXPECT_EQ(trayMouseOf(WM_RBUTTONDOWN), TrayMouse::RightDown);
    EXPECT_EQ(trayMouseOf(WM_RBUTTONUP), TrayMouse::RightUp);
    EXPECT_EQ(trayMouseOf(WM_CONTEXTMENU), TrayMouse::ContextMenuKey);
    EXPECT_EQ(trayMouseOf(WM_MBUTTONUP), TrayMouse::MiddleUp);
    EXPECT_EQ(trayMouseOf(WM_RBUTTONDBLCLK), std::nullopt);
    EXPECT_EQ(trayMouseOf(WM_MBUTTONDOWN), std::nullopt);
    EXPECT_EQ(trayMouseOf(0), std::nullopt);
}

void put16(ByteSet& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(ByteSet& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// An icon file with one 16 x 16 image of 32 bits per pixel.
ByteSet iconFile() {
    ByteSet b;
    put16(b, 0);              // reserved
    put16(b, 1);              // type: icon
    put16(b, 1);              // one image
    b.push_back(16);          // width
    b.push_back(16);          // height
    b.push_back(0);           // colours in the palette
    b.push_back(0);           // reserved
    put16(b, 1);              // planes
    put16(b, 32);             // bits per pixel
    put32(b, 40 + 1024 + 64); // size of the image
    put32(b, 22);             // offset of the image
    put32(b, 40);             // header size
    put32(b, 16);             // width
    put32(b, 32);             // height of colour and mask rows together
    put16(b, 1);              // planes
    put16(b, 32);             // bits per pixel
    for (int i = 0; i < 6; ++i)
        put32(b, 0); // compression, sizes, resolutions, colours
    for (int i = 0; i < 256; ++i)
        put32(b, 0xFF2080C0); // opaque pixels
    b.insert(b.end(), 64, 0); // the mask: all shown
    return b;
}

bool shellHasIcon(HWND window) {
    // Modifying an icon the notification area does not hold fails.
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    data.uFlags = NIF_TIP;
    lstrcpyA(data.szTip, "probe");
    return Shell_NotifyIconA(NIM_MODIFY, &data);
}

class Win32TrayIcons : public Win32Dialogs {
protected:
    TrayIconRequest tray(ByteSet icon, const Text& tip = "Glyvora") {
        TrayIconRequest r;
        r.icon = std::move(icon);
        r.tip = tip;
        return r;
    }
};

TEST_F(Win32TrayIcons, anIconIsAddedReplacedAndRemoved) {
    TrayIcons icons;
    icons.set(owner, tray(iconFile()));
    EXPECT_TRUE(icons.shows(owner));
    EXPECT_TRUE(shellHasIcon(owner));
    Text longTip(61, 'a');
    longTip += "字"; // cut whole: the tip keeps 61 bytes
    icons.set(owner, tray(iconFile(), longTip));
    EXPECT_TRUE(icons.shows(owner));
    icons.set(owner, std::nullopt);
    EXPECT_FALSE(icons.shows(owner));
    EXPECT_FALSE(shellHasIcon(owner));
    icons.set(owner, tray(iconFile()));
    EXPECT_TRUE(shellHasIcon(owner));
    icons.remove(owner);
    EXPECT_FALSE(shellHasIcon(owner));
}

TEST_F(Win32TrayIcons, anIconFileThatCannotBeMadeRemovesTheIcon) {
    const ByteSet good = iconFile();
    ByteSet truncated(good.begin(), good.end() - 100);
    ByteSet zeroCount = good;
    zeroCount[4] = 0;
    ByteSet offsetPastEnd = good;
    offsetPastEnd[18] = 0xFF; // offset 0xFF000016
    offsetPastEnd[21] = 0xFF;
    ByteSet countTooLarge(good.begin(), good.begin() + 6);
    countTooLarge[4] = 0xFF;
    ByteSet hugeBitmap = good;
    hugeBitmap[22 + 4] = 0x00; // width 0x100000: masks far larger than the image
    hugeBitmap[22 + 6] = 0x10;
    ByteSet wrongHeader = good;
    wrongHeader[22] = 12;
    TrayIcons icons;
    // A second icon keeps the notification area from emptying (and Wine from hiding it) each time.
    HWND keeper = CreateWindowExA(0, "STATIC", "keeper", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    icons.set(keeper, tray(good));
    for (const ByteSet& bad : {truncated, zeroCount, offsetPastEnd, countTooLarge, hugeBitmap, wrongHeader,
                               ByteSet{}, ByteSet{0, 0, 1}}) {
        icons.set(owner, tray(good));
        ASSERT_TRUE(icons.shows(owner));
        icons.set(owner, tray(bad));
        EXPECT_FALSE(icons.shows(owner)) << bad.size();
        EXPECT_FALSE(shellHasIcon(owner)) << bad.size();
    }
    EXPECT_TRUE(icons.shows(keeper));
    icons.remove(keeper);
    DestroyWindow(keeper);
}

// ---- clipboard and command lines ----

// The clipboard's text in one format: CF_UNICODETEXT converted back to GBK, or CF_TEXT's bytes.
std::optional<Text> clipboard(HWND window, UINT format = CF_UNICODETEXT) {
    if (!OpenClipboard(window)) return std::nullopt;
    std::optional<Text> text;
    if (HANDLE data = GetClipboardData(format)) {
        if (const void* bytes = GlobalLock(data)) {
            text = format == CF_UNICODETEXT ? narrow(static_cast<const wchar_t*>(bytes))
                                            : Text(static_cast<const char*>(bytes));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// The Unicode text every program pastes, whatever the system's code page, and the GBK bytes beside it.
TEST_F(Win32Dialogs, clipboardHoldsTheTextAsUnicodeAndAsGbk) {
    EXPECT_TRUE(setClipboardText(owner, "黑体样例"));
    EXPECT_EQ(clipboard(owner), std::optional<Text>("黑体样例"));
    EXPECT_EQ(clipboard(owner, CF_TEXT), std::optional<Text>("\xBA\xDA\xCC\xE5\xD1\xF9\xC0\xFD"));
    ASSERT_TRUE(OpenClipboard(owner));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* units = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    EXPECT_EQ(units ? std::wstring(units) : std::wstring(), L"\u9ED1\u4F53\u6837\u4F8B");
    if (units) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_TRUE(setClipboardText(owner, ""));
    EXPECT_EQ(clipboard(owner), std::optional<Text>(""));
    EXPECT_EQ(clipboard(owner, CF_TEXT), std::optional<Text>(""));
    Text big(100000, 'x');
    EXPECT_TRUE(setClipboardText(owner, big));
    EXPECT_EQ(clipboard(owner), std::optional<Text>(big));
    EXPECT_EQ(clipboard(owner, CF_TEXT), std::optional<Text>(big));
}

TEST_F(Win32Dialogs, aClipboardHeldByAnotherWindowIsAFailure) {
    HWND other = CreateWindowExA(0, "STATIC", "other", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(setClipboardText(owner, "before"));
    ASSERT_TRUE(OpenClipboard(other));
    EXPECT_FALSE(setClipboardText(owner, "after"));
    CloseClipboard();
    EXPECT_EQ(clipboard(owner), std::optional<Text>("before"));
    DestroyWindow(other);
}

TEST(Win32CommandLine, runsAProgramAndRefusesAMissingOne) {
    EXPECT_TRUE(runCommandLine("cmd.exe /c exit 0", SW_HIDE));
    EXPECT_FALSE(runCommandLine("glyvora-no-such-program.exe /x", kShowNormal));
    EXPECT_FALSE(runCommandLine("", kShowNormal));
}

} // namespace
} // namespace glyvora::testing::win32
