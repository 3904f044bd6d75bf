// The tree view and the driver's tree actions together on a real comctl32 tree view, in a plain
// top-level window that hands the tree's notifications to it.
#include "app/windows/main_window_template.h"
#include "forms/win32/tree_view_win32.h"
#include "forms/win32/wide_text.h"
#include "tree_driver.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace glyvora::testing::win32 {
namespace {

using glyvora::win32::TreeView;

struct Report {
    enum Kind { Selection, BeginEdit, EndEdit, Expanded, RightClick };
    Kind kind = Selection;
    ItemKey key = 0;
    int cause = 0;            // Selection
    std::optional<Text> text; // EndEdit
    bool expanded = false;    // Expanded
    friend bool operator==(const Report&, const Report&) = default;
};

Report selection(ItemKey key, int cause) {
    return {Report::Selection, key, cause, std::nullopt, false};
}
Report endEdit(ItemKey key, std::optional<Text> text) {
    return {Report::EndEdit, key, 0, std::move(text), false};
}
Report expandedReport(ItemKey key, bool expanded) {
    return {Report::Expanded, key, 0, std::nullopt, expanded};
}
Report report(Report::Kind kind, ItemKey key) {
    return {kind, key, 0, std::nullopt, false};
}

class RecordingSink final : public BackendSink {
public:
    std::vector<Report> reports;
    bool allowBegin = true;
    bool acceptEnd = true;
    std::function<void(ItemKey)> duringEnd;

    bool onMouse(WindowId, UnitId, int, int, int, int) override { return true; }
    void onFocus(WindowId, UnitId, bool) override {}
    void onWheel(WindowId, UnitId, int) override {}
    bool onNavigationKey(WindowId, UnitId, int) override { return false; }
    void onClicked(WindowId, UnitId) override {}
    void onEditChanged(WindowId, UnitId) override {}
    void onComboChosen(WindowId, UnitId) override {}
    void onColourPickerOpened(WindowId, UnitId) override {}
    void onTray(WindowId, TrayMouse) override {}
    void onCloseRequest(WindowId) override {}
    void onPosted(WindowId, const PostedMessage&) override {}
    void onMenuCommand(WindowId, unsigned) override {}
    void onTreeSelectionChanged(WindowId, UnitId, ItemKey key, int cause) override {
        reports.push_back(selection(key, cause));
    }
    bool onTreeBeginEdit(WindowId, UnitId, ItemKey key) override {
        reports.push_back(report(Report::BeginEdit, key));
        return allowBegin;
    }
    bool onTreeEndEdit(WindowId, UnitId, ItemKey key, const std::optional<Text>& text) override {
        reports.push_back(endEdit(key, text));
        if (duringEnd) duringEnd(key);
        return acceptEnd;
    }
    void onTreeExpandedChanged(WindowId, UnitId, ItemKey key, bool expanded) override {
        reports.push_back(expandedReport(key, expanded));
    }
    void onTreeRightClick(WindowId, UnitId, ItemKey key) override {
        reports.push_back(report(Report::RightClick, key));
    }

    std::vector<Report> only(Report::Kind kind) const {
        std::vector<Report> out;
        for (const Report& r : reports)
            if (r.kind == kind) out.push_back(r);
        return out;
    }
};

TreeView* shownTreeView = nullptr;

LRESULT CALLBACK testWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && shownTreeView) {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == shownTreeView->handle())
            if (const std::optional<LRESULT> result = shownTreeView->onNotify(header)) return *result;
    }
    return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                 : DefWindowProcA(hwnd, message, wParam, lParam);
}

const char* testWindowClass() {
    static const char* name = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSA cls{};
        cls.lpfnWndProc = testWindowProc;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        cls.lpszClassName = "GlyvoraTreeViewTest";
        RegisterClassA(&cls);
        return "GlyvoraTreeViewTest";
    }();
    return name;
}

