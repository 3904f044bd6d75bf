// Chinese typed on the keyboard as an input method delivers it (one Unicode key press per
// character, into the control with the focus), through the backend's own message loop, and texts
// with Chinese written by the program: everything reads back as the program's GBK bytes.
#include "app/windows/window_templates.h"
#include "forms/commands.h"
#include "forms/form_layer.h"
#include "forms/win32/dialogs_win32.h"
#include "forms/win32/win32_backend.h"
#include "input_method_typing.h"
#include "win32_kit.h"

#include <commctrl.h>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace glyvora::testing {
namespace {

using glyvora::win32::Win32Backend;
using namespace mainwin;

constexpr DWORD kTypingLimitMs = 3000;

std::wstring wideText(HWND h) {
    wchar_t buffer[256] = {};
    GetWindowTextW(h, buffer, 256);
    return buffer;
}

class Win32Typing : public ::testing::Test {
protected:
    void SetUp() override {
        backend = win32Kit().makeBackend();
        layer = std::make_unique<FormLayer>(*backend);
        registerWindowTemplates(*layer);
        user = win32Kit().makeDriver(*backend);
    }
    void TearDown() override {
        // Keys a failed case left unread go to this case's windows, not to the next case's.
        b().processPending();
        user.reset();
        layer.reset();
        backend.reset();
    }
    Win32Backend& b() { return static_cast<Win32Backend&>(*backend); }

    // The window in front and the control with the keyboard focus, as a click into it leaves them.
    bool focusForTyping(WindowId window, UnitId unit) {
        SetForegroundWindow(b().windowHandle(window));
        return user->focus(window, unit);
    }

    // Runs the backend's message loop until `done`, or false after the time limit.
    bool pumpUntil(const std::function<bool()>& done) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > kTypingLimitMs) return false;
            b().processPending();
            if (!done()) Sleep(5);
        }
        return true;
    }

    std::unique_ptr<Backend> backend;
    std::unique_ptr<FormLayer> layer;
    std::unique_ptr<UserDriver> user;
};

TEST_F(Win32Typing, chineseTypedIntoTheSampleTextReadsBackAsGbkWithOneChangePerCharacter) {
    int changes = 0;
    layer->bindEvents(window, {on(编辑框_内容, event::changed, [&] { ++changes; })});
    ASSERT_TRUE(LoadWindow(ref));
    writeProperty(window, 编辑框_内容, prop::content, Value(""));
    changes = 0;
    ASSERT_TRUE(focusForTyping(window, 编辑框_内容));

    ASSERT_TRUE(typeAsInputMethod(L"中文样例Ab"));
    EXPECT_TRUE(pumpUntil([&] { return changes >= 6; }));
    EXPECT_EQ(readProperty(window, 编辑框_内容, prop::content).as<Text>(), "中文样例Ab");
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(wideText(b().controlHandle(window, 编辑框_内容)), L"中文样例Ab");

    // Typing goes on at the caret: mixed text after what is there.
    ASSERT_TRUE(typeAsInputMethod(L"1字x"));
    EXPECT_TRUE(pumpUntil([&] { return changes >= 9; }));
    EXPECT_EQ(readProperty(window, 编辑框_内容, prop::content).as<Text>(), "中文样例Ab1字x");
    EXPECT_EQ(changes, 9);
}

