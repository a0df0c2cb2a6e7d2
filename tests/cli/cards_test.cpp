// velkaran-match --cards: the catalogue for bot authors, and the guide's tables that must match it.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;

const std::filesystem::path GuidePath = std::filesystem::path(VELKARAN_DOCS_DIR) / "bot-guide.md";

std::string ReadText(const std::filesystem::path &Path) {
    std::ifstream File(Path, std::ios::binary);
    std::ostringstream Text;
    Text << File.rdbuf();
    return Text.str();
}

// The guide's card table as the catalogue data says it must read.
std::string CardTable(const nlohmann::json &Catalogue) {
    std::string Table =
        "| card | name | En | Me | El | effect |\n"
        "|-----:|------|---:|---:|---:|--------|\n";
    for (const nlohmann::json &Card : Catalogue.at("cards")) {
        const nlohmann::json &Cost = Card.at("cost");
        Table += "| " + std::to_string(Card.at("card").get<int>()) + " | " +
                 Card.at("name").at("en").get<std::string>() + " (" +
                 Card.at("name").at("ru").get<std::string>() + ") | " +
                 std::to_string(Cost.at("energy").get<int>()) + " | " +
                 std::to_string(Cost.at("metal").get<int>()) + " | " +
                 std::to_string(Cost.at("elements").get<int>()) + " | " +
                 Card.at("effect").at("en").get<std::string>() + " |\n";
    }
    return Table;
}

// The guide's table of the starting position as the catalogue data says it must read.
std::string StartTable(const nlohmann::json &Catalogue) {
    const nlohmann::json &Start = Catalogue.at("start");
    std::string Row = "|";
    for (const char *Field :
         {"base", "shield", "batteries", "mines", "laboratories", "energy", "metal", "elements"})
        Row += " " + std::to_string(Start.at(Field).get<int>()) + " |";
    return "| base | shield | batteries | mines | laboratories | energy | metal | electro-elements |\n"
           "|-----:|-------:|----------:|------:|-------------:|-------:|------:|-----------------:|\n" +
           Row + "\n";
}

// The text of Guide between the line that begins with Begin and the line End; Found false when
// the markers are missing.
std::string Section(const std::string &Guide, const std::string &Begin, const std::string &End, bool &Found,
                    std::size_t &From, std::size_t &To) {
    const std::size_t Marker = Guide.find("\n" + Begin);
    From = Marker == std::string::npos ? std::string::npos : Guide.find('\n', Marker + 1);
    To = From == std::string::npos ? std::string::npos : Guide.find("\n" + End + "\n", From);
    Found = To != std::string::npos;
    return Found ? Guide.substr(From + 1, To + 1 - (From + 1)) : std::string();
}

TEST(Cards, TheGuideShowsTheCatalogueThatTheProgramPrints) {
    MatchFolder Folder;
    const TCliRun Json = Folder.Run({"--cards", "--json"});
    ASSERT_EQ(Json.Status, 0) << Json.Err;
    const nlohmann::json Catalogue = nlohmann::json::parse(Json.Out);
    ASSERT_EQ(Catalogue.at("cards").size(), 50u);

    // The table for a terminal says the same in both languages.
    const TCliRun Text = Folder.Run({"--cards"});
    ASSERT_EQ(Text.Status, 0) << Text.Err;
    for (const nlohmann::json &Card : Catalogue.at("cards")) {
        EXPECT_THAT(Text.Out, HasSubstr(Card.at("effect").at("ru").get<std::string>()));
        EXPECT_THAT(Text.Out, HasSubstr(Card.at("effect").at("en").get<std::string>()));
    }

    // The guide's tables, rewritten from the program's data when VELKARAN_UPDATE_GOLDEN=1.
    std::string Guide = ReadText(GuidePath);
    const std::pair<std::string, std::string> Tables[] = {
        {"<!-- start:", StartTable(Catalogue)},
        {"<!-- cards:", CardTable(Catalogue)},
    };
    const char *Update = std::getenv("VELKARAN_UPDATE_GOLDEN");
    for (const auto &[Marker, Expected] : Tables) {
        const std::string End = "<!-- end " + Marker.substr(5, Marker.size() - 6) + " -->";
        bool Found = false;
        std::size_t From = 0, To = 0;
        const std::string Shown = Section(Guide, Marker, End, Found, From, To);
        ASSERT_TRUE(Found) << "the guide lacks its " << Marker << " ... " << End << " section";
        if (Update != nullptr && std::string(Update) == "1") {
            Guide.replace(From + 1, To + 1 - (From + 1), Expected);
            std::ofstream(GuidePath, std::ios::binary) << Guide;
            continue;
        }
        EXPECT_EQ(Shown, Expected) << "docs/bot-guide.md differs from velkaran-match --cards --json; run the "
                                      "cli tests with VELKARAN_UPDATE_GOLDEN=1 to rewrite it";
    }
}

TEST(Cards, OnlyTheCatalogueGoesWithCards) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    for (const std::vector<std::string> &Arguments :
         {std::vector<std::string>{"--cards", "greedy.so", "greedy.so"},
          {"--cards", "--games", "3"},
          {"--json"}}) {
        const TCliRun Run = Folder.Run(Arguments);
        EXPECT_EQ(Run.Status, 2) << Arguments.back();
        EXPECT_EQ(Run.Out, "");
    }
}

}  // namespace
}  // namespace velkaran::testing
