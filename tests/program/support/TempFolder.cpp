// The program test fixture and its file helpers; see TempFolder.h.
#include "support/TempFolder.h"

#include <unistd.h>
#include <zip.h>

#include <filesystem>
#include <fstream>

void TempFolderTest::SetUp() {
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    previous_ = cwd;
    char pattern[] = "/tmp/lexora-test-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    folder_ = pattern;
    ASSERT_EQ(chdir(folder_.c_str()), 0);
}

void TempFolderTest::TearDown() {
    if (!previous_.empty()) (void)chdir(previous_.c_str());
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

void WriteFile(const std::string& path, const std::string& content) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

bool WriteZip(const std::string& path, const std::vector<ZipMember>& members) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    bool ok = true;
    for (const ZipMember& m : members) {
        zip_fileinfo info = {};
        int method = m.deflate ? Z_DEFLATED : 0;
        ok = ok && zipOpenNewFileInZip(zip, m.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                       method, Z_BEST_COMPRESSION) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, m.content.data(),
                                       static_cast<unsigned>(m.content.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}
