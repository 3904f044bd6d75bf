#pragma once
// Scripted answers to the program's modal dialogs, for the backends that answer dialogs without a
// user: the headless backend and the Win32 test answerer. A script queues the answers of each kind
// in order; every dialog that opens is recorded with its request and takes the next answer of its
// kind. A dialog with none queued stays unanswered and is closed as Esc closes it.

#include "forms/dialogs.h"
#include "forms/ids.h"
#include "platform/types.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace glyvora {

enum class DialogKind { MessageBox, InputBox, FolderPicker, ColourChoice, PopupMenu };

// One dialog the program showed: the request of its kind, and whether a scripted answer closed it.
struct ShownDialog {
    DialogKind kind = DialogKind::MessageBox;
    MessageBoxRequest messageBox;
    InputBoxRequest inputBox;
    FolderPickerRequest folderPicker;
    ColourChoiceRequest colourChoice;
    PopupMenuRequest popupMenu;
    bool answered = false;
};

// The button a message box without a scripted answer is closed with: its only button, or the one
// that closing the box gives (a Yes/No box has no Cancel, so its close is No).
int closingButton(unsigned flags);

class ScriptedDialogs {
public:
    void answerMessageBox(int button) { messageBoxes_.push_back(button); }
    void answerInputBox(std::optional<Text> text) { inputBoxes_.push_back(std::move(text)); }
    void answerFolderPicker(Text path) { folders_.push_back(std::move(path)); }
    void answerColourChoice(std::optional<Colour> colour) { colours_.push_back(colour); }
    // The menu item to choose, 0 to dismiss the menu.
    void answerPopupMenu(UnitId item) { popupItems_.push_back(item); }

    // Each opening records the dialog and moves the next answer of its kind into `answer`, which
    // is left as it is when none is queued; true when one was.
    bool open(const MessageBoxRequest& request, int& answer);
    bool open(const InputBoxRequest& request, std::optional<Text>& answer);
    bool open(const FolderPickerRequest& request, Text& answer);
    bool open(const ColourChoiceRequest& request, std::optional<Colour>& answer);
    // Only an item the menu lets the user choose (shown, enabled, not a submenu or separator:
    // `choosable` says, asked only for a non-zero item) answers the menu; 0 dismisses it.
    bool open(const PopupMenuRequest& request, UnitId& answer, const std::function<bool(UnitId)>& choosable);

    const std::vector<ShownDialog>& shown() const { return shown_; }
    int unanswered() const;
    // A dialog its answer did not close (closed by force instead) counts as unanswered.
    void unanswer(std::size_t index) { shown_.at(index).answered = false; }

private:
    ShownDialog& record(DialogKind kind);

    std::deque<int> messageBoxes_;
    std::deque<std::optional<Text>> inputBoxes_;
    std::deque<Text> folders_;
    std::deque<std::optional<Colour>> colours_;
    std::deque<UnitId> popupItems_;
    std::vector<ShownDialog> shown_;
};

} // namespace glyvora
