#include "dialog_answerer.h"

namespace glyvora::testing::win32 {

DialogAnswerer::DialogAnswerer() = default;
DialogAnswerer::~DialogAnswerer() = default;
void DialogAnswerer::answerMessageBox(int button) {
    messageBoxAnswers_.push_back(button);
}
void DialogAnswerer::answerInputBox(std::optional<Text> text) {
    inputBoxAnswers_.push_back(std::move(text));
}
void DialogAnswerer::answerFolderPicker(Text path) {
    folderAnswers_.push_back(std::move(path));
}
void DialogAnswerer::answerColourChoice(std::optional<Colour> colour) {
    colourAnswers_.push_back(colour);
}
void DialogAnswerer::answerPopupMenu(UnitId item) {
    popupAnswers_.push_back(item);
}
int DialogAnswerer::unansweredDialogs() const {
    return 0;
}
void DialogAnswerer::messageBoxOpening(const MessageBoxRequest&) {}
void DialogAnswerer::inputBoxOpening(const InputBoxRequest&) {}
void DialogAnswerer::folderPickerOpening(const FolderPickerRequest&) {}
void DialogAnswerer::colourChoiceOpening(const ColourChoiceRequest&) {}
void DialogAnswerer::popupMenuOpening(const PopupMenuRequest&) {}

} // namespace glyvora::testing::win32
