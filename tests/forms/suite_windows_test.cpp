// Windows and the message loop: creation, loading an open or closing window, the posted close,
// Delay and ProcessEvents, closing through the frame, the tray icon and the mouse events.
#include "forms_suite.h"
#include "support/temp_dir.h"

namespace glyvora::testing {
namespace {

ByteSet tinyIcon() {
    const std::uint8_t directory[] = {0,  0,  1, 0, 1,  0,         // reserved, type 1 (icon), one image
                                      32, 32, 0, 0, 1,  0, 32, 0,  // 32 x 32, planes 1, 32 bits per pixel
                                      8,  0,  0, 0, 22, 0, 0,  0}; // 8 bytes of image at offset 22
    ByteSet icon(30, 0xAB);
    for (std::size_t i = 0; i < sizeof directory; ++i)
        icon[i] = directory[i];
    return icon;
}

TEST_P(FormsSuite, createdEventRunsOnceAllUnitsExistBeforeTheWindowIsShown) {
    bool shownDuringCreation = true;
    Text caption;
    int created = 0;
    openMain({on(mainwin::windowUnit, event::created, [&] {
        ++created;
        shownDuringCreation = user->windowShown(mainwin::window);
        caption = readProperty(mainwin::window, mainwin::编辑框_内容, prop::content).as<Text>();
        writeProperty(mainwin::window, mainwin::windowUnit, prop::height, Value(718));
    })});
    EXPECT_EQ(created, 1);
    EXPECT_FALSE(shownDuringCreation);
    EXPECT_EQ(caption, "中国智造慧及全球");
    EXPECT_TRUE(user->windowShown(mainwin::window));
    EXPECT_EQ(user->windowRect(mainwin::window).height, 718);
}

// Every control of a window's template is on screen at its place, with its caption or content
// and its list.
void expectControlsOfTemplate(UserDriver& user, const WindowTemplate& t) {
    for (const UnitTemplate& u : t.units) {
        if (u.type == UnitType::Window || u.type == UnitType::Menu) continue;
        EXPECT_EQ(user.shownRect(t.window, u.id), (Rect{u.left, u.top, u.width, u.height})) << u.name;
        switch (u.type) {
        case UnitType::Label:
        case UnitType::Button:
        case UnitType::CheckBox:
        case UnitType::EditBox:
            EXPECT_EQ(user.shownText(t.window, u.id), u.caption) << u.name;
            break;
        case UnitType::ComboBox:
            EXPECT_EQ(user.shownComboItems(t.window, u.id), u.items) << u.name;
            EXPECT_EQ(user.shownComboSelection(t.window, u.id), -1) << u.name;
            break;
        default:
            break;
        }
    }
}

TEST_P(FormsSuite, bothWindowsShowEveryControlOfTheirTemplates) {
    openMain();
    ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    expectControlsOfTemplate(*user, mainWindowTemplate());
    expectControlsOfTemplate(*user, scanWindowTemplate());
    EXPECT_EQ(user->shownFont(mainwin::window, mainwin::previewLabel(1))->height, -64);
    EXPECT_EQ(user->shownFont(mainwin::window, mainwin::树型框1)->faceName, "宋体");
    EXPECT_TRUE(user->shownTree(mainwin::window, mainwin::树型框1).empty());
    EXPECT_EQ(user->shownCheckState(mainwin::window, mainwin::选择框_窗口置顶), 0);
    EXPECT_EQ(user->shownProgress(scanwin::window, scanwin::进度条1), (ShownProgress{0, 0, 0}));
    // Both are centred on the screen with their template sizes, and on top.
    const ScreenInfo screen = backend->screen();
    EXPECT_EQ(user->windowRect(mainwin::window),
              (Rect{(screen.width - 700) / 2, (screen.height - 762) / 2, 700, 762}));
    EXPECT_EQ(user->windowRect(scanwin::window),
              (Rect{(screen.width - 380) / 2, (screen.height - 111) / 2, 380, 111}));
    EXPECT_TRUE(user->windowOnTop(mainwin::window));
    EXPECT_TRUE(user->windowOnTop(scanwin::window));
}

TEST_P(FormsSuite, loadingAnOpenWindowRestoresItInsteadOfCreatingItAgain) {
    openMain();
    layer->bindEvents(scanwin::window, {record(scanwin::windowUnit, event::created)});
    ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    user->minimise(scanwin::window);
    EXPECT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    EXPECT_FALSE(user->windowMinimised(scanwin::window));
    EXPECT_EQ(eventsOf(scanwin::windowUnit, event::created), 1);
    EXPECT_FALSE(LoadWindow(WindowRef{0x12345678}));
}

TEST_P(FormsSuite, closeWindowUnitTakesEffectAfterTheRunningHandlerReturns) {
    bool openInHandler = false;
    openMain({on(mainwin::按钮_下一页, event::clicked, [&] {
        LoadWindow(scanwin::ref, mainwin::ref);
        CloseWindowUnit(scanwin::ref);
        openInHandler = layer->isOpen(scanwin::window) && user->windowExists(scanwin::window);
    })});
    ASSERT_TRUE(user->click(mainwin::window, mainwin::按钮_下一页));
    EXPECT_TRUE(openInHandler);
    EXPECT_FALSE(layer->isOpen(scanwin::window));
    EXPECT_FALSE(user->windowExists(scanwin::window));
    EXPECT_TRUE(layer->isOpen(mainwin::window));
}

TEST_P(FormsSuite, aWaitAfterCloseWindowUnitLetsTheCloseHappen) {
    bool openAfterDelay = true;
    openMain({on(mainwin::按钮_下一页, event::clicked, [&] {
        LoadWindow(scanwin::ref, mainwin::ref);
        CloseWindowUnit(scanwin::ref);
        Delay(10);
        openAfterDelay = layer->isOpen(scanwin::window);
    })});
    ASSERT_TRUE(user->click(mainwin::window, mainwin::按钮_下一页));
    EXPECT_FALSE(openAfterDelay);
}

TEST_P(FormsSuite, aClosingWindowLoadedAgainIsCreatedAnewAndStaysOpen) {
    layer->bindEvents(scanwin::window, {record(scanwin::windowUnit, event::created)});
    openMain({on(mainwin::按钮_下一页, event::clicked, [&] {
        LoadWindow(scanwin::ref, mainwin::ref);
        writeProperty(scanwin::window, scanwin::进度条1, prop::maximum, Value(9));
        CloseWindowUnit(scanwin::ref);
        LoadWindow(scanwin::ref, mainwin::ref);
    })});
    ASSERT_TRUE(user->click(mainwin::window, mainwin::按钮_下一页));
    EXPECT_EQ(eventsOf(scanwin::windowUnit, event::created), 2);
    EXPECT_TRUE(layer->isOpen(scanwin::window));
    EXPECT_EQ(readProperty(scanwin::window, scanwin::进度条1, prop::maximum).as<std::int32_t>(), 0);
}

TEST_P(FormsSuite, delayWaitsItsTimeWhileDispatchingTheUsersActions) {
    std::uint32_t before = 0, after = 0;
    openMain({on(mainwin::按钮_下一页, event::clicked,
                 [&] {
                     before = clock.ticks();
                     Delay(500);
                     after = clock.ticks();
                 }),
              record(mainwin::按钮_上一页, event::clicked)});
    atTick(clock.ticks() + 200, [&] { user->click(mainwin::window, mainwin::按钮_上一页); });
    ASSERT_TRUE(user->click(mainwin::window, mainwin::按钮_下一页));
    EXPECT_GE(after - before, 500u);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].unit, mainwin::按钮_上一页);
}

