// The program's answers about a label's font file: the face a file carries under the label's face
// name, with its tables, and renamed copies that never share a name.
#include "app/font_file_source.h"
#include "clashing_faces.h"
#include "fontfile/face_name.h"

#include <gtest/gtest.h>

namespace glyvora::testing {
namespace {

TEST(ProgramFontFiles, aFileGivesItsFaceOnlyUnderItsOwnFaceName) {
    TempDir dir;
    const std::string real = realLiberationSans();
    if (real.empty()) GTEST_SKIP() << "fonts-liberation missing";
    const Text file = dir.file("real.ttf");
    writeTestFile(file, real);
    writeTestFile(dir.file("note.txt"), "no font");
    writeTestFile(dir.file("bitmap.fnt"), buildFnt("Liberation Sans"));
    app::ProgramFontFiles files;

    const auto face = files.faceOf(file, kClashingFace);
    ASSERT_TRUE(face);
    EXPECT_EQ(face->face, 0u);
    EXPECT_FALSE(face->nameTable.empty());
    EXPECT_FALSE(face->headTable.empty());
    EXPECT_FALSE(files.faceOf(file, "Liberation Serif")) << "another face name";
    EXPECT_FALSE(files.faceOf(file, "")) << "no face name";
    EXPECT_FALSE(files.faceOf(dir.file("note.txt"), "")) << "a file without a face";
    EXPECT_FALSE(files.faceOf(dir.file("bitmap.fnt"), kClashingFace)) << "a bitmap font has no tables";
    EXPECT_FALSE(files.faceOf(dir.file("missing.ttf"), kClashingFace));
}

TEST(ProgramFontFiles, everyCopyHasANameOfItsOwnThatItsFaceCarries) {
    TempDir dir;
    const std::string impostor = impostorOfLiberationSans();
    if (impostor.empty()) GTEST_SKIP() << "fonts-dejavu-core missing";
    const Text file = dir.file("impostor.ttf");
    writeTestFile(file, impostor);
    app::ProgramFontFiles files;
    const auto first = files.privateCopyOf(file, 0);
    const auto second = files.privateCopyOf(file, 0);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->faceName, second->faceName);
    const Text copy = dir.file("copy.ttf");
    writeTestFile(copy, std::string(first->bytes.begin(), first->bytes.end()));
    EXPECT_EQ(fontfile::faceNameOf(copy), first->faceName);
    EXPECT_FALSE(files.privateCopyOf(file, 1)) << "a font of its own has no second face";
    EXPECT_FALSE(files.privateCopyOf(dir.file("missing.ttf"), 0));
}

} // namespace
} // namespace glyvora::testing
