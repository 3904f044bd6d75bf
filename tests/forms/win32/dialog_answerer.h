#pragma once
// Answers the program's real dialogs the way a user does: told of each dialog as it opens, it
// finds the dialog's window (a #32770 dialog, the folder picker, the #32768 popup menu) from a
// timer that runs inside the dialog's modal loop, and answers it with window messages (text set
// into the edit line, a button pressed, keys sent to the menu). A dialog without a scripted answer
// is closed as Esc closes it and counted as unanswered.

#include "forms/scripted_dialogs.h"
#include "forms/user_driver.h"
#include "forms/win32/dialogs_win32.h"

#include <functional>
#include <optional>
#include <vector>
#include <windows.h>

// The system's MessageBox macro would rename DialogKind::MessageBox; the A function is named in
// full where it is called.
#undef MessageBox

namespace glyvora::testing::win32 {

class DialogAnswerer final : public glyvora::win32::DialogWatcher {
public:
    DialogAnswerer();
    ~DialogAnswerer() override;

    void answerMessageBox(int button) { script_.answerMessageBox(button); }
    void answerInputBox(std::optional<Text> text) { script_.answerInputBox(std::move(text)); }
    void answerFolderPicker(Text path) { script_.answerFolderPicker(std::move(path)); }
    void answerColourChoice(std::optional<Colour> colour) { script_.answerColourChoice(colour); }
    void answerPopupMenu(UnitId item) { script_.answerPopupMenu(item); }

    std::vector<ShownDialog> dialogs() const { return script_.shown(); }
    int unansweredDialogs() const { return script_.unanswered(); }

    void messageBoxOpening(const MessageBoxRequest& request) override;
    void inputBoxOpening(const InputBoxRequest& request) override;
    void folderPickerOpening(const FolderPickerRequest& request) override;
    void colourChoiceOpening(const ColourChoiceRequest& request) override;
    void popupMenuOpening(const PopupMenuRequest& request) override;

    // Called with each dialog's window once it is found, before it is answered (a test looks at
    // the controls the dialog shows).
    std::function<void(HWND dialog)> inspect;
    // How long a found dialog stays open before it is answered (a screenshot of it).
    DWORD holdMs = 0;

private:
    // One dialog being answered. Dialogs open one inside another's modal loop at most, so the
    // tasks form a stack and the timer works on the innermost.
    //   finding  -> the dialog's window has not appeared yet
    //   holding  -> found, waiting out holdMs
    //   acting   -> answering (the folder picker takes several steps)
    //   closing  -> answered; done once the window has gone, forced closed when it lingers
    struct Task {
        enum class Stage { Finding, Holding, Acting, Closing };
        DialogKind kind = DialogKind::MessageBox;
        std::size_t shown = 0; // index into the script's record
        Stage stage = Stage::Finding;
        DWORD since = 0; // tick count when the stage began
        int attempts = 0;
        std::vector<HWND> before; // dialog and menu windows that existed at the opening
        HWND window = nullptr;
        int button = 0;               // message box
        std::optional<Text> text;     // input box; a folder path (empty: Cancel)
        std::optional<Colour> colour; // colour choice
        std::vector<WPARAM> keys;     // popup menu
    };
    void open(Task task);
    void tick();
    bool find(Task& task);
    bool act(Task& task);
    void forceClose(Task& task);
    void arm();
    void disarm();
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);

    std::vector<Task> tasks_;
    UINT_PTR timer_ = 0;

    ScriptedDialogs script_;
};

} // namespace glyvora::testing::win32
