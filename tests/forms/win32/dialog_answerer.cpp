#include "dialog_answerer.h"

#include "forms/win32/wide_text.h"
#include "platform/gbk.h"

#include <algorithm>
#include <colordlg.h>
#include <commctrl.h>
#include <cstdio>
#include <shlobj.h>

namespace glyvora::testing::win32 {

namespace {

constexpr UINT kTickMs = 15;
// A dialog that has not appeared by then was never shown (its call failed).
constexpr DWORD kFindLimitMs = 10000;
// An answered dialog still open after this is closed by force and counted as unanswered.
constexpr DWORD kCloseLimitMs = 3000;
constexpr int kFolderTreeId = 14145;
constexpr int kFolderAttempts = 40;

thread_local DialogAnswerer* current = nullptr;

bool hasClass(HWND window, const char* name) {
    char buffer[32] = {};
    return GetClassNameA(window, buffer, sizeof buffer) > 0 && lstrcmpiA(buffer, name) == 0;
}

std::vector<HWND> dialogWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) -> BOOL {
            if (hasClass(w, "#32770") || hasClass(w, "#32768"))
                reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND descendant(HWND parent, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(w) != s->id) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void press(HWND dialog, int id) {
    if (HWND button = GetDlgItem(dialog, id))
        SendMessageA(button, BM_CLICK, 0, 0);
    else
        // A box without that button still ends with its number, as the system's own code does.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// Where a menu item sits: its index at each level of submenus, empty when the menu does not
// show it.
bool pathTo(const std::vector<MenuEntry>& entries, UnitId item, std::vector<std::size_t>& path) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        path.push_back(i);
        if (entries[i].unit == item) return true;
        if (entries[i].submenu && pathTo(entries[i].children, item, path)) return true;
        path.pop_back();
    }
    return false;
}

// The keys a user presses to choose the item: the arrow stops on every entry but separators
// (disabled ones are highlighted too, they only cannot be chosen), the right arrow opens a
// submenu on its first entry, Enter chooses. Esc when the item cannot be chosen.
std::vector<WPARAM> menuKeys(const std::vector<MenuEntry>& entries, UnitId item) {
    std::vector<std::size_t> path;
    if (item == 0 || !pathTo(entries, item, path)) return {VK_ESCAPE};
    std::vector<WPARAM> keys;
    const std::vector<MenuEntry>* level = &entries;
    for (std::size_t depth = 0; depth < path.size(); ++depth) {
        const std::size_t index = path[depth];
        const MenuEntry& entry = (*level)[index];
        if (entry.disabled) return {VK_ESCAPE};
        int stops = 0;
        for (std::size_t i = 0; i <= index; ++i)
            if (!(*level)[i].separator) ++stops;
        // A submenu opens with its first entry highlighted; the top menu starts with none.
        if (depth > 0) {
            keys.push_back(VK_RIGHT);
            --stops;
        }
        keys.insert(keys.end(), static_cast<std::size_t>(stops), VK_DOWN);
        level = &entry.children;
    }
    const MenuEntry* target = nullptr;
    level = &entries;
    for (std::size_t index : path) {
        target = &(*level)[index];
        level = &target->children;
    }
    if (!target->command) return {VK_ESCAPE};
    keys.push_back(VK_RETURN);
    return keys;
}

Text caretItemText(HWND tree) {
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return Text();
    wchar_t buffer[MAX_PATH] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = MAX_PATH;
    if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return Text();
    return glyvora::win32::narrow(buffer);
}

Text lastPathPart(const Text& path) {
    Text p = path;
    while (!p.empty() && p.back() == '\\')
        p.pop_back();
    const std::size_t cut = p.rfind('\\');
    return cut == Text::npos ? Text() : p.substr(cut + 1);
}

} // namespace

DialogAnswerer::DialogAnswerer() = default;

DialogAnswerer::~DialogAnswerer() {
    disarm();
    if (current == this) current = nullptr;
}

// Each opening takes the next answer of its kind, as the headless backend does; an empty queue
// leaves the dialog unanswered, closed as Esc closes it.
void DialogAnswerer::messageBoxOpening(const MessageBoxRequest& request) {
    Task task;
    task.button = closingButton(request.flags);
    script_.open(request, task.button);
    open(std::move(task));
}

void DialogAnswerer::inputBoxOpening(const InputBoxRequest& request) {
    Task task;
    script_.open(request, task.text);
    open(std::move(task));
}

void DialogAnswerer::folderPickerOpening(const FolderPickerRequest& request) {
    Task task;
    task.text = Text(); // an empty path: Cancel
    script_.open(request, *task.text);
    open(std::move(task));
}

void DialogAnswerer::colourChoiceOpening(const ColourChoiceRequest& request) {
    Task task;
    script_.open(request, task.colour);
    open(std::move(task));
}

void DialogAnswerer::popupMenuOpening(const PopupMenuRequest& request) {
    Task task;
    task.keys = {VK_ESCAPE};
    UnitId item = 0;
    script_.open(request, item, [&](UnitId unit) {
        task.keys = menuKeys(request.entries, unit);
        return task.keys.back() == VK_RETURN;
    });
    open(std::move(task));
}

