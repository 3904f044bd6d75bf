#include "forms/dialogs.h"

#include "platform/gbk.h"

#include <algorithm>

namespace glyvora {

unsigned messageBoxFlags(unsigned flags) {
    return (flags & kMessageBoxSystemModal) ? flags : flags | kMessageBoxTaskModal;
}

int messageBoxResult(int button) {
    return button >= 1 ? button - 1 : -1;
}

InputBoxLayout inputBoxLayout(bool withPrompt) {
    InputBoxLayout l;
    l.hasPrompt = withPrompt;
    if (withPrompt) {
        l.width = 252;
        l.height = 92;
        l.prompt = {7, 7, 238, 35};
        l.edit = {7, 45, 238, 12};
        l.okButton = {63, 66, 55, 19};
        l.cancelButton = {134, 66, 55, 19};
    } else {
        l.width = 214;
        l.height = 56;
        l.edit = {7, 7, 200, 12};
        l.okButton = {82, 30, 55, 19};
        l.cancelButton = {151, 30, 55, 19};
    }
    return l;
}

InputBoxRequest makeInputBoxRequest(const Text& prompt, const Text& title, const Text& initial, int inputMode,
                                    DialogOwner owner) {
    InputBoxRequest r;
    r.caption = title.empty() ? Text("请输入：") : title;
    r.prompt = prompt;
    r.initial = initial;
    r.inputMode = std::clamp(inputMode, 1, 4);
    r.masked = r.inputMode == 4;
    r.okText = "确认输入(&O)";
    r.cancelText = "取消(&C)";
    r.layout = inputBoxLayout(!prompt.empty());
    r.owner = owner;
    return r;
}

Text cutTrayTip(const Text& tip) {
    std::size_t end = 0;
    while (end < tip.size()) {
        const std::size_t n = gbk::charLength(tip, end);
        if (end + n > kTrayTipBytes) break;
        end += n;
    }
    return tip.substr(0, end);
}

bool isUsableIcon(const ByteSet& icon) {
    // The icon directory: reserved 0, type 1, a count, then 16 bytes per image with its size at
    // offset 8 and its offset at 12.
    auto u16 = [&](std::size_t off) { return static_cast<unsigned>(icon[off] | icon[off + 1] << 8); };
    auto u32 = [&](std::size_t off) {
        return static_cast<std::uint32_t>(icon[off]) | static_cast<std::uint32_t>(icon[off + 1]) << 8 |
               static_cast<std::uint32_t>(icon[off + 2]) << 16 |
               static_cast<std::uint32_t>(icon[off + 3]) << 24;
    };
    if (icon.size() < 6 || u16(0) != 0 || u16(2) != 1) return false;
    const std::size_t count = u16(4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        if (entry > icon.size() - 16 || icon.size() < 16) return false;
        const std::uint32_t size = u32(entry + 8), offset = u32(entry + 12);
        if (size > 0 && offset <= icon.size() && size <= icon.size() - offset) return true;
    }
    return false;
}

Text controlPanelCommandLine(int item) {
    if (item == 7) return "rundll32.exe shell32.dll,SHHelpShortcuts_RunDLL FontsFolder";
    return Text();
}

} // namespace glyvora
