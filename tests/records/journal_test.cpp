// The journal writes documents that read back record for record, atomically, and a damaged or
// refused document stops the reading with a reason.
#include "random_games.h"

#include "records/record_file.h"
#include "records/record_journal.h"
#include "records/record_json.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace velkaran::testing {
namespace {

class Journal : public ::testing::Test {
protected:
    Journal() {
        std::string Pattern = (std::filesystem::temp_directory_path() / "velkaran-journal-XXXXXX").string();
        Folder = mkdtemp(Pattern.data());
    }
    ~Journal() override { std::filesystem::remove_all(Folder); }
    std::filesystem::path Folder;
};

TEST_F(Journal, ADocumentReadsBackItsRecordsAndSurroundings) {
    std::string Error;
    const auto Records = TRecordJournal::Open(Folder.string(), Error);
    ASSERT_TRUE(Records) << Error;
    const std::string Path = (Folder / "games.json").string();
    for (uint32_t Seed = 0; Seed < 50; ++Seed) ASSERT_TRUE(Records->Append(RandomGameRecord(Seed)));
    ASSERT_TRUE(Records->WriteDocument(Path, {{"format", "test"}}, {{"complete", true}}, Error)) << Error;

    nlohmann::json Rest;
    uint32_t Seed = 0;
    ASSERT_TRUE(ReadDocument(
        Path, Rest,
        [&Seed](const nlohmann::json &Json, std::string &Why) {
            const auto Record = RecordFromJson(Json, Why);
            EXPECT_TRUE(Record && *Record == RandomGameRecord(Seed++));
            return Record.has_value();
        },
        Error))
        << Error;
    EXPECT_EQ(Seed, 50u);
    EXPECT_EQ(Rest, (nlohmann::json{{"format", "test"}, {"complete", true}}));
    // Only the document is left in the folder: the journal has no name, the temporary file was renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder), {}), 1);
}

TEST_F(Journal, ATruncatedOrRefusedDocumentStopsTheReading) {
    std::string Error;
    const auto Records = TRecordJournal::Open(Folder.string(), Error);
    ASSERT_TRUE(Records) << Error;
    const std::string Path = (Folder / "games.json").string();
    for (uint32_t Seed = 0; Seed < 5; ++Seed) Records->Append(RandomGameRecord(Seed));
    ASSERT_TRUE(Records->WriteDocument(Path, nlohmann::json::object(), nlohmann::json::object(), Error));

    nlohmann::json Rest;
    const auto Refuse = [](const nlohmann::json &, std::string &Why) {
        Why = "not this one";
        return false;
    };
    EXPECT_FALSE(ReadDocument(Path, Rest, Refuse, Error));
    EXPECT_EQ(Error, "not this one");

    std::filesystem::resize_file(Path, std::filesystem::file_size(Path) / 2);
    const auto Accept = [](const nlohmann::json &, std::string &) { return true; };
    EXPECT_FALSE(ReadDocument(Path, Rest, Accept, Error));
    EXPECT_NE(Error.find("is not a readable JSON document"), std::string::npos);
    EXPECT_FALSE(ReadDocument((Folder / "missing.json").string(), Rest, Accept, Error));
}

// A document of Count records, one a line after the first, with record Damaged (from 1) replaced by
// Instead.
std::string DocumentText(uint32_t Count, uint32_t Damaged = 0, const std::string &Instead = "") {
    std::string Text = "{\"format\": \"test\", \"games\": [\n";
    for (uint32_t Seed = 0; Seed < Count; ++Seed)
        Text += (Seed > 0 ? ",\n" : "") +
                (Seed + 1 == Damaged ? Instead : RecordToJson(RandomGameRecord(Seed)).dump());
    return Text + "]}";
}

TEST_F(Journal, AFileOfManyRecordsOpensInOrderAndNamesTheFirstBadRecord) {
    const std::string Path = (Folder / "games.json").string();
    const auto Open = [&Path](const std::string &Text, std::string &Error, uint32_t *Seen = nullptr) {
        std::ofstream(Path) << Text;
        nlohmann::json Rest;
        return OpenRecordFile(
            Path, Rest,
            [Seen](const TGameRecord &Record) {
                if (Seen) {
                    EXPECT_TRUE(Record == RandomGameRecord((*Seen)++));
                }
            },
            Error);
    };
    std::string Error;
    uint32_t Seen = 0;
    const auto Archive = Open(DocumentText(2500), Error, &Seen);
    ASSERT_TRUE(Archive) << Error;
    EXPECT_EQ(Seen, 2500u);
    EXPECT_EQ(Archive->Read(2222, Error), RandomGameRecord(2222));

    // The first bad record is named, whichever reader met it first.
    EXPECT_FALSE(Open(DocumentText(2500, 1301, R"({"rounds": -1})"), Error));
    EXPECT_EQ(Error, "запись игры 1301 повреждена: \"rounds\" — вне допустимых пределов");
    EXPECT_FALSE(Open(DocumentText(2500, 2401, R"({"rounds": 1,})"), Error));
    EXPECT_EQ(Error, "запись игры 2401 не является JSON (строка 2402, столбец 14)");
}

}  // namespace
}  // namespace velkaran::testing
