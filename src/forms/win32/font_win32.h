#pragma once
// A unit's font as the system's logical font descriptor, both ways.

#include "forms/font.h"

#include <algorithm>
#include <cstring>
#include <windows.h>

namespace glyvora::win32 {

inline LOGFONTA toLogFont(const UnitFont& font) {
    LOGFONTA lf{};
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
    // The face field holds 31 bytes and its terminator.
    const std::size_t n = std::min<std::size_t>(font.faceName.size(), LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, font.faceName.data(), n);
    return lf;
}

inline UnitFont fromLogFont(const LOGFONTA& lf) {
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
    font.faceName.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    return font;
}

} // namespace glyvora::win32