TEST_P(FormsSuite, aHandlerWaitingInOneSecondStepsRunsAgainInsideItsWaitWhenTheUserClicksIt) {
    // The shape of the automatic page turn: checking the box starts a loop of one-second waits
    // that reads the box once per second; unchecking it during a wait runs the same handler
    // inside the wait, which finds the box unchecked and returns at once.
    int turns = 0, calls = 0;
    std::uint32_t start = 0, end = 0;
    auto checked = [] {
        return readProperty(mainwin::window, mainwin::选择框_自动翻页, prop::checked).as<bool>();
    };
    openMain({on(mainwin::选择框_自动翻页, event::clicked, [&] {
        ++calls;
        if (!checked()) return;
        start = clock.ticks();
        for (int n = 0; n < 10 && checked(); ++n) {
            ++turns;
            Delay(1000);
        }
        end = clock.ticks();
        writeProperty(mainwin::window, mainwin::选择框_自动翻页, prop::checked, Value(false));
    })});
    atTick(clock.ticks() + 2500, [&] { user->click(mainwin::window, mainwin::选择框_自动翻页); });
    ASSERT_TRUE(user->click(mainwin::window, mainwin::选择框_自动翻页));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(turns, 3);
    EXPECT_EQ(end - start, 3000u);
    EXPECT_EQ(user->shownCheckState(mainwin::window, mainwin::选择框_自动翻页), 0);
}