TEST_F(Win32Typing, chineseTypedIntoTheTreesInPlaceEditBecomesTheNewLabel) {
    int ends = 0;
    layer->bindEvents(window, {on(树型框1, event::endLabelEdit, [&] { ++ends; })});
    ASSERT_TRUE(LoadWindow(ref));
    AddItem(tree, Value(), "分类A");
    AddItem(tree, Value(0), "子分类");
    SetForegroundWindow(b().windowHandle(window));
    EditItemText(tree, 1);
    ASSERT_TRUE(user->treeEditing(window, 树型框1));
    const HWND edit =
        reinterpret_cast<HWND>(SendMessageW(b().controlHandle(window, 树型框1), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_EQ(GetFocus(), edit);
    // The label starts selected: what is typed replaces it, Enter ends the edit.
    ASSERT_TRUE(typeAsInputMethod(L"子类乙B", VK_RETURN));
    EXPECT_TRUE(pumpUntil([&] { return !user->treeEditing(window, 树型框1); }));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(ItemText(tree, 1), "子类乙B");
    EXPECT_EQ(user->shownTree(window, 树型框1)[1].text, "子类乙B");
}

TEST_F(Win32Typing, captionsWithChineseWrittenByTheProgramReadBackByteForByte) {
    ASSERT_TRUE(LoadWindow(ref));
    const Text caption = "宋体 Regular（常规）";
    writeProperty(window, previewLabel(1), prop::caption, Value(caption));
    EXPECT_EQ(b().text(window, previewLabel(1)), caption);
    EXPECT_EQ(user->shownText(window, previewLabel(1)), caption);
    EXPECT_EQ(wideText(b().controlHandle(window, previewLabel(1))), L"宋体 Regular（常规）");

    b().setText(window, windowUnit, "字体浏览 - 第1页");
    EXPECT_EQ(b().text(window, windowUnit), "字体浏览 - 第1页");
    EXPECT_EQ(wideText(b().windowHandle(window)), L"字体浏览 - 第1页");

    // A text ends at its first NUL, as a caption always has.
    b().setText(window, windowUnit, Text("前\0后", 5));
    EXPECT_EQ(b().text(window, windowUnit), "前");
}

// The input box runs its own modal loop; a thread timer acts in it as the user: waits for the box,
// types, and presses OK once the line shows the typed text.
struct InputBoxTypist {
    std::wstring text;
    HWND owner = nullptr;
    HWND box = nullptr;
    bool typed = false;
    std::wstring seen;
    DWORD start = GetTickCount();
};
InputBoxTypist* typist = nullptr;

void CALLBACK typeIntoInputBox(HWND, UINT, UINT_PTR, DWORD) {
    InputBoxTypist& t = *typist;
    if (!t.box) {
        HWND found = FindWindowExW(nullptr, nullptr, L"#32770", nullptr);
        for (; found; found = FindWindowExW(nullptr, found, L"#32770", nullptr))
            if (GetWindow(found, GW_OWNER) == t.owner && IsWindowVisible(found)) break;
        t.box = found;
        if (!t.box) return;
    }
    HWND edit = GetDlgItem(t.box, glyvora::win32::kInputBoxEditId);
    if (!t.typed) {
        SetForegroundWindow(t.box);
        t.typed = GetFocus() == edit && typeAsInputMethod(t.text);
        return;
    }
    t.seen = wideText(edit);
    if (t.seen == t.text || GetTickCount() - t.start > kTypingLimitMs)
        SendMessageW(GetDlgItem(t.box, IDOK), BM_CLICK, 0, 0);
}

TEST_F(Win32Typing, chineseTypedIntoTheInputBoxIsItsResult) {
    ASSERT_TRUE(LoadWindow(ref));
    InputBoxTypist t;
    t.text = L"新分类Ab";
    t.owner = b().windowHandle(window);
    typist = &t;
    // The driver's dialog answerer would close the box as unanswered: this case answers it itself.
    b().setDialogWatcher(nullptr);
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, typeIntoInputBox);
    const InputBoxRequest request =
        makeInputBoxRequest("分类名称", "添加分类", "旧名称", 1, DialogOwner{window, 0});
    const std::optional<Text> result = backend->inputBox(request);
    KillTimer(nullptr, timer);
    typist = nullptr;
    EXPECT_TRUE(t.typed);
    EXPECT_EQ(t.seen, L"新分类Ab");
    EXPECT_EQ(result, std::optional<Text>("新分类Ab"));
}

} // namespace
} // namespace glyvora::testing
