// What velkaran-check found: each check with its verdict and the evidence, as text and as JSON.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace velkaran {

enum class TVerdict { Pass, Warn, Fail, Skipped };

// One check: its name ("exports", "name", ...), its verdict, a one-line summary and the evidence.
struct TCheckItem {
    std::string Check;
    TVerdict Verdict = TVerdict::Pass;
    std::string Summary;
    std::vector<std::string> Evidence;
};

struct TCheckReport {
    std::string File;  // the bot's file name
    std::string Name;  // its name, when it loaded
    std::vector<TCheckItem> Items;

    // Adds a check and returns it, for its evidence.
    TCheckItem &Add(std::string Check, TVerdict Verdict, std::string Summary);
    int Count(TVerdict Verdict) const;
    // True when no check failed.
    bool Passed() const { return Count(TVerdict::Fail) == 0; }
};

// "PASS", "WARN", "FAIL", "SKIP" for the text; "pass", "warn", "fail", "skipped" for JSON.
std::string VerdictText(TVerdict Verdict);
std::string VerdictName(TVerdict Verdict);

// The report for a terminal: a heading, one line per check with its evidence indented below, and a
// closing line that counts failures and warnings. Texts a bot sent are already escaped.
std::vector<std::string> ReportLines(const TCheckReport &Report);

// {"file", "name", "passed", "failures", "warnings", "checks": [{"check", "verdict", "summary",
// "evidence": [...]}]}.
nlohmann::json ReportJson(const TCheckReport &Report);

}  // namespace velkaran
