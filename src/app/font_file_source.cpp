#include "app/font_file_source.h"

#include "fontfile/face_name.h"
#include "fontfile/face_tables.h"
#include "fontfile/font_rename.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/font_resources.h"

#include <utility>

namespace glyvora::app {

namespace {

// A .fon (an NE executable, "MZ" first) or a .fnt (version 2.0 or 3.0 in its first word): the
// formats whose face name the reader takes from a header rather than from a name table.
bool isBitmapFont(fontfile::FontBytes& bytes) {
    const auto start = bytes.read(0, 2);
    if (!start) return false;
    const std::uint8_t b0 = (*start)[0], b1 = (*start)[1];
    if (b0 == 'M' && b1 == 'Z') return true;
    return b0 == 0x00 && (b1 == 0x02 || b1 == 0x03);
}

} // namespace

const ProgramFontFiles::FileFacts& ProgramFontFiles::factsOf(const Text& path) {
    const auto known = facts_.find(path);
    if (known != facts_.end()) return known->second;
    if (facts_.size() >= maxFilesKept) facts_.clear();
    FileFacts facts;
    OpenedFile opened = fileSystem().openForQuery(path);
    if (opened.file) {
        if (const std::optional<std::uint64_t> size = opened.file->size()) {
            fontfile::FileFontBytes bytes(*opened.file, *size);
            // The face name as the scan derives it from the file, so the two compare equal.
            const std::u16string name = fontfile::readFaceName(bytes, fontNameLanguage());
            facts.faceName = utf16ToAnsi(name);
            const std::size_t zero = facts.faceName.find('\0');
            if (zero != Text::npos) facts.faceName.resize(zero);
            if (std::optional<fontfile::FaceTables> tables = fontfile::faceTablesOf(bytes, 0)) {
                FontFileFace face;
                face.nameTable = std::move(tables->name);
                face.headTable = std::move(tables->head);
                facts.face = std::move(face);
            } else if (!facts.faceName.empty() && isBitmapFont(bytes)) {
                FontFileFace face;
                face.bitmap = true;
                facts.face = std::move(face);
            }
        }
    }
    return facts_.emplace(path, std::move(facts)).first->second;
}

std::optional<FontFileFace> ProgramFontFiles::faceOf(const Text& path, const Text& faceName) {
    const FileFacts& facts = factsOf(path);
    if (facts.faceName.empty() || facts.faceName != faceName) return std::nullopt;
    return facts.face;
}

std::optional<PrivateFontCopy> ProgramFontFiles::privateCopyOf(const Text& path, std::uint32_t face) {
    const std::optional<ByteSet> bytes = readWholeFile(path);
    if (!bytes) return std::nullopt;
    PrivateFontCopy copy;
    // One count for the process, not for this source: the system keeps a name bound to the first
    // copy loaded under it, and a program started again in one process must not reuse its names.
    static std::uint32_t copies = 0;
    copy.faceName = fontfile::privateFaceName(++copies);
    copy.bytes = fontfile::renameFont(*bytes, copy.faceName, face);
    if (copy.bytes.empty()) return std::nullopt;
    return copy;
}

} // namespace glyvora::app
