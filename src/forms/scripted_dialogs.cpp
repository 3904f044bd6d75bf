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

// Keeps the request of an opening in its slot of the record and answers it from its queue.
template <typename Request, typename Answer, typename Into>
bool keepAndAnswer(ShownDialog& shown, Request ShownDialog::*slot, const Request& request,
                   std::deque<Answer>& queue, Into& into) {
    shown.*slot = request;
    shown.answered = takeAnswer(queue, into);
    return shown.answered;
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
    return keepAndAnswer(record(DialogKind::MessageBox), &ShownDialog::messageBox, request, messageBoxes_,
                         answer);
}

bool ScriptedDialogs::open(const InputBoxRequest& request, std::optional<Text>& answer) {
    return keepAndAnswer(record(DialogKind::InputBox), &ShownDialog::inputBox, request, inputBoxes_, answer);
}

bool ScriptedDialogs::open(const FolderPickerRequest& request, Text& answer) {
    return keepAndAnswer(record(DialogKind::FolderPicker), &ShownDialog::folderPicker, request, folders_,
                         answer);
}

bool ScriptedDialogs::open(const ColourChoiceRequest& request, std::optional<Colour>& answer) {
    return keepAndAnswer(record(DialogKind::ColourChoice), &ShownDialog::colourChoice, request, colours_,
                         answer);
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
