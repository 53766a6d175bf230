// Load and store of the channel lists found among the real test files: a
// list that loads as canonical stores back byte for byte, any other stores
// to a form that then round-trips exactly.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "channellist/AtomicFile.h"
#include "channellist/CSVLFile.h"

namespace {

std::vector<std::filesystem::path> RealLists() {
    std::vector<std::filesystem::path> lists;
    std::error_code ec;
    const std::filesystem::path dir(SVL_TESTDATA_DIR);
    if (!std::filesystem::is_directory(dir, ec)) return lists;
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::string ext = it->path().extension().string();
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".svl" && it->is_regular_file(ec)) lists.push_back(it->path());
    }
    return lists;
}

TEST(RealFiles, LoadStoreRoundTrip) {
    const auto lists = RealLists();
    if (lists.empty())
        GTEST_SKIP() << "no .svl files below " << SVL_TESTDATA_DIR
                     << "; the round trip on real lists did not run";
    for (const auto& path : lists) {
        SCOPED_TRACE(path.string());
        std::vector<std::uint8_t> bytes;
        std::string readError;
        ASSERT_TRUE(ReadWholeFile(path.string(), bytes, &readError)) << readError;
        CSVLFile list;
        ArchiveError error;
        bool canonical = false;
        ASSERT_TRUE(list.Load(bytes, &error, &canonical))
            << "byte " << error.offset << ": " << error.message;
        const auto stored = list.Store();
        if (canonical) {
            EXPECT_EQ(stored, bytes);
        }
        CSVLFile again;
        bool againCanonical = false;
        ASSERT_TRUE(again.Load(stored, nullptr, &againCanonical));
        EXPECT_TRUE(againCanonical);
        EXPECT_EQ(again.Store(), stored);
        EXPECT_EQ(again.Programs.size(), list.Programs.size());
    }
}

}  // namespace
