// The check report as text and as JSON.
#include "check_report.h"

#include <algorithm>

namespace velkaran {

TCheckItem &TCheckReport::Add(std::string Check, TVerdict Verdict, std::string Summary) {
    Items.push_back(TCheckItem{std::move(Check), Verdict, std::move(Summary), {}});
    return Items.back();
}

int TCheckReport::Count(TVerdict Verdict) const {
    return static_cast<int>(std::count_if(
        Items.begin(), Items.end(), [Verdict](const TCheckItem &Item) { return Item.Verdict == Verdict; }));
}

namespace {

// Each verdict as the text shows it and as JSON names it.
struct TVerdictWords {
    TVerdict Verdict;
    const char *Text;
    const char *Name;
};

constexpr TVerdictWords VerdictWords[] = {
    {TVerdict::Pass, "PASS", "pass"},
    {TVerdict::Warn, "WARN", "warn"},
    {TVerdict::Fail, "FAIL", "fail"},
    {TVerdict::Skipped, "SKIP", "skipped"},
};

const TVerdictWords &WordsOf(TVerdict Verdict) {
    for (const TVerdictWords &Words : VerdictWords)
        if (Words.Verdict == Verdict) return Words;
    return VerdictWords[0];
}

}  // namespace

std::string VerdictText(TVerdict Verdict) { return WordsOf(Verdict).Text; }

std::string VerdictName(TVerdict Verdict) { return WordsOf(Verdict).Name; }

namespace {

std::string Counted(int Count, const std::string &One, const std::string &Many) {
    return std::to_string(Count) + " " + (Count == 1 ? One : Many);
}

}  // namespace

std::vector<std::string> ReportLines(const TCheckReport &Report) {
    std::vector<std::string> Lines{"velkaran-check: " + Report.File +
                                   (Report.Name.empty() ? std::string() : " (" + Report.Name + ")")};
    std::size_t Width = 0;
    for (const TCheckItem &Item : Report.Items) Width = std::max(Width, Item.Check.size());
    for (const TCheckItem &Item : Report.Items) {
        Lines.push_back(VerdictText(Item.Verdict) + "  " + Item.Check +
                        std::string(Width - Item.Check.size(), ' ') + "  " + Item.Summary);
        for (const std::string &Evidence : Item.Evidence) Lines.push_back("      " + Evidence);
    }
    const int Failures = Report.Count(TVerdict::Fail);
    const int Warnings = Report.Count(TVerdict::Warn);
    const std::string Warned = Warnings == 0 ? "" : ", " + Counted(Warnings, "warning", "warnings");
    Lines.push_back(Failures == 0
                        ? "Passed" + Warned + "."
                        : "Failed: " + Counted(Failures, "check", "checks") + " failed" + Warned + ".");
    return Lines;
}

nlohmann::json ReportJson(const TCheckReport &Report) {
    nlohmann::json Checks = nlohmann::json::array();
    for (const TCheckItem &Item : Report.Items)
        Checks.push_back({{"check", Item.Check},
                          {"verdict", VerdictName(Item.Verdict)},
                          {"summary", Item.Summary},
                          {"evidence", Item.Evidence}});
    return {{"format", "velkaran-check"},
            {"version", 1},
            {"file", Report.File},
            {"name", Report.Name},
            {"passed", Report.Passed()},
            {"failures", Report.Count(TVerdict::Fail)},
            {"warnings", Report.Count(TVerdict::Warn)},
            {"checks", std::move(Checks)}};
}

}  // namespace velkaran
