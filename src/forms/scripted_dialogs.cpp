#include "forms/scripted_dialogs.h"

#include <algorithm>

namespace glyvora {

namespace {

// Moves the next scripted answer of a queue into `into`; false when none is queued.
template <typename Answer, typename Into>
bool takeAnswer(std::deque<Answer>& queue, Into& into) {
    if (queue.empty()) return false;
    into = std::move(queue.front());
    queue.pop_front();
    return true;
}

} // namespace

int closingButton(unsigned flags) {
    switch (flags & 0xF) {
    case 0:
        return dialogButton::ok;
    case 2:
        return dialogButton::abort;
    case 4:
        return dialogButton::no;
    default:
        return dialogButton::cancel;
    }
}

ShownDialog& ScriptedDialogs::record(DialogKind kind) {
    ShownDialog& shown = shown_.emplace_back();
    shown.kind = kind;
    return shown;
}

bool ScriptedDialogs::open(const MessageBoxRequest& request, int& answer) {
    ShownDialog& shown = record(DialogKind::MessageBox);
    shown.messageBox = request;
    shown.answered = takeAnswer(messageBoxes_, answer);
    return shown.answered;
}

bool ScriptedDialogs::open(const InputBoxRequest& request, std::optional<Text>& answer) {
    ShownDialog& shown = record(DialogKind::InputBox);
    shown.inputBox = request;
    shown.answered = takeAnswer(inputBoxes_, answer);
    return shown.answered;
}

bool ScriptedDialogs::open(const FolderPickerRequest& request, Text& answer) {
    ShownDialog& shown = record(DialogKind::FolderPicker);
    shown.folderPicker = request;
    shown.answered = takeAnswer(folders_, answer);
    return shown.answered;
}

bool ScriptedDialogs::open(const ColourChoiceRequest& request, std::optional<Colour>& answer) {
    ShownDialog& shown = record(DialogKind::ColourChoice);
    shown.colourChoice = request;
    shown.answered = takeAnswer(colours_, answer);
    return shown.answered;
}

bool ScriptedDialogs::open(const PopupMenuRequest& request, UnitId& answer,
                           const std::function<bool(UnitId)>& choosable) {
    ShownDialog& shown = record(DialogKind::PopupMenu);
    shown.popupMenu = request;
    shown.answered = takeAnswer(popupItems_, answer) && (answer == 0 || choosable(answer));
    return shown.answered;
}

int ScriptedDialogs::unanswered() const {
    return static_cast<int>(
        std::count_if(shown_.begin(), shown_.end(), [](const ShownDialog& d) { return !d.answered; }));
}

} // namespace glyvora
