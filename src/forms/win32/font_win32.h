#pragma once
// A unit's font as the system's logical font descriptor, both ways. The face name is GBK in the
// unit and UTF-16 in the descriptor, so a Chinese face is found on every system.

#include "forms/font.h"
#include "forms/win32/wide_text.h"

#include <algorithm>
#include <cstring>
#include <windows.h>

namespace glyvora::win32 {

inline LOGFONTW toLogFont(const UnitFont& font) {
    LOGFONTW lf{};
    lf.lfHeight = font.height;
    lf.lfWidth = font.width;
    lf.lfEscapement = font.escapement;
    lf.lfOrientation = font.orientation;
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic ? 1 : 0;
    lf.lfUnderline = font.underline ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut ? 1 : 0;
    lf.lfCharSet = font.charset;
    lf.lfOutPrecision = font.outPrecision;
    lf.lfClipPrecision = font.clipPrecision;
    lf.lfQuality = font.quality;
    lf.lfPitchAndFamily = font.pitchAndFamily;
    // The face is cut to the 31 bytes an A descriptor holds before it is converted, so the face
    // asked for is the one a code page 936 system would look up.
    const std::wstring face = widen(font.faceName.substr(0, LF_FACESIZE - 1));
    const std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, face.data(), n * sizeof(wchar_t));
    return lf;
}

inline UnitFont fromLogFont(const LOGFONTW& lf) {
    UnitFont font;
    font.height = lf.lfHeight;
    font.width = lf.lfWidth;
    font.escapement = lf.lfEscapement;
    font.orientation = lf.lfOrientation;
    font.weight = lf.lfWeight;
    font.italic = lf.lfItalic != 0;
    font.underline = lf.lfUnderline != 0;
    font.strikeOut = lf.lfStrikeOut != 0;
    font.charset = lf.lfCharSet;
    font.outPrecision = lf.lfOutPrecision;
    font.clipPrecision = lf.lfClipPrecision;
    font.quality = lf.lfQuality;
    font.pitchAndFamily = lf.lfPitchAndFamily;
    font.faceName = narrow(lf.lfFaceName, static_cast<int>(wcsnlen(lf.lfFaceName, LF_FACESIZE)));
    return font;
}

} // namespace glyvora::win32
