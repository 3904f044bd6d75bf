#pragma once
// Typing as an input method delivers text: one Unicode key press and release per character
// (VK_PACKET), into the control with the keyboard focus.

#include <string>
#include <vector>
#include <windows.h>

namespace glyvora::testing {

// `finalKey`, when given, is pressed after the text as an ordinary key.
inline bool typeAsInputMethod(const std::wstring& text, WORD finalKey = 0) {
    std::vector<INPUT> inputs;
    for (wchar_t ch : text) {
        INPUT press{};
        press.type = INPUT_KEYBOARD;
        press.ki.wScan = static_cast<WORD>(ch);
        press.ki.dwFlags = KEYEVENTF_UNICODE;
        INPUT release = press;
        release.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(press);
        inputs.push_back(release);
    }
    if (finalKey) {
        INPUT press{};
        press.type = INPUT_KEYBOARD;
        press.ki.wVk = finalKey;
        INPUT release = press;
        release.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(press);
        inputs.push_back(release);
    }
    const UINT n = static_cast<UINT>(inputs.size());
    return SendInput(n, inputs.data(), sizeof(INPUT)) == n;
}

} // namespace glyvora::testing
