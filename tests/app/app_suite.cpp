#include "app_suite.h"

#include "commands/conversion.h"
#include "fontfile/font_builder.h"
#include "tablefile/table_engine.h"

#include <algorithm>

namespace glyvora::testing {

namespace {

void putLe32(ByteSet& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

} // namespace

ByteSet treeFileBytes(const std::vector<TreeEntry>& entries) {
    ByteSet out;
    for (const TreeEntry& e : entries) {
        out.insert(out.end(), e.text.begin(), e.text.end());
        out.push_back(0);
        putLe32(out, 0); // image
        putLe32(out, 0); // selected image
        putLe32(out, 0); // item value
        putLe32(out, (e.bold ? kItemBold : 0u) | (e.expanded ? kItemExpanded : 0u));
        putLe32(out, static_cast<std::uint32_t>(e.depth));
    }
    return out;
}

void AppSuite::SetUp() {
    scopedClock = std::make_unique<ScopedClock>(clock);
    scopedFonts = std::make_unique<ScopedFontResources>(fonts);
}

void AppSuite::TearDown() {
    if (user) {
        EXPECT_EQ(user->unansweredDialogs(), 0) << "a dialog was shown that the test did not answer";
    }
    stopProgram();
    scopedFonts.reset();
    scopedClock.reset();
}

void AppSuite::startProgram() {
    backend = GetParam()->makeBackend();
    app::ApplicationOptions options;
    options.endProcess = [this](int code) { exitCodes.push_back(code); };
    options.endAtOnce = [this] { exitCodes.push_back(-100); };
    application = std::make_unique<app::Application>(*backend, dir.path(), options);
    user = GetParam()->makeDriver(*backend);
    ASSERT_TRUE(application->start());
}

void AppSuite::stopProgram() {
    user.reset();
    application.reset();
    backend.reset();
    CloseAllTables();
}

void AppSuite::restartProgram() {
    stopProgram();
    startProgram();
}

void AppSuite::writeTree(const std::vector<TreeEntry>& entries) {
    const ByteSet bytes = treeFileBytes(entries);
    writeTestFile(file(app::kTreeFile), std::string(bytes.begin(), bytes.end()));
}

namespace {

void writeTable(const Text& path, const ByteSet& emptyImage,
                const std::vector<std::pair<Text, Text>>& records) {
    writeTestFile(path, std::string(emptyImage.begin(), emptyImage.end()));
    ASSERT_TRUE(OpenTable(Value(path)));
    for (const auto& [first, second] : records) {
        ASSERT_TRUE(AppendBlankRecord());
        ASSERT_TRUE(WriteField(Value(1), Value(first)));
        ASSERT_TRUE(WriteField(Value(2), Value(second)));
    }
    CloseAllTables();
}

std::vector<std::pair<Text, Text>> readTable(const Text& path) {
    std::vector<std::pair<Text, Text>> records;
    CloseAllTables();
    if (!OpenTable(Value(path))) return records;
    FirstRecord();
    const std::int32_t count = RecordCount();
    for (std::int32_t r = 0; r < count; ++r) {
        records.emplace_back(ToText(ReadField(Value(1))), ToText(ReadField(Value(2))));
        SkipRecords(Value(1));
    }
    CloseAllTables();
    return records;
}

} // namespace

void AppSuite::writeFolderTable(const std::vector<FolderRecord>& records) {
    std::vector<std::pair<Text, Text>> pairs;
    for (const FolderRecord& r : records)
        pairs.emplace_back(r.label, r.path);
    writeTable(file(app::kFolderTable), table::emptyFolderTableImage(), pairs);
}

void AppSuite::writeSetTable(const std::vector<SetRecord>& records) {
    std::vector<std::pair<Text, Text>> pairs;
    for (const SetRecord& r : records)
        pairs.emplace_back(r.set, r.fontPath);
    writeTable(file(app::kSetTable), table::emptySetTableImage(), pairs);
}

// Every command of the program opens the table it uses, so a check may close them all.
std::vector<FolderRecord> AppSuite::folderRecords() {
    std::vector<FolderRecord> out;
    for (auto& [label, path] : readTable(file(app::kFolderTable)))
        out.push_back({label, path});
    return out;
}

std::vector<SetRecord> AppSuite::setRecords() {
    std::vector<SetRecord> out;
    for (auto& [set, path] : readTable(file(app::kSetTable)))
        out.push_back({set, path});
    return out;
}

std::vector<ItemRecord> AppSuite::treeFileRecords() const {
    const std::string bytes = fileBytes(app::kTreeFile);
    return parseItemsBlob(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()).records;
}

Text AppSuite::makeFolder(const Text& name) {
    const Text path = dir.file(name);
    makeTestDirectory(path);
    return path;
}

void AppSuite::makeFont(const Text& path, const Text& face) {
    SfntFont font;
    font.names.push_back(windowsName(0x0409, std::u16string(face.begin(), face.end())));
    writeTestFile(path, buildSfnt(font));
}

std::vector<Text> AppSuite::makeFonts(const Text& folder, int count, const Text& prefix, const Text& face) {
    std::vector<Text> paths;
    for (int i = 1; i <= count; ++i) {
        const Text n = std::to_string(i);
        paths.push_back(folder + "\\" + prefix + n + ".ttf");
        makeFont(paths.back(), face + n);
    }
    return paths;
}

void AppSuite::registerFolders(const std::vector<FolderRecord>& folders) {
    std::vector<TreeEntry> entries{{1, "分类", true, true}};
    for (const FolderRecord& f : folders)
        entries.push_back({2, f.label});
    writeTree(entries);
    writeFolderTable(folders);
}

void AppSuite::browseFonts(int count) {
    const Text folder = makeFolder("字体");
    makeFonts(folder, count);
    registerFolders({{"字体", folder}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
}

std::vector<Text> AppSuite::blanks(int firstBlank, const Text& sample) {
    std::vector<Text> expected;
    for (int k = 1; k <= 8; ++k)
        expected.push_back(k < firstBlank ? sample : Text());
    return expected;
}

std::vector<Text> AppSuite::previewCaptions() {
    std::vector<Text> captions;
    for (int k = 1; k <= 8; ++k)
        captions.push_back(shown(mainwin::previewLabel(k)));
    return captions;
}

namespace {

// Line `n` (0-based) of a hint and everything after it, when `rest`; otherwise that line alone.
Text hintLines(const Text& hint, int n, bool rest) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t lineBreak = hint.find("\r\n", start);
        if (lineBreak == Text::npos) return Text();
        start = lineBreak + 2;
    }
    const std::size_t end = rest ? Text::npos : hint.find("\r\n", start);
    return hint.substr(start, end == Text::npos ? Text::npos : end - start);
}

} // namespace

Text AppSuite::labelHint(int k) {
    const Text hint = fullLabelHint(k);
    const Text third = hintLines(hint, 2, true);
    return third.empty() ? hint : hint.substr(0, hint.size() - third.size() - 2);
}

Text AppSuite::labelMissingLine(int k) {
    return hintLines(fullLabelHint(k), 2, true);
}

Text AppSuite::labelPath(int k) {
    return hintLines(fullLabelHint(k), 1, false);
}

std::vector<Text> AppSuite::heldFonts() const {
    std::vector<Text> held = fonts.added;
    for (const Text& path : fonts.removed) {
        const auto it = std::find(held.begin(), held.end(), path);
        if (it != held.end()) held.erase(it);
    }
    return held;
}

Text AppSuite::madeFace(const Text& path) {
    const std::size_t name = path.rfind("\\font");
    const std::size_t dot = path.rfind(".ttf");
    if (name == Text::npos || dot == Text::npos || dot < name + 5) return "(not made by makeFonts)";
    return "Face" + path.substr(name + 5, dot - name - 5);
}

std::vector<Text> AppSuite::previewFaces() {
    std::vector<Text> faces;
    for (int k = 1; k <= 8; ++k) {
        const auto font = user->shownFont(mainwin::window, mainwin::previewLabel(k));
        faces.push_back(font ? font->faceName : Text("?"));
    }
    return faces;
}

void AppSuite::trayMenu(UnitId item) {
    user->answerPopupMenu(item);
    ASSERT_TRUE(user->tray(mainwin::window, TrayMouse::RightUp));
}

std::vector<MenuEntry> AppSuite::lastPopup() {
    const auto shownDialogs = user->dialogs();
    for (auto it = shownDialogs.rbegin(); it != shownDialogs.rend(); ++it)
        if (it->kind == DialogKind::PopupMenu) return it->popupMenu.entries;
    return {};
}

std::vector<Text> AppSuite::visibleCaptions(const std::vector<MenuEntry>& entries) {
    std::vector<Text> captions;
    for (const MenuEntry& e : entries)
        captions.push_back(e.caption);
    return captions;
}

void AppSuite::searchFor(const Text& text) {
    ASSERT_TRUE(typeInto(mainwin::编辑框_搜索字体内容, text));
    ASSERT_TRUE(click(mainwin::按钮_搜索字体));
}

bool AppSuite::rightClickLabel(int k) {
    return user->mouse(mainwin::window, mainwin::previewLabel(k), event::rightUp, 20, 20, 0);
}

int AppSuite::popupsShown() {
    int shownCount = 0;
    for (const ShownDialog& d : user->dialogs())
        if (d.kind == DialogKind::PopupMenu) ++shownCount;
    return shownCount;
}

std::vector<Text> AppSuite::lastSetMenu() {
    for (const MenuEntry& e : lastPopup())
        if (e.unit == mainwin::添加到集) return visibleCaptions(e.children);
    return {};
}

} // namespace glyvora::testing
