// A match document read back into the results view's numbers.
#include "match_results.h"

#include "records/record_file.h"
#include "rules/player_names.h"

#include <type_traits>

namespace velkaran {
namespace {

// The name a seat of the document's configuration gives its player.
std::string ConfiguredName(const nlohmann::json &Bot) {
    if (!Bot.is_object()) return "?";
    if (const auto Human = Bot.find("human"); Human != Bot.end() && Human->is_boolean() && Human->get<bool>())
        return HumanName;
    if (const auto Name = Bot.find("name"); Name != Bot.end() && Name->is_string())
        return Name->get<std::string>();
    return "?";
}

// Member Name of Object when it has that type, else Otherwise.
template <typename T>
T MemberOr(const nlohmann::json &Object, const char *Name, T Otherwise) {
    const auto Member = Object.find(Name);
    if (Member == Object.end()) return Otherwise;
    if constexpr (std::is_same_v<T, bool>)
        return Member->is_boolean() ? Member->get<bool>() : Otherwise;
    else if constexpr (std::is_same_v<T, std::string>)
        return Member->is_string() ? Member->get<std::string>() : Otherwise;
    else
        return Member->is_number_integer() ? Member->get<T>() : Otherwise;
}

}  // namespace

std::shared_ptr<TMatchResults> LoadMatchResults(const std::string &Path, const std::string &DecimalSeparator,
                                                std::string &Error) {
    auto Results = std::make_shared<TMatchResults>();
    Results->DecimalSeparator = DecimalSeparator;
    nlohmann::json Rest;
    static const std::vector<double> NoTimes;
    Results->Archive = OpenRecordFile(
        Path, Rest,
        [&Results](const TGameRecord &Record) {
            // The second half of a series has the seats exchanged.
            const std::array<int, 2> PlayerOfSeat =
                Record.Place.Leg == 0 ? std::array{0, 1} : std::array{1, 0};
            Results->Summary.Add(Record, PlayerOfSeat, NoTimes);
        },
        Error);
    if (!Results->Archive) return nullptr;
    const auto Config = Rest.find("config");
    if (MemberOr<std::string>(Rest, "format", "") != "velkaran-match" || Config == Rest.end() ||
        !Config->is_object() || !Config->contains("bots") || !(*Config)["bots"].is_array() ||
        (*Config)["bots"].size() != 2) {
        Error = "это не документ матча (нет его настроек: \"format\": \"velkaran-match\" и \"config\")";
        return nullptr;
    }
    const nlohmann::json &Bots = (*Config)["bots"];
    Results->Names = ShownPlayerNames({ConfiguredName(Bots[0]), ConfiguredName(Bots[1])});
    const bool Series = MemberOr<bool>(*Config, "series", false);
    Results->Scope = {.Series = Series,
                      .GamesPerHalf = MemberOr<int64_t>(*Config, "games_per_half", 0),
                      .Stopped = Series && !MemberOr<bool>(Rest, "complete", true)};
    return Results;
}

}  // namespace velkaran
