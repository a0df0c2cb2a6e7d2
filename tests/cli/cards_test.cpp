// velkaran-match --cards: the catalogue for bot authors, and the tables of the guide and of the
// Python SDK that must match it.
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
const std::filesystem::path PythonSdkPath =
    std::filesystem::path(VELKARAN_SDK_DIR) / "python" / "velkaran_bot.py";

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

// A Python string literal of Text.
std::string PythonString(const std::string &Text) {
    std::string Literal = "\"";
    for (const char Character : Text) {
        if (Character == '"' || Character == '\\') Literal += '\\';
        Literal += Character;
    }
    return Literal + "\"";
}

// The Python SDK's card table as the catalogue data says it must read.
std::string PythonCards(const nlohmann::json &Catalogue) {
    std::string Table;
    for (const nlohmann::json &Card : Catalogue.at("cards")) {
        const nlohmann::json &Cost = Card.at("cost");
        const std::string Number = std::to_string(Card.at("card").get<int>());
        Table += "    " + Number + ": Card(" + Number + ", " + PythonString(Card.at("name").at("en")) + ", " +
                 PythonString(Card.at("name").at("ru")) + ", CardCost(" +
                 std::to_string(Cost.at("energy").get<int>()) + ", " +
                 std::to_string(Cost.at("metal").get<int>()) + ", " +
                 std::to_string(Cost.at("elements").get<int>()) + "),\n             " +
                 PythonString(Card.at("effect").at("en")) + "),\n";
    }
    return Table;
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

    // The guide's tables and the Python SDK's, rewritten from the program's data when
    // VELKARAN_UPDATE_GOLDEN=1.
    struct TTable {
        std::filesystem::path File;
        std::string Begin;
        std::string End;
        std::string Expected;
    };
    const TTable Tables[] = {
        {GuidePath, "<!-- start:", "<!-- end start -->", StartTable(Catalogue)},
        {GuidePath, "<!-- cards:", "<!-- end cards -->", CardTable(Catalogue)},
        {PythonSdkPath, "    # cards: begin", "    # cards: end", PythonCards(Catalogue)},
    };
    const char *Update = std::getenv("VELKARAN_UPDATE_GOLDEN");
    for (const TTable &Table : Tables) {
        std::string Text = ReadText(Table.File);
        bool Found = false;
        std::size_t From = 0, To = 0;
        const std::string Shown = Section(Text, Table.Begin, Table.End, Found, From, To);
        ASSERT_TRUE(Found) << Table.File << " lacks its " << Table.Begin << " ... " << Table.End
                           << " section";
        if (Update != nullptr && std::string(Update) == "1") {
            Text.replace(From + 1, To + 1 - (From + 1), Table.Expected);
            std::ofstream(Table.File, std::ios::binary) << Text;
            continue;
        }
        EXPECT_EQ(Shown, Table.Expected) << Table.File
                                         << " differs from velkaran-match --cards --json; run the "
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
