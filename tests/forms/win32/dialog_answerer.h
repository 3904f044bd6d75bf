#pragma once
// Answers the program's real dialogs the way a user does: told of each dialog as it opens, it
// finds the dialog's window (a #32770 dialog, the folder picker, the #32768 popup menu) from a
// timer that runs inside the dialog's modal loop, and answers it with window messages (text set
// into the edit line, a button pressed, keys sent to the menu). A dialog without a scripted answer
// is closed as Esc closes it and counted as unanswered.

#include "forms/user_driver.h"
#include "forms/win32/dialogs_win32.h"

#include <deque>
#include <optional>
#include <vector>

namespace glyvora::testing::win32 {

class DialogAnswerer final : public glyvora::win32::DialogWatcher {
public:
    DialogAnswerer();
    ~DialogAnswerer() override;

    void answerMessageBox(int button);
    void answerInputBox(std::optional<Text> text);
    void answerFolderPicker(Text path);
    void answerColourChoice(std::optional<Colour> colour);
    void answerPopupMenu(UnitId item);

    std::vector<ShownDialog> dialogs() const { return dialogs_; }
    int unansweredDialogs() const;

    void messageBoxOpening(const MessageBoxRequest& request) override;
    void inputBoxOpening(const InputBoxRequest& request) override;
    void folderPickerOpening(const FolderPickerRequest& request) override;
    void colourChoiceOpening(const ColourChoiceRequest& request) override;
    void popupMenuOpening(const PopupMenuRequest& request) override;

private:
    std::deque<int> messageBoxAnswers_;
    std::deque<std::optional<Text>> inputBoxAnswers_;
    std::deque<Text> folderAnswers_;
    std::deque<std::optional<Colour>> colourAnswers_;
    std::deque<UnitId> popupAnswers_;
    std::vector<ShownDialog> dialogs_;
};

} // namespace glyvora::testing::win32
