// Data files found loose or in the numbered and unnumbered zip archives, and reading,
// sizing and skipping them the same way in both cases.
#include <string>
#include <vector>

#include "media/LxFile.h"
#include "support/TempFolder.h"

namespace {

struct LooseFile {
    std::string path;
    std::string content;
};
struct Archive {
    std::string path;
    std::vector<ZipMember> members;
};
struct LookupCase {
    const char* title;
    std::vector<LooseFile> files;
    std::vector<Archive> archives;
    const char* open;
    const char* expected; // null: not found
};

std::string ReadAll(CLxFile& file) {
    std::string text;
    char buffer[7]; // small, so reads are split
    int got;
    while ((got = file.Read(buffer, sizeof buffer)) > 0)
        text.append(buffer, got);
    return text;
}

class DataFileTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots(".\\", "data\\");
    }
};

class DataFileLookup : public DataFileTest, public ::testing::WithParamInterface<LookupCase> {};

const LookupCase kLookups[] = {
    {"loose file ahead of data9",
     {{"data/lexora.xml", "disk"}},
     {{"data9.zip", {{"lexora.xml", "zip"}}}},
     "data\\lexora.xml",
     "disk"},
    {"higher archive number wins",
     {},
     {{"data.fonts3.zip", {{"tnr32.rle", "three"}}}, {"data.fonts7.zip", {{"tnr32.rle", "seven"}}}},
     "data\\fonts\\tnr32.rle",
     "seven"},
    {"an archive without the member is passed over",
     {},
     {{"data.fonts7.zip", {{"other.rle", "x"}}}, {"data.fonts2.zip", {{"tnr32.rle", "two"}}}},
     "data\\fonts\\tnr32.rle",
     "two"},
    {"second root after the ten numbered",
     {},
     {{"data/data.sounds.zip", {{"click.wav", "second"}}},
      {"data.sounds0.zip", {{"asterisk.wav", "no"}}}},
     "data\\sounds\\click.wav",
     "second"},
    {"numbered archive ahead of the second root",
     {},
     {{"data/data.fonts.zip", {{"a.rle", "second"}}}, {"data.fonts0.zip", {{"a.rle", "zero"}}}},
     "data\\fonts\\a.rle",
     "zero"},
    {"member name search ignores case and keeps deeper folders",
     {},
     {{"data.speech4.zip", {{"ABC/X.WAV", "speech", true}}}},
     "data\\speech\\abc\\x.wav",
     "speech"},
    {"one folder: the archive is the folder",
     {},
     {{"data5.zip", {{"lexora.xml", "five"}}}},
     "data\\lexora.xml",
     "five"},
    {"top-level file in 9.zip ahead of 0.zip",
     {},
     {{"0.zip", {{"x.xml", "zero"}}}, {"9.zip", {{"x.xml", "nine"}}}},
     "x.xml",
     "nine"},
    {"top-level file in the second root's .zip",
     {},
     {{"data/.zip", {{"x.xml", "dot"}}}},
     "x.xml",
     "dot"},
    {"slashes count as backslashes",
     {},
     {{"data.fonts1.zip", {{"tnr32.rle", "one"}}}},
     "data/fonts/tnr32.rle",
     "one"},
    {"loose file found whatever its case on disk",
     {{"Data/Lexora.XML", "disk"}},
     {},
     "data\\lexora.xml",
     "disk"},
    {"Latin-2 member stored in UTF-8",
     {},
     {{"data.hang3.zip", {{"\xC5\x91z.wav", "owl"}}}},
     "data\\hang\\\xF5z.wav",
     "owl"},
    {"a broken archive does not hide a lower one",
     {{"data9.zip", "PK not really a zip"}},
     {{"data8.zip", {{"lexora.xml", "eight"}}}},
     "data\\lexora.xml",
     "eight"},
    {"a folder is not a data file", {{"data/fonts/tnr32.rle", "x"}}, {}, "data\\fonts", nullptr},
    {"missing everywhere", {}, {{"data9.zip", {{"other.xml", "x"}}}}, "data\\lexora.xml", nullptr},
    {"member name longer than the archive format's search allows",
     {},
     {{"data.long9.zip", {{std::string(300, 'a'), "x"}}}},
     nullptr,
     nullptr},
};