TEST_P(FormsSuite, delayOfZeroReturnsAtOnceAndProcessEventsDeliversWhatIsQueued) {
    int clicksAfterDelay = -1, clicksAfterProcessing = -1;
    openMain({on(mainwin::按钮_下一页, event::clicked,
                 [&] {
                     user->later([&] { user->click(mainwin::window, mainwin::按钮_上一页); });
                     Delay(0);
                     clicksAfterDelay = eventsOf(mainwin::按钮_上一页, event::clicked);
                     ProcessEvents();
                     clicksAfterProcessing = eventsOf(mainwin::按钮_上一页, event::clicked);
                 }),
              record(mainwin::按钮_上一页, event::clicked)});
    const std::uint32_t start = clock.ticks();
    ASSERT_TRUE(user->click(mainwin::window, mainwin::按钮_下一页));
    EXPECT_EQ(clicksAfterDelay, 0);
    EXPECT_EQ(clicksAfterProcessing, 1);
    EXPECT_EQ(clock.ticks(), start);
}

TEST_P(FormsSuite, closingTheMainWindowThroughItsFrameEndsTheLoopWithoutAnyHandler) {
    openMain({record(mainwin::windowUnit, event::trayIcon), record(mainwin::按钮_下一页, event::clicked)});
    ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    user->later([&] { user->closeThroughFrame(mainwin::window); });
    layer->run();
    EXPECT_TRUE(layer->ended());
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(user->windowExists(mainwin::window));
    EXPECT_FALSE(user->windowExists(scanwin::window)); // owned by the main window
    EXPECT_EQ(programEnds, 0);                         // no handler was running: the loop simply ends
}

TEST_P(FormsSuite, closingTheMainWindowDuringAWaitEndsTheProgramAtOnce) {
    std::uint32_t waited = 0;
    openMain({on(mainwin::按钮_下一页, event::clicked, [&] {
        const std::uint32_t start = clock.ticks();
        Delay(5000);
        waited = clock.ticks() - start;
    })});
    atTick(clock.ticks() + 100, [&] { user->closeThroughFrame(mainwin::window); });
    user->click(mainwin::window, mainwin::按钮_下一页);
    EXPECT_EQ(programEnds, 1);
    EXPECT_LT(waited, 5000u);
}

TEST_P(FormsSuite, theScanWindowCannotBeClosedThroughItsFrame) {
    openMain();
    ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
    user->closeThroughFrame(scanwin::window);
    EXPECT_TRUE(layer->isOpen(scanwin::window));
    EXPECT_TRUE(user->windowExists(scanwin::window));
}

TEST_P(FormsSuite, trayIconMouseMessagesBecomeEventNine) {
    openMain({record(mainwin::windowUnit, event::trayIcon)});
    EXPECT_FALSE(user->tray(mainwin::window, TrayMouse::RightUp)); // no icon yet
    SetTrayIcon(mainwin::ref, Value(tinyIcon()), Value("Glyvora"));
    ASSERT_TRUE(user->trayIcon(mainwin::window));
    EXPECT_EQ(user->trayIcon(mainwin::window)->tip, "Glyvora");
    EXPECT_EQ(user->trayIcon(mainwin::window)->iconId, 100u);
    for (TrayMouse m : {TrayMouse::LeftDown, TrayMouse::LeftUp, TrayMouse::LeftDoubleClick, TrayMouse::Move,
                        TrayMouse::RightDown, TrayMouse::RightUp, TrayMouse::ContextMenuKey})
        user->tray(mainwin::window, m);
    const std::vector<Seen> expected = {{mainwin::windowUnit, event::trayIcon, {1}},
                                        {mainwin::windowUnit, event::trayIcon, {2}},
                                        {mainwin::windowUnit, event::trayIcon, {3}},
                                        {mainwin::windowUnit, event::trayIcon, {3}}};
    EXPECT_EQ(seen, expected);
}

TEST_P(FormsSuite, trayTipIsCutTo62BytesAndAnUnusableIconRemovesTheIcon) {
    openMain();
    SetTrayIcon(mainwin::ref, Value(tinyIcon()), Value(Text(70, 'a')));
    EXPECT_EQ(user->trayIcon(mainwin::window)->tip, Text(62, 'a'));
    SetTrayIcon(mainwin::ref, Value(tinyIcon()), Value(Text(61, 'a') + "字"));
    EXPECT_EQ(user->trayIcon(mainwin::window)->tip, Text(61, 'a'));
    SetTrayIcon(mainwin::ref, Value(ByteSet{1, 2, 3}));
    EXPECT_FALSE(user->trayIcon(mainwin::window));
}

