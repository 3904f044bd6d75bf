// Cases that need the headless backend itself: the fatal box and the services a Win32 run cannot
// observe from inside the program.
#include "app/windows/window_templates.h"
#include "forms/commands.h"
#include "forms/form_layer.h"
#include "forms/headless/headless_backend.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace glyvora {
namespace {

using headless::HeadlessBackend;

TEST(HeadlessForms, theFatalErrorBoxIsTitledErrorWithTheErrorIconAndNoOwner) {
    HeadlessBackend backend;
    FormLayer layer(backend);
    layer.showFatalErrorBox("错误", fatalErrorText("x", 3));
    ASSERT_EQ(backend.dialogs().size(), 1u);
    const MessageBoxRequest& box = backend.dialogs()[0].messageBox;
    EXPECT_EQ(box.title, "错误");
    EXPECT_EQ(box.text, fatalErrorText("x", 3));
    EXPECT_EQ(box.flags, 0x2010u);
    EXPECT_TRUE(box.owner.none());
}

TEST(HeadlessForms, controlPanelItemSevenOpensTheFontsFolderAndOthersNothing) {
    HeadlessBackend backend;
    FormLayer layer(backend);
    OpenControlPanelItem(7);
    OpenControlPanelItem(1);
    EXPECT_EQ(backend.commandLines,
              (std::vector<Text>{"rundll32.exe shell32.dll,SHHelpShortcuts_RunDLL FontsFolder"}));
}

TEST(HeadlessForms, aClipboardThatCannotBeOpenedAnswersFalseAndKeepsItsText) {
    HeadlessBackend backend;
    FormLayer layer(backend);
    EXPECT_TRUE(SetClipboardText("a"));
    backend.clipboardFails = true;
    EXPECT_FALSE(SetClipboardText("b"));
    EXPECT_EQ(backend.clipboard, std::optional<Text>("a"));
}

#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)

// Prints every message box on standard error, so the death test can read what the box said.
void showBoxesOnStandardError(HeadlessBackend& backend) {
    backend.onMessageBox = [](const MessageBoxRequest& box) {
        std::fprintf(stderr, "[box %s|%s]\n", box.title.c_str(), box.text.c_str());
    };
}

TEST(HeadlessFormsDeathTest, aUnitOfAWindowThatIsNotLoadedStopsTheProgram) {
    EXPECT_EXIT(
        {
            HeadlessBackend backend;
            showBoxesOnStandardError(backend);
            FormLayer layer(backend);
            readProperty(scanwin::window, scanwin::进度条1, prop::position);
        },
        ::testing::ExitedWithCode(255), "\\[box .*\\|.*\xCE\xB4\xD4\xD8\xC8\xEB"); // 未载入
}

TEST(HeadlessFormsDeathTest, aHintForAUnitOfAWindowThatIsNotLoadedStopsTheProgram) {
    EXPECT_EXIT(
        {
            HeadlessBackend backend;
            showBoxesOnStandardError(backend);
            FormLayer layer(backend);
            SetUnitHint(scanwin::window, scanwin::标签1, "x");
        },
        ::testing::ExitedWithCode(255), "\\[box .*\\|.*\xCE\xB4\xD4\xD8\xC8\xEB"); // 未载入
}

TEST(HeadlessFormsDeathTest, aTreeMethodOnAWindowThatIsNotLoadedStopsTheProgram) {
    EXPECT_EXIT(
        {
            HeadlessBackend backend;
            showBoxesOnStandardError(backend);
            FormLayer layer(backend);
            ItemCount(mainwin::tree);
        },
        ::testing::ExitedWithCode(255), "\xB4\xED\xCE\xF3"); // the title 错误
}

TEST(HeadlessFormsDeathTest, aTypePropertyOfAControlThatWasNotCreatedStopsTheProgram) {
    // A backend that cannot create the edit boxes: their common properties still answer from the
    // template, their own properties are fatal.
    EXPECT_EXIT(
        {
            HeadlessBackend backend;
            backend.refuseControl = [](const UnitTemplate& u) { return u.type == UnitType::EditBox; };
            showBoxesOnStandardError(backend);
            FormLayer layer(backend);
            registerWindowTemplates(layer);
            LoadWindow(mainwin::ref);
            if (readProperty(mainwin::window, mainwin::编辑框_内容, prop::width).as<std::int32_t>() != 108)
                std::exit(3);
            readProperty(mainwin::window, mainwin::编辑框_内容, prop::content);
        },
        ::testing::ExitedWithCode(255),
        "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB"); // 指定窗口尚未载入
}

#endif

} // namespace
} // namespace glyvora
