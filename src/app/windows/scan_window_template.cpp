#include "app/windows/scan_window_template.h"

#include "app/windows/unit_builders.h"

namespace glyvora {

namespace {

WindowTemplate buildScanWindow() {
    using namespace build;
    using namespace scanwin;
    WindowTemplate t;
    t.window = scanwin::window;
    t.windowUnit = scanwin::windowUnit;
    t.units.push_back(build::windowUnit(scanwin::windowUnit, 380, 111, false, true));
    t.units.push_back(control(进度条1, UnitType::ProcessBar, "进度条1", 16, 56, 352, 32));
    t.units.push_back(label(标签1, "标签1", 16, 24, 104, 24, "正在扫描字体…"));
    return t;
}

} // namespace

const WindowTemplate& scanWindowTemplate() {
    static const WindowTemplate t = buildScanWindow();
    return t;
}

} // namespace glyvora