TEST_P(FormsSuite, mouseEventsCarryCoordinatesAndKeysAndAFalseSwallowsThem) {
    const UnitId label = mainwin::previewLabel(2);
    openMain({record(label, event::rightDown), record(label, event::rightUp, false)});
    EXPECT_TRUE(
        user->mouse(mainwin::window, label, event::rightDown, 10, 20, keyState::ctrl | keyState::shift));
    EXPECT_FALSE(user->mouse(mainwin::window, label, event::rightUp, 11, 21, 0));
    EXPECT_TRUE(user->mouse(mainwin::window, label, event::leftDown, 1, 1, 0)); // no handler
    const std::vector<Seen> expected = {{label, event::rightDown, {10, 20, 3}},
                                        {label, event::rightUp, {11, 21, 0}}};
    EXPECT_EQ(seen, expected);
}

TEST_P(FormsSuite, focusEventsComeAsTheFocusMoves) {
    openMain({record(mainwin::编辑框_内容, event::gotFocus), record(mainwin::编辑框_内容, event::lostFocus),
              record(mainwin::编辑框_搜索字体内容, event::gotFocus)});
    ASSERT_TRUE(user->focus(mainwin::window, mainwin::编辑框_内容));
    ASSERT_TRUE(user->focus(mainwin::window, mainwin::编辑框_搜索字体内容));
    const std::vector<Seen> expected = {{mainwin::编辑框_内容, event::gotFocus, {}},
                                        {mainwin::编辑框_内容, event::lostFocus, {}},
                                        {mainwin::编辑框_搜索字体内容, event::gotFocus, {}}};
    EXPECT_EQ(seen, expected);
}

TEST_P(FormsSuite, theTrayIconCanComeFromAnIconFile) {
    TempDir dir;
    const ByteSet icon = tinyIcon();
    writeTestFile(dir.file("托盘.ico"), std::string(icon.begin(), icon.end()));
    openMain();
    SetTrayIcon(mainwin::ref, Value(dir.file("托盘.ico")), Value("Glyvora"));
    ASSERT_TRUE(user->trayIcon(mainwin::window));
    EXPECT_EQ(user->trayIcon(mainwin::window)->icon, icon);
    SetTrayIcon(mainwin::ref, Value(dir.file("missing.ico")), Value("Glyvora"));
    EXPECT_FALSE(user->trayIcon(mainwin::window));
}

TEST_P(FormsSuite, closingTheLastWindowWithCloseWindowUnitEndsTheLoopOnceTheHandlerHasReturned) {
    openMain({on(mainwin::按钮_下一页, event::clicked, [&] { CloseWindowUnit(mainwin::ref); })});
    ASSERT_TRUE(user->click(mainwin::window, mainwin::按钮_下一页));
    EXPECT_TRUE(layer->ended());
    EXPECT_FALSE(user->windowExists(mainwin::window));
    EXPECT_EQ(programEnds, 0);
    layer->run(); // nothing left to run
}

TEST_P(FormsSuite, closeWindowUnitOnAWindowThatIsNotOpenDoesNothing) {
    openMain();
    CloseWindowUnit(scanwin::ref);
    ProcessEvents();
    EXPECT_TRUE(layer->isOpen(mainwin::window));
}

TEST_P(FormsSuite, theWheelGoesToTheUnitUnderTheMouseAndNavigationKeysToTheWindowUnlessTheFocusUsesThem) {
    using namespace mainwin;
    openMain({record(previewLabel(2), event::wheel), record(树型框1, event::wheel),
              record(windowUnit, event::navigationKey)});
    // The focus is on the tree; the label under the mouse gets the turn, in whole notches.
    ASSERT_TRUE(user->focus(window, 树型框1));
    ASSERT_TRUE(user->wheel(window, previewLabel(2), -2));
    ASSERT_TRUE(user->wheel(window, previewLabel(2), 1));
    ASSERT_TRUE(user->wheel(window, 树型框1, -1)); // scrolls itself
    EXPECT_EQ(seen, (std::vector<Seen>{{previewLabel(2), event::wheel, {-2}},
                                       {previewLabel(2), event::wheel, {1}}}));

    seen.clear();
    ASSERT_TRUE(user->focus(window, 按钮_下一页));
    ASSERT_TRUE(user->pressKey(window, navigationKey::pageDown));
    ASSERT_TRUE(user->focus(window, 选择框_自动翻页));
    ASSERT_TRUE(user->pressKey(window, navigationKey::end));
    for (UnitId keeps : {编辑框_内容, 组合框_字号, 树型框1}) {
        ASSERT_TRUE(user->focus(window, keeps));
        ASSERT_TRUE(user->pressKey(window, navigationKey::home));
    }
    EXPECT_EQ(
        seen,
        (std::vector<Seen>{
            {windowUnit, event::navigationKey, {navigationKey::pageDown, static_cast<int>(按钮_下一页)}},
            {windowUnit, event::navigationKey, {navigationKey::end, static_cast<int>(选择框_自动翻页)}},
        }));
}

} // namespace
} // namespace glyvora::testing
