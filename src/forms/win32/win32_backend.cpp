#include "forms/win32/make_backend.h"

namespace glyvora::win32 {

std::unique_ptr<Backend> makeBackend() {
    return nullptr;
}

} // namespace glyvora::win32
