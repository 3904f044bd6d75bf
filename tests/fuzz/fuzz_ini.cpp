// The INI reader and writer's model over any bytes: the input is the settings file's text. It is
// decoded, looked up, changed and written back, and the model's promises are checked on the way: a
// value written is what a read then finds, normalised text never holds a lone lead byte, a cut never
// grows a text. The profile calls over the same bytes as a file are fuzz_ini_profile.cpp's.
#include "platform/ini_format.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

namespace {

using namespace glyvora;

void check(bool condition) {
    if (!condition) std::abort();
}

void checkNormalised(const Text& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!ini::isLeadByte(static_cast<unsigned char>(text[i]))) continue;
        check(i + 1 < text.size() && ini::isTrailByte(static_cast<unsigned char>(text[i + 1])));
        ++i;
    }
}

// Names to try: fixed ones and the first section and key the document has.
template <typename Char>
void exerciseModel(ini::Document<Char> document, const Text& argument) {
    const ini::String<Char> name = ini::fromAnsi<Char>(ini::normaliseArgument(argument));
    std::vector<ini::String<Char>> sections = {name, ini::fromAnsi<Char>("s")};
    std::vector<ini::String<Char>> keys = {name, ini::fromAnsi<Char>("k")};
    for (const auto& section : document.sections) {
        sections.push_back(section.name);
        if (!section.keys.empty()) keys.push_back(section.keys.front().name);
        if (sections.size() > 4) break;
    }
    for (const auto& s : sections) {
        for (const auto& k : keys) {
            if (const auto* value = ini::findValue(document, s, k)) {
                for (std::size_t buffer : {0, 1, 2, 3, 5, 10240}) {
                    const auto copied = ini::copyEntry(*value, buffer);
                    check(copied.size() <= value->size());
                }
            }
        }
    }
    const ini::String<Char> fz = ini::fromAnsi<Char>("fz"), k = ini::fromAnsi<Char>("k"),
                            v = ini::fromAnsi<Char>("v");
    ini::setValue(document, fz, k, v);
    const auto* found = ini::findValue(document, fz, k);
    check(found && *found == v);
    check(!ini::setValue(document, fz, k, v));
    check(ini::removeKey(document, fz, k));
    ini::removeSection(document, sections.back());
    (void)ini::serialise(document);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    // The text rules on their own.
    const Text fileText = ini::normaliseFileText(input);
    checkNormalised(fileText);
    const Text argument = ini::normaliseArgument(input.substr(0, 64));
    checkNormalised(argument);
    for (std::size_t max : {std::size_t(0), std::size_t(1), std::size_t(7), fileText.size()}) {
        const Text cut = ini::cutToBytes(fileText, max);
        check(cut.size() <= max && fileText.compare(0, cut.size(), cut) == 0);
    }

    // The model, both for what the bytes decode to and for a rewrite of it.
    const ini::LoadedFile loaded = ini::decodeFile(input);
    std::visit([&](const auto& document) { exerciseModel(document, argument); }, loaded.document);
    // A rewrite may read differently (an ANSI file whose first key starts with FF FE reads as
    // UTF-16 afterwards, as it does for the system), but it must read.
    const ini::LoadedFile again = ini::decodeFile(ini::encodeFile(loaded));
    std::visit([&](const auto& document) { exerciseModel(document, argument); }, again.document);
    return 0;
}
