// Editing the category tree: adding categories, subcategories and folders, renaming, removing and
// moving, each checked on screen, in the tree file, in the names file and in the folder table.
#include "app_suite.h"

namespace glyvora::testing {

namespace {

using namespace mainwin;
using Tree = std::vector<ShownTreeItem>;

constexpr unsigned kTaskModal = 0x2000;

// What the tree file holds, in the form the screen is read in.
Tree treeOf(const std::vector<ItemRecord>& records) {
    Tree items;
    for (const ItemRecord& r : records)
        items.push_back({r.depth, r.text, (r.flags & kItemBold) != 0, (r.flags & kItemExpanded) != 0});
    return items;
}

// A category (bold), a subcategory (bold, one level down), a folder node.
ShownTreeItem cat(const Text& text, bool expanded = true) {
    return {1, text, true, expanded};
}
ShownTreeItem sub(const Text& text, bool expanded = true) {
    return {2, text, true, expanded};
}
ShownTreeItem node(int level, const Text& text, bool expanded = false) {
    return {level, text, false, expanded};
}

// One line per item: its level, B when bold, + when expanded, then its text; readable in a failure.
std::string outline(const Tree& items) {
    std::string out;
    for (const ShownTreeItem& i : items)
        out += std::to_string(i.level) + (i.bold ? "B" : "") + (i.expanded ? "+" : "") + " " + i.text + "\n";
    return out;
}

std::vector<ShownDialog> dialogsOfKind(UserDriver& user, DialogKind kind) {
    std::vector<ShownDialog> found;
    for (const ShownDialog& d : user.dialogs())
        if (d.kind == kind) found.push_back(d);
    return found;
}

bool sameRecords(const std::vector<FolderRecord>& actual, const std::vector<FolderRecord>& expected) {
    if (actual.size() != expected.size()) return false;
    for (std::size_t i = 0; i < actual.size(); ++i)
        if (actual[i].label != expected[i].label || actual[i].path != expected[i].path) return false;
    return true;
}

// Records for folder nodes whose folders do not exist: a scan of them finds no file, and does not
// take their labels for font sets.
std::vector<FolderRecord> unreachable(const std::vector<Text>& labels) {
    std::vector<FolderRecord> records;
    for (const Text& label : labels)
        records.push_back({label, "Q:\\gone\\" + label});
    return records;
}

class TreeEditing {
public:
    TreeEditing(UserDriver& user, TestClock& clock) : user_(user), clock_(clock) {}

