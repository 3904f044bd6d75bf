#include "app/tray_icon.h"

namespace glyvora::app {

namespace {
// glyvora.ico's bytes, written out by the build: the exe's icon resource and the tray cannot differ.
const unsigned char kIcon[] = {
#include "glyvora_ico_bytes.inc"
};
} // namespace

ByteSet trayIconFile() {
    return ByteSet(kIcon, kIcon + sizeof kIcon);
}

} // namespace glyvora::app