void DialogAnswerer::open(Task task) {
    task.kind = script_.shown().back().kind;
    task.shown = script_.shown().size() - 1;
    task.since = GetTickCount();
    // Only shown windows count as taken: a hidden menu window may be shown again for this one.
    task.before = dialogWindows();
    std::erase_if(task.before, [](HWND w) { return !IsWindowVisible(w); });
    // The dialogs of earlier openings have returned unless this one opens inside their modal
    // loop: only a found window that is still shown stays on the stack.
    std::erase_if(
        tasks_, [](const Task& t) { return !t.window || !IsWindow(t.window) || !IsWindowVisible(t.window); });
    tasks_.push_back(std::move(task));
    arm();
}

void DialogAnswerer::arm() {
    current = this;
    if (!timer_) timer_ = SetTimer(nullptr, 0, kTickMs, onTimer);
}

void DialogAnswerer::disarm() {
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
}

void CALLBACK DialogAnswerer::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (current) current->tick();
}

void DialogAnswerer::tick() {
    while (!tasks_.empty()) {
        Task& task = tasks_.back();
        const DWORD now = GetTickCount();
        const DWORD elapsed = now - task.since;
        if (task.stage == Task::Stage::Finding) {
            if (!find(task)) {
                if (elapsed < kFindLimitMs) return;
                tasks_.pop_back();
                continue;
            }
            task.stage = Task::Stage::Holding;
            task.since = now;
            if (inspect) inspect(task.window);
            return;
        }
        if (!IsWindow(task.window) || !IsWindowVisible(task.window)) {
            tasks_.pop_back(); // the dialog has closed: on to the one it opened inside, if any
            continue;
        }
        if (task.stage == Task::Stage::Holding) {
            if (elapsed < holdMs) return;
            task.stage = Task::Stage::Acting;
            task.since = now;
        }
        if (task.stage == Task::Stage::Acting) {
            if (act(task)) {
                task.stage = Task::Stage::Closing;
                task.since = now;
            }
            return;
        }
        if (elapsed >= kCloseLimitMs) {
            forceClose(task);
            task.since = now;
        }
        return;
    }
    disarm();
}

bool DialogAnswerer::find(Task& task) {
    for (HWND w : dialogWindows()) {
        if (std::find(task.before.begin(), task.before.end(), w) != task.before.end()) continue;
        if (!IsWindowVisible(w)) continue;
        const bool menu = hasClass(w, "#32768");
        if ((task.kind == DialogKind::PopupMenu) != menu) continue;
        if (task.kind == DialogKind::InputBox && !GetDlgItem(w, glyvora::win32::kInputBoxEditId)) continue;
        if (task.kind == DialogKind::FolderPicker && !descendant(w, kFolderTreeId)) continue;
        if (task.kind == DialogKind::ColourChoice && !GetDlgItem(w, COLOR_RED)) continue;
        task.window = w;
        return true;
    }
    return false;
}

// One step of the answer; true when it has been given.
bool DialogAnswerer::act(Task& task) {
    HWND w = task.window;
    switch (task.kind) {
    case DialogKind::MessageBox:
        press(w, task.button);
        return true;
    case DialogKind::InputBox:
        if (task.text)
            SetDlgItemTextW(w, glyvora::win32::kInputBoxEditId, glyvora::win32::widen(*task.text).c_str());
        press(w, task.text ? IDOK : IDCANCEL);
        return true;
    case DialogKind::FolderPicker: {
        if (task.text->empty()) {
            press(w, IDCANCEL);
            return true;
        }
        // The picker may ignore a selection made before its tree is filled: set it again until
        // the tree's caret is on the folder.
        const std::wstring path = glyvora::win32::widen(*task.text);
        SendMessageW(w, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        const Text shown = caretItemText(descendant(w, kFolderTreeId));
        const Text wanted = lastPathPart(*task.text);
        const bool there =
            !shown.empty() && (wanted.empty() || glyvora::gbk::equalsIgnoreCase(shown, wanted));
        if (there) {
            press(w, IDOK);
            return true;
        }
        if (++task.attempts < kFolderAttempts) return false;
        // A folder the picker cannot show (it does not exist) is not chosen in its place by
        // whatever else is selected: the user gives up.
        script_.unanswer(task.shown);
        std::fprintf(stderr, "dialog answerer: the folder picker cannot select %s; cancelling\n",
                     task.text->c_str());
        press(w, IDCANCEL);
        return true;
    }
    case DialogKind::ColourChoice:
        if (task.colour) {
            // The user types the colour into the dialog's red, green and blue fields.
            SetDlgItemInt(w, COLOR_RED, GetRValue(*task.colour), FALSE);
            SetDlgItemInt(w, COLOR_GREEN, GetGValue(*task.colour), FALSE);
            SetDlgItemInt(w, COLOR_BLUE, GetBValue(*task.colour), FALSE);
        }
        press(w, task.colour ? IDOK : IDCANCEL);
        return true;
    case DialogKind::PopupMenu:
        for (WPARAM key : task.keys)
            PostMessageA(w, WM_KEYDOWN, key, 0);
        return true;
    }
    return true;
}

// The answer did not close the dialog (a wrong path in the folder picker, a menu key that
// missed): close it as Esc does, and say so.
void DialogAnswerer::forceClose(Task& task) {
    script_.unanswer(task.shown);
    std::fprintf(stderr, "dialog answerer: dialog %zu did not close after its answer; closing it\n",
                 task.shown);
    if (task.kind == DialogKind::PopupMenu)
        EndMenu();
    else
        PostMessageA(task.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

} // namespace glyvora::testing::win32