TEST_P(DataFileLookup, FindsTheFileWhereTheOrderSays) {
    const LookupCase& c = GetParam();
    for (const LooseFile& f : c.files)
        WriteFile(f.path, f.content);
    for (const Archive& a : c.archives)
        ASSERT_TRUE(WriteZip(a.path, a.members));
    std::string path = c.open ? c.open : "data\\long\\" + std::string(300, 'a');

    CLxFile file;
    ASSERT_EQ(file.Open(path.c_str(), true), c.expected != nullptr);
    EXPECT_EQ(CLxFile::Exists(path.c_str()), c.expected != nullptr);
    if (!c.expected) return;
    EXPECT_EQ(file.GetSize(), static_cast<int>(std::string(c.expected).size()));
    EXPECT_EQ(ReadAll(file), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Order, DataFileLookup, ::testing::ValuesIn(kLookups),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// An installed program's two roots: the user's folder ("user") first, then the
// installed, read-only data ("inst"), each with loose files and archives.
const LookupCase kInstalledLookups[] = {
    {"the user's loose file overrides the installed one",
     {{"user/data/lexora.xml", "user"}, {"inst/data/lexora.xml", "installed"}},
     {},
     "data\\lexora.xml",
     "user"},
    {"the installed loose file when the user has none",
     {{"inst/data/fonts/tnr32.rle", "installed"}},
     {},
     "data\\fonts\\tnr32.rle",
     "installed"},
    {"the user's numbered archive overrides the installed loose file",
     {{"inst/data/fonts/tnr32.rle", "installed"}},
     {{"user/data.fonts4.zip", {{"tnr32.rle", "user zip"}}}},
     "data\\fonts\\tnr32.rle",
     "user zip"},
    {"the installed loose file ahead of the installed archive",
     {{"inst/data/sounds/click.wav", "loose"}},
     {{"inst/data.sounds.zip", {{"click.wav", "zip"}}}},
     "data\\sounds\\click.wav",
     "loose"},
    {"the installed archive last",
     {},
     {{"inst/data.sounds.zip", {{"click.wav", "zip"}}}},
     "data\\sounds\\click.wav",
     "zip"},
    {"a record only below the user's folder",
     {{"user/save/settings.xml", "mine"}},
     {},
     "save\\settings.xml",
     "mine"},
    {"nothing below the working folder itself counts",
     {{"data/lexora.xml", "working folder"}},
     {},
     "data\\lexora.xml",
     nullptr},
};

class InstalledLookup : public DataFileTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(InstalledLookup, TheUsersFolderComesFirst) {
    const LookupCase& c = GetParam();
    for (const LooseFile& f : c.files)
        WriteFile(f.path, f.content);
    for (const Archive& a : c.archives)
        ASSERT_TRUE(WriteZip(a.path, a.members));
    CLxFile::SetRoots((folder_ + "/user\\").c_str(), (folder_ + "/inst/").c_str());

    CLxFile file;
    ASSERT_EQ(file.Open(c.open, true), c.expected != nullptr);
    if (!c.expected) return;
    EXPECT_EQ(ReadAll(file), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Order, InstalledLookup, ::testing::ValuesIn(kInstalledLookups),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// The same bytes, loose, stored in an archive and deflated in one.
enum class Kind { kLoose, kStored, kDeflated };

class DataFileSkip : public DataFileTest, public ::testing::WithParamInterface<Kind> {
  protected:
    void SetUp() override {
        DataFileTest::SetUp();
        for (int i = 0; i < 300; ++i)
            content_ += static_cast<char>(i * 7 % 251);
        if (GetParam() == Kind::kLoose)
            WriteFile("data/sounds/x.wav", content_);
        else
            ASSERT_TRUE(
                WriteZip("data.sounds1.zip", {{"x.wav", content_, GetParam() == Kind::kDeflated}}));
        ASSERT_TRUE(file_.Open("data\\sounds\\x.wav", true));
    }
    int At() {
        char c = 0;
        return file_.Read(&c, 1) == 1 ? static_cast<unsigned char>(c) : -1;
    }
    int Byte(int i) const { return static_cast<unsigned char>(content_[i]); }

    std::string content_;
    CLxFile file_;
};

TEST_P(DataFileSkip, SkipsForwardAlike) {
    EXPECT_EQ(file_.GetSize(), 300);
    char head[5];
    ASSERT_EQ(file_.Read(head, 5), 5);
    EXPECT_EQ(file_.Seek(10, SEEK_CUR), 0);
    EXPECT_EQ(At(), Byte(15));
    EXPECT_EQ(file_.Seek(0, SEEK_SET), 0); // does nothing, not even rewinding
    EXPECT_EQ(At(), Byte(16));
    EXPECT_EQ(file_.Seek(20, SEEK_SET), 0);
    EXPECT_EQ(At(), Byte(20));
    EXPECT_EQ(file_.GetSize(), 300); // sizing keeps the position
    EXPECT_EQ(At(), Byte(21));
}

TEST_P(DataFileSkip, SkippingPastTheEndOfAMemberLeavesTheRest) {
    int left = file_.Seek(1000, SEEK_CUR);
    EXPECT_EQ(left, GetParam() == Kind::kLoose ? 0 : 700);
    EXPECT_EQ(At(), -1);
}

TEST_P(DataFileSkip, FromTheEndInAnArchiveCountsFromHere) {
    ::testing::internal::CaptureStdout();
    int result = file_.Seek(GetParam() == Kind::kLoose ? -200 : 100, SEEK_END);
    std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(At(), Byte(100));
    EXPECT_EQ(printed, GetParam() == Kind::kLoose ? "" : "SEEK_END not supported in zip file!\n");
}

INSTANTIATE_TEST_SUITE_P(Kinds, DataFileSkip,
                         ::testing::Values(Kind::kLoose, Kind::kStored, Kind::kDeflated));

TEST_F(DataFileTest, DeflatedMemberSizeIsItsUncompressedLength) {
    std::string text(5000, 'a');
    ASSERT_TRUE(WriteZip("data9.zip", {{"big.xml", text, true}}));
    CLxFile file;
    ASSERT_TRUE(file.Open("data\\big.xml", true));
    EXPECT_EQ(file.GetSize(), 5000);
    EXPECT_EQ(ReadAll(file), text);
}

TEST_F(DataFileTest, ClosedFileGivesNothing) {
    CLxFile file;
    EXPECT_EQ(file.GetSize(), -1);
    char c;
    EXPECT_EQ(file.Read(&c, 1), 0);
    EXPECT_EQ(file.Seek(5, SEEK_CUR), 0);
    EXPECT_FALSE(file.Open(nullptr, true));
    WriteFile("data/a.xml", "abc");
    ASSERT_TRUE(file.Open("data\\a.xml", true));
    file.Close();
    EXPECT_EQ(file.GetSize(), -1);
    EXPECT_EQ(file.Read(&c, 1), 0);
}

TEST_F(DataFileTest, ReopeningDropsTheFileBefore) {
    WriteFile("data/a.xml", "loose");
    ASSERT_TRUE(WriteZip("data3.zip", {{"b.xml", "member"}}));
    CLxFile file;
    ASSERT_TRUE(file.Open("data\\b.xml", true));
    ASSERT_TRUE(file.Open("data\\a.xml", true));
    EXPECT_EQ(ReadAll(file), "loose");
    EXPECT_FALSE(file.Open("data\\c.xml", true));
    EXPECT_EQ(file.GetSize(), -1);
}

TEST_F(DataFileTest, RootsComeFromStartUp) {
    ASSERT_TRUE(WriteZip("base/pack/data.zip", {{"a.xml", "second"}}));
    WriteFile("base/data/b.xml", "first");
    CLxFile::SetRoots("base\\", "base\\pack\\");
    CLxFile file;
    ASSERT_TRUE(file.Open("data\\a.xml", true));
    EXPECT_EQ(ReadAll(file), "second");
    ASSERT_TRUE(file.Open("data\\b.xml", true));
    EXPECT_EQ(ReadAll(file), "first");
}

} // namespace