// A parent window of a Unicode class: the tree view then sends the W forms of its notifications.
const char* unicodeWindowClass() {
    static const char* name = [] {
        testWindowClass();
        WNDCLASSW cls{};
        cls.lpfnWndProc = testWindowProc;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = L"GlyvoraTreeViewTestW";
        RegisterClassW(&cls);
        return "GlyvoraTreeViewTestW";
    }();
    return name;
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class TreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        design = *mainWindowTemplate().find(mainwin::树型框1);
        design.left = 0;
        design.top = 0;
        design.height = 400;
        window = CreateWindowExA(0, windowClass(), "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 480,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        // The tree box's design font, as the backend gives it.
        font =
            CreateFontW(-15, 0, 0, 0, 400, 0, 0, 0, 134, 0, 0, 0, 0, glyvora::win32::widen("宋体").c_str());
        make();
    }
    void TearDown() override {
        shownTreeView = nullptr;
        view.reset();
        DestroyWindow(window);
        DeleteObject(font);
        pump();
    }
    void make() {
        shownTreeView = nullptr;
        view = std::make_unique<TreeView>(window, 100, design, 96, mainwin::window, &sinkPointer);
        ASSERT_TRUE(view->created());
        SendMessageA(view->handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        shownTreeView = view.get();
        pump();
    }
    virtual const char* windowClass() const { return testWindowClass(); }
    HWND tree() const { return view->handle(); }
    static TreeItem item(ItemKey key, Text text, bool bold = false) {
        TreeItem i;
        i.key = key;
        i.text = std::move(text);
        i.bold = bold;
        return i;
    }
    // 分类A (1) > 子分类 (2) > 文件夹1 (3); 分类A > 文件夹2 (4); 分类B (5): all collapsed.
    void buildCategories() {
        view->append(item(1, "分类A", true), 0);
        view->append(item(2, "子分类", true), 1);
        view->append(item(3, "文件夹1"), 2);
        view->append(item(4, "文件夹2"), 1);
        view->append(item(5, "分类B", true), 0);
    }

    UnitTemplate design;
    HWND window = nullptr;
    HFONT font = nullptr;
    RecordingSink sink;
    BackendSink* sinkPointer = &sink;
    std::unique_ptr<TreeView> view;
};

TEST_F(TreeViewTest, isCreatedWithTheTemplatesStylesOddItemHeightAndColours) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(tree(), GWL_STYLE));
    for (DWORD wanted : {TVS_HASBUTTONS, TVS_HASLINES, TVS_LINESATROOT, TVS_EDITLABELS, TVS_SHOWSELALWAYS})
        EXPECT_TRUE(style & wanted) << std::hex << wanted;
    EXPECT_FALSE(style & TVS_CHECKBOXES);
    EXPECT_TRUE(GetWindowLongPtrA(tree(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetDlgCtrlID(tree()), 100);
    // Set after the font, which must not take the odd height back.
    EXPECT_EQ(SendMessageA(tree(), TVM_GETITEMHEIGHT, 0, 0), 25);
    EXPECT_EQ(SendMessageA(tree(), TVM_GETTEXTCOLOR, 0, 0), 0x000000);
    EXPECT_EQ(SendMessageA(tree(), TVM_GETBKCOLOR, 0, 0), 0xFFFFFF);
    view->setColours(0x0000FF, 0x00FF00);
    EXPECT_EQ(SendMessageA(tree(), TVM_GETTEXTCOLOR, 0, 0), 0x0000FF);
    EXPECT_EQ(SendMessageA(tree(), TVM_GETBKCOLOR, 0, 0), 0x00FF00);
    view->setColours(std::nullopt, std::nullopt);
    EXPECT_EQ(SendMessageA(tree(), TVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(CLR_DEFAULT));
    EXPECT_EQ(SendMessageA(tree(), TVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(CLR_DEFAULT));
    EXPECT_TRUE(IsWindowVisible(tree()));
    EXPECT_TRUE(IsWindowEnabled(tree()));

    design.visible = false;
    design.disabled = true;
    design.tree.editLabels = false;
    make();
    EXPECT_FALSE(IsWindowVisible(tree()));
    EXPECT_FALSE(IsWindowEnabled(tree()));
    EXPECT_FALSE(GetWindowLongPtrA(tree(), GWL_STYLE) & TVS_EDITLABELS);
    buildCategories();
    EXPECT_FALSE(beginTreeEdit(tree(), 0)); // without label editing no edit begins
    EXPECT_TRUE(sink.reports.empty());
}

TEST_F(TreeViewTest, mirrorCallsShowTheModelAndReportNothing) {
    buildCategories();
    TreeItem renamed = item(4, "改名", true);
    view->update(renamed);
    view->setExpanded(1, true);
    view->setExpanded(2, true);
    view->select(3);
    EXPECT_EQ(shownTreeSelection(tree()), 2);
    view->setExpanded(1, false); // moves the control's caret to the collapsed item: not reported
    view->select(0);
    EXPECT_EQ(shownTreeSelection(tree()), -1);
    view->select(99); // unknown keys change nothing and select nothing
    view->update(item(99, "x"));
    view->remove(99);
    view->setExpanded(99, true);
    view->editLabel(99);
    const std::vector<ShownTreeItem> expected = {{1, "分类A", true, false},
                                                 {2, "子分类", true, true},
                                                 {3, "文件夹1", false, false},
                                                 {2, "改名", true, false},
                                                 {1, "分类B", true, false}};
    EXPECT_EQ(shownTree(tree()), expected);
    EXPECT_EQ(shownTreeSelection(tree()), -1);
    SetFocus(tree()); // the focus alone selects nothing
    pump();
    EXPECT_EQ(shownTreeSelection(tree()), -1);
    view->clear();
    EXPECT_TRUE(shownTree(tree()).empty());
    EXPECT_EQ(view->itemOf(1), nullptr);
    EXPECT_TRUE(sink.reports.empty());
}

TEST_F(TreeViewTest, removingASubtreeForgetsItsKeysAndLeavesTheSelectionToTheLayer) {
    buildCategories();
    view->select(3);
    view->remove(1);
    for (ItemKey gone : {1u, 2u, 3u, 4u})
        EXPECT_EQ(view->itemOf(gone), nullptr) << gone;
    EXPECT_NE(view->itemOf(5), nullptr);
    EXPECT_EQ(view->keyOf(view->itemOf(5)), 5u);
    EXPECT_EQ(shownTreeSelection(tree()), -1); // the control picks no neighbour of its own
    view->append(item(6, "孤儿"), 2);          // a parent that went: a top-level item
    EXPECT_EQ(shownTree(tree()).back(), (ShownTreeItem{1, "孤儿", false, false}));
    EXPECT_TRUE(sink.reports.empty());
}

TEST_F(TreeViewTest, textsComeBackAsAppendedGbkLongAndEmpty) {
    Text longText;
    for (int i = 0; i < 400; ++i)
        longText += "字";
    view->append(item(1, "宋体 字体"), 0);
    view->append(item(2, longText), 1);
    view->append(item(3, ""), 1);
    view->setExpanded(3, true); // no children yet: they show at once when they come
    view->append(item(4, "子"), 3);
    const std::vector<ShownTreeItem> expected = {{1, "宋体 字体", false, false},
                                                 {2, longText, false, false},
                                                 {2, "", false, true},
                                                 {3, "子", false, false}};
    EXPECT_EQ(shownTree(tree()), expected);
}

TEST_F(TreeViewTest, theUsersSelectionReportsTheKeyAndWhetherMouseOrKeyboard) {
    buildCategories();
    ASSERT_TRUE(selectTreeItem(tree(), 2, false)); // inside collapsed items: they are opened first
    EXPECT_EQ(shownTreeSelection(tree()), 2);
    ASSERT_TRUE(selectTreeItem(tree(), 4, true));
    ASSERT_TRUE(selectTreeItem(tree(), 0, true));
    ASSERT_TRUE(selectTreeItem(tree(), 0, false)); // already selected: nothing
    ASSERT_TRUE(selectTreeItem(tree(), 3, true));  // several steps away
    EXPECT_FALSE(selectTreeItem(tree(), 5, false));
    const std::vector<Report> expected = {
        selection(3, selectionCause::mouse),    selection(5, selectionCause::keyboard),
        selection(1, selectionCause::keyboard), selection(2, selectionCause::keyboard),
        selection(3, selectionCause::keyboard), selection(4, selectionCause::keyboard)};
    EXPECT_EQ(sink.only(Report::Selection), expected);
    // Opening the parents to reach the hidden item is the user's doing too (in whatever order).
    std::vector<Report> opened = sink.only(Report::Expanded);
    std::sort(opened.begin(), opened.end(), [](const Report& a, const Report& b) { return a.key < b.key; });
    EXPECT_EQ(opened, (std::vector<Report>{expandedReport(1, true), expandedReport(2, true)}));
}

TEST_F(TreeViewTest, theUsersExpandAndCollapseAreReported) {
    buildCategories();
    ASSERT_TRUE(setTreeItemExpanded(tree(), 0, true));
    ASSERT_TRUE(setTreeItemExpanded(tree(), 0, true)); // already open: nothing
    ASSERT_TRUE(setTreeItemExpanded(tree(), 1, true));
    ASSERT_TRUE(setTreeItemExpanded(tree(), 1, false));
    EXPECT_TRUE(shownTree(tree())[0].expanded);
    EXPECT_FALSE(shownTree(tree())[1].expanded);
    EXPECT_FALSE(setTreeItemExpanded(tree(), 9, true));
    EXPECT_EQ(sink.reports, (std::vector<Report>{expandedReport(1, true), expandedReport(2, true),
                                                 expandedReport(2, false)}));
}

TEST_F(TreeViewTest, aRightClickReportsTheItemUnderTheCursorOrNoneOnEmptySpace) {
    buildCategories();
    view->setExpanded(1, true);
    ASSERT_TRUE(rightClickTree(tree(), 3));
    ASSERT_TRUE(rightClickTree(tree(), -1));
    ASSERT_TRUE(rightClickTree(tree(), 0));
    EXPECT_FALSE(rightClickTree(tree(), 5));
    EXPECT_EQ(sink.reports, (std::vector<Report>{report(Report::RightClick, 4), report(Report::RightClick, 0),
                                                 report(Report::RightClick, 1)}));
    EXPECT_EQ(shownTreeSelection(tree()), -1); // selecting it is the layer's business
}

TEST_F(TreeViewTest, aVetoedBeginStopsTheEditHoweverItWasStarted) {
    buildCategories();
    sink.allowBegin = false;
    EXPECT_FALSE(beginTreeEdit(tree(), 0));
    EXPECT_FALSE(treeEditing(tree()));
    view->editLabel(1);
    EXPECT_FALSE(treeEditing(tree()));
    EXPECT_FALSE(view->editing());
    EXPECT_FALSE(endTreeEdit(tree(), Text("x"))); // nothing to end
    EXPECT_EQ(sink.reports,
              (std::vector<Report>{report(Report::BeginEdit, 1), report(Report::BeginEdit, 1)}));
}

TEST_F(TreeViewTest, anEndedEditShowsTheTextOnlyWhenAcceptedAndIsReportedOnce) {
    buildCategories();
    view->editLabel(5); // the layer's edit: begin reported too
    ASSERT_TRUE(treeEditing(tree()));
    EXPECT_EQ(GetFocus(), reinterpret_cast<HWND>(SendMessageA(tree(), TVM_GETEDITCONTROL, 0, 0)));
    ASSERT_TRUE(endTreeEdit(tree(), Text("新名")));
    EXPECT_EQ(shownTree(tree())[4].text, "新名");
    sink.acceptEnd = false;
    ASSERT_TRUE(beginTreeEdit(tree(), 4));
    ASSERT_TRUE(endTreeEdit(tree(), Text("再改")));
    EXPECT_EQ(shownTree(tree())[4].text, "新名");
    sink.acceptEnd = true;
    ASSERT_TRUE(beginTreeEdit(tree(), 4));
    ASSERT_TRUE(endTreeEdit(tree(), std::nullopt)); // Esc
    EXPECT_EQ(shownTree(tree())[4].text, "新名");
    // Ending through the control itself: Wine sends the end twice.
    ASSERT_TRUE(beginTreeEdit(tree(), 4));
    SendMessageA(tree(), TVM_ENDEDITLABELNOW, TRUE, 0);
    pump();
    EXPECT_FALSE(view->editing());
    EXPECT_EQ(sink.only(Report::EndEdit),
              (std::vector<Report>{endEdit(5, Text("新名")), endEdit(5, Text("再改")),
                                   endEdit(5, std::nullopt), endEdit(5, std::nullopt)}));
    EXPECT_EQ(sink.only(Report::BeginEdit).size(), 4u);
}

TEST_F(TreeViewTest, removingTheItemBeingEditedEndsTheEditWithNoText) {
    buildCategories();
    view->setExpanded(1, true);
    ASSERT_TRUE(beginTreeEdit(tree(), 2));
    view->remove(1);
    EXPECT_FALSE(treeEditing(tree()));
    EXPECT_FALSE(view->editing());
    ASSERT_TRUE(beginTreeEdit(tree(), 0));
    view->clear();
    EXPECT_FALSE(treeEditing(tree()));
    EXPECT_EQ(sink.only(Report::EndEdit),
              (std::vector<Report>{endEdit(3, std::nullopt), endEdit(5, std::nullopt)}));
}

TEST_F(TreeViewTest, anEndHandlerThatDeletesTheItemLeavesTheControlSound) {
    buildCategories();
    sink.duringEnd = [&](ItemKey key) { view->remove(key); };
    ASSERT_TRUE(beginTreeEdit(tree(), 4));
    ASSERT_TRUE(endTreeEdit(tree(), Text("新名")));
    EXPECT_FALSE(treeEditing(tree()));
    EXPECT_EQ(shownTree(tree()).size(), 4u);
    EXPECT_EQ(view->itemOf(5), nullptr);
}

TEST_F(TreeViewTest, anEditOfAHiddenTreeIsReportedAndEndsOnceTheTreeIsShown) {
    buildCategories();
    ShowWindow(tree(), SW_HIDE);
    view->editLabel(1);
    EXPECT_TRUE(view->editing());
    ShowWindow(tree(), SW_SHOW);
    ASSERT_TRUE(endTreeEdit(tree(), Text("分类C")));
    EXPECT_EQ(shownTree(tree())[0].text, "分类C");
    EXPECT_EQ(sink.reports, (std::vector<Report>{report(Report::BeginEdit, 1), endEdit(1, Text("分类C"))}));
}

TEST_F(TreeViewTest, destroyingTheTreeDuringAnEditReportsNothing) {
    buildCategories();
    view->select(1);
    ASSERT_TRUE(beginTreeEdit(tree(), 0));
    glyvora::win32::setWindowTextOf(reinterpret_cast<HWND>(SendMessageA(tree(), TVM_GETEDITCONTROL, 0, 0)),
                                    "半途");
    sink.reports.clear();
    view.reset();
    shownTreeView = nullptr;
    pump();
    EXPECT_TRUE(sink.reports.empty());
    EXPECT_EQ(FindWindowExA(window, nullptr, WC_TREEVIEWA, nullptr), nullptr);
}

class UnicodeParentTest : public TreeViewTest {
protected:
    const char* windowClass() const override { return unicodeWindowClass(); }
};

TEST_F(UnicodeParentTest, notificationsInTheirWideFormReportTheSame) {
    ASSERT_EQ(SendMessageA(tree(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(window), NF_REQUERY),
              NFR_UNICODE);
    buildCategories();
    ASSERT_TRUE(selectTreeItem(tree(), 4, false));
    ASSERT_TRUE(setTreeItemExpanded(tree(), 0, true));
    ASSERT_TRUE(beginTreeEdit(tree(), 1));
    ASSERT_TRUE(endTreeEdit(tree(), Text("子分类乙")));
    EXPECT_EQ(shownTree(tree())[1].text, "子分类乙");
    EXPECT_EQ(sink.reports,
              (std::vector<Report>{selection(5, selectionCause::mouse), expandedReport(1, true),
                                   report(Report::BeginEdit, 2), endEdit(2, Text("子分类乙"))}));
}

} // namespace
} // namespace glyvora::testing::win32
