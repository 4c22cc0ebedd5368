// The program's own page names every free face the program draws its texts in,
// so its credits cannot drift from the font map.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/Font.h"

TEST(ProgramPageTest, NamesEveryFaceOfTheFontMapAndOpenMojisAttribution) {
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
    EXPECT_NE(page.find("All emojis designed by OpenMoji – the open-source emoji and icon project. License: CC BY-SA 4.0"),
              std::string::npos);
    EXPECT_NE(page.find("адаптации"), std::string::npos) << "the pictures are said to be adaptations";
}

TEST(ProgramPageTest, TheProgramsFolderCarriesItsLicencesBesideThePage) {
    for (const char* file : {"pyatnushki.html", "LICENSES.md", "CC-BY-SA-4.0.txt"}) {
        EXPECT_TRUE(std::ifstream(std::string(PYATNUSHKI_STAGE_DIR "/") + file).good()) << file;
    }
    std::ifstream licence(PYATNUSHKI_STAGE_DIR "/CC-BY-SA-4.0.txt");
    const std::string text{std::istreambuf_iterator<char>(licence), {}};
    EXPECT_NE(text.find("Attribution-ShareAlike 4.0 International"), std::string::npos);
}
