#include "app/font_file_source.h"

#include "fontfile/face_name.h"
#include "fontfile/face_tables.h"
#include "fontfile/font_rename.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/font_resources.h"

#include <utility>

namespace glyvora::app {

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
    copy.faceName = fontfile::privateFaceName(++copies_);
    copy.bytes = fontfile::renameFont(*bytes, copy.faceName, face);
    if (copy.bytes.empty()) return std::nullopt;
    return copy;
}

} // namespace glyvora::app
