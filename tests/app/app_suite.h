#pragma once
// The application's scenario suite: the program started in a fresh program directory on a backend,
// driven as a user through the user driver, then checked on screen and in its files. Written once,
// instantiated for the headless backend and, in the Windows test executable, for the Win32 one.

#include "app/application.h"
#include "app/program_files.h"
#include "app/windows/ids.h"
#include "commands/conversion.h"
#include "forms/commands.h"
#include "forms/items_blob.h"
#include "forms/test_clock.h"
#include "forms/user_driver.h"
#include "platform/font_resources.h"
#include "support/temp_dir.h"
#include "tablefile/table_engine.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace glyvora::testing {

// Private font loads as the program asks for them, passed on to the system's.
class RecordingFontResources final : public FontResources {
public:
    int addPrivate(const Text& path) override {
        added.push_back(path);
        return systemFontResources().addPrivate(path);
    }
    bool removePrivate(const Text& path) override {
        removed.push_back(path);
        return systemFontResources().removePrivate(path);
    }
    Text queryFaceName(const Text& path) override { return systemFontResources().queryFaceName(path); }

    std::vector<Text> added;
    std::vector<Text> removed;
};

// One tree item of a tree file, from named fields.
struct TreeEntry {
    int depth = 1;
    Text text;
    bool bold = false;
    bool expanded = false;
};
ByteSet treeFileBytes(const std::vector<TreeEntry>& entries);

// A folder record of the folder table.
struct FolderRecord {
    Text label;
    Text path;
};
struct SetRecord {
    Text set;
    Text fontPath;
    friend bool operator==(const SetRecord&, const SetRecord&) = default;
};

class AppSuite : public ::testing::TestWithParam<const BackendKit*> {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program in the program directory, as double-clicking glyvora.exe does.
    void startProgram();
    // Ends it as a crash or the task manager would, leaving the files as they are.
    void stopProgram();
    // Stops and starts it again on the same program directory.
    void restartProgram();

    // Program files.
    Text file(const Text& name) const { return dir.file(name); }
    std::string fileBytes(const Text& name) const { return readTestFile(file(name)); }
    bool fileExists(const Text& name) const { return testFileExists(file(name)); }
    void writeTree(const std::vector<TreeEntry>& entries);
    void writeFolderTable(const std::vector<FolderRecord>& records);
    void writeSetTable(const std::vector<SetRecord>& records);
    std::vector<FolderRecord> folderRecords();
    std::vector<SetRecord> setRecords();
    std::vector<ItemRecord> treeFileRecords() const;

    // Font files: `count` small TrueType fonts named <prefix>1.ttf .. in `folder` (created), with
    // the face names <face>1 ..; returns their paths.
    std::vector<Text> makeFonts(const Text& folder, int count, const Text& prefix = "font",
                                const Text& face = "Face");
    Text makeFolder(const Text& name);
    void makeFont(const Text& path, const Text& face);

    // On screen.
    Text shown(UnitId unit) { return user->shownText(mainwin::window, unit); }
    Text pageLabel() { return shown(mainwin::标签_页次); }
    std::vector<Text> previewCaptions();
    std::vector<Text> previewFaces();
    // The whole hint of preview label k (1..8); empty when it shows no font.
    Text fullLabelHint(int k) { return user->shownHint(mainwin::window, mainwin::previewLabel(k)); }
    // Its first two lines: the face name and the path of the font it shows.
    Text labelHint(int k);
    // Its third line, naming the characters of the sample the font lacks; empty when there is none.
    Text labelMissingLine(int k);
    // The path of the font preview label k shows, as its hint tells it; empty when it shows none.
    Text labelPath(int k);
    // The fonts the last scan listed, in its order.
    std::vector<Text> scannedFonts() { return state().fonts.fontPaths; }
    // The fonts loaded privately now, in the order they were added: every add without its remove.
    std::vector<Text> heldFonts() const;
    // The face of a font made by makeFonts with its default prefix and face: font<N>.ttf is Face<N>.
    static Text madeFace(const Text& path);
    std::vector<ShownTreeItem> shownTree() { return user->shownTree(mainwin::window, mainwin::树型框1); }
    bool selectItem(int index) {
        return user->selectTreeItem(mainwin::window, mainwin::树型框1, index, false);
    }
    bool click(UnitId unit) { return user->click(mainwin::window, unit); }
    bool typeInto(UnitId unit, const Text& text) { return user->type(mainwin::window, unit, text); }
    // The wheel turned over a unit of the main window (below zero towards the user).
    bool wheelOver(UnitId unit, int notches) { return user->wheel(mainwin::window, unit, notches); }
    // A navigation key pressed into whatever has the focus in the main window.
    bool pressKey(int key) { return user->pressKey(mainwin::window, key); }
    // Right button on the tray icon, then the menu item.
    void trayMenu(UnitId item);
    bool menuChecked(UnitId item) {
        return readProperty(mainwin::window, item, prop::menuChecked) == Value(true);
    }
    // The entries of the last popup menu shown.
    std::vector<MenuEntry> lastPopup();
    std::vector<Text> visibleCaptions(const std::vector<MenuEntry>& entries);

    // A category 分类 with one folder node per record, registered in the folder table.
    void registerFolders(const std::vector<FolderRecord>& folders);
    // One folder node 字体 of `count` fonts (Face1 ..), the program started and the node selected.
    void browseFonts(int count);
    // The captions of the eight labels when labels before `firstBlank` show the sample text.
    std::vector<Text> blanks(int firstBlank, const Text& sample = "中国智造慧及全球");

    // The search box filled and the search button clicked.
    void searchFor(const Text& text);
    // The right button released over preview label k; false when swallowed.
    bool rightClickLabel(int k);
    // Number of popup menus shown so far.
    int popupsShown();
    // The entries of the submenu 添加到集 in the last popup menu shown.
    std::vector<Text> lastSetMenu();

    app::MainState& state() { return application->state(); }

    TestClock clock;
    std::unique_ptr<ScopedClock> scopedClock;
    RecordingFontResources fonts;
    std::unique_ptr<ScopedFontResources> scopedFonts;
    TempDir dir;
    std::unique_ptr<Backend> backend;
    std::unique_ptr<app::Application> application;
    std::unique_ptr<UserDriver> user;
    std::vector<int> exitCodes;
};

} // namespace glyvora::testing
