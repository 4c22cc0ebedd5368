// The program's own page names every free face the program draws its texts in,
// so its credits cannot drift from the font map.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/Font.h"

TEST(ProgramPageTest, NamesEveryFaceOfTheFontMapAndThePicturesSource) {
    std::ifstream in(PYATNUSHKI_SOURCE_DIR "/assets/pyatnushki.html");
    ASSERT_TRUE(in);
    const std::string page{std::istreambuf_iterator<char>(in), {}};
    for (const char* face : {"MS Sans Serif", "Palatino Linotype", "Arial Black", "Arial", "Lucida Console",
                             "Monotype Corsiva", "Garamond", "Comic Sans MS", "Wingdings 2"}) {
        for (const bool italic : {false, true}) {
            std::string family = platform::familyFor(face, italic).toStdString();
            family = family.substr(0, family.find(" ["));  // the foundry the map pins
            EXPECT_NE(page.find(family), std::string::npos) << face << (italic ? " italic" : "") << " -> " << family;
        }
    }
    EXPECT_NE(page.find("Fluent Emoji"), std::string::npos);
    EXPECT_NE(page.find("лицензия MIT"), std::string::npos);
    EXPECT_NE(page.find("адаптации"), std::string::npos) << "the pictures are said to be adaptations";
}

TEST(ProgramPageTest, TheProgramsFolderCarriesItsLicencesBesideThePage) {
    for (const char* file : {"pyatnushki.html", "LICENSES.md"}) {
        EXPECT_TRUE(std::ifstream(std::string(PYATNUSHKI_STAGE_DIR "/") + file).good()) << file;
    }
    std::ifstream licences(PYATNUSHKI_STAGE_DIR "/LICENSES.md");
    const std::string text{std::istreambuf_iterator<char>(licences), {}};
    EXPECT_NE(text.find("Permission is hereby granted"), std::string::npos) << "the MIT licence of the drawings";
}
