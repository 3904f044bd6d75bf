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
    EXPECT_FALSE(files.faceOf(dir.file("missing.ttf"), kClashingFace));
}

TEST(ProgramFontFiles, aBitmapFontGivesABitmapFaceWithoutTablesUnderItsOwnFaceName) {
    TempDir dir;
    writeTestFile(dir.file("bitmap.fnt"), buildFnt("Liberation Sans"));
    writeTestFile(dir.file("bitmaps.fon"), buildFon({"Liberation Sans", "Liberation Sans"}));
    // Bytes that start like a .fnt but hold no face name give no face.
    writeTestFile(dir.file("cut.fnt"), std::string("\x00\x03\x10\x00", 4));
    app::ProgramFontFiles files;
    for (const char* name : {"bitmap.fnt", "bitmaps.fon"}) {
        SCOPED_TRACE(name);
        const auto face = files.faceOf(dir.file(name), kClashingFace);
        ASSERT_TRUE(face);
        EXPECT_TRUE(face->bitmap);
        EXPECT_EQ(face->face, 0u);
        EXPECT_TRUE(face->nameTable.empty() && face->headTable.empty());
        EXPECT_FALSE(files.faceOf(dir.file(name), "Liberation Serif")) << "another face name";
        const auto copy = files.privateCopyOf(dir.file(name), 0);
        ASSERT_TRUE(copy);
        const Text copied = dir.file(std::string("copy-") + name);
        writeTestFile(copied, std::string(copy->bytes.begin(), copy->bytes.end()));
        EXPECT_EQ(fontfile::faceNameOf(copied), copy->faceName);
    }
    EXPECT_FALSE(files.faceOf(dir.file("cut.fnt"), kClashingFace));
    EXPECT_FALSE(files.faceOf(dir.file("cut.fnt"), ""));
}

TEST(ProgramFontFiles, anSfntFontIsNeverTakenForABitmapFont) {
    TempDir dir;
    const std::string real = realLiberationSans();
    if (real.empty()) GTEST_SKIP() << "fonts-liberation missing";
    writeTestFile(dir.file("real.ttf"), real);
    app::ProgramFontFiles files;
    const auto face = files.faceOf(dir.file("real.ttf"), kClashingFace);
    ASSERT_TRUE(face);
    EXPECT_FALSE(face->bitmap);
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
    // A program started again in the same process must not hand out the names of the first: the
    // system keeps each name bound to the copy first loaded under it.
    app::ProgramFontFiles again;
    const auto third = again.privateCopyOf(file, 0);
    ASSERT_TRUE(third);
    EXPECT_NE(third->faceName, first->faceName);
    EXPECT_NE(third->faceName, second->faceName);
    EXPECT_FALSE(files.privateCopyOf(dir.file("missing.ttf"), 0));
}

} // namespace
} // namespace glyvora::testing
