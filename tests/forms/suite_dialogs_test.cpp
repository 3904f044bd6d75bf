// Modal dialogs and services: message box, input box, popup menus, folder picker, clipboard.
#include "forms_suite.h"
#include "support/temp_dir.h"

namespace glyvora::testing {
namespace {

using namespace mainwin;

const ShownDialog& lastDialog(UserDriver& user) {
    static std::vector<ShownDialog> all;
    all = user.dialogs();
    return all.back();
}

TEST_P(FormsSuite, messageBoxAddsTaskModalAndAnswersFiveForYesAndSixForNo) {
    openMain();
    user->answerMessageBox(dialogButton::yes);
    EXPECT_EQ(ShowMessageBox(Value("是否移除分类：A"), Value(4), Value("删除分类当中"), mainwin::ref), 5);
    const ShownDialog& d = lastDialog(*user);
    EXPECT_EQ(d.kind, DialogKind::MessageBox);
    EXPECT_EQ(d.messageBox.text, "是否移除分类：A");
    EXPECT_EQ(d.messageBox.title, "删除分类当中");
    EXPECT_EQ(d.messageBox.flags, 0x2004u);
    EXPECT_EQ(d.messageBox.owner.window, std::optional<WindowId>(mainwin::window));
    user->answerMessageBox(dialogButton::no);
    EXPECT_EQ(ShowMessageBox(Value("x"), Value(4)), 6);
    user->answerMessageBox(dialogButton::ok);
    EXPECT_EQ(ShowMessageBox(Value("x"), Value(0x1010)), 0);
    EXPECT_EQ(lastDialog(*user).messageBox.flags, 0x1010u); // system-modal: no task-modal added
}

TEST_P(FormsSuite, messageBoxTurnsItsMessageIntoTextAndDefaultsItsTitle) {
    openMain();
    for (int i = 0; i < 3; ++i)
        user->answerMessageBox(dialogButton::ok);
    ShowMessageBox(Value(42), Value(0));
    EXPECT_EQ(lastDialog(*user).messageBox.text, "42");
    EXPECT_EQ(lastDialog(*user).messageBox.title, "信息：");
    EXPECT_TRUE(lastDialog(*user).messageBox.owner.none());
    ShowMessageBox(Value(true), Value(0), Value(""));
    EXPECT_EQ(lastDialog(*user).messageBox.text, "真");
    EXPECT_EQ(lastDialog(*user).messageBox.title, "信息：");
    ShowMessageBox(Value(ByteSet{0x41, 0x42, 0x00, 0x43}), Value(0));
    EXPECT_EQ(lastDialog(*user).messageBox.text, "AB");
}

TEST_P(FormsSuite, inputBoxOkGivesTheTextAndCancelLeavesTheVariable) {
    openMain();
    Text name = "unchanged";
    user->answerInputBox(Text("新分类"));
    EXPECT_TRUE(InputBox(Value("分类或者子分类 ，不能同名"), Value("添加分类"), Value("分类名称"), name,
                         Value(1), mainwin::ref));
    EXPECT_EQ(name, "新分类");
    const InputBoxRequest& r = lastDialog(*user).inputBox;
    EXPECT_EQ(r.caption, "添加分类");
    EXPECT_EQ(r.prompt, "分类或者子分类 ，不能同名");
    EXPECT_EQ(r.initial, "分类名称");
    EXPECT_EQ(r.inputMode, 1);
    EXPECT_FALSE(r.masked);
    EXPECT_EQ(r.okText, "确认输入(&O)");
    EXPECT_EQ(r.cancelText, "取消(&C)");
    EXPECT_TRUE(r.layout.hasPrompt);
    EXPECT_EQ(r.layout.width, 252);
    EXPECT_EQ(r.owner.window, std::optional<WindowId>(mainwin::window));

    user->answerInputBox(std::nullopt);
    EXPECT_FALSE(InputBox(Value(), Value(), Value("x"), name));
    EXPECT_EQ(name, "新分类");
    EXPECT_EQ(lastDialog(*user).inputBox.caption, "请输入：");
    EXPECT_FALSE(lastDialog(*user).inputBox.layout.hasPrompt);
    EXPECT_EQ(lastDialog(*user).inputBox.layout.width, 214);
}

TEST_P(FormsSuite, inputBoxModesAreClampedAndANumericVariableGetsTheNumber) {
    openMain();
    double number = -1;
    user->answerInputBox(Text("12.5"));
    EXPECT_TRUE(InputBox(Value("p"), Value(), Value(), number, Value(9)));
    EXPECT_EQ(number, 12.5);
    EXPECT_EQ(lastDialog(*user).inputBox.inputMode, 4);
    EXPECT_TRUE(lastDialog(*user).inputBox.masked);
    user->answerInputBox(Text(""));
    Text text = "x";
    EXPECT_TRUE(InputBox(Value("p"), Value(), Value(), text, Value(-3)));
    EXPECT_EQ(text, "");
    EXPECT_EQ(lastDialog(*user).inputBox.inputMode, 1);
    user->answerInputBox(Text("１２．５")); // full-width digits read as a number too
    EXPECT_TRUE(InputBox(Value("p"), Value(), Value(), number));
    EXPECT_EQ(number, 12.5);
    user->answerInputBox(Text("abc"));
    EXPECT_TRUE(InputBox(Value("p"), Value(), Value(), number));
    EXPECT_EQ(number, 0);
}

TEST_P(FormsSuite, popupMenuLeavesHiddenItemsOutAndRaisesTheChoiceAfterItCloses) {
    int clicksRightAfterPopup = -1;
    openMain({on(树型框1, event::itemRightClick,
                 [&] {
                     writeProperty(window, 一级_添加子分类, prop::menuVisible, Value(false));
                     writeProperty(window, 一级_重命名, prop::menuVisible, Value(false));
                     PopupMenu(mainwin::ref, MenuItemRef{window, 一级分类被右击});
                     clicksRightAfterPopup = eventsOf(一级_下移, event::clicked);
                 }),
              record(一级_下移, event::clicked)});
    AddItem(tree, Value(), "集", Value(), Value(), Value(), Value(1));
    user->answerPopupMenu(一级_下移);
    ASSERT_TRUE(user->rightClickTree(window, 树型框1, 0));
    EXPECT_EQ(clicksRightAfterPopup, 0);
    EXPECT_EQ(eventsOf(一级_下移, event::clicked), 1);
    const PopupMenuRequest& menu = lastDialog(*user).popupMenu;
    EXPECT_EQ(menu.owner, window);
    std::vector<Text> captions;
    for (const MenuEntry& e : menu.entries)
        captions.push_back(e.caption);
    EXPECT_EQ(captions, (std::vector<Text>{"添加文件夹", "移除该分类", "上移", "下移"}));
}

TEST_P(FormsSuite, thePreviewMenuHasSeparatorsAndTheSetSubmenu) {
    openMain({record(集2, event::clicked)});
    for (int k = 3; k <= 10; ++k)
        writeProperty(window, setMenuItem(k), prop::menuVisible, Value(false));
    writeProperty(window, 集1, prop::menuCaption, Value("常用   12"));
    writeProperty(window, 复制字体名称, prop::menuChecked, Value(true));
    writeProperty(window, 卸载系统字体, prop::menuDisabled, Value(true));
    user->answerPopupMenu(集2);
    PopupMenu(mainwin::ref, MenuItemRef{window, 字体预览标签被右击});
    ProcessEvents();
    EXPECT_EQ(eventsOf(集2, event::clicked), 1);
    const auto& entries = lastDialog(*user).popupMenu.entries;
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_TRUE(entries[0].checked);
    EXPECT_TRUE(entries[2].separator);
    EXPECT_TRUE(entries[4].disabled);
    EXPECT_TRUE(entries[5].separator);
    ASSERT_TRUE(entries[6].submenu);
    EXPECT_EQ(entries[6].caption, "添加到集");
    ASSERT_EQ(entries[6].children.size(), 2u);
    EXPECT_EQ(entries[6].children[0].caption, "常用   12");
    EXPECT_EQ(entries[6].children[1].command, menuCommandOf(mainWindowTemplate(), 集2));
}

TEST_P(FormsSuite, aDismissedPopupMenuRaisesNothing) {
    openMain({record(显示或隐藏, event::clicked), record(总在最前, event::clicked),
              record(退出不推荐, event::clicked)});
    user->answerPopupMenu(0);
    PopupMenu(mainwin::ref, MenuItemRef{window, 托盘菜单});
    ProcessEvents();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(lastDialog(*user).popupMenu.entries.size(), 3u);
}

TEST_P(FormsSuite, aRightClickOnTheTrayIconPopsUpTheTrayMenu) {
    openMain({on(windowUnit, event::trayIcon,
                 [](const Event& e) {
                     if (e.arg(0) == 3) PopupMenu(mainwin::ref, MenuItemRef{window, 托盘菜单});
                 }),
              record(总在最前, event::clicked)});
    ByteSet icon = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 22, 0, 0, 0, 1, 2, 3, 4};
    SetTrayIcon(mainwin::ref, Value(icon), Value("Glyvora"));
    user->answerPopupMenu(总在最前);
    ASSERT_TRUE(user->tray(window, TrayMouse::LeftUp));
    EXPECT_EQ(user->dialogs().size(), 0u);
    ASSERT_TRUE(user->tray(window, TrayMouse::RightUp));
    EXPECT_EQ(eventsOf(总在最前, event::clicked), 1);
}

TEST_P(FormsSuite, theFolderPickerAnswersThePathOrNothing) {
    openMain();
    // A real folder picker can only be answered with a folder that exists.
    const TempDir fonts;
    const Text song = fonts.file("Song");
    makeTestDirectory(song);
    user->answerFolderPicker(song);
    EXPECT_EQ(ShowFolderPicker("请选择一个文件夹", "", kFolderEditBox | kFolderNewStyle), song);
    EXPECT_EQ(lastDialog(*user).folderPicker.title, "请选择一个文件夹");
    EXPECT_EQ(lastDialog(*user).folderPicker.flags, 0x50u);
    user->answerFolderPicker("");
    EXPECT_EQ(ShowFolderPicker("t", "C:\\x", 0x50), "");
    EXPECT_EQ(lastDialog(*user).folderPicker.initialPath, "C:\\x");
}

TEST_P(FormsSuite, clipboardHoldsTheLastTextSet) {
    openMain();
    EXPECT_TRUE(SetClipboardText("黑体样例"));
    EXPECT_EQ(user->clipboardText(), std::optional<Text>("黑体样例"));
    EXPECT_TRUE(SetClipboardText(""));
    EXPECT_EQ(user->clipboardText(), std::optional<Text>(""));
}

} // namespace
} // namespace glyvora::testing
