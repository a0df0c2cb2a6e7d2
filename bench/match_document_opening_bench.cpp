// Opening the results of a series of 100,000 games from its match document, as the desktop program
// does (every record read and counted, the results view's texts and the charts' points made),
// next to the same file merely parsed by the general JSON parser, events dropped. Target: under
// 2 s; the ratio to that parse in the same run shows what the fast record reader gains.
#include "match/game_loop.h"
#include "match/game_recording.h"
#include "players/quiet_game_interface.h"
#include "records/record_journal.h"
#include "summary/match_results.h"
#include "summary/results_text.h"
#include "summary/series_charts.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace {

using namespace velkaran;

constexpr int64_t GamesPerHalf = 50'000;  // 100,000 games

// Game Index of the series between two seeded players that pick among the playable cards, the
// cheap attacks first, now and then at random: games of a few dozen rounds, as real bots play.
TGameRecord PlayedGame(int64_t Index) {
    std::mt19937 Random(static_cast<uint32_t>(Index));
    const auto Start = Infallible([&Random](int32_t, TCardList *Set, const TTurnInfo *) {
        if (Set == nullptr) return;
        std::vector<int32_t> Cards;
        for (int32_t Card = 1; Card <= CardCount; ++Card) Cards.push_back(Card);
        std::shuffle(Cards.begin() + 9, Cards.end(), Random);
        for (int I = 0; I < CardSetSize; ++I) Set->Card[I] = Cards[static_cast<std::size_t>(I)];
    });
    const TGetTurnFn Turn = [&Random](int32_t, const TGameView *, const TCardList *Playable,
                                      const TTurnInfo *) {
        if (Playable == nullptr) return TTurnAnswer(0);
        int Count = 0;
        while (Count < CardSetSize && Playable->Card[Count] != 0) ++Count;
        return TTurnAnswer(Playable->Card[Random() % 4 == 0 ? Random() % static_cast<uint32_t>(Count) : 0]);
    };
    const int32_t Leg = Index < GamesPerHalf ? 0 : 1;
    const std::array<std::string, 2> Names =
        Leg == 0 ? std::array<std::string, 2>{"Alpha", "Beta"} : std::array<std::string, 2>{"Beta", "Alpha"};
    QuietGameInterface Quiet;
    TGameResult Result;
    double Now = 0;
    PlayGame(Start, Start, Turn, Turn, TGameOptions{BotsOnly | HiddenInformation | 200, Names[0], Names[1]},
             Result, Quiet, [&Now] { return Now += 0.25; });
    TGameRecord Record;
    FillRecord(Record, Result, TGamePlace{Index + 1, 0, Index % GamesPerHalf, Leg},
               {Names[0] == "Alpha" ? "alpha.so" : "beta.so", Names[0]},
               {Names[1] == "Alpha" ? "alpha.so" : "beta.so", Names[1]});
    return Record;
}

// The document, written once per run in a folder of its own.
struct TDocument {
    std::filesystem::path Folder;
    std::string Path;
    double BytesPerRecord = 0;

    TDocument() {
        char Template[] = "/tmp/velkaran-opening-bench-XXXXXX";
        if (mkdtemp(Template) == nullptr) throw std::runtime_error("no temporary folder");
        Folder = Template;
        Path = (Folder / "match.json").string();
        std::string Error;
        auto Journal = TRecordJournal::Open(Folder.string(), Error);
        if (!Journal) throw std::runtime_error(Error);
        for (int64_t Index = 0; Index < 2 * GamesPerHalf; ++Index)
            if (!Journal->Append(PlayedGame(Index))) throw std::runtime_error("the journal refused a record");
        const nlohmann::json Head = {{"format", "velkaran-match"},
                                     {"config",
                                      {{"bots", {{{"name", "Alpha"}}, {{"name", "Beta"}}}},
                                       {"series", true},
                                       {"games_per_half", GamesPerHalf}}}};
        if (!Journal->WriteDocument(Path, Head, {{"complete", true}}, Error)) throw std::runtime_error(Error);
        BytesPerRecord = static_cast<double>(std::filesystem::file_size(Path)) / (2.0 * GamesPerHalf);
    }
    ~TDocument() { std::filesystem::remove_all(Folder); }
};

const TDocument &Document() {
    static const TDocument Made;
    return Made;
}

void Counters(benchmark::State &State) {
    State.counters["Records"] = benchmark::Counter(static_cast<double>(2 * GamesPerHalf * State.iterations()),
                                                   benchmark::Counter::kIsRate);
    State.counters["BytesPerRecord"] = Document().BytesPerRecord;
}

// What the desktop program does to show the document: read and count every record (into the
// archive the replays read), then make the results view's texts and the charts' points.
void OpenResults(benchmark::State &State) {
    const TDocument &Made = Document();
    for (auto _ : State) {
        std::string Error;
        const std::shared_ptr<TMatchResults> Results = LoadMatchResults(Made.Path, ",", Error);
        if (!Results) {
            State.SkipWithError(Error.c_str());
            break;
        }
        benchmark::DoNotOptimize(ResultsText(Results->Summary, Results->Names, Results->Scope, ","));
        benchmark::DoNotOptimize(SeriesCharts(Results->Summary, Results->Names, ","));
    }
    Counters(State);
}
BENCHMARK(OpenResults)->Unit(benchmark::kMillisecond);

// Parser events that are merely taken.
struct TNoEvents : nlohmann::json_sax<nlohmann::json> {
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t &) override { return true; }
    bool string(string_t &) override { return true; }
    bool binary(binary_t &) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool key(string_t &) override { return true; }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override {
        return false;
    }
};

// The floor: the same file's JSON parsed, every event dropped as it comes.
void ParseOnly(benchmark::State &State) {
    const TDocument &Made = Document();
    for (auto _ : State) {
        std::ifstream In(Made.Path, std::ios::binary);
        TNoEvents Events;
        if (!nlohmann::json::sax_parse(In, &Events)) State.SkipWithError("the document does not parse");
    }
    Counters(State);
}
BENCHMARK(ParseOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