    // The right click selects the item (and scans it), then the menu item is chosen.
    bool choose(int index, UnitId item) {
        user_.answerPopupMenu(item);
        return user_.rightClickTree(window, 树型框1, index);
    }
    // A rename whose in-place edit the user ends with `typed` (none: Esc).
    bool rename(int index, UnitId item, std::optional<Text> typed) {
        whileEditing([this, typed] { user_.endTreeEdit(window, 树型框1, typed); });
        return choose(index, item);
    }
    // Runs the action in the first message turn that finds the tree's edit box open: the right
    // click's scan may give turns before the rename has begun its edit, and the rename's wait
    // sleeps between its turns.
    void whileEditing(std::function<void()> action) {
        user_.later([this, action] {
            if (user_.treeEditing(window, 树型框1))
                action();
            else
                clock_.at(clock_.ticks() + 1, [this, action] { whileEditing(action); });
        });
    }

private:
    UserDriver& user_;
    TestClock& clock_;
};

#define EXPECT_TREE(expected)                                                                                \
    do {                                                                                                     \
        EXPECT_EQ(outline(shownTree()), outline(expected));                                                  \
        EXPECT_EQ(outline(treeOf(treeFileRecords())), outline(expected)) << "the tree file";                 \
    } while (0)

TEST_P(AppSuite, aSecondCategoryOfTheSameNameIsRefusedAndTheTenthRefusalEndsTheCommand) {
    startProgram();
    user->answerInputBox(Text("A"));
    ASSERT_TRUE(click(按钮_添加分类));
    EXPECT_TREE(Tree{cat("A", false)});
    EXPECT_EQ(fileBytes(app::kNamesFile), "|A");
    auto boxes = dialogsOfKind(*user, DialogKind::InputBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].inputBox.prompt, "分类或者子分类 ，不能同名");
    EXPECT_EQ(boxes[0].inputBox.caption, "添加分类");
    EXPECT_EQ(boxes[0].inputBox.initial, "分类名称");
    EXPECT_EQ(boxes[0].inputBox.owner.window, std::optional<WindowId>(window));
    // The new category is not selected.
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), -1);

    // Ten times A: ten dialogs, each from the initial text again, then nothing.
    for (int i = 0; i < 10; ++i)
        user->answerInputBox(Text("A"));
    ASSERT_TRUE(click(按钮_添加分类));
    boxes = dialogsOfKind(*user, DialogKind::InputBox);
    ASSERT_EQ(boxes.size(), 11u);
    for (const ShownDialog& d : boxes)
        EXPECT_EQ(d.inputBox.initial, "分类名称");
    EXPECT_TREE(Tree{cat("A", false)});
    EXPECT_EQ(fileBytes(app::kNamesFile), "|A");

    // A refusal, then a new name on the next attempt.
    user->answerInputBox(Text("A"));
    user->answerInputBox(Text("B"));
    ASSERT_TRUE(click(按钮_添加分类));
    EXPECT_TREE((Tree{cat("A", false), cat("B", false)}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|A|B");
}

TEST_P(AppSuite, theSetRootsLabelAnEmptyNameAndTheSeparatorAreNeverNames) {
    startProgram();
    // Even with the names file empty, where the empty name does not exist yet.
    user->answerInputBox(Text());
    user->answerInputBox(Text("集"));
    user->answerInputBox(Text("x|y"));
    user->answerInputBox(std::nullopt); // Cancel
    ASSERT_TRUE(click(按钮_添加分类));
    EXPECT_EQ(dialogsOfKind(*user, DialogKind::InputBox).size(), 4u);
    EXPECT_TRUE(shownTree().empty());
    EXPECT_FALSE(fileExists(app::kTreeFile));
    EXPECT_EQ(fileBytes(app::kNamesFile), "");

    user->answerInputBox(Text("宋体"));
    ASSERT_TRUE(click(按钮_添加分类));
    TreeEditing edit(*user, clock);
    user->answerInputBox(Text());
    user->answerInputBox(Text("集"));
    user->answerInputBox(Text("宋体"));
    user->answerInputBox(std::nullopt);
    ASSERT_TRUE(edit.choose(0, 一级_添加子分类));
    const auto boxes = dialogsOfKind(*user, DialogKind::InputBox);
    ASSERT_EQ(boxes.size(), 9u);
    EXPECT_EQ(boxes.back().inputBox.caption, "添加子分类");
    EXPECT_EQ(boxes.back().inputBox.initial, "子分类名称");
    EXPECT_EQ(boxes.back().inputBox.prompt, "分类或者子分类 ，不能同名");
    EXPECT_TREE(Tree{cat("宋体", false)});
    EXPECT_EQ(fileBytes(app::kNamesFile), "|宋体");
}

TEST_P(AppSuite, aNewSubcategoryIsExpandedUnderItsParentAndSelected) {
    const Text folder = makeFolder("f");
    makeFonts(folder, 2);
    writeTree({{1, "分类A", true, false}, {2, "f"}, {1, "分类B", true}});
    writeTestFile(file(app::kNamesFile), "|分类A|分类B");
    writeFolderTable({{"f", folder}});
    startProgram();
    TreeEditing edit(*user, clock);
    user->answerInputBox(Text("分类B")); // a category's name is taken for subcategories too
    user->answerInputBox(Text("常用"));
    ASSERT_TRUE(edit.choose(0, 一级_添加子分类));
    EXPECT_TREE((Tree{cat("分类A"), node(2, "f"), sub("常用", false), cat("分类B", false)}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类A|常用|分类B");
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 2);
    // Its selection scanned it: an empty subcategory has no fonts.
    EXPECT_TRUE(state().scan.scanNames.empty());
    EXPECT_TRUE(scannedFonts().empty());
    EXPECT_EQ(pageLabel(), "页次：1/1");
}

TEST_P(AppSuite, renamingASubcategoryAndThenKeepingItsNameReportsTheFailure) {
    writeTree({{1, "分类", true, true}, {2, "X", true}});
    writeTestFile(file(app::kNamesFile), "|分类|X");
    startProgram();
    TreeEditing edit(*user, clock);

    ASSERT_TRUE(edit.rename(1, 二级_重命名, Text("Y")));
    EXPECT_TREE((Tree{cat("分类"), sub("Y", false)}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类|Y");
    EXPECT_TRUE(dialogsOfKind(*user, DialogKind::MessageBox).empty());
    EXPECT_FALSE(user->treeEditing(window, 树型框1));
    // The edit was let begin for the rename only.
    EXPECT_FALSE(state().treeEdit.labelEditAllowed);

    user->answerMessageBox(dialogButton::ok);
    ASSERT_TRUE(edit.rename(1, 二级_重命名, Text("Y")));
    auto boxes = dialogsOfKind(*user, DialogKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].messageBox.text, "名称已经存在，重命名失败！");
    EXPECT_EQ(boxes[0].messageBox.title, "命名失败：");
    EXPECT_EQ(boxes[0].messageBox.flags, 16u | kTaskModal);
    EXPECT_EQ(boxes[0].messageBox.owner.window, std::optional<WindowId>(window));
    EXPECT_TREE((Tree{cat("分类"), sub("Y", false)}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类|Y");

    // Another item's name, the set root's label and Esc all end in the message and the old name.
    for (const std::optional<Text>& typed : {std::optional<Text>("分类"), std::optional<Text>("集"),
                                             std::optional<Text>("a|b"), std::optional<Text>()}) {
        user->answerMessageBox(dialogButton::ok);
        ASSERT_TRUE(edit.rename(1, 二级_重命名, typed));
        EXPECT_TREE((Tree{cat("分类"), sub("Y", false)}));
    }
    EXPECT_EQ(dialogsOfKind(*user, DialogKind::MessageBox).size(), 5u);
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类|Y");

    // A category renames the same way.
    ASSERT_TRUE(edit.rename(0, 一级_重命名, Text("宋体")));
    EXPECT_TREE((Tree{cat("宋体"), sub("Y", false)}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|宋体|Y");
}

TEST_P(AppSuite, aClickElsewhereEndsTheRenameAsEnterDoes) {
    writeTree({{1, "A", true}, {1, "B", true}});
    writeTestFile(file(app::kNamesFile), "|A|B");
    startProgram();
    TreeEditing edit(*user, clock);
    edit.whileEditing([&] { user->focus(window, 编辑框_内容); });
    user->answerMessageBox(dialogButton::ok); // nothing was typed: the name is kept, which exists
    ASSERT_TRUE(edit.choose(1, 一级_重命名));
    EXPECT_FALSE(user->treeEditing(window, 树型框1));
    EXPECT_EQ(dialogsOfKind(*user, DialogKind::MessageBox).size(), 1u);
    EXPECT_TREE((Tree{cat("A", false), cat("B", false)}));
}

TEST_P(AppSuite, aProgramClosedDuringTheRenameDoesNotWaitForIt) {
    writeTree({{1, "A", true}});
    writeTestFile(file(app::kNamesFile), "|A");
    startProgram();
    TreeEditing edit(*user, clock);
    edit.whileEditing([&] { user->closeThroughFrame(window); });
    ASSERT_TRUE(edit.choose(0, 一级_重命名));
    EXPECT_EQ(exitCodes, std::vector<int>{-100});
    EXPECT_EQ(treeOf(treeFileRecords()), Tree{cat("A", false)});
    EXPECT_EQ(fileBytes(app::kNamesFile), "|A");
}

TEST_P(AppSuite, aFolderWhoseLabelOrPathTheFolderTableWouldCutIsNotAdded) {
    const Text longLabel = makeFolder(Text(101, 'L'));
    makeFonts(longLabel, 1);
    Text deepName = "d";
    makeFolder(deepName);
    while (file(deepName).size() <= 200) {
        deepName += "\\" + Text(40, 'p');
        makeFolder(deepName);
    }
    const Text deep = file(deepName);
    makeFonts(deep, 1);
    writeTree({{1, "分类", true, true}});
    writeTestFile(file(app::kNamesFile), "|分类");
    startProgram();
    TreeEditing edit(*user, clock);

    for (const Text& picked : {longLabel, deep}) {
        user->answerFolderPicker(picked);
        ASSERT_TRUE(edit.choose(0, 一级_添加文件夹)) << picked;
        EXPECT_TREE(Tree{cat("分类")});
        EXPECT_TRUE(folderRecords().empty());
        EXPECT_TRUE(user->windowOnTop(window)); // restored as after a cancelled picker
    }
    // Both folders were picked, not given up on.
    const auto pickers = dialogsOfKind(*user, DialogKind::FolderPicker);
    ASSERT_EQ(pickers.size(), 2u);
    EXPECT_TRUE(pickers[0].answered && pickers[1].answered);
}

TEST_P(AppSuite, anAddedFolderIsNamedAfterItsLastPathElementAndScanned) {
    const Text folder = makeFolder("宋体集");
    const auto fontFiles = makeFonts(folder, 3);
    writeTree({{1, "分类", true, true}, {2, "子分类", true}});
    writeTestFile(file(app::kNamesFile), "|分类|子分类");
    startProgram();
    ASSERT_TRUE(user->windowOnTop(window));
    TreeEditing edit(*user, clock);

    user->answerFolderPicker(folder);
    ASSERT_TRUE(edit.choose(1, 二级_添加文件夹));
    EXPECT_TREE((Tree{cat("分类"), sub("子分类"), node(3, "宋体集")}));
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 2);
    EXPECT_TRUE(sameRecords(folderRecords(), {{"宋体集", folder}}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类|子分类");
    const auto pickers = dialogsOfKind(*user, DialogKind::FolderPicker);
    ASSERT_EQ(pickers.size(), 1u);
    EXPECT_EQ(pickers[0].folderPicker.title, "请选择一个文件夹");
    EXPECT_EQ(pickers[0].folderPicker.initialPath, "");
    EXPECT_EQ(pickers[0].folderPicker.flags, 0x50u);
    // The closing scan found the folder that the selection's scan could not resolve yet.
    EXPECT_EQ(scannedFonts().size(), fontFiles.size());
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_TRUE(user->windowOnTop(window));

    // Off the top-most band afterwards when the tray menu says so; a cancelled picker changes
    // nothing but still scans.
    trayMenu(总在最前);
    ASSERT_FALSE(menuChecked(总在最前));
    const std::size_t addedBefore = fonts.added.size();
    const auto sleptBefore = clock.slept();
    user->answerFolderPicker(Text());
    ASSERT_TRUE(edit.choose(0, 一级_添加文件夹));
    EXPECT_TREE((Tree{cat("分类"), sub("子分类"), node(3, "宋体集")}));
    EXPECT_TRUE(sameRecords(folderRecords(), {{"宋体集", folder}}));
    EXPECT_FALSE(user->windowOnTop(window));
    // The right click's scan and the closing one each listed the category's fonts (each with its
    // scan window's half-second pause); the labels kept holding them, so none was loaded again.
    EXPECT_GE(clock.slept(), sleptBefore + 2 * 500u);
    EXPECT_EQ(scannedFonts(), fontFiles);
    EXPECT_EQ(fonts.added.size(), addedBefore);
    EXPECT_EQ(heldFonts(), fontFiles);

    // The same folder again: a second node, the record it already has.
    user->answerFolderPicker(folder);
    ASSERT_TRUE(edit.choose(0, 一级_添加文件夹));
    EXPECT_TREE((Tree{cat("分类"), sub("子分类"), node(3, "宋体集"), node(2, "宋体集")}));
    EXPECT_TRUE(sameRecords(folderRecords(), {{"宋体集", folder}}));
}

TEST_P(AppSuite, aDriveRootIsLabelledByItsDrive) {
    // Only a scripted picker can hand back a drive without walking a real one.
    if (GetParam() != &headlessKit()) GTEST_SKIP() << "the Win32 picker would have to walk a whole drive";
    writeTree({{1, "分类", true}});
    startProgram();
    TreeEditing edit(*user, clock);
    user->answerFolderPicker("E:\\");
    ASSERT_TRUE(edit.choose(0, 一级_添加文件夹));
    EXPECT_TREE((Tree{cat("分类"), node(2, "E:")}));
    EXPECT_TRUE(sameRecords(folderRecords(), {{"E:", "E:\\"}}));
}

// 分类A > 子分类 > f1, 分类A > f2, 分类B > f3, every folder registered.
class RemoveFixture {
public:
    static std::vector<TreeEntry> tree() {
        return {{1, "分类A", true, true},
                {2, "子分类", true, true},
                {3, "f1"},
                {2, "f2"},
                {1, "分类B", true, true},
                {2, "f3"}};
    }
    static std::vector<FolderRecord> records() {
        return {{"f1", "D:\\f1"}, {"f2", "D:\\f2"}, {"f3", "D:\\f3"}};
    }
};

TEST_P(AppSuite, removingACategoryTakesTheRecordsOfEveryFolderBelowIt) {
    writeTree(RemoveFixture::tree());
    writeTestFile(file(app::kNamesFile), "|分类A|子分类|分类B");
    writeFolderTable(RemoveFixture::records());
    startProgram();
    TreeEditing edit(*user, clock);

    user->answerMessageBox(dialogButton::no);
    ASSERT_TRUE(edit.choose(0, 一级_移除该分类));
    auto boxes = dialogsOfKind(*user, DialogKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].messageBox.text, "是否移除分类：分类A");
    EXPECT_EQ(boxes[0].messageBox.title, "删除分类当中");
    EXPECT_EQ(boxes[0].messageBox.flags, 4u | kTaskModal);
    EXPECT_EQ(boxes[0].messageBox.owner.window, std::optional<WindowId>(window));
    EXPECT_EQ(shownTree().size(), 6u);
    EXPECT_FALSE(fileExists(app::kTreeFile) && treeFileRecords().size() != 6u);
    EXPECT_EQ(folderRecords().size(), 3u);

    user->answerMessageBox(dialogButton::yes);
    ASSERT_TRUE(edit.choose(0, 一级_移除该分类));
    EXPECT_TREE((Tree{cat("分类B"), node(2, "f3")}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类B");
    EXPECT_TRUE(sameRecords(folderRecords(), {{"f3", "D:\\f3"}}));
}

TEST_P(AppSuite, removingASubcategoryOrAFolderTakesOnlyTheirRecords) {
    writeTree(RemoveFixture::tree());
    writeTestFile(file(app::kNamesFile), "|分类A|子分类|分类B");
    writeFolderTable(RemoveFixture::records());
    startProgram();
    TreeEditing edit(*user, clock);

    user->answerMessageBox(dialogButton::yes);
    ASSERT_TRUE(edit.choose(1, 二级_移除该子分类));
    auto boxes = dialogsOfKind(*user, DialogKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].messageBox.text, "是否移除子分类：子分类");
    EXPECT_EQ(boxes[0].messageBox.title, "删除子分类当中");
    EXPECT_TREE((Tree{cat("分类A"), node(2, "f2"), cat("分类B"), node(2, "f3")}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类A|分类B");
    EXPECT_TRUE(sameRecords(folderRecords(), {{"f2", "D:\\f2"}, {"f3", "D:\\f3"}}));

    user->answerMessageBox(dialogButton::yes);
    ASSERT_TRUE(edit.choose(3, 三级_移除该文件夹));
    boxes = dialogsOfKind(*user, DialogKind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].messageBox.text, "是否移除文件夹：f3");
    EXPECT_EQ(boxes[1].messageBox.title, "删除文件夹当中");
    EXPECT_TREE((Tree{cat("分类A"), node(2, "f2"), cat("分类B")}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类A|分类B"); // a folder is no name
    EXPECT_TRUE(sameRecords(folderRecords(), {{"f2", "D:\\f2"}}));
}

TEST_P(AppSuite, aFolderRecordSharedByTwoNodesStaysUntilItsLastNodeIsRemoved) {
    const Text song = makeFolder("song");
    makeFonts(song, 9);
    writeTree({{1, "分类A", true, true}, {2, "Song"}, {1, "分类B", true, true}, {2, "Song"}});
    writeTestFile(file(app::kNamesFile), "|分类A|分类B");
    writeFolderTable({{"Song", song}});
    startProgram();
    TreeEditing edit(*user, clock);

    user->answerMessageBox(dialogButton::yes);
    ASSERT_TRUE(edit.choose(0, 一级_移除该分类));
    EXPECT_TREE((Tree{cat("分类B"), node(2, "Song")}));
    EXPECT_TRUE(sameRecords(folderRecords(), {{"Song", song}}));
    // The node left still shows its folder, under its own label.
    ASSERT_TRUE(selectItem(1));
    EXPECT_EQ(pageLabel(), "页次：1/2");
    EXPECT_EQ(shownTree()[1].text, "Song");

    user->answerMessageBox(dialogButton::yes);
    ASSERT_TRUE(edit.choose(1, 三级_移除该文件夹));
    EXPECT_TREE((Tree{cat("分类B")}));
    EXPECT_TRUE(folderRecords().empty());
}

TEST_P(AppSuite, aRemoveAfterADeferredScanKeepsTheOtherFoldersRecord) {
    const Text a = makeFolder("a"), b = makeFolder("b");
    makeFonts(a, 2);
    makeFonts(b, 2);
    registerFolders({{"a", a}, {"b", b}});
    startProgram();
    TreeEditing edit(*user, clock);
    // While the scan of a runs, the user right-clicks b: its scan waits for a's, and the remove
    // chosen meanwhile finds a's labels gathered.
    user->later([&] {
        user->answerMessageBox(dialogButton::yes);
        edit.choose(2, 三级_移除该文件夹);
    });
    ASSERT_TRUE(selectItem(1));
    const auto boxes = dialogsOfKind(*user, DialogKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].messageBox.text, "是否移除文件夹：b");
    EXPECT_TREE((Tree{cat("分类"), node(2, "a")}));
    EXPECT_TRUE(sameRecords(folderRecords(), {{"a", a}}));
}

TEST_P(AppSuite, removingAFontSetTakesNoFolderRecordOfTheSameName) {
    const Text folder = makeFolder("常用");
    makeFonts(folder, 1);
    writeTree({{1, "分类", true, true}, {2, "常用"}, {1, "集", true, true}, {2, "常用"}});
    writeTestFile(file(app::kNamesFile), "|分类|集");
    writeFolderTable({{"常用", folder}});
    startProgram();
    TreeEditing edit(*user, clock);
    user->answerMessageBox(dialogButton::yes);
    ASSERT_TRUE(edit.choose(3, 三级_移除该文件夹));
    EXPECT_EQ(visibleCaptions(lastPopup()).front(), "移除本集");
    EXPECT_TREE((Tree{cat("分类"), node(2, "常用"), cat("集")}));
    EXPECT_TRUE(sameRecords(folderRecords(), {{"常用", folder}}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类|集");
}

TEST_P(AppSuite, movingTheSecondOfThreeCategoriesDownSwapsBothSubtrees) {
    writeTree({{1, "A", true, true},
               {2, "fa"},
               {1, "B", true, false},
               {2, "S", true, true},
               {3, "fb"},
               {1, "C", true, true},
               {2, "fc1"},
               {2, "fc2"}});
    writeTestFile(file(app::kNamesFile), "|A|B|S|C");
    writeFolderTable(unreachable({"fa", "fb", "fc1", "fc2"}));
    startProgram();
    TreeEditing edit(*user, clock);
    ASSERT_TRUE(edit.choose(2, 一级_下移));
    // Both swapped items expanded, everything below them collapsed.
    EXPECT_TREE((Tree{cat("A"), node(2, "fa"), cat("C"), node(2, "fc1"), node(2, "fc2"), cat("B"),
                      sub("S", false), node(3, "fb")}));
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 5);
    EXPECT_EQ(state().scan.scanNames, std::vector<Text>{"fb"}); // the selection at the new place scanned
    for (const ItemRecord& r : treeFileRecords()) {
        EXPECT_EQ(r.image, 0);
        EXPECT_EQ(r.selectedImage, 0);
        EXPECT_EQ(r.value, 0);
    }
    EXPECT_EQ(fileBytes(app::kNamesFile), "|A|B|S|C"); // a move renames nothing

    // And back up again.
    ASSERT_TRUE(edit.choose(5, 一级_上移));
    EXPECT_TREE((Tree{cat("A"), node(2, "fa"), cat("B"), sub("S", false), node(3, "fb"), cat("C"),
                      node(2, "fc1"), node(2, "fc2")}));
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 2);
}

TEST_P(AppSuite, theFirstChildUpAndTheLastChildDownOnlySave) {
    writeTree({{1, "A", true, true}, {2, "f1"}, {2, "f2"}, {1, "B", true}});
    writeFolderTable(unreachable({"f1", "f2"}));
    startProgram();
    TreeEditing edit(*user, clock);
    const Tree unchanged{cat("A"), node(2, "f1"), node(2, "f2"), cat("B", false)};
    ASSERT_TRUE(edit.choose(0, 一级_上移));
    EXPECT_TREE(unchanged);
    ASSERT_TRUE(edit.choose(3, 一级_下移));
    EXPECT_TREE(unchanged);
    ASSERT_TRUE(edit.choose(1, 三级_上移));
    EXPECT_TREE(unchanged);
    ASSERT_TRUE(edit.choose(2, 三级_下移));
    EXPECT_TREE(unchanged);
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 2);
}

TEST_P(AppSuite, aFolderMovedUpPastASubcategoryStaysPlainAndTheSubcategoryBold) {
    writeTree({{1, "A", true, true}, {2, "S", true, true}, {3, "f1"}, {3, "f2"}, {2, "f3"}});
    writeFolderTable(unreachable({"f1", "f2", "f3"}));
    startProgram();
    TreeEditing edit(*user, clock);
    ASSERT_TRUE(edit.choose(4, 三级_上移));
    EXPECT_TREE((Tree{cat("A"), node(2, "f3", true), sub("S"), node(3, "f1"), node(3, "f2")}));
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 1);

    // A folder under a subcategory moves among its siblings only.
    ASSERT_TRUE(edit.choose(4, 三级_上移));
    EXPECT_TREE((Tree{cat("A"), node(2, "f3", true), sub("S"), node(3, "f2", true), node(3, "f1", true)}));
}

TEST_P(AppSuite, aMoveWhoseTreeChangedDuringItsTurnsChangesNothing) {
    // The headless queue keeps the order of the test's action and the menu's command; a system
    // queue under Wine does not promise to.
    if (GetParam() != &headlessKit()) GTEST_SKIP() << "needs the action inside the move's turns";
    writeTree({{1, "A", true}, {1, "B", true}, {1, "C", true}});
    startProgram();
    TreeEditing edit(*user, clock);
    // The move's snapshots give the message loop turns; in one of them the user adds a category.
    user->later([&] {
        user->later([&] {
            user->answerInputBox(Text("D"));
            click(按钮_添加分类);
        });
    });
    ASSERT_TRUE(edit.choose(0, 一级_下移));
    EXPECT_TREE((Tree{cat("A", false), cat("B", false), cat("C", false), cat("D", false)}));
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 0);
}

TEST_P(AppSuite, aWholeTreeBuiltRenamedMovedAndPrunedComesBackAfterTheExit) {
    const Text song = makeFolder("宋体库"), hei = makeFolder("黑体库"), kai = makeFolder("楷体库");
    makeFonts(song, 2);
    makeFonts(hei, 1);
    makeFonts(kai, 3);
    startProgram();
    TreeEditing edit(*user, clock);

    user->answerInputBox(Text("衬线"));
    ASSERT_TRUE(click(按钮_添加分类));
    user->answerInputBox(Text("无衬线"));
    ASSERT_TRUE(click(按钮_添加分类));
    user->answerInputBox(Text("常用"));
    ASSERT_TRUE(edit.choose(0, 一级_添加子分类));
    user->answerFolderPicker(song);
    ASSERT_TRUE(edit.choose(1, 二级_添加文件夹));
    user->answerFolderPicker(kai);
    ASSERT_TRUE(edit.choose(0, 一级_添加文件夹));
    user->answerFolderPicker(hei);
    ASSERT_TRUE(edit.choose(4, 一级_添加文件夹));
    EXPECT_TREE((Tree{cat("衬线"), sub("常用"), node(3, "宋体库"), node(2, "楷体库"), cat("无衬线"),
                      node(2, "黑体库")}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|衬线|常用|无衬线");
    EXPECT_TRUE(sameRecords(folderRecords(), {{"宋体库", song}, {"楷体库", kai}, {"黑体库", hei}}));
    EXPECT_EQ(scannedFonts(), (std::vector<Text>{hei + "\\font1.ttf"})); // the last folder's fonts

    ASSERT_TRUE(edit.rename(4, 一级_重命名, Text("黑体类")));
    ASSERT_TRUE(edit.choose(4, 一级_上移));
    EXPECT_TREE((Tree{cat("黑体类"), node(2, "黑体库"), cat("衬线"), sub("常用", false), node(3, "宋体库"),
                      node(2, "楷体库")}));
    EXPECT_EQ(fileBytes(app::kNamesFile), "|衬线|常用|黑体类"); // a move rewrites no names

    user->answerMessageBox(dialogButton::yes);
    ASSERT_TRUE(edit.choose(5, 三级_移除该文件夹));
    const Tree finalTree{cat("黑体类"), node(2, "黑体库"), cat("衬线"), sub("常用", false),
                         node(3, "宋体库")};
    EXPECT_TREE(finalTree);
    EXPECT_TRUE(sameRecords(folderRecords(), {{"宋体库", song}, {"黑体库", hei}}));

    trayMenu(退出不推荐);
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    restartProgram();
    EXPECT_TREE(finalTree);
    EXPECT_EQ(fileBytes(app::kNamesFile), "|黑体类|衬线|常用");
    EXPECT_TRUE(sameRecords(folderRecords(), {{"宋体库", song}, {"黑体库", hei}}));
    ASSERT_TRUE(selectItem(2));
    EXPECT_EQ(scannedFonts().size(), 2u);
}

} // namespace

} // namespace glyvora::testing
